#include "app/main_window.h"
#include "app/settings.h"
#include "app/shell_handlers.h"
#include "app/tray_icon.h"
#include "tree/category_store.h"

namespace glyvora::app {

namespace {
constexpr int kWindowHeight = 718;
const Text kTrayTip = "Glyvora";
} // namespace

void startUp(MainState& state) {
    // The window is top-most from its creation; the two other views of the preference follow it.
    writeMain(mainwin::总在最前, prop::menuChecked, Value(true));
    writeMain(mainwin::选择框_窗口置顶, prop::checked, Value(true));

    state.fonts.currentPage = 1;
    state.fonts.pageCount = 1;

    writeMain(mainwin::windowUnit, prop::height, Value(kWindowHeight));

    SetTrayIcon(mainwin::ref, Value(trayIconFile()), Value(kTrayTip));

    prepareCategoryStore(state);

    loadSettings(state);
}

} // namespace glyvora::app
