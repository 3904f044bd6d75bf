#pragma once
// Reading and writing the units of the main window by number, in the forms the handlers use them:
// a caption or content as a text, a selection or colour as an integer, a check mark as a bool.

#include "commands/conversion.h"
#include "commands/value.h"
#include "forms/commands.h"
#include "forms/templates.h"

namespace glyvora::app {

inline Value readMain(UnitId unit, int property, int subField = -1) {
    return readProperty(mainwin::window, unit, property, subField);
}
inline void writeMain(UnitId unit, int property, const Value& value, int subField = -1) {
    writeProperty(mainwin::window, unit, property, value, subField);
}

inline Text readText(UnitId unit, int property) {
    return ToText(readMain(unit, property));
}
inline int readInteger(UnitId unit, int property) {
    return static_cast<int>(ToNumber(readMain(unit, property)));
}
inline bool readFlag(UnitId unit, int property) {
    const Value v = readMain(unit, property);
    return v.holds<bool>() ? v.as<bool>() : ToNumber(v) != 0;
}
inline Value colourValue(Colour colour) {
    return Value(static_cast<std::int32_t>(colour));
}

inline const TreeBoxRef& tree() {
    return mainwin::tree;
}

} // namespace glyvora::app
