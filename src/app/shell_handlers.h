#pragma once
// The main window as a whole: start-up, the tray icon and its menu, always on top, collapsing to
// the preview area, and the orderly exit.

#include "app/main_state.h"
#include "forms/form_layer.h"

namespace glyvora::app {

// The main window's created event.
void startUp(MainState& state);
// The tray menu's exit: unload the fonts, save tree, settings and names, end the process.
void exitProgram(MainState& state);

void trayIconEvent(MainState& state, int mouse);
void showOrHide();
// The window's top-most state, the tray item's check mark and the check box, all three at once.
void setAlwaysOnTop(bool onTop);
void toggleAlwaysOnTop();
void alwaysOnTopCheckBoxClicked();
void collapseOrExpand();

Bindings shellBindings(MainState& state);

} // namespace glyvora::app
