// Font sets: adding a set, adding fonts to it from the font menu, showing it through the tree.
#include "app_suite.h"

namespace glyvora::testing {

namespace {

using namespace mainwin;

std::vector<Text> shownTexts(const std::vector<ShownTreeItem>& items) {
    std::vector<Text> texts;
    for (const ShownTreeItem& item : items)
        texts.push_back(item.text);
    return texts;
}

TEST_P(AppSuite, aCancelledFirstSetLeavesAnEmptySetRootSaved) {
    startProgram();
    user->answerInputBox(std::nullopt);
    ASSERT_TRUE(click(按钮_添加集));

    const auto boxes = user->dialogs();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().inputBox.prompt, "集名称，不能存在同名，只能添加10个集分类");
    EXPECT_EQ(boxes.back().inputBox.caption, "添加集");
    EXPECT_EQ(boxes.back().inputBox.initial, "集名称");
    const auto items = shownTree();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "集");
    EXPECT_TRUE(items[0].bold);
    const auto saved = treeFileRecords();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].text, "集");
    EXPECT_TRUE(saved[0].flags & kItemBold);

    // The next set goes under that root; no second root appears.
    user->answerInputBox(Text("常用"));
    ASSERT_TRUE(click(按钮_添加集));
    EXPECT_EQ(shownTexts(shownTree()), (std::vector<Text>{"集", "常用"}));
    EXPECT_EQ(treeFileRecords().size(), 2u);
}

TEST_P(AppSuite, aSetNameEqualToAnyItemAsShownIsRefused) {
    writeTree({{1, "分类", true, true},
               {2, "子分类", true, true},
               {3, "字体"},
               {1, "集", true, true},
               {2, "常用   12"}});
    startProgram();
    for (const Text& refused : {Text("分类"), Text("子分类"), Text("字体"), Text("集"), Text("常用   12")}) {
        user->answerInputBox(refused);
        ASSERT_TRUE(click(按钮_添加集));
    }
    EXPECT_EQ(shownTexts(shownTree()), (std::vector<Text>{"分类", "子分类", "字体", "集", "常用   12"}));
    // The bare name of a counted set is another text, and so is the empty one.
    user->answerInputBox(Text("常用"));
    ASSERT_TRUE(click(按钮_添加集));
    user->answerInputBox(Text(""));
    ASSERT_TRUE(click(按钮_添加集));
    EXPECT_EQ(shownTexts(shownTree()),
              (std::vector<Text>{"分类", "子分类", "字体", "集", "常用   12", "常用", ""}));
}

TEST_P(AppSuite, tenSetsRefuseAnEleventhAndTheTreeIsSavedAnyway) {
    std::vector<TreeEntry> tree{{1, "集", true, true}};
    for (int n = 1; n <= 10; ++n)
        tree.push_back({2, "集合" + std::to_string(n)});
    writeTree(tree);
    startProgram();
    writeTestFile(file(app::kTreeFile), ""); // so the save shows
    user->answerInputBox(Text("第十一"));
    ASSERT_TRUE(click(按钮_添加集));
    EXPECT_EQ(shownTree().size(), 11u);
    EXPECT_EQ(treeFileRecords().size(), 11u);
}

TEST_P(AppSuite, aSetNameTooLongForTheSetTableIsRefused) {
    startProgram();
    user->answerInputBox(Text(101, 'n'));
    ASSERT_TRUE(click(按钮_添加集));
    user->answerInputBox(Text(100, 'n'));
    ASSERT_TRUE(click(按钮_添加集));
    EXPECT_EQ(shownTexts(shownTree()), (std::vector<Text>{"集", Text(100, 'n')}));
}

// A category with folder 字体 of three fonts and the sets 常用 (with a stale count) and 标题.
#define BROWSE_WITH_SETS()                                                                                   \
    const Text folder = makeFolder("字体");                                                                  \
    const auto paths = makeFonts(folder, 3);                                                                 \
    writeTree({{1, "分类", true, true}, {2, "字体"}, {1, "集", true, true}, {2, "常用   3"}, {2, "标题"}});  \
    writeFolderTable({{"字体", folder}});                                                                    \
    startProgram();                                                                                          \
    ASSERT_TRUE(selectItem(1))

TEST_P(AppSuite, aFontIsKeptOncePerSetAndTheSetRootListsItOncePerSet) {
    BROWSE_WITH_SETS();
    const Text font = labelPath(1);
    ASSERT_NE(font, "");
    user->answerPopupMenu(集1);
    ASSERT_TRUE(rightClickLabel(1));
    // The count suffix is cut off the set name and off the item's caption.
    EXPECT_EQ(ToText(readProperty(window, 集1, prop::menuCaption)), "常用");
    EXPECT_EQ(setRecords(), (std::vector<SetRecord>{{"常用", font}}));
    for (UnitId item : {集1, 集2}) {
        user->answerPopupMenu(item);
        ASSERT_TRUE(rightClickLabel(1));
    }
    EXPECT_EQ(setRecords(), (std::vector<SetRecord>{{"常用", font}, {"标题", font}}));

    ASSERT_TRUE(selectItem(3));
    EXPECT_EQ(scannedFonts(), (std::vector<Text>{font}));
    EXPECT_EQ(shownTree()[3].text, "常用   1");
    ASSERT_TRUE(selectItem(2)); // the set root: set by set
    EXPECT_EQ(scannedFonts(), (std::vector<Text>{font, font}));
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(previewCaptions(), blanks(3));
}

TEST_P(AppSuite, afterASearchASetTakesTheFontOfTheResultPage) {
    BROWSE_WITH_SETS();
    searchFor("Face3");
    ASSERT_EQ(previewCaptions(), blanks(2));
    ASSERT_EQ(labelHint(1), "Face3\r\n" + folder + "\\font3.ttf");
    user->answerPopupMenu(集2);
    ASSERT_TRUE(rightClickLabel(1));
    EXPECT_EQ(setRecords(), (std::vector<SetRecord>{{"标题", folder + "\\font3.ttf"}}));

    searchFor("Face");
    const Text second = labelPath(2);
    ASSERT_NE(second, "");
    user->answerPopupMenu(集2);
    ASSERT_TRUE(rightClickLabel(2));
    EXPECT_EQ(setRecords(), (std::vector<SetRecord>{{"标题", folder + "\\font3.ttf"}, {"标题", second}}));
}

TEST_P(AppSuite, aFontPathTooLongForTheSetTableIsNotStored) {
    Text deep = makeFolder("d");
    while (deep.size() <= 200)
        makeTestDirectory(deep += "\\folder-of-fonts");
    makeFont(deep + "\\long.ttf", "Long");
    writeTree({{1, "分类", true, true}, {2, "d"}, {1, "集", true, true}, {2, "常用"}});
    writeFolderTable({{"d", dir.file("d")}});
    startProgram();
    ASSERT_TRUE(selectItem(1));
    ASSERT_EQ(scannedFonts(), (std::vector<Text>{deep + "\\long.ttf"}));
    user->answerPopupMenu(集1);
    ASSERT_TRUE(rightClickLabel(1));
    EXPECT_TRUE(setRecords().empty());
}

TEST_P(AppSuite, aSetCreatedAgainUnderAnOldNameShowsItsFontsAgain) {
    // The set 常用 was removed from the tree; its records stayed in the set table.
    const Text folder = makeFolder("f");
    const auto paths = makeFonts(folder, 2);
    writeTree({{1, "集", true, true}});
    writeSetTable({{"常用", paths[0]}, {"常用", paths[1]}});
    startProgram();
    user->answerInputBox(Text("常用"));
    ASSERT_TRUE(click(按钮_添加集));
    ASSERT_TRUE(selectItem(1));
    EXPECT_EQ(scannedFonts(), paths);
    EXPECT_EQ(shownTree()[1].text, "常用   2");
}

} // namespace

} // namespace glyvora::testing
