// Browsing: the scan of a tree selection, the scan window, private loading and the preview pages.
#include "app_suite.h"

#include <algorithm>
#include <set>

namespace glyvora::testing {

namespace {

using namespace mainwin;

TEST_P(AppSuite, aFolderListsItsOwnFilesFirstThenEachLevelBelow) {
    const Text top = makeFolder("字体库");
    makeFont(top + "\\a.ttf", "Alpha");
    writeTestFile(top + "\\说明.txt", "not a font");
    makeTestDirectory(top + "\\sub");
    makeFont(top + "\\sub\\b.ttf", "Beta");
    makeTestDirectory(top + "\\sub\\deep");
    makeFont(top + "\\sub\\deep\\c.ttf", "Gamma");
    registerFolders({{"字体库", top}});
    startProgram();
    ASSERT_TRUE(selectItem(1));

    const std::vector<Text> paths = scannedFonts();
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_EQ(std::set<Text>(paths.begin(), paths.begin() + 2),
              (std::set<Text>{top + "\\a.ttf", top + "\\说明.txt"}));
    EXPECT_EQ(paths[2], top + "\\sub\\b.ttf");
    EXPECT_EQ(paths[3], top + "\\sub\\deep\\c.ttf");
    const auto textFile = std::find(paths.begin(), paths.end(), top + "\\说明.txt") - paths.begin();
    EXPECT_EQ(labelHint(static_cast<int>(textFile) + 1), "\r\n" + top + "\\说明.txt"); // no face name
    EXPECT_EQ(labelHint(4), "Gamma\r\n" + top + "\\sub\\deep\\c.ttf");
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(previewCaptions(), blanks(5));
}

// Links that lead back into the folder being walked would make a walk without end; one that leads
// elsewhere is walked like a folder.
TEST_P(AppSuite, aFolderWithLinksBackIntoItselfShowsEachFileOnce) {
    const Text top = makeFolder("links"), other = makeFolder("other");
    makeFont(top + "\\a.ttf", "Alpha");
    makeTestDirectory(top + "\\sub");
    makeFont(top + "\\sub\\b.ttf", "Beta");
    makeFont(other + "\\c.ttf", "Gamma");
    ASSERT_TRUE(makeFolderLink(top + "\\sub\\up", top));
    ASSERT_TRUE(makeFolderLink(top + "\\sub\\self", top + "\\sub"));
    ASSERT_TRUE(makeFolderLink(top + "\\sub\\elsewhere", other));
    registerFolders({{"links", top}});
    startProgram();
    ASSERT_TRUE(selectItem(1));

    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(previewCaptions(), blanks(4));
    EXPECT_EQ(labelHint(1), "Alpha\r\n" + top + "\\a.ttf");
    EXPECT_EQ(labelHint(2), "Beta\r\n" + top + "\\sub\\b.ttf");
    EXPECT_EQ(labelHint(3), "Gamma\r\n" + top + "\\sub\\elsewhere\\c.ttf");
}

TEST_P(AppSuite, pageCountsOfNineEightAndOneFiles) {
    const Text nine = makeFolder("nine"), eight = makeFolder("eight"), one = makeFolder("one");
    makeFonts(nine, 9);
    makeFonts(eight, 8);
    makeFonts(one, 1);
    registerFolders({{"nine", nine}, {"eight", eight}, {"one", one}});
    startProgram();

    ASSERT_TRUE(selectItem(1));
    EXPECT_EQ(pageLabel(), "页次：1/2");
    // Labels show entries 1..8 in their own faces, in the order the directory search gave the files.
    const std::vector<Text> loaded = scannedFonts();
    ASSERT_EQ(loaded.size(), 9u);
    std::vector<Text> faces;
    for (const Text& path : loaded)
        faces.push_back(madeFace(path));
    EXPECT_EQ(previewFaces(), std::vector<Text>(faces.begin(), faces.begin() + 8));
    EXPECT_EQ(std::set<Text>(faces.begin(), faces.end()).size(), 9u);
    ASSERT_TRUE(click(按钮_下一页));
    EXPECT_EQ(previewFaces()[0], faces[8]);
    ASSERT_TRUE(selectItem(2));
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(previewCaptions(), blanks(9));
    ASSERT_EQ(scannedFonts().size(), 8u);
    const Text secondFace = madeFace(scannedFonts()[1]);
    ASSERT_TRUE(selectItem(3));
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(previewCaptions(), blanks(2));
    EXPECT_EQ(labelHint(1), "Face1\r\n" + one + "\\font1.ttf");
    // Labels past the end keep their face; every scan empties the page slots.
    EXPECT_EQ(previewFaces()[1], secondFace);
    EXPECT_EQ(state().fonts.pagePaths[1], "");
}

TEST_P(AppSuite, aCategoryGathersItsFoldersOnceAndOverlappingFoldersTwice) {
    const Text outer = makeFolder("outer");
    makeFonts(outer, 2, "o");
    makeTestDirectory(outer + "\\inner");
    makeFonts(outer + "\\inner", 1, "i");
    writeTree({{1, "分类", true, true}, {2, "子分类", true, true}, {3, "outer"}, {3, "outer"}, {2, "inner"}});
    writeFolderTable({{"outer", outer}, {"inner", outer + "\\inner"}});
    startProgram();

    ASSERT_TRUE(selectItem(0));
    EXPECT_EQ(state().scan.scanNames, (std::vector<Text>{"outer", "inner"}));
    const std::vector<Text> loaded = scannedFonts();
    EXPECT_EQ(loaded.size(), 4u); // 3 below outer, the inner one again
    EXPECT_EQ(std::count(loaded.begin(), loaded.end(), outer + "\\inner\\i1.ttf"), 2);
    EXPECT_EQ(previewCaptions(), blanks(5));
}

TEST_P(AppSuite, aMissingFolderShowsPageOneOfOneAndNoScanWindow) {
    registerFolders({{"gone", dir.file("gone")}});
    startProgram();
    ASSERT_TRUE(selectItem(1));
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_TRUE(fonts.added.empty());
    EXPECT_EQ(previewCaptions(), blanks(1));
    EXPECT_FALSE(user->windowExists(scanwin::window));
}

TEST_P(AppSuite, theScanWindowShowsAFullBarForHalfASecondThenCloses) {
    const Text folder = makeFolder("字体");
    makeFonts(folder, 5);
    registerFolders({{"字体", folder}});
    startProgram();
    std::optional<ShownProgress> duringPause;
    bool shownDuringPause = false;
    Text caption;
    clock.at(clock.ticks() + 1, [&] {
        user->later([&] {
            shownDuringPause = user->windowExists(scanwin::window);
            duringPause = user->shownProgress(scanwin::window, scanwin::进度条1);
            caption = user->shownText(scanwin::window, scanwin::标签1);
        });
    });
    ASSERT_TRUE(selectItem(1));
    EXPECT_TRUE(shownDuringPause);
    ASSERT_TRUE(duringPause.has_value());
    EXPECT_EQ(*duringPause, (ShownProgress{0, 5, 5}));
    EXPECT_EQ(caption, "正在扫描字体…");
    EXPECT_FALSE(user->windowExists(scanwin::window));
    EXPECT_GE(clock.slept(), 500u);
}

TEST_P(AppSuite, theNextScanRemovesExactlyWhatNoLabelHoldsAndTheExitTheRest) {
    const Text a = makeFolder("a"), b = makeFolder("b");
    const auto inA = makeFonts(a, 3);
    const auto inB = makeFonts(b, 2);
    writeTree({{1, "分类", true, true}, {2, "a"}, {2, "a"}, {2, "b"}});
    writeFolderTable({{"a", a}, {"b", b}});
    startProgram();
    ASSERT_TRUE(selectItem(0)); // a once (its label gathered twice), then b
    const std::vector<Text> first = fonts.added;
    EXPECT_EQ(first, (std::vector<Text>{inA[0], inA[1], inA[2], inB[0], inB[1]}));
    EXPECT_TRUE(fonts.removed.empty());
    // b's two fonts move to labels 1 and 2, already loaded; label 3, past the end now, keeps a's
    // third font; labels 4 and 5 still hold b's.
    ASSERT_TRUE(selectItem(3));
    EXPECT_EQ(fonts.removed, (std::vector<Text>{inA[0], inA[1]}));
    EXPECT_EQ(fonts.added, first);
    EXPECT_EQ(heldFonts(), (std::vector<Text>{inA[2], inB[0], inB[1]}));
    trayMenu(退出不推荐);
    EXPECT_EQ(fonts.removed, (std::vector<Text>{inA[0], inA[1], inA[2], inB[0], inB[1]}));
    EXPECT_TRUE(heldFonts().empty());
}

TEST_P(AppSuite, aSetLabelIsRecountedWhenItsSetHasGrown) {
    const Text folder = makeFolder("f");
    const auto paths = makeFonts(folder, 7);
    writeTree({{1, "集", true, true}, {2, "常用   5"}, {2, "标题"}});
    std::vector<SetRecord> records;
    for (const Text& p : paths)
        records.push_back({"常用", p});
    records.push_back({"标题", paths[0]});
    writeSetTable(records);
    startProgram();

    ASSERT_TRUE(selectItem(1));
    EXPECT_EQ(scannedFonts(), paths);
    EXPECT_EQ(shownTree()[1].text, "常用   7");
    EXPECT_EQ(pageLabel(), "页次：1/1");
    ASSERT_TRUE(selectItem(0)); // the set root: every set, set by set
    std::vector<Text> bySet = paths;
    bySet.push_back(paths[0]);
    EXPECT_EQ(scannedFonts(), bySet);
    EXPECT_EQ(shownTree()[2].text, "标题   1");
}

TEST_P(AppSuite, onlyFontSetsAreRelabelledWithTheirCount) {
    const Text folder = makeFolder("宋体");
    const auto paths = makeFonts(folder, 2);
    writeTree({{1, "集", true, true}, {2, "常用"}, {1, "常用", true, true}, {2, "宋体"}, {2, "旧"}});
    writeTestFile(file(app::kNamesFile), "|集|常用");
    writeFolderTable({{"宋体", folder}});
    writeSetTable({{"常用", paths[0]}});
    startProgram();

    ASSERT_TRUE(selectItem(1));
    EXPECT_EQ(scannedFonts(), (std::vector<Text>{paths[0]}));
    EXPECT_EQ(shownTree()[1].text, "常用   1");
    // The category of the set's name keeps its label, so the names file still knows it.
    EXPECT_EQ(shownTree()[2].text, "常用");
    ASSERT_TRUE(selectItem(2));
    EXPECT_EQ(scannedFonts(), paths);
    EXPECT_EQ(shownTree()[2].text, "常用");

    // A folder node whose record is gone shows nothing and is not taken for an empty set.
    ASSERT_TRUE(selectItem(4));
    EXPECT_TRUE(scannedFonts().empty());
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(shownTree()[4].text, "旧");
}

TEST_P(AppSuite, pagingWalksNineEntriesAndStopsAtBothEnds) {
    browseFonts(9);
    const std::vector<Text> loaded = scannedFonts();
    ASSERT_EQ(loaded.size(), 9u);
    ASSERT_TRUE(click(按钮_下一页));
    EXPECT_EQ(pageLabel(), "页次：2/2");
    EXPECT_EQ(previewCaptions(), blanks(2));
    EXPECT_EQ(previewFaces()[0], madeFace(loaded[8]));
    ASSERT_TRUE(click(按钮_下一页));
    EXPECT_EQ(pageLabel(), "页次：2/2");
    ASSERT_TRUE(click(按钮_上一页));
    EXPECT_EQ(pageLabel(), "页次：1/2");
    EXPECT_EQ(previewCaptions(), blanks(9));
    EXPECT_EQ(previewFaces()[7], madeFace(loaded[7]));
    ASSERT_TRUE(click(按钮_上一页));
    EXPECT_EQ(pageLabel(), "页次：1/2");
}

TEST_P(AppSuite, jumpGoesToTheTypedPageOrCorrectsTheBox) {
    browseFonts(17); // 3 pages
    const std::vector<Text> loaded = scannedFonts();
    ASSERT_EQ(loaded.size(), 17u);
    const auto jump = [&](const Text& typed) {
        typeInto(编辑框_输入页次, typed);
        click(按钮_跳到页次);
    };
    jump("4");
    EXPECT_EQ(shown(编辑框_输入页次), "3");
    EXPECT_EQ(pageLabel(), "页次：1/3");
    jump("0");
    jump("abc");
    jump("-4");
    jump("");
    EXPECT_EQ(pageLabel(), "页次：1/3");
    jump("2.7"); // cut to page 2
    EXPECT_EQ(pageLabel(), "页次：2/3");
    EXPECT_EQ(previewFaces()[0], madeFace(loaded[8]));
    jump("2");
    EXPECT_EQ(pageLabel(), "页次：2/3");
    EXPECT_EQ(previewFaces()[7], madeFace(loaded[15]));
    jump("0.5");
    EXPECT_EQ(pageLabel(), "页次：1/3");
}

TEST_P(AppSuite, autoTurnStartsAtOnceAndWaitsTheSecondsOfTheBox) {
    browseFonts(33); // 5 pages
    std::vector<std::pair<std::uint32_t, Text>> turns;
    const std::uint32_t start = clock.ticks();
    ASSERT_TRUE(click(选择框_自动翻页));
    // Every turn was recorded by the page label it left; read them back from the clock's record.
    EXPECT_EQ(pageLabel(), "页次：5/5");
    EXPECT_EQ(shown(编辑框_自动翻页每页显示时间), "5");
    EXPECT_EQ(user->shownCheckState(window, 选择框_自动翻页), 0);
    // Turns 1 and 2 at once, then 5 s after each of turns 2 and 3, and 5 s after the last.
    EXPECT_EQ(clock.ticks() - start, 15000u);
}

TEST_P(AppSuite, uncheckingStopsTheTurnWithinASecond) {
    browseFonts(33);
    typeInto(编辑框_自动翻页每页显示时间, "3");
    const std::uint32_t start = clock.ticks();
    clock.at(start + 4500, [&] { user->later([&] { click(选择框_自动翻页); }); });
    ASSERT_TRUE(click(选择框_自动翻页));
    EXPECT_EQ(pageLabel(), "页次：3/5");
    EXPECT_LE(clock.ticks() - start, 5000u);
    EXPECT_EQ(user->shownCheckState(window, 选择框_自动翻页), 0);
}

TEST_P(AppSuite, autoTurnOnTheLastPageUnchecksAtOnceAndZeroSecondsReadsAsSpaceFive) {
    browseFonts(9);
    click(按钮_下一页);
    const std::uint32_t start = clock.ticks();
    ASSERT_TRUE(click(选择框_自动翻页));
    EXPECT_EQ(user->shownCheckState(window, 选择框_自动翻页), 0);
    EXPECT_EQ(clock.ticks(), start);
    click(按钮_上一页);
    typeInto(编辑框_自动翻页每页显示时间, "x");
    ASSERT_TRUE(click(选择框_自动翻页));
    EXPECT_EQ(shown(编辑框_自动翻页每页显示时间), " 5");
    EXPECT_EQ(pageLabel(), "页次：2/2");
}

TEST_P(AppSuite, theSampleTextGoesToAllEightLabelsAndTheStyleSurvivesPaging) {
    browseFonts(9);
    typeInto(编辑框_内容, "Abc 中文");
    EXPECT_EQ(previewCaptions(), std::vector<Text>(8, "Abc 中文"));

    user->chooseComboItem(window, 组合框_字体样式, 1);
    click(按钮_下一页);
    for (int k = 1; k <= 8; ++k)
        EXPECT_TRUE(user->shownFont(window, previewLabel(k))->weight >= 700) << k;
    user->chooseComboItem(window, 组合框_字号, 0);
    EXPECT_EQ(ToNumber(readProperty(window, previewLabel(8), prop::font, fontField::points)), 14);

    // Back to "常规" without the box's event: the labels stay bold until a page is filled again,
    // and then only the labels that show a font lose it.
    writeProperty(window, 组合框_字体样式, prop::selection, Value(0));
    typeInto(编辑框_输入页次, "2");
    click(按钮_跳到页次);
    EXPECT_LT(user->shownFont(window, previewLabel(1))->weight, 700);
    EXPECT_GE(user->shownFont(window, previewLabel(2))->weight, 700);
}

TEST_P(AppSuite, aSelectionDuringAScanIsScannedWhenItEnds) {
    const Text a = makeFolder("a"), b = makeFolder("b");
    makeFonts(a, 3);
    makeFonts(b, 10);
    registerFolders({{"a", a}, {"b", b}});
    startProgram();
    // During the scan's closing pause, with the lists half built.
    clock.at(clock.ticks() + 1, [&] {
        user->later([&] {
            click(按钮_下一页); // nothing happens
            selectItem(2);
        });
    });
    selectItem(1); // the driver may see its own selection replaced by the later one
    EXPECT_EQ(user->shownTreeSelection(window, 树型框1), 2);
    EXPECT_EQ(scannedFonts().size(), 10u);
    EXPECT_EQ(pageLabel(), "页次：1/2");
    EXPECT_EQ(fonts.removed.size(), 3u);
}

TEST_P(AppSuite, aLabelThatShowsAFontTellsItsFaceAndPathAsItsHint) {
    browseFonts(9);
    const auto hint = [&](int k) { return labelHint(k); };
    const std::vector<Text> loaded = scannedFonts();
    ASSERT_EQ(loaded.size(), 9u);
    EXPECT_EQ(hint(1), madeFace(loaded[0]) + "\r\n" + loaded[0]);
    EXPECT_EQ(hint(8), madeFace(loaded[7]) + "\r\n" + loaded[7]);
    click(按钮_下一页);
    EXPECT_EQ(hint(1), madeFace(loaded[8]) + "\r\n" + loaded[8]);
    EXPECT_EQ(hint(2), ""); // blank label
    typeInto(编辑框_内容, "样例");
    EXPECT_EQ(hint(2), ""); // shows the sample again, but no font of this page
    EXPECT_NE(hint(1), "");
}

TEST_P(AppSuite, theLabelColourPickersColourAllEightLabels) {
    browseFonts(3);
    user->answerColourChoice(0x00FF00);
    ASSERT_TRUE(user->openColourPicker(window, 颜色选择器_字体颜色));
    user->answerColourChoice(0x000080);
    ASSERT_TRUE(user->openColourPicker(window, 颜色选择器_字体背景颜色));
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(ToNumber(readProperty(window, previewLabel(k), prop::textColour)), 0x00FF00) << k;
        EXPECT_EQ(ToNumber(readProperty(window, previewLabel(k), prop::backColour)), 0x000080) << k;
    }
    trayMenu(退出不推荐);
    EXPECT_NE(fileBytes(app::kSettingsFile).find("字体背景颜色=128\r\n字体颜色=65280\r\n"),
              std::string::npos);
}

} // namespace

} // namespace glyvora::testing
