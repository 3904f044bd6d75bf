#pragma once
// Reading and writing the units of the main window by number, in the forms the handlers use them:
// a caption or content as a text, a selection or colour as an integer, a check mark as a bool.

#include "app/windows/ids.h"
#include "commands/conversion.h"
#include "commands/value.h"
#include "forms/commands.h"
#include "forms/form_layer.h"

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

// The selected tree item's index, -1 when none.
inline int selectedItem() {
    return readInteger(mainwin::树型框1, prop::selectedItem);
}

// The identity of the tree item at an index (0 for none): unlike the index, it stays with the item
// while items before it come and go.
inline ItemKey treeItemKey(int index) {
    const TreeItem* item = FormLayer::current().tree(tree()).at(index);
    return item ? item->key : 0;
}
// The index of the item with that identity, -1 when it has gone.
inline int treeItemIndex(ItemKey key) {
    return key ? FormLayer::current().tree(tree()).indexOf(key) : -1;
}

} // namespace glyvora::app
