#include "tree/tree_editing.h"

#include "app/main_window.h"
#include "commands/text.h"
#include "fonts/scan.h"
#include "forms/commands.h"
#include "tablefile/table_format.h"
#include "tree/category_store.h"
#include "tree/tree_view.h"

namespace glyvora::app {

namespace {

const Text kNamePrompt = "分类或者子分类 ，不能同名";
// The add dialogs come back after a refused name, but not for ever.
constexpr int kNameAttempts = 10;
constexpr int kPlainTextInput = 1;
constexpr int kRenameWaitMs = 100;
constexpr int kYesNo = 4;
constexpr int kErrorOk = 16;
constexpr int kAnswerYes = 5;

void selectItem(int index) {
    writeMain(mainwin::树型框1, prop::selectedItem, Value(static_cast<std::int32_t>(index)));
}

// The tree changed below or at the item the last scan gathered from: its names no longer stand for
// what the item holds, and only a new scan makes them valid again.
void forgetScannedItem(MainState& state) {
    state.scan.scannedItem = 0;
}

// Asks for a name up to ten times; each attempt starts again from the initial text. Empty when the
// user cancelled or every name was refused.
std::optional<Text> askNewName(MainState& state, const Text& title, const Text& initial) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        Text name;
        if (!InputBox(Value(kNamePrompt), Value(title), Value(initial), name,
                      Value(static_cast<std::int32_t>(kPlainTextInput)), OwnerArg(mainwin::ref)))
            return std::nullopt;
        if (acceptableName(state, name)) return name;
    }
    return std::nullopt;
}

bool isWithin(int index, int subtreeRoot) {
    for (int i = index; i >= 0; i = ParentItem(tree(), i))
        if (i == subtreeRoot) return true;
    return false;
}

// Two folder nodes of one label share its one record. The record goes with the removed subtree only
// when no folder node outside it still shows the label: the other node would otherwise lose its
// folder, and its next scan would take it for an empty font set.
bool recordGoesWith(const Text& label, int subtreeRoot) {
    bool shownInside = false;
    const int count = ItemCount(tree());
    for (int i = 0; i < count; ++i) {
        if (ItemText(tree(), i) != label) continue;
        if (isWithin(i, subtreeRoot))
            shownInside = true;
        else if (!IsItemBold(tree(), i))
            return false;
    }
    return shownInside;
}

// The folder labels whose records go with the item. The right click's scan gathered them into
// scanNames; when that scan was deferred behind a running one, scanNames still belong to another
// item, so they are gathered again from this one, as the scan does. A font set has no folder
// record: its name must not take a folder's record with it.
TextList folderLabelsOf(MainState& state, int index) {
    if (isSetItem(index)) return {};
    if (state.scan.scannedItem != 0 && state.scan.scannedItem == treeItemKey(index))
        return state.scan.scanNames;
    TextList labels = gatherNames(index);
    removeDuplicates(labels);
    return labels;
}

enum class RemovedKind { category, subcategory, folderOrSet };

void removeItem(MainState& state, RemovedKind kind, const Text& question, const Text& title) {
    const int selected = selectedItem();
    if (selected < 0) return;
    const ItemKey removed = treeItemKey(selected);
    if (ShowMessageBox(Value(question + ItemText(tree(), selected)), Value(static_cast<std::int32_t>(kYesNo)),
                       Value(title), OwnerArg(mainwin::ref)) != kAnswerYes)
        return;
    // Other events ran while the box was open: the item may have moved or gone.
    const int index = treeItemIndex(removed);
    if (index < 0) return;
    for (const Text& label : folderLabelsOf(state, index))
        if (recordGoesWith(label, index)) folderTableUpdate(state, FolderTableMode::remove, label);
    forgetScannedItem(state);
    DeleteItem(tree(), index);
    saveTree(state);
    if (kind != RemovedKind::folderOrSet) rewriteNamesFile(state);
}

// One item of a subtree as it was before a move.
struct MoveSnapshot {
    Text text;
    int image = 0;
    int selectedImage = 0;
    int value = 0;
    int parent = -1;
    bool bold = false;
};

// The item and its descendants in pre-order; the message loop gets a turn after each.
std::vector<MoveSnapshot> snapshotSubtree(int index) {
    std::vector<MoveSnapshot> records;
    const int level = ItemLevel(tree(), index);
    const int count = ItemCount(tree());
    for (int i = index; i < count && (i == index || ItemLevel(tree(), i) > level); ++i) {
        records.push_back({ItemText(tree(), i), ItemImage(tree(), i), ItemSelectedImage(tree(), i),
                           ItemValue(tree(), i), ParentItem(tree(), i), IsItemBold(tree(), i)});
        ProcessEvents();
    }
    return records;
}

// The nearest sibling before (up) or after (down) the item; -1 when it is the first or last child.
int findSibling(int c, int parent, MoveDirection direction) {
    const int count = ItemCount(tree());
    const int step = direction == MoveDirection::up ? -1 : 1;
    for (int i = c + step; i >= 0 && i < count; i += step) {
        if (ParentItem(tree(), i) == parent) return i;
        ProcessEvents();
    }
    return -1;
}

std::vector<ItemKey> treeKeys() {
    std::vector<ItemKey> keys;
    const int count = ItemCount(tree());
    for (int i = 0; i < count; ++i)
        keys.push_back(treeItemKey(i));
    return keys;
}

void deleteChildren(int index) {
    while (ParentItem(tree(), index + 1) == index)
        DeleteItem(tree(), index + 1);
}

// Gives the item at `index` the fields of the first record and appends the others below it, their
// recorded parents moved by `shift`; the item ends expanded, the appended ones collapsed.
void rebuildSubtree(int index, const std::vector<MoveSnapshot>& records, int shift) {
    const MoveSnapshot& top = records.front();
    SetItemText(tree(), index, top.text);
    SetItemImage(tree(), index, top.image);
    SetItemSelectedImage(tree(), index, top.selectedImage);
    SetItemValue(tree(), index, Value(static_cast<std::int32_t>(top.value)));
    if (top.bold)
        SetItemBold(tree(), index);
    else
        ClearItemBold(tree(), index);
    for (std::size_t k = 1; k < records.size(); ++k) {
        const MoveSnapshot& r = records[k];
        AddItem(tree(), Value(static_cast<std::int32_t>(r.parent + shift)), r.text,
                Value(static_cast<std::int32_t>(r.image)), Value(static_cast<std::int32_t>(r.selectedImage)),
                Value(static_cast<std::int32_t>(r.value)), Value(static_cast<std::int32_t>(r.bold ? 1 : 0)));
    }
    ExpandItem(tree(), index);
}

} // namespace

bool acceptableName(MainState& state, const Text& name) {
    if (name.empty() || name.find('|') != Text::npos) return false;
    return !nameExists(state, name);
}

void addCategory(MainState& state) {
    const std::optional<Text> name = askNewName(state, "添加分类", "分类名称");
    if (!name) return;
    AddItem(tree(), Value(), *name, Value(), Value(), Value(), Value(static_cast<std::int32_t>(1)));
    saveTree(state);
    rewriteNamesFile(state);
}

void addSubcategory(MainState& state) {
    const std::optional<Text> name = askNewName(state, "添加子分类", "子分类名称");
    if (!name) return;
    const int parent = selectedItem();
    if (parent < 0) return;
    const int added = AddItem(tree(), Value(static_cast<std::int32_t>(parent)), *name, Value(), Value(),
                              Value(), Value(static_cast<std::int32_t>(1)));
    ExpandItem(tree(), parent);
    forgetScannedItem(state);
    selectItem(added);
    saveTree(state);
    rewriteNamesFile(state);
}

void addFolder(MainState& state) {
    // The picker has no owner: a top-most main window would hide it.
    if (readFlag(mainwin::windowUnit, prop::alwaysOnTop))
        writeMain(mainwin::windowUnit, prop::alwaysOnTop, Value(false));
    const Text path = pickFolder(state, Text());
    const int parent = selectedItem();
    // "E:\" splits into "E:" alone: the empty text after the last separator is no element.
    const std::vector<Text> parts = SplitText(path, "\\");
    const Text label = parts.empty() ? path : parts.back();
    // A longer label or path would be stored cut: the node would never find its record again, or
    // would load another folder than the one picked. Such a folder is not added.
    if (!path.empty() && parent >= 0 && label.size() <= table::kNameFieldWidth &&
        path.size() <= table::kPathFieldWidth) {
        const int added = AddItem(tree(), Value(static_cast<std::int32_t>(parent)), label);
        ExpandItem(tree(), parent);
        // Registered before it is selected: the selection's scan would otherwise find no folder
        // for the label, take it for a font set and give the new node a set's count suffix.
        folderTableUpdate(state, FolderTableMode::add, label, path);
        forgetScannedItem(state);
        selectItem(added);
        saveTree(state);
    }
    writeMain(mainwin::windowUnit, prop::alwaysOnTop, Value(readFlag(mainwin::总在最前, prop::menuChecked)));
    scan(state);
}

void renameItem(MainState& state) {
    const int selected = selectedItem();
    if (selected < 0) return;
    const Text oldName = ItemText(tree(), selected);
    // The edit may end with another item selected (a click elsewhere): the check below is for the
    // item that was edited, wherever it is by then.
    const ItemKey renamed = treeItemKey(selected);

    state.treeEdit.labelEditDone = false;
    state.treeEdit.labelEditBegun = false;
    state.treeEdit.labelEditAllowed = true;
    EditItemText(tree(), selected);
    state.treeEdit.labelEditAllowed = false;
    if (!state.treeEdit.labelEditBegun) return; // another edit is open, or the tree cannot take one
    while (!state.treeEdit.labelEditDone) {
        if (FormLayer::current().ended()) return; // the program was closed meanwhile
        Delay(kRenameWaitMs);
    }
    if (FormLayer::current().ended()) return;

    const int index = treeItemIndex(renamed);
    if (index >= 0 && IsItemBold(tree(), index)) {
        // The names file still holds the old name, so keeping it is refused as well.
        const Text newName = ItemText(tree(), index);
        if (!acceptableName(state, newName)) {
            SetItemText(tree(), index, oldName);
            ShowMessageBox(Value("名称已经存在，重命名失败！"), Value(static_cast<std::int32_t>(kErrorOk)),
                           Value("命名失败："), OwnerArg(mainwin::ref));
        }
    }
    saveTree(state);
    rewriteNamesFile(state);
}

void removeCategory(MainState& state) {
    removeItem(state, RemovedKind::category, "是否移除分类：", "删除分类当中");
}

void removeSubcategory(MainState& state) {
    removeItem(state, RemovedKind::subcategory, "是否移除子分类：", "删除子分类当中");
}

void removeFolderOrSet(MainState& state) {
    removeItem(state, RemovedKind::folderOrSet, "是否移除文件夹：", "删除文件夹当中");
}

void moveItem(MainState& state, MoveDirection direction) {
    const int c = selectedItem();
    if (c < 0) return;
    const int parent = ParentItem(tree(), c);
    // The search and the snapshots give the message loop turns; what happens to the tree meanwhile
    // must not be overwritten with their stale picture.
    const std::vector<ItemKey> keysBefore = treeKeys();
    const ItemKey moved = treeItemKey(c);

    const int t = findSibling(c, parent, direction);
    if (t < 0) {
        saveTree(state);
        return;
    }
    const std::vector<MoveSnapshot> a = snapshotSubtree(c);
    const std::vector<MoveSnapshot> b = snapshotSubtree(t);
    if (treeKeys() != keysBefore || treeItemKey(selectedItem()) != moved) {
        saveTree(state);
        return;
    }

    deleteChildren(c);
    rebuildSubtree(c, b, c - t);
    const int h = direction == MoveDirection::up ? t : c + static_cast<int>(b.size());
    deleteChildren(h);
    rebuildSubtree(h, a, h - c);

    forgetScannedItem(state);
    selectItem(h);
    saveTree(state);
}

Bindings treeEditingBindings(MainState& state) {
    MainState* s = &state;
    const auto up = [s] { moveItem(*s, MoveDirection::up); };
    const auto down = [s] { moveItem(*s, MoveDirection::down); };
    return {
        on(mainwin::按钮_添加分类, event::clicked, [s] { addCategory(*s); }),
        on(mainwin::一级_添加子分类, event::clicked, [s] { addSubcategory(*s); }),
        on(mainwin::一级_添加文件夹, event::clicked, [s] { addFolder(*s); }),
        on(mainwin::二级_添加文件夹, event::clicked, [s] { addFolder(*s); }),
        on(mainwin::一级_重命名, event::clicked, [s] { renameItem(*s); }),
        on(mainwin::二级_重命名, event::clicked, [s] { renameItem(*s); }),
        on(mainwin::一级_移除该分类, event::clicked, [s] { removeCategory(*s); }),
        on(mainwin::二级_移除该子分类, event::clicked, [s] { removeSubcategory(*s); }),
        on(mainwin::三级_移除该文件夹, event::clicked, [s] { removeFolderOrSet(*s); }),
        on(mainwin::一级_上移, event::clicked, up),
        on(mainwin::一级_下移, event::clicked, down),
        on(mainwin::二级_上移, event::clicked, up),
        on(mainwin::二级_下移, event::clicked, down),
        on(mainwin::三级_上移, event::clicked, up),
        on(mainwin::三级_下移, event::clicked, down),
    };
}

} // namespace glyvora::app
