#include "fonts/font_menu.h"

#include "app/main_window.h"
#include "app/shell_handlers.h"
#include "commands/file_commands.h"
#include "fonts/font_search.h"
#include "platform/shell.h"
#include "tree/tree_view.h"

namespace glyvora::app {

namespace {

constexpr int kSetMenuItems = 10;

bool labelShowsFont(int k) {
    return !readText(mainwin::previewLabel(k), prop::caption).empty();
}

// The label the menu was opened for, when it is one and still shows a font; 0 otherwise.
int fontLabel(const MainState& state) {
    const int k = state.menu.currentLabel;
    return k >= 1 && k <= kPreviewLabels && labelShowsFont(k) ? k : 0;
}

const Text& slot(const std::array<Text, kPreviewLabels>& slots, int k) {
    return slots[static_cast<std::size_t>(k - 1)];
}

void setMenuItemShown(int n, bool shown) {
    writeMain(mainwin::setMenuItem(n), prop::menuVisible, Value(shown));
}

} // namespace

int findSetRoot() {
    const int count = ItemCount(tree());
    for (int i = 0; i < count; ++i)
        if (ItemText(tree(), i) == kSetRootText) return i;
    return -1;
}

void refreshSetMenu() {
    std::vector<Text> names;
    if (findSetRoot() != -1) {
        const int count = ItemCount(tree());
        for (int i = 0; i < count; ++i) {
            const int parent = ParentItem(tree(), i);
            if (parent >= 0 && ItemText(tree(), parent) == kSetRootText) names.push_back(ItemText(tree(), i));
        }
    }
    for (int n = 1; n <= kSetMenuItems; ++n) {
        const bool shown = n <= static_cast<int>(names.size());
        if (shown)
            writeMain(mainwin::setMenuItem(n), prop::menuCaption,
                      Value(names[static_cast<std::size_t>(n - 1)]));
        setMenuItemShown(n, shown);
    }
}

void previewLabelRightUp(MainState& state, int k) {
    // The page slots are being rebuilt.
    if (state.scan.scanRunning) return;
    if (!labelShowsFont(k)) return;
    state.menu.currentLabel = k;
    writeMain(mainwin::复制字体名称, prop::menuCaption, Value(slot(state.fonts.pageFaceNames, k)));
    const Text fileName = fileNameOf(slot(state.fonts.pagePaths, k));
    if (fileName.empty()) return;
    writeMain(mainwin::复制字体文件名, prop::menuCaption, Value(fileName));
    refreshSetMenu();
    PopupMenu(mainwin::ref, {mainwin::window, mainwin::字体预览标签被右击});
}

void copyFaceName(MainState& state) {
    if (state.scan.scanRunning) return;
    const int k = state.menu.currentLabel;
    if (k < 1 || k > kPreviewLabels) return;
    SetClipboardText(labelShowsFont(k) ? slot(state.fonts.pageFaceNames, k) : Text());
}

void copyFileName(MainState& state) {
    if (state.scan.scanRunning) return;
    const int k = state.menu.currentLabel;
    if (k < 1 || k > kPreviewLabels) return;
    SetClipboardText(labelShowsFont(k) ? fileBaseNameOf(slot(state.fonts.pagePaths, k)) : Text());
}

void openContainingFolder(MainState& state) {
    if (state.scan.scanRunning) return;
    // The file manager would open behind a top-most window, so always-on-top goes off first, in
    // all three of its views, and stays off.
    setAlwaysOnTop(false);
    if (const int k = fontLabel(state)) selectInFolder(slot(state.fonts.pagePaths, k), false);
}

void uninstallSystemFont(MainState& state) {
    if (state.scan.scanRunning) return;
    OpenControlPanelItem(7);
}

bool selectInFolder(const Text& path, bool edit) {
    if (!FileExists(path)) return false;
    return shell().openFolderAndSelect(path, edit);
}

Bindings fontMenuBindings(MainState& state) {
    MainState* s = &state;
    Bindings bindings;
    for (int k = 1; k <= kPreviewLabels; ++k)
        bindings.push_back(
            on(mainwin::previewLabel(k), event::rightUp, [s, k] { previewLabelRightUp(*s, k); }));
    bindings.push_back(on(mainwin::复制字体名称, event::clicked, [s] { copyFaceName(*s); }));
    bindings.push_back(on(mainwin::复制字体文件名, event::clicked, [s] { copyFileName(*s); }));
    bindings.push_back(on(mainwin::打开所在目录, event::clicked, [s] { openContainingFolder(*s); }));
    bindings.push_back(on(mainwin::卸载系统字体, event::clicked, [s] { uninstallSystemFont(*s); }));
    return bindings;
}

} // namespace glyvora::app
