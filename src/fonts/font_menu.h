#pragma once
// The font context menu of the preview labels: copy the face name or the file name, open the
// font's folder with the file selected, open the system Fonts folder, add the font to a set.

#include "app/main_state.h"
#include "forms/form_layer.h"

namespace glyvora::app {

// The right button released over preview label k (1..8).
void previewLabelRightUp(MainState& state, int k);
// The set items of the submenu: one per set item of the tree, in tree order. A tree file written
// elsewhere may hold more than ten sets; the first ten are offered.
void refreshSetMenu();

void copyFaceName(MainState& state);
void copyFileName(MainState& state);
void openContainingFolder(MainState& state);
void uninstallSystemFont(MainState& state);

// Opens the folder of the file with the file selected (renaming it with `edit`); false when the
// file does not exist or the shell refuses.
bool selectInFolder(const Text& path, bool edit);

// The set root: the first tree item whose text is exactly "集"; -1 when there is none.
int findSetRoot();

Bindings fontMenuBindings(MainState& state);

} // namespace glyvora::app
