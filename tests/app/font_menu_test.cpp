// The font context menu of the preview labels: what it shows, what its items copy and open.
#include "app_suite.h"
#include "platform/shell.h"

namespace glyvora::testing {

namespace {

using namespace mainwin;

// Requests to the file manager, none passed on.
class RecordingShell final : public Shell {
public:
    bool openFolderAndSelect(const Text& path, bool edit) override {
        opened.emplace_back(path, edit);
        return true;
    }
    std::vector<std::pair<Text, bool>> opened;
};

Text captionOf(const std::vector<MenuEntry>& entries, UnitId unit) {
    for (const MenuEntry& e : entries)
        if (e.unit == unit) return e.caption;
    return "(missing)";
}

TEST_P(AppSuite, theMenuOfLabelThreeOnPageTwoOfAResultCopiesThatResultsFaceName) {
    browseFonts(20);
    searchFor("1"); // Face1 and Face10..Face19: eleven, each found by name and by file name
    ASSERT_EQ(pageLabel(), "页次：1/2");
    ASSERT_TRUE(click(按钮_下一页));
    EXPECT_EQ(previewCaptions(), blanks(4)); // results 9..11

    user->answerPopupMenu(复制字体名称);
    ASSERT_TRUE(rightClickLabel(3));
    EXPECT_EQ(state().menu.currentLabel, 3);
    const Text face = previewFaces()[2];
    const Text path = labelPath(3);
    ASSERT_EQ(labelHint(3), face + "\r\n" + path);
    EXPECT_EQ(face, madeFace(path));
    EXPECT_EQ(user->clipboardText(), face);
    const auto entries = lastPopup();
    EXPECT_EQ(captionOf(entries, 复制字体名称), face);
    EXPECT_EQ(captionOf(entries, 复制字体文件名), path.substr(path.rfind('\\') + 1));

    // Past the end of the result: no menu, and the menu's font stays the one of label 3.
    const int popups = popupsShown();
    rightClickLabel(4);
    EXPECT_EQ(popupsShown(), popups);
    EXPECT_EQ(state().menu.currentLabel, 3);
}

TEST_P(AppSuite, theFileNameItemShowsTheWholeNameAndCopiesItUpToTheFirstDot) {
    const Text folder = makeFolder("字体");
    makeFont(folder + "\\abc.def.ttf", "Abc");
    makeFont(folder + "\\黑体样例.TTF", "Hei");
    registerFolders({{"字体", folder}});
    startProgram();
    ASSERT_TRUE(selectItem(1));

    for (int k = 1; k <= 2; ++k) {
        const Text path = labelPath(k);
        const bool dotted = path == folder + "\\abc.def.ttf";
        user->answerPopupMenu(复制字体文件名);
        ASSERT_TRUE(rightClickLabel(k));
        EXPECT_EQ(captionOf(lastPopup(), 复制字体文件名), dotted ? "abc.def.ttf" : "黑体样例.TTF");
        EXPECT_EQ(user->clipboardText(), dotted ? "abc" : "黑体样例");
    }
}

TEST_P(AppSuite, withAnEmptySampleTextNoLabelOpensTheMenu) {
    browseFonts(3);
    ASSERT_TRUE(typeInto(编辑框_内容, ""));
    for (int k = 1; k <= 8; ++k)
        rightClickLabel(k);
    EXPECT_EQ(popupsShown(), 0);
    EXPECT_EQ(state().menu.currentLabel, 0);
}

TEST_P(AppSuite, theSetMenuOffersTheSetsOfTheTreeWithTheirCounts) {
    const Text folder = makeFolder("f");
    const auto paths = makeFonts(folder, 12);
    writeTree({{1, "集", true, true}, {2, "常用"}, {2, "标题"}, {2, "正文"}});
    std::vector<SetRecord> records;
    for (const Text& p : paths)
        records.push_back({"常用", p});
    writeSetTable(records);
    startProgram();
    ASSERT_TRUE(selectItem(1));

    user->answerPopupMenu(0);
    ASSERT_TRUE(rightClickLabel(1));
    EXPECT_EQ(lastSetMenu(), (std::vector<Text>{"常用   12", "标题", "正文"}));

    user->answerInputBox(Text("草稿"));
    ASSERT_TRUE(click(按钮_添加集));
    user->answerPopupMenu(0);
    ASSERT_TRUE(rightClickLabel(2));
    EXPECT_EQ(lastSetMenu(), (std::vector<Text>{"常用   12", "标题", "正文", "草稿"}));
}

TEST_P(AppSuite, theSetMenuIsEmptyWithoutSetsAndOffersTheFirstTenOfMore) {
    browseFonts(1);
    user->answerPopupMenu(0);
    ASSERT_TRUE(rightClickLabel(1));
    EXPECT_TRUE(lastSetMenu().empty());
    stopProgram();

    std::vector<TreeEntry> tree{{1, "分类", true, true}, {2, "字体"}, {1, "集", true, true}};
    for (int n = 1; n <= 12; ++n)
        tree.push_back({2, "集合" + std::to_string(n)});
    writeTree(tree);
    startProgram();
    ASSERT_TRUE(selectItem(1));
    user->answerPopupMenu(0);
    ASSERT_TRUE(rightClickLabel(1));
    const auto offered = lastSetMenu();
    ASSERT_EQ(offered.size(), 10u);
    EXPECT_EQ(offered.front(), "集合1");
    EXPECT_EQ(offered.back(), "集合10");
}

TEST_P(AppSuite, uninstallingOpensTheSystemFontsFolderAndTouchesNoFont) {
    browseFonts(3);
    const auto removedBefore = fonts.removed.size();
    user->answerPopupMenu(卸载系统字体);
    ASSERT_TRUE(rightClickLabel(2));
    EXPECT_EQ(user->commandLinesRun(),
              (std::vector<Text>{"rundll32.exe shell32.dll,SHHelpShortcuts_RunDLL FontsFolder"}));
    EXPECT_EQ(fonts.removed.size(), removedBefore);
    EXPECT_EQ(user->dialogs().size(), 1u); // the menu alone: no question is asked
}

TEST_P(AppSuite, openingTheFolderOfAVanishedFontStillTurnsAlwaysOnTopOff) {
    RecordingShell shell;
    ScopedShell scopedShell(shell);
    const Text folder = makeFolder("f");
    const Text kept = folder + "\\kept.ttf";
    makeFont(kept, "Kept");
    writeTree({{1, "集", true, true}, {2, "常用"}});
    writeSetTable({{"常用", folder + "\\vanished.ttf"}, {"常用", kept}});
    startProgram();
    ASSERT_TRUE(selectItem(1));
    ASSERT_TRUE(user->windowOnTop(window));

    user->answerPopupMenu(打开所在目录);
    ASSERT_TRUE(rightClickLabel(1));
    EXPECT_FALSE(user->windowOnTop(window));
    EXPECT_EQ(user->shownCheckState(window, 选择框_窗口置顶), 0);
    EXPECT_FALSE(menuChecked(总在最前));
    EXPECT_TRUE(shell.opened.empty());

    user->answerPopupMenu(打开所在目录);
    ASSERT_TRUE(rightClickLabel(2));
    EXPECT_EQ(shell.opened, (std::vector<std::pair<Text, bool>>{{kept, false}}));
}

} // namespace

} // namespace glyvora::testing
