// The TreeBox: item methods by pre-order index, the selection, right clicks, in-place edits and
// the items blob, all shown on the control.
#include "forms/items_blob.h"
#include "forms_suite.h"

namespace glyvora::testing {
namespace {

using mainwin::tree;
constexpr WindowId w = mainwin::window;
constexpr UnitId t = mainwin::树型框1;

// A record of the items blob.
void putRecord(ByteSet& blob, const Text& text, std::int32_t image, std::int32_t selectedImage,
               std::int32_t value, std::uint32_t flags, std::int32_t depth) {
    blob.insert(blob.end(), text.begin(), text.end());
    blob.push_back(0);
    for (std::uint32_t v : {static_cast<std::uint32_t>(image), static_cast<std::uint32_t>(selectedImage),
                            static_cast<std::uint32_t>(value), flags, static_cast<std::uint32_t>(depth)})
        for (int i = 0; i < 4; ++i)
            blob.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

ByteSet readBlob() {
    return readProperty(w, t, prop::allItems).as<ByteSet>();
}
int selected() {
    return readProperty(w, t, prop::selectedItem).as<std::int32_t>();
}

TEST_P(FormsSuite, itemsAreAddressedInPreOrderAndShownOnTheControl) {
    buildCategories();
    EXPECT_EQ(ItemCount(tree), 5);
    EXPECT_EQ(ItemText(tree, 3), "文件夹2");
    EXPECT_EQ(ItemLevel(tree, 2), 3);
    EXPECT_EQ(ItemLevel(tree, 3), 2);
    EXPECT_EQ(ParentItem(tree, 2), 1);
    EXPECT_EQ(ParentItem(tree, 3), 0);
    EXPECT_EQ(ParentItem(tree, 4), -1);
    EXPECT_TRUE(HasChildren(tree, 1));
    EXPECT_FALSE(HasChildren(tree, 3));
    EXPECT_TRUE(IsItemBold(tree, 4));
    EXPECT_FALSE(IsItemBold(tree, 2));
    const std::vector<ShownTreeItem> expected = {{1, "分类A", true, false},
                                                 {2, "子分类", true, false},
                                                 {3, "文件夹1", false, false},
                                                 {2, "文件夹2", false, false},
                                                 {1, "分类B", true, false}};
    EXPECT_EQ(user->shownTree(w, t), expected);
}

TEST_P(FormsSuite, addItemAppendsAsLastChildAndRenumbersTheItemsAfterIt) {
    buildCategories();
    EXPECT_EQ(AddItem(tree, Value(0), "文件夹3"), 4);
    EXPECT_EQ(ItemText(tree, 5), "分类B");
    EXPECT_EQ(AddItem(tree, Value(), "集", Value(), Value(), Value(), Value(1)), 6);
    EXPECT_TRUE(IsItemBold(tree, 6));
    EXPECT_EQ(AddItem(tree, Value(99), "根"), 7); // a parent that names no item: a top-level item
    EXPECT_EQ(ItemLevel(tree, 7), 1);
    EXPECT_EQ(user->shownTree(w, t)[4], (ShownTreeItem{2, "文件夹3", false, false}));
    EXPECT_EQ(user->shownTree(w, t).size(), 8u);
}

TEST_P(FormsSuite, addItemTakesImagesValueBoldAndCheckStateAsGiven) {
    openMain();
    AddItem(tree, Value(), "a", Value(-4));
    AddItem(tree, Value(), "b", Value(3));
    AddItem(tree, Value(), "c", Value(3), Value(5), Value(77), Value(2), Value(1));
    EXPECT_EQ(ItemImage(tree, 0), 0);
    EXPECT_EQ(ItemSelectedImage(tree, 1), 3); // defaults to the image
    EXPECT_EQ(ItemSelectedImage(tree, 2), 5);
    EXPECT_EQ(ItemValue(tree, 2), 77);
    EXPECT_FALSE(IsItemBold(tree, 2)); // bold only for the argument 1
    ByteSet expected;
    putRecord(expected, "a", 0, 0, 0, 0, 1);
    putRecord(expected, "b", 3, 3, 0, 0, 1);
    putRecord(expected, "c", 3, 5, 77, 2u << 28, 1); // check state 1: state image 2
    EXPECT_EQ(readBlob(), expected);
    EXPECT_EQ(
        AddItem(tree, Value(0), std::vector<Text>{"x", "y", "z"}, {Value(1), Value(2)}, {}, {}, {Value(1)}),
        0);
    EXPECT_EQ(ItemCount(tree), 6);
    EXPECT_EQ(ItemText(tree, 3), "z");
    EXPECT_EQ(ItemImage(tree, 3), 2); // the last element repeats
    EXPECT_TRUE(IsItemBold(tree, 3));
}

TEST_P(FormsSuite, setMethodsChangeOneFieldAndShowIt) {
    buildCategories();
    EXPECT_TRUE(SetItemText(tree, 2, "改名"));
    EXPECT_TRUE(SetItemImage(tree, 2, 4));
    EXPECT_TRUE(SetItemSelectedImage(tree, 2, 6));
    EXPECT_TRUE(SetItemValue(tree, 2, Value(9)));
    EXPECT_TRUE(SetItemBold(tree, 2));
    EXPECT_EQ(ItemImage(tree, 2), 4);
    EXPECT_EQ(ItemSelectedImage(tree, 2), 6);
    EXPECT_EQ(ItemValue(tree, 2), 9);
    EXPECT_EQ(user->shownTree(w, t)[2], (ShownTreeItem{3, "改名", true, false}));
    EXPECT_TRUE(SetItemValue(tree, 2));
    EXPECT_EQ(ItemValue(tree, 2), 0);
    EXPECT_TRUE(ClearItemBold(tree, 0));
    EXPECT_FALSE(user->shownTree(w, t)[0].bold);
    EXPECT_TRUE(ExpandItem(tree, 0));
    EXPECT_TRUE(user->shownTree(w, t)[0].expanded);
}

TEST_P(FormsSuite, indexesThatNameNoItemGiveTheDefaultsAndChangeNothing) {
    buildCategories();
    const ByteSet before = readBlob();
    for (int index : {-1, 5, 1000}) {
        EXPECT_EQ(ItemLevel(tree, index), 0);
        EXPECT_EQ(ItemText(tree, index), "");
        EXPECT_EQ(ItemImage(tree, index), -1);
        EXPECT_EQ(ItemSelectedImage(tree, index), -1);
        EXPECT_EQ(ItemValue(tree, index), 0);
        EXPECT_EQ(ParentItem(tree, index), -1);
        EXPECT_FALSE(HasChildren(tree, index));
        EXPECT_FALSE(IsItemBold(tree, index));
        EXPECT_FALSE(SetItemText(tree, index, "x"));
        EXPECT_FALSE(SetItemImage(tree, index, 1));
        EXPECT_FALSE(SetItemSelectedImage(tree, index, 1));
        EXPECT_FALSE(SetItemValue(tree, index, Value(1)));
        EXPECT_FALSE(SetItemBold(tree, index));
        EXPECT_FALSE(ClearItemBold(tree, index));
        EXPECT_FALSE(ExpandItem(tree, index));
        EXPECT_FALSE(DeleteItem(tree, index));
        EditItemText(tree, index);
    }
    EXPECT_EQ(readBlob(), before);
    EXPECT_FALSE(user->treeEditing(w, t));
}

TEST_P(FormsSuite, selectedItemPropertyReadsMinusOneAndSelectsWithItsEvent) {
    buildCategories({record(t, event::selectionChanged)});
    EXPECT_EQ(selected(), -1);
    writeProperty(w, t, prop::selectedItem, Value(3));
    EXPECT_EQ(selected(), 3);
    EXPECT_EQ(user->shownTreeSelection(w, t), 3);
    writeProperty(w, t, prop::selectedItem, Value(3)); // already selected: no change, no event
    writeProperty(w, t, prop::selectedItem, Value(99));
    EXPECT_EQ(selected(), -1);
    EXPECT_EQ(user->shownTreeSelection(w, t), -1);
    const std::vector<Seen> expected = {{t, 0, {2}}, {t, 0, {2}}};
    EXPECT_EQ(seen, expected);
}

TEST_P(FormsSuite, theUsersSelectionRaisesEventZeroByMouseOrKeyboard) {
    buildCategories({record(t, event::selectionChanged)});
    ASSERT_TRUE(user->selectTreeItem(w, t, 2, false));
    EXPECT_EQ(selected(), 2);
    ASSERT_TRUE(user->selectTreeItem(w, t, 4, true));
    EXPECT_EQ(selected(), 4);
    const std::vector<Seen> expected = {{t, 0, {1}}, {t, 0, {0}}};
    EXPECT_EQ(seen, expected);
}

TEST_P(FormsSuite, aRightClickSelectsTheItemFirstThenRaisesEventSix) {
    int selectedInHandler = -2;
    buildCategories({record(t, event::selectionChanged), on(t, event::itemRightClick, [&](const Event& e) {
                         selectedInHandler = selected();
                         seen.push_back({e.unit, e.number, {}});
                     })});
    ASSERT_TRUE(user->rightClickTree(w, t, 1));
    EXPECT_EQ(selectedInHandler, 1);
    ASSERT_TRUE(user->rightClickTree(w, t, 1));  // already selected: no selection event
    ASSERT_TRUE(user->rightClickTree(w, t, -1)); // empty space: nothing
    const std::vector<Seen> expected = {{t, 0, {1}}, {t, 6, {}}, {t, 6, {}}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(selected(), 1);
}

TEST_P(FormsSuite, deletingTheSelectedItemRemovesItsSubtreeAndSelectsTheNextSibling) {
    buildCategories({record(t, event::selectionChanged)});
    writeProperty(w, t, prop::selectedItem, Value(2));
    seen.clear();
    EXPECT_TRUE(DeleteItem(tree, 0));
    EXPECT_EQ(ItemCount(tree), 1);
    EXPECT_EQ(ItemText(tree, 0), "分类B");
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(user->shownTreeSelection(w, t), 0);
    EXPECT_EQ(seen, (std::vector<Seen>{{t, 0, {2}}}));
    EXPECT_EQ(user->shownTree(w, t), (std::vector<ShownTreeItem>{{1, "分类B", true, false}}));
}

TEST_P(FormsSuite, deletingTheLastChildSelectedMovesTheSelectionToItsParent) {
    buildCategories();
    writeProperty(w, t, prop::selectedItem, Value(3));
    EXPECT_TRUE(DeleteItem(tree, 3));
    EXPECT_EQ(selected(), 0);
    writeProperty(w, t, prop::selectedItem, Value(2));
    EXPECT_TRUE(DeleteItem(tree, 3)); // an item outside the selection leaves it alone
    EXPECT_EQ(selected(), 2);
}

TEST_P(FormsSuite, beginEditVetoedByEventTwoDoesNotStart) {
    buildCategories({record(t, event::beginLabelEdit, false)});
    EXPECT_FALSE(user->beginTreeEdit(w, t, 1));
    EXPECT_FALSE(user->treeEditing(w, t));
    EditItemText(tree, 1);
    EXPECT_FALSE(user->treeEditing(w, t));
    EXPECT_EQ(seen, (std::vector<Seen>{{t, 2, {1}}, {t, 2, {1}}}));
}

TEST_P(FormsSuite, anEndedEditKeepsTheTypedTextUnlessEventThreeRejectsIt) {
    bool reject = false;
    buildCategories({on(t, event::endLabelEdit, [&](const Event& e) -> HandlerResult {
        seen.push_back({e.unit, e.number, {e.arg(0)}});
        return reject ? HandlerResult(false) : std::nullopt;
    })});
    ASSERT_TRUE(user->beginTreeEdit(w, t, 3));
    ASSERT_TRUE(user->endTreeEdit(w, t, Text("新名")));
    EXPECT_EQ(ItemText(tree, 3), "新名");
    EXPECT_EQ(user->shownTree(w, t)[3].text, "新名");
    reject = true;
    ASSERT_TRUE(user->beginTreeEdit(w, t, 3));
    ASSERT_TRUE(user->endTreeEdit(w, t, Text("再改")));
    EXPECT_EQ(ItemText(tree, 3), "新名");
    EXPECT_EQ(user->shownTree(w, t)[3].text, "新名");
    reject = false;
    ASSERT_TRUE(user->beginTreeEdit(w, t, 3));
    ASSERT_TRUE(user->endTreeEdit(w, t, std::nullopt)); // Esc: the end is still reported
    EXPECT_EQ(ItemText(tree, 3), "新名");
    EXPECT_FALSE(user->endTreeEdit(w, t, Text("x"))); // no edit in progress
    EXPECT_EQ(seen, (std::vector<Seen>{{t, 3, {3}}, {t, 3, {3}}, {t, 3, {3}}}));
}

TEST_P(FormsSuite, aRenameWaitsWithDelayUntilTheEditHasEnded) {
    bool allowed = false, done = false;
    Text renamed;
    buildCategories({on(t, event::beginLabelEdit,
                        [&]() -> HandlerResult { return allowed ? std::nullopt : HandlerResult(false); }),
                     on(t, event::endLabelEdit, [&] { done = true; }),
                     on(mainwin::按钮_添加分类, event::clicked, [&] {
                         allowed = true;
                         EditItemText(tree, 1);
                         allowed = false;
                         while (!done)
                             Delay(100);
                         renamed = ItemText(tree, 1);
                     })});
    const std::uint32_t start = clock.ticks();
    atTick(start + 350, [&] { user->endTreeEdit(w, t, Text("子分类Y")); });
    ASSERT_TRUE(user->click(w, mainwin::按钮_添加分类));
    EXPECT_EQ(renamed, "子分类Y");
    EXPECT_GE(clock.ticks() - start, 350u);
    EXPECT_FALSE(user->beginTreeEdit(w, t, 1)); // an edit the rename did not start is vetoed
}

TEST_P(FormsSuite, theItemsBlobComesBackByteForByteWithItsExpandedFlags) {
    openMain();
    ByteSet blob;
    putRecord(blob, "分类A", 0, 0, 0, kItemBold | kItemExpanded, 1);
    putRecord(blob, "子分类", 0, 0, 0, kItemBold | kItemExpanded, 2);
    putRecord(blob, "文件夹", 1, 2, -5, 0, 3);
    putRecord(blob, "", 0, 0, 0, kItemExpanded | 0x30000000u, 2); // expanded without children
    putRecord(blob, "集", 0, 0, 7, kItemBold, 1);
    writeProperty(w, t, prop::allItems, Value(blob));
    EXPECT_EQ(readBlob(), blob);
    EXPECT_EQ(ItemCount(tree), 5);
    EXPECT_EQ(ItemValue(tree, 2), -5);
    const auto shown = user->shownTree(w, t);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_TRUE(shown[0].expanded);
    EXPECT_TRUE(shown[1].expanded);
    EXPECT_FALSE(shown[4].expanded);
    EXPECT_EQ(shown[2].level, 3);
}

TEST_P(FormsSuite, writingTheBlobReplacesEveryItemAndAnEmptyBlobEmptiesTheTree) {
    buildCategories({record(t, event::selectionChanged)});
    writeProperty(w, t, prop::selectedItem, Value(1));
    seen.clear();
    writeProperty(w, t, prop::allItems, Value(ByteSet()));
    EXPECT_EQ(ItemCount(tree), 0);
    EXPECT_EQ(selected(), -1);
    EXPECT_TRUE(user->shownTree(w, t).empty());
    EXPECT_TRUE(readBlob().empty());
    EXPECT_TRUE(seen.empty());
}

TEST_P(FormsSuite, aBlobWhoseFirstRecordHasDepthTwoStillBuilds) {
    openMain();
    ByteSet blob;
    putRecord(blob, "a", 0, 0, 0, 0, 2);
    putRecord(blob, "b", 0, 0, 0, 0, 2);
    putRecord(blob, "b1", 0, 0, 0, 0, 3);
    putRecord(blob, "c", 0, 0, 0, 0, 1);
    writeProperty(w, t, prop::allItems, Value(blob));
    const std::vector<ShownTreeItem> expected = {
        {1, "a", false, false}, {1, "b", false, false}, {2, "b1", false, false}, {1, "c", false, false}};
    EXPECT_EQ(user->shownTree(w, t), expected);
    EXPECT_EQ(ParentItem(tree, 2), 1);
}

TEST_P(FormsSuite, theUsersExpandAndCollapseAreSavedInTheBlob) {
    buildCategories();
    ASSERT_TRUE(user->setTreeItemExpanded(w, t, 0, true));
    ASSERT_TRUE(user->setTreeItemExpanded(w, t, 1, true));
    ByteSet blob = readBlob();
    writeProperty(w, t, prop::allItems, Value(blob));
    EXPECT_TRUE(user->shownTree(w, t)[1].expanded);
    ASSERT_TRUE(user->setTreeItemExpanded(w, t, 1, false));
    EXPECT_NE(readBlob(), blob);
    ASSERT_TRUE(user->setTreeItemExpanded(w, t, 1, true));
    EXPECT_EQ(readBlob(), blob);
}

} // namespace
} // namespace glyvora::testing
