// The category tree: its stores on disk, and what a selection and a right click do.
#include "app_suite.h"
#include "tree/category_store.h"

namespace glyvora::testing {

namespace {

using namespace mainwin;

// 分类A > 子分类 > 文件夹1; 分类A > 文件夹2; 空子分类 under 分类B; the set root with 常用.
std::vector<TreeEntry> sampleTree() {
    return {
        {1, "分类A", true, true}, {2, "子分类", true, true}, {3, "文件夹1"},        {2, "文件夹2"},
        {1, "分类B", true, true}, {2, "空子分类", true},     {1, "集", true, true}, {2, "常用"},
    };
}

TEST_P(AppSuite, nameExistsReadsTheNamesFileExactly) {
    startProgram();
    writeTestFile(file(app::kNamesFile), "|A|B");
    for (const Text& name : {Text("A"), Text("B"), Text("集"), Text()})
        EXPECT_TRUE(app::nameExists(state(), name)) << name;
    for (const Text& name : {Text("a"), Text("AB")})
        EXPECT_FALSE(app::nameExists(state(), name)) << name;

    writeTestFile(file(app::kNamesFile), "");
    EXPECT_FALSE(app::nameExists(state(), ""));
    EXPECT_TRUE(app::nameExists(state(), "集"));
}

TEST_P(AppSuite, aNameWithTheSeparatorCountsAsItsParts) {
    startProgram();
    AddItem(tree, Value(), "x|y", Value(), Value(), Value(), Value(1));
    app::rewriteNamesFile(state());
    EXPECT_EQ(fileBytes(app::kNamesFile), "|x|y");
    EXPECT_TRUE(app::nameExists(state(), "x"));
    EXPECT_TRUE(app::nameExists(state(), "y"));
    EXPECT_FALSE(app::nameExists(state(), "x|y"));
}

TEST_P(AppSuite, namesFileListsEveryBoldItemInTreeOrder) {
    writeTree(sampleTree());
    startProgram();
    app::rewriteNamesFile(state());
    EXPECT_EQ(fileBytes(app::kNamesFile), "|分类A|子分类|分类B|空子分类|集");
}

TEST_P(AppSuite, twoFoldersWithOneLabelKeepOneRecordWhichEitherRemoves) {
    startProgram();
    app::folderTableUpdate(state(), app::FolderTableMode::add, "Song", "D:\\Fonts\\Song");
    app::folderTableUpdate(state(), app::FolderTableMode::add, "Song", "E:\\Other\\Song");
    app::folderTableUpdate(state(), app::FolderTableMode::add, "Hei", "D:\\Hei");
    // The folder table is left open and current for the next command.
    EXPECT_EQ(RecordCount(), 2);
    auto records = folderRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].path, "D:\\Fonts\\Song");
    app::folderTableUpdate(state(), app::FolderTableMode::remove, "Song");
    records = folderRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].label, "Hei");
}

TEST_P(AppSuite, theTreeComesBackAfterAnExitWithItsBoldAndExpandedItems) {
    writeTree(sampleTree());
    startProgram();
    const auto before = shownTree();
    ASSERT_EQ(before.size(), 8u);
    EXPECT_TRUE(before[0].bold);
    EXPECT_TRUE(before[0].expanded);
    EXPECT_FALSE(before[2].bold);
    user->setTreeItemExpanded(window, 树型框1, 4, false);
    trayMenu(退出不推荐);
    const auto records = treeFileRecords();
    ASSERT_EQ(records.size(), 8u);
    EXPECT_EQ(records[4].flags, kItemBold); // collapsed by the user
    EXPECT_EQ(records[2].depth, 3);

    restartProgram();
    auto after = shownTree();
    ASSERT_EQ(after.size(), 8u);
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].text, before[i].text);
        EXPECT_EQ(after[i].bold, before[i].bold);
        EXPECT_EQ(after[i].level, before[i].level);
    }
    EXPECT_FALSE(after[4].expanded);
    EXPECT_EQ(fileBytes(app::kNamesFile), "|分类A|子分类|分类B|空子分类|集");
}

TEST_P(AppSuite, aBrokenTreeFileLoadsWhatItCan) {
    ByteSet bytes = treeFileBytes({{1, "分类A", true}, {2, "文件夹"}});
    bytes.resize(bytes.size() - 3); // cut inside the last record
    writeTestFile(file(app::kTreeFile), std::string(bytes.begin(), bytes.end()));
    startProgram();
    const auto items = shownTree();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "分类A");
}

TEST_P(AppSuite, theRightClickShowsTheMenuOfTheItemsKind) {
    writeTree(sampleTree());
    startProgram();
    const auto rightClick = [&](int index) {
        user->answerPopupMenu(0);
        EXPECT_TRUE(user->rightClickTree(window, 树型框1, index));
        return visibleCaptions(lastPopup());
    };
    EXPECT_EQ(rightClick(6), (std::vector<Text>{"上移", "下移"})); // the set root
    EXPECT_EQ(rightClick(0),
              (std::vector<Text>{"添加子分类", "添加文件夹", "重命名", "移除该分类", "上移", "下移"}));
    EXPECT_EQ(rightClick(7), (std::vector<Text>{"移除本集", "上移", "下移"}));     // a set item
    EXPECT_EQ(rightClick(2), (std::vector<Text>{"移除该文件夹", "上移", "下移"})); // under a subcategory
    EXPECT_EQ(rightClick(3), (std::vector<Text>{"移除该文件夹", "上移", "下移"})); // under a category
    EXPECT_EQ(rightClick(5),
              (std::vector<Text>{"添加文件夹", "重命名", "移除该子分类", "上移", "下移"})); // empty
    // The right click selected each item first, and its scan ran.
    EXPECT_EQ(user->shownTreeSelection(window, 树型框1), 5);
    EXPECT_EQ(pageLabel(), "页次：1/1");
}

TEST_P(AppSuite, editingALabelBeginsOnlyThroughARename) {
    writeTree(sampleTree());
    startProgram();
    ASSERT_TRUE(selectItem(0));
    EXPECT_FALSE(user->beginTreeEdit(window, 树型框1, 0));
    EXPECT_FALSE(user->treeEditing(window, 树型框1));
    EXPECT_EQ(shownTree()[0].text, "分类A");
}

TEST_P(AppSuite, treeColoursFollowTheirPickers) {
    startProgram();
    user->answerColourChoice(0x123456);
    ASSERT_TRUE(user->openColourPicker(window, 颜色选择器_树形框文本颜色));
    EXPECT_EQ(ToNumber(readProperty(window, 树型框1, prop::treeTextColour)), 0x123456);
    user->answerColourChoice(0x00FFFF);
    ASSERT_TRUE(user->openColourPicker(window, 颜色选择器_树形框背景颜色));
    EXPECT_EQ(ToNumber(readProperty(window, 树型框1, prop::treeBackColour)), 0x00FFFF);
    trayMenu(退出不推荐);
    EXPECT_NE(fileBytes(app::kSettingsFile).find("分类文本颜色=1193046\r\n分类背景颜色=65535\r\n"),
              std::string::npos);
}

} // namespace

} // namespace glyvora::testing
