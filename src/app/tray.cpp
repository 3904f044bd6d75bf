// The notification-area icon: its right button opens the tray menu; the menu shows or hides the
// main window, switches always on top and exits.
#include "app/main_window.h"
#include "app/shell_handlers.h"

namespace glyvora::app {

void trayIconEvent(MainState&, int mouse) {
    if (mouse != trayArgument::rightUp) return;
    PopupMenu(mainwin::ref, {mainwin::window, mainwin::托盘菜单});
}

void showOrHide() {
    writeMain(mainwin::windowUnit, prop::visible, Value(!readFlag(mainwin::windowUnit, prop::visible)));
}

Bindings shellBindings(MainState& state) {
    MainState* s = &state;
    return {
        on(mainwin::windowUnit, event::created, [s] { startUp(*s); }),
        on(mainwin::windowUnit, event::trayIcon, [s](const Event& e) { trayIconEvent(*s, e.arg(0)); }),
        on(mainwin::显示或隐藏, event::clicked, [] { showOrHide(); }),
        on(mainwin::总在最前, event::clicked, [] { toggleAlwaysOnTop(); }),
        on(mainwin::退出不推荐, event::clicked, [s] { exitProgram(*s); }),
        on(mainwin::选择框_窗口置顶, event::clicked, [] { alwaysOnTopCheckBoxClicked(); }),
        on(mainwin::按钮_界面收缩, event::clicked, [] { collapseOrExpand(); }),
    };
}

} // namespace glyvora::app
