#pragma once
// Unit templates of the application's windows from the few design values each kind of unit has.

#include "forms/templates.h"

namespace glyvora::build {

UnitTemplate control(UnitId id, UnitType type, const char* name, int left, int top, int width, int height,
                     Text caption = Text());
UnitTemplate label(UnitId id, const char* name, int left, int top, int width, int height,
                   Text caption = Text());
UnitTemplate combo(UnitId id, const char* name, int left, int top, int width, int height,
                   std::vector<Text> items);

// A menu unit at its level; hidden when the flags say so.
UnitTemplate menu(UnitId id, const char* name, int level, Text caption, unsigned flags = 0);
// A popup root: hidden, captioned by its name.
UnitTemplate root(UnitId id, const char* name);
// An item of a popup root.
UnitTemplate item(UnitId id, const char* name, Text caption);

// The window unit: centred on the screen and always on top at creation.
UnitTemplate windowUnit(UnitId id, int width, int height, bool closeCommand, bool minMaxButtons);

} // namespace glyvora::build
