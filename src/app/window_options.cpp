// Always on top, kept equal in its three views (the window, the tray menu's check mark, the check
// box), and collapsing the window to its preview area.
#include "app/main_window.h"
#include "app/shell_handlers.h"

namespace glyvora::app {

namespace {
constexpr int kFullWidth = 700;
constexpr int kCollapsedWidth = 525;

void setAlwaysOnTop(bool onTop) {
    writeMain(mainwin::windowUnit, prop::alwaysOnTop, Value(onTop));
}
} // namespace

void toggleAlwaysOnTop() {
    const bool onTop = !readFlag(mainwin::总在最前, prop::menuChecked);
    writeMain(mainwin::总在最前, prop::menuChecked, Value(onTop));
    setAlwaysOnTop(onTop);
    writeMain(mainwin::选择框_窗口置顶, prop::checked, Value(onTop));
}

void alwaysOnTopCheckBoxClicked() {
    const bool onTop = readFlag(mainwin::选择框_窗口置顶, prop::checked);
    setAlwaysOnTop(onTop);
    writeMain(mainwin::总在最前, prop::menuChecked, Value(onTop));
}

void collapseOrExpand() {
    const bool full = readInteger(mainwin::windowUnit, prop::width) == kFullWidth;
    writeMain(mainwin::windowUnit, prop::width, Value(full ? kCollapsedWidth : kFullWidth));
}

} // namespace glyvora::app
