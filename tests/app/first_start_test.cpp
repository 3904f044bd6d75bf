// Starting the program, its window as a whole, the tray menu and the settings file.
#include "app_suite.h"

namespace glyvora::testing {

namespace {

using namespace mainwin;
const Text kSample = "中国智造慧及全球";

TEST_P(AppSuite, firstStartCreatesTheStoresAndShowsTheSampleInRedOnWhite) {
    startProgram();

    EXPECT_TRUE(fileExists(app::kNamesFile));
    EXPECT_EQ(fileBytes(app::kNamesFile).size(), 0u);
    EXPECT_EQ(fileBytes(app::kFolderTable).size(), 260u);
    EXPECT_EQ(fileBytes(app::kSetTable).size(), 260u);
    EXPECT_FALSE(fileExists(app::kTreeFile));
    EXPECT_FALSE(fileExists(app::kSettingsFile));
    EXPECT_TRUE(shownTree().empty());

    EXPECT_EQ(previewCaptions(), std::vector<Text>(8, kSample));
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(ToNumber(readProperty(window, previewLabel(k), prop::textColour)), 255);
        EXPECT_EQ(ToNumber(readProperty(window, previewLabel(k), prop::backColour)), 16777215);
    }
    EXPECT_EQ(pageLabel(), "页次：999/1000");
    EXPECT_EQ(user->windowRect(window).height, 718);
    EXPECT_EQ(user->shownComboSelection(window, 组合框_字号), 4);
    EXPECT_EQ(user->shownComboSelection(window, 组合框_字体样式), 0);
    EXPECT_EQ(user->shownPickerColour(window, 颜色选择器_树形框背景颜色), 0xFFFFFFu);

    const auto tray = user->trayIcon(window);
    ASSERT_TRUE(tray.has_value());
    EXPECT_EQ(tray->tip, "Glyvora");
}

TEST_P(AppSuite, exitThroughTheTrayMenuWritesTheSevenSettingsTreeAndNames) {
    startProgram();
    trayMenu(退出不推荐);

    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_EQ(fileBytes(app::kSettingsFile), "[Glyvora]\r\n"
                                             "字体背景颜色=16777215\r\n"
                                             "字体颜色=255\r\n"
                                             "分类文本颜色=0\r\n"
                                             "分类背景颜色=16777215\r\n"
                                             "字体预览的内容=中国智造慧及全球\r\n"
                                             "字号大小现行选中项=4\r\n"
                                             "字体样式现行选中项=0\r\n");
    EXPECT_TRUE(fileExists(app::kTreeFile));
    EXPECT_EQ(fileBytes(app::kTreeFile).size(), 0u);
    EXPECT_EQ(fileBytes(app::kNamesFile).size(), 0u);
}

TEST_P(AppSuite, closingThroughTheFrameEndsAtOnceAndWritesNothing) {
    startProgram();
    typeInto(编辑框_内容, "abc");
    ASSERT_TRUE(user->closeThroughFrame(window));
    EXPECT_TRUE(exitCodes.empty());
    EXPECT_FALSE(fileExists(app::kSettingsFile));
    EXPECT_FALSE(fileExists(app::kTreeFile));
}

TEST_P(AppSuite, storedSettingsComeBackAndSelectionsAreClamped) {
    writeTestFile(file(app::kSettingsFile), "[Glyvora]\r\n"
                                            "字体背景颜色=65280\r\n"
                                            "字体颜色=abc\r\n"
                                            "分类文本颜色=128\r\n"
                                            "字体预览的内容=样例 Sample\r\n"
                                            "字号大小现行选中项=1\r\n"
                                            "字体样式现行选中项=9\r\n");
    startProgram();
    EXPECT_EQ(previewCaptions(), std::vector<Text>(8, "样例 Sample"));
    EXPECT_EQ(ToNumber(readProperty(window, previewLabel(3), prop::backColour)), 65280);
    EXPECT_EQ(ToNumber(readProperty(window, previewLabel(3), prop::textColour)), 0); // not a number: black
    EXPECT_EQ(ToNumber(readProperty(window, 树型框1, prop::treeTextColour)), 128);
    EXPECT_EQ(ToNumber(readProperty(window, 树型框1, prop::treeBackColour)), 16777215);
    // "18" in the box while the labels keep the template's 48 points until the user picks a size.
    EXPECT_EQ(user->shownComboSelection(window, 组合框_字号), 1);
    EXPECT_EQ(ToNumber(readProperty(window, previewLabel(1), prop::font, fontField::points)), 48);
    EXPECT_EQ(user->shownComboSelection(window, 组合框_字体样式), 2);
}

TEST_P(AppSuite, aSizeSelectionBelowNoneIsStoredAsNoneAtTheNextExit) {
    writeTestFile(file(app::kSettingsFile), "[Glyvora]\r\n字号大小现行选中项=-5\r\n");
    startProgram();
    EXPECT_EQ(user->shownComboSelection(window, 组合框_字号), -1);
    trayMenu(退出不推荐);
    EXPECT_NE(fileBytes(app::kSettingsFile).find("字号大小现行选中项=-1\r\n"), std::string::npos);
}

TEST_P(AppSuite, alwaysOnTopKeepsItsThreeViewsEqual) {
    startProgram();
    EXPECT_TRUE(user->windowOnTop(window));
    EXPECT_EQ(user->shownCheckState(window, 选择框_窗口置顶), 1);
    EXPECT_TRUE(menuChecked(总在最前));

    ASSERT_TRUE(click(选择框_窗口置顶));
    EXPECT_FALSE(user->windowOnTop(window));
    EXPECT_EQ(user->shownCheckState(window, 选择框_窗口置顶), 0);
    EXPECT_FALSE(menuChecked(总在最前));

    trayMenu(总在最前);
    EXPECT_TRUE(user->windowOnTop(window));
    EXPECT_EQ(user->shownCheckState(window, 选择框_窗口置顶), 1);
    EXPECT_TRUE(menuChecked(总在最前));

    trayMenu(总在最前);
    EXPECT_FALSE(user->windowOnTop(window));
    EXPECT_EQ(user->shownCheckState(window, 选择框_窗口置顶), 0);
}

TEST_P(AppSuite, collapseCutsTheTreeSideAndASecondClickBringsItBack) {
    startProgram();
    ASSERT_TRUE(click(按钮_界面收缩));
    EXPECT_EQ(user->windowRect(window).width, 525);
    ASSERT_TRUE(click(按钮_界面收缩));
    EXPECT_EQ(user->windowRect(window).width, 700);
    // A width the user dragged the frame to expands to the full width at the first click.
    writeProperty(window, windowUnit, prop::width, Value(610));
    ASSERT_TRUE(click(按钮_界面收缩));
    EXPECT_EQ(user->windowRect(window).width, 700);
    EXPECT_EQ(shown(按钮_界面收缩), ">>");
}

TEST_P(AppSuite, trayLeftClicksDoNothingAndTheMenuShowsAndHidesTheWindow) {
    startProgram();
    ASSERT_TRUE(user->tray(window, TrayMouse::LeftUp));
    ASSERT_TRUE(user->tray(window, TrayMouse::LeftDoubleClick));
    EXPECT_TRUE(user->dialogs().empty());

    trayMenu(显示或隐藏);
    EXPECT_EQ(visibleCaptions(lastPopup()), (std::vector<Text>{"显示或隐藏", "总在最前", "退出(不推荐)"}));
    EXPECT_FALSE(user->windowShown(window));
    trayMenu(显示或隐藏);
    EXPECT_TRUE(user->windowShown(window));
}

} // namespace

} // namespace glyvora::testing
