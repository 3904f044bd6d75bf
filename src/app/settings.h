#pragma once
// The display settings of the main window in the settings file: read once at start, written once
// at the tray menu's exit.

#include "app/main_state.h"

namespace glyvora::app {

void loadSettings(MainState& state);
void saveSettings(MainState& state);

} // namespace glyvora::app
