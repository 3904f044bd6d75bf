#pragma once
// Pages turned without the page buttons: the mouse wheel over the preview labels and Page Up /
// Page Down / Home / End on the main window, through the buttons' own handlers, so the ends, the
// page source and the pause during a scan are theirs.

#include "app/main_state.h"
#include "forms/form_layer.h"

namespace glyvora::app {

// The first and the last page of the page source; nothing when it is already shown.
void firstPage(MainState& state);
void lastPage(MainState& state);

Bindings pageTurningBindings(MainState& state);

} // namespace glyvora::app
