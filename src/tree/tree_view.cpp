#include "tree/tree_view.h"

#include "app/main_window.h"
#include "fonts/scan.h"
#include "forms/commands.h"

namespace glyvora::app {

namespace {

void showMenuItem(UnitId item, bool visible) {
    writeMain(item, prop::menuVisible, Value(visible));
}

} // namespace

bool isSetItem(int index) {
    return ItemLevel(tree(), index) == 2 && !IsItemBold(tree(), index) &&
           ItemText(tree(), ParentItem(tree(), index)) == kSetRootText;
}

void treeSelectionChanged(MainState& state) {
    if (state.scan.scanRunning) {
        state.scan.rescanRequested = true;
        return;
    }
    scan(state);
    selectionFixUp(state);
}

void selectionFixUp(MainState& state) {
    if (state.fonts.pageCount != 0) return;
    state.fonts.pageCount = 1;
    writeMain(mainwin::标签_页次, prop::caption, Value("页次：1/1"));
}

HandlerResult treeLabelEditBegins(MainState& state) {
    if (!state.treeEdit.labelEditAllowed) return false;
    state.treeEdit.labelEditBegun = true;
    return std::nullopt;
}

void treeLabelEditEnded(MainState& state) {
    state.treeEdit.labelEditDone = true;
}

void treeItemRightClicked(MainState&) {
    const int selected = readInteger(mainwin::树型框1, prop::selectedItem);
    const int level = ItemLevel(tree(), selected);
    const Text text = ItemText(tree(), selected);
    const bool bold = IsItemBold(tree(), selected);
    if (level == 1) {
        const bool category = text != kSetRootText;
        showMenuItem(mainwin::一级_添加子分类, category);
        showMenuItem(mainwin::一级_添加文件夹, category);
        showMenuItem(mainwin::一级_重命名, category);
        showMenuItem(mainwin::一级_移除该分类, category);
        PopupMenu(mainwin::ref, {mainwin::window, mainwin::一级分类被右击});
    } else if (level == 2 && bold) {
        PopupMenu(mainwin::ref, {mainwin::window, mainwin::二级分类被右击});
    } else if (level == 2) {
        writeMain(mainwin::三级_移除该文件夹, prop::menuCaption,
                  Value(isSetItem(selected) ? "移除本集" : "移除该文件夹"));
        PopupMenu(mainwin::ref, {mainwin::window, mainwin::三级分类被右击});
    } else if (level == 3) {
        writeMain(mainwin::三级_移除该文件夹, prop::menuCaption, Value("移除该文件夹"));
        PopupMenu(mainwin::ref, {mainwin::window, mainwin::三级分类被右击});
    }
}

void treeTextColourChosen() {
    writeMain(mainwin::树型框1, prop::treeTextColour,
              readMain(mainwin::颜色选择器_树形框文本颜色, prop::colour));
}

void treeBackColourChosen() {
    writeMain(mainwin::树型框1, prop::treeBackColour,
              readMain(mainwin::颜色选择器_树形框背景颜色, prop::colour));
}

Bindings treeViewBindings(MainState& state) {
    MainState* s = &state;
    return {
        on(mainwin::树型框1, event::selectionChanged, [s] { treeSelectionChanged(*s); }),
        on(mainwin::树型框1, event::beginLabelEdit, [s] { return treeLabelEditBegins(*s); }),
        on(mainwin::树型框1, event::endLabelEdit, [s] { treeLabelEditEnded(*s); }),
        on(mainwin::树型框1, event::itemRightClick, [s] { treeItemRightClicked(*s); }),
        on(mainwin::颜色选择器_树形框文本颜色, event::chosen, [] { treeTextColourChosen(); }),
        on(mainwin::颜色选择器_树形框背景颜色, event::chosen, [] { treeBackColourChosen(); }),
    };
}

} // namespace glyvora::app
