#pragma once
// The category tree's own handlers: a selection scans the item's fonts, in-place edits begin only
// when a rename starts them, a right click shows the popup menu that fits the item's kind, and the
// two colour pickers colour the tree.

#include "app/main_state.h"
#include "forms/form_layer.h"

namespace glyvora::app {

// The set root's label, reserved as a name.
inline const Text kSetRootText = "集";

// A font set: an item right under the set root that is no category.
bool isSetItem(int index);

void treeSelectionChanged(MainState& state);
// A selection whose folders hold no file shows page 1 of 1 rather than 1 of 0.
void selectionFixUp(MainState& state);
HandlerResult treeLabelEditBegins(MainState& state);
void treeLabelEditEnded(MainState& state);
void treeItemRightClicked(MainState& state);
void treeTextColourChosen();
void treeBackColourChosen();

Bindings treeViewBindings(MainState& state);

} // namespace glyvora::app
