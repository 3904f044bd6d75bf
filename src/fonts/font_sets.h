#pragma once
// Font sets: named collections of font files from any folders. A set's name is a child item of the
// set root "集" in the tree; its fonts are records (set name, font path) of the set table. The scan
// shows a set like a folder.

#include "app/main_state.h"
#include "fonts/set_table.h"
#include "forms/form_layer.h"

namespace glyvora::app {

// Click of the add-set button: the set root (created first when missing), then a name prompt.
void addSet(MainState& state);
// Click of set item N (1..10) of the font menu: the font of the label the menu was opened for is
// added to that set, once.
void addFontToSet(MainState& state, int n);

Bindings fontSetBindings(MainState& state);

} // namespace glyvora::app
