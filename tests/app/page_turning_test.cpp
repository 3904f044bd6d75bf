// Pages turned by the mouse wheel over the preview labels and by the navigation keys.
#include "app_suite.h"

namespace glyvora::testing {

namespace {

using namespace mainwin;

TEST_P(AppSuite, theWheelTurnsOnePageANotchByTheMouseNotTheFocusAndStopsAtTheEnds) {
    browseFonts(17); // 3 pages
    const std::vector<Text> loaded = scannedFonts();
    ASSERT_EQ(loaded.size(), 17u);
    // The tree has the focus after the click on its node; the wheel goes where the mouse is.
    ASSERT_TRUE(user->focus(window, 树型框1));
    ASSERT_TRUE(wheelOver(previewLabel(3), -1));
    EXPECT_EQ(pageLabel(), "页次：2/3");
    EXPECT_EQ(previewFaces()[0], madeFace(loaded[8]));
    ASSERT_TRUE(wheelOver(previewLabel(8), -2)); // the second notch is past the last page
    EXPECT_EQ(pageLabel(), "页次：3/3");
    EXPECT_EQ(previewCaptions(), blanks(2));
    EXPECT_EQ(previewFaces()[0], madeFace(loaded[16]));
    ASSERT_TRUE(wheelOver(previewLabel(1), 1));
    EXPECT_EQ(pageLabel(), "页次：2/3");
    ASSERT_TRUE(wheelOver(previewLabel(5), 4));
    EXPECT_EQ(pageLabel(), "页次：1/3");
    EXPECT_EQ(previewCaptions(), blanks(9));
    EXPECT_EQ(previewFaces()[7], madeFace(loaded[7]));

    // Over the tree, over an edit box and over the window's own area nothing turns.
    ASSERT_TRUE(wheelOver(树型框1, -1));
    ASSERT_TRUE(wheelOver(编辑框_内容, -1));
    ASSERT_TRUE(wheelOver(windowUnit, -1));
    EXPECT_EQ(pageLabel(), "页次：1/3");
    EXPECT_EQ(user->shownTreeSelection(window, 树型框1), 1);
}

TEST_P(AppSuite, pageKeysTurnAndHomeAndEndShowTheFirstAndTheLastPage) {
    browseFonts(17);
    const std::vector<Text> loaded = scannedFonts();
    ASSERT_EQ(loaded.size(), 17u);
    ASSERT_TRUE(user->focus(window, 按钮_下一页));
    ASSERT_TRUE(pressKey(navigationKey::pageDown));
    EXPECT_EQ(pageLabel(), "页次：2/3");
    ASSERT_TRUE(pressKey(navigationKey::end));
    EXPECT_EQ(pageLabel(), "页次：3/3");
    EXPECT_EQ(previewFaces()[0], madeFace(loaded[16]));
    EXPECT_EQ(previewCaptions(), blanks(2));
    ASSERT_TRUE(pressKey(navigationKey::pageDown));
    EXPECT_EQ(pageLabel(), "页次：3/3");

    ASSERT_TRUE(user->focus(window, 选择框_自动翻页));
    ASSERT_TRUE(pressKey(navigationKey::pageUp));
    EXPECT_EQ(pageLabel(), "页次：2/3");
    ASSERT_TRUE(pressKey(navigationKey::home));
    EXPECT_EQ(pageLabel(), "页次：1/3");
    EXPECT_EQ(previewFaces()[0], madeFace(loaded[0]));
    EXPECT_EQ(previewCaptions(), blanks(9));
    ASSERT_TRUE(pressKey(navigationKey::pageUp));
    ASSERT_TRUE(pressKey(navigationKey::home));
    EXPECT_EQ(pageLabel(), "页次：1/3");
    EXPECT_EQ(user->shownCheckState(window, 选择框_自动翻页), 0);
}

TEST_P(AppSuite, editBoxesAndTheTreeKeepTheirKeys) {
    browseFonts(17);
    for (UnitId box : {编辑框_内容, 编辑框_输入页次, 编辑框_搜索字体内容}) {
        ASSERT_TRUE(user->focus(window, box));
        ASSERT_TRUE(pressKey(navigationKey::pageDown));
        ASSERT_TRUE(pressKey(navigationKey::end));
        EXPECT_EQ(pageLabel(), "页次：1/3") << box;
    }
    // The selected node is the last one of the tree, so the tree's own moves leave it selected.
    ASSERT_TRUE(user->focus(window, 树型框1));
    ASSERT_TRUE(pressKey(navigationKey::pageDown));
    ASSERT_TRUE(pressKey(navigationKey::end));
    EXPECT_EQ(pageLabel(), "页次：1/3");
}

TEST_P(AppSuite, theWheelAndTheKeysPageASearchResult) {
    browseFonts(17);
    searchFor("Face1"); // Face1, Face10 .. Face17: 9 matches
    ASSERT_EQ(pageLabel(), "页次：1/2");
    ASSERT_TRUE(wheelOver(previewLabel(2), -1));
    EXPECT_EQ(pageLabel(), "页次：2/2");
    EXPECT_EQ(previewCaptions(), blanks(2));
    const Text lastMatch = previewFaces()[0];
    EXPECT_EQ(lastMatch.rfind("Face1", 0), 0u);
    ASSERT_TRUE(user->focus(window, 按钮_搜索字体));
    ASSERT_TRUE(pressKey(navigationKey::home));
    EXPECT_EQ(pageLabel(), "页次：1/2");
    EXPECT_EQ(previewCaptions(), blanks(9));
    ASSERT_TRUE(pressKey(navigationKey::end));
    EXPECT_EQ(pageLabel(), "页次：2/2");
    EXPECT_EQ(previewFaces()[0], lastMatch);
    ASSERT_TRUE(wheelOver(previewLabel(1), 1));
    EXPECT_EQ(pageLabel(), "页次：1/2");
}

TEST_P(AppSuite, nothingTurnsWhileAScanRuns) {
    const Text a = makeFolder("a"), b = makeFolder("b");
    makeFonts(a, 17);
    makeFonts(b, 10);
    registerFolders({{"a", a}, {"b", b}});
    startProgram();
    ASSERT_TRUE(selectItem(1));
    ASSERT_EQ(pageLabel(), "页次：1/3");
    bool ran = false, running = false;
    int pageBefore = 0, pageAfter = 0;
    clock.at(clock.ticks() + 1, [&] {
        user->later([&] {
            ran = true;
            running = state().scan.scanRunning;
            pageBefore = state().fonts.currentPage;
            wheelOver(previewLabel(1), -1);
            pressKey(navigationKey::pageDown);
            pressKey(navigationKey::end);
            pageAfter = state().fonts.currentPage;
        });
    });
    ASSERT_TRUE(user->focus(window, 按钮_下一页));
    ASSERT_TRUE(selectItem(2));
    ASSERT_TRUE(ran);
    EXPECT_TRUE(running);
    EXPECT_EQ(pageAfter, pageBefore);
    EXPECT_EQ(scannedFonts().size(), 10u);
    EXPECT_EQ(pageLabel(), "页次：1/2");
}

} // namespace

} // namespace glyvora::testing
