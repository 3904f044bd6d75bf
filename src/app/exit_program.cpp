#include "app/main_window.h"
#include "app/settings.h"
#include "app/shell_handlers.h"
#include "tree/category_store.h"

namespace glyvora::app {

void exitProgram(MainState& state) {
    // The face names not derived yet are needed by no one any more.
    state.faceNamePass.abandon();
    state.fonts.labelFonts.releaseAll();
    saveTree(state);
    saveSettings(state);
    rewriteNamesFile(state);
    if (state.endProcess) state.endProcess(0);
}

} // namespace glyvora::app
