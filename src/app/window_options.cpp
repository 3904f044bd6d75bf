// Always on top, kept equal in its three views (the window, the tray menu's check mark, the check
// box), and collapsing the window to its preview area.
#include "app/main_window.h"
#include "app/shell_handlers.h"

namespace glyvora::app {

namespace {
constexpr int kFullWidth = 700;
constexpr int kCollapsedWidth = 525;
} // namespace

void setAlwaysOnTop(bool onTop) {
    writeMain(mainwin::windowUnit, prop::alwaysOnTop, Value(onTop));
    writeMain(mainwin::总在最前, prop::menuChecked, Value(onTop));
    writeMain(mainwin::选择框_窗口置顶, prop::checked, Value(onTop));
}

void toggleAlwaysOnTop() {
    setAlwaysOnTop(!readFlag(mainwin::总在最前, prop::menuChecked));
}

void alwaysOnTopCheckBoxClicked() {
    setAlwaysOnTop(readFlag(mainwin::选择框_窗口置顶, prop::checked));
}

void collapseOrExpand() {
    const bool full = readInteger(mainwin::windowUnit, prop::width) == kFullWidth;
    writeMain(mainwin::windowUnit, prop::width, Value(full ? kCollapsedWidth : kFullWidth));
}

} // namespace glyvora::app
