#include "app/main_window.h"
#include "app/settings.h"
#include "app/shell_handlers.h"
#include "fonts/scan.h"
#include "tree/category_store.h"

namespace glyvora::app {

void exitProgram(MainState& state) {
    if (!state.fonts.fontPaths.empty()) unloadFonts(state.fonts.fontPaths);
    saveTree(state);
    saveSettings(state);
    rewriteNamesFile(state);
    if (state.endProcess) state.endProcess(0);
}

} // namespace glyvora::app
