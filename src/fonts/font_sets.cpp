#include "fonts/font_sets.h"

#include "app/main_window.h"
#include "app/program_files.h"
#include "commands/text.h"
#include "fonts/font_menu.h"
#include "fonts/scan.h"
#include "fonts/set_table.h"
#include "tablefile/table_engine.h"
#include "tablefile/table_format.h"
#include "tree/category_store.h"
#include "tree/tree_view.h"

namespace glyvora::app {

namespace {

// The menu offers ten set items, so there are at most ten sets.
constexpr int kMostSets = 10;

bool anyItemReads(const Text& text) {
    const int count = ItemCount(tree());
    for (int i = 0; i < count; ++i)
        if (ItemText(tree(), i) == text) return true;
    return false;
}

int childCount(int parent) {
    int children = 0;
    const int count = ItemCount(tree());
    for (int i = 0; i < count; ++i)
        if (ParentItem(tree(), i) == parent) ++children;
    return children;
}

} // namespace

void addSet(MainState& state) {
    // The root comes first, so that a cancelled prompt still leaves it.
    if (findSetRoot() == -1)
        AddItem(tree(), Value(), kSetRootText, Value(0), Value(0), Value(0), Value(true));
    Text name;
    const bool confirmed = InputBox(Value("集名称，不能存在同名，只能添加10个集分类"), Value("添加集"),
                                    Value("集名称"), name, Value(1), OwnerArg(mainwin::ref));
    const int root = findSetRoot();
    // Names are compared with every item text as shown, count suffixes included.
    if (confirmed && root != -1 && !anyItemReads(name) && childCount(root) < kMostSets &&
        name.size() <= table::kNameFieldWidth)
        AddItem(tree(), Value(root), name, Value(0), Value(0), Value(0), Value(false));
    saveTree(state);
}

void addFontToSet(MainState& state, int n) {
    // The scan uses the tables and rebuilds the page slots meanwhile.
    if (state.scan.scanRunning) return;
    openSetTable(state);
    const Text caption = readText(mainwin::setMenuItem(n), prop::menuCaption);
    const Text setName = withoutCountSuffix(caption);
    if (setName != caption) writeMain(mainwin::setMenuItem(n), prop::menuCaption, Value(setName));
    const int k = state.menu.currentLabel;
    if (k < 1 || k > kPreviewLabels) return;
    const Text& fontPath = state.fonts.pagePaths[static_cast<std::size_t>(k - 1)];
    // The set table would store a longer name or path cut: such a set could never find its fonts,
    // and such a font could never be loaded again.
    if (setName.size() > table::kNameFieldWidth || fontPath.size() > table::kPathFieldWidth) return;
    if (isInSet(setName, fontPath)) return;
    if (!AppendBlankRecord()) return;
    WriteField(Value(kSetNameField), Value(setName));
    WriteField(Value(kSetFontPathField), Value(fontPath));
}

Bindings fontSetBindings(MainState& state) {
    MainState* s = &state;
    Bindings bindings{on(mainwin::按钮_添加集, event::clicked, [s] { addSet(*s); })};
    for (int n = 1; n <= kMostSets; ++n)
        bindings.push_back(on(mainwin::setMenuItem(n), event::clicked, [s, n] { addFontToSet(*s, n); }));
    return bindings;
}

} // namespace glyvora::app
