// Searching the loaded fonts by face name and file base name, and paging through the result.
#include "app_suite.h"
#include "fontfile/font_builder.h"

#include <algorithm>
#include <set>

namespace glyvora::testing {

namespace {

using namespace mainwin;

std::set<Text> asSet(const std::vector<Text>& texts) {
    return std::set<Text>(texts.begin(), texts.end());
}

// Two files of one family, a Chinese face, and a file name with two dots, in folder 字体.
#define LOAD_SAMPLE_FONTS()                                                                                  \
    const Text folder = makeFolder("字体");                                                                  \
    makeFont(folder + "\\sample.ttf", "Sample Sans");                                                        \
    makeFont(folder + "\\samplebd.ttf", "Sample Sans");                                                      \
    {                                                                                                        \
        SfntFont songti;                                                                                     \
        songti.names.push_back(windowsName(0x0804, u"宋体"));                                                \
        writeTestFile(folder + "\\songti.ttc", buildSfnt(songti));                                           \
    }                                                                                                        \
    makeFont(folder + "\\my.font.ttf", "Mine");                                                              \
    registerFolders({{"字体", folder}});                                                                     \
    startProgram();                                                                                          \
    ASSERT_TRUE(selectItem(1))

// The labels show the first result page in the faces of the result.
#define EXPECT_FIRST_RESULT_PAGE()                                                                           \
    do {                                                                                                     \
        const auto& faces = state().resultFaceNames;                                                         \
        const std::size_t filled = std::min<std::size_t>(faces.size(), 8);                                   \
        EXPECT_EQ(previewCaptions(), blanks(static_cast<int>(filled) + 1));                                  \
        for (std::size_t k = 0; k < filled; ++k) {                                                           \
            EXPECT_EQ(previewFaces()[k], faces[k]) << "label " << k + 1;                                     \
            EXPECT_EQ(state().pagePaths[k], state().resultPaths[k]) << "label " << k + 1;                    \
        }                                                                                                    \
    } while (false)

TEST_P(AppSuite, searchMatchesNamesCaseSensitivelyAndFileNamesOnlyBeforeTheFirstDot) {
    LOAD_SAMPLE_FONTS();
    ASSERT_EQ(asSet(state().faceNames), (std::set<Text>{"Sample Sans", "宋体", "Mine"}));

    searchFor("Sample"); // both files of the family, by name only
    EXPECT_EQ(asSet(state().resultPaths),
              (std::set<Text>{folder + "\\sample.ttf", folder + "\\samplebd.ttf"}));
    EXPECT_EQ(state().resultFaceNames, (std::vector<Text>{"Sample Sans", "Sample Sans"}));
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_FIRST_RESULT_PAGE();

    searchFor("sample"); // by file name only: no face name holds the lower-case text
    EXPECT_EQ(asSet(state().resultPaths),
              (std::set<Text>{folder + "\\sample.ttf", folder + "\\samplebd.ttf"}));
    EXPECT_FIRST_RESULT_PAGE();

    for (const Text& text : {Text("ttf"), Text("."), Text("font"), Text(" Sample")}) {
        searchFor(text);
        EXPECT_TRUE(state().resultPaths.empty()) << text;
        EXPECT_EQ(pageLabel(), "页次：0/0") << text;
        EXPECT_EQ(previewCaptions(), blanks(1)) << text;
    }

    searchFor(" Sans"); // a leading space matches only where the name has one
    EXPECT_EQ(state().resultPaths.size(), 2u);
    searchFor("体");
    EXPECT_EQ(state().resultPaths, (std::vector<Text>{folder + "\\songti.ttc"}));
    EXPECT_EQ(previewFaces()[0], "宋体");
}

TEST_P(AppSuite, searchNeverMatchesFromInsideADoubleByteCharacter) {
    LOAD_SAMPLE_FONTS();
    // 宋体 is CB CE CC E5: CE CC straddles its two characters.
    searchFor("\xCE\xCC");
    EXPECT_TRUE(state().resultPaths.empty());
    EXPECT_EQ(pageLabel(), "页次：0/0");
}

TEST_P(AppSuite, anEmptySearchShowsTheLoadedFontsAgainFromPageOne) {
    LOAD_SAMPLE_FONTS();
    searchFor("Sample");
    searchFor("");
    EXPECT_EQ(state().searchMode, 0);
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(previewCaptions(), blanks(5));
    EXPECT_EQ(previewFaces()[3], state().faceNames[3]);
    EXPECT_EQ(state().pagePaths[3], state().fontPaths[3]);
}

TEST_P(AppSuite, aFontFoundByBothSearchPassesIsListedOnceWhereTheNamePassPutIt) {
    const Text folder = makeFolder("f");
    makeFont(folder + "\\Mark.ttf", "Mark Pro");  // both passes
    makeFont(folder + "\\other.ttf", "Mark Two"); // name pass
    makeFont(folder + "\\Mark2.ttf", "Plain");    // file pass
    makeFont(folder + "\\none.ttf", "None");
    registerFolders({{"f", folder}});
    startProgram();
    ASSERT_TRUE(selectItem(1));

    searchFor("Mark");
    ASSERT_EQ(state().resultPaths.size(), 3u);
    EXPECT_EQ(asSet({state().resultPaths[0], state().resultPaths[1]}),
              (std::set<Text>{folder + "\\Mark.ttf", folder + "\\other.ttf"}));
    EXPECT_EQ(state().resultPaths[2], folder + "\\Mark2.ttf");
    EXPECT_EQ(state().resultFaceNames[2], "Plain");
    EXPECT_FIRST_RESULT_PAGE();
}

TEST_P(AppSuite, eightSearchMatchesMakeOnePageAndNineMakeTwo) {
    const Text folder = makeFolder("f");
    makeFonts(folder, 8, "a", "Alpha");
    makeFonts(folder, 1, "b", "Beta");
    registerFolders({{"f", folder}});
    startProgram();
    ASSERT_TRUE(selectItem(1));

    searchFor("Alpha");
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(state().pageCount, 1);
    EXPECT_FIRST_RESULT_PAGE();

    searchFor("a"); // the eight (Alph-a) and Beta too
    EXPECT_EQ(state().resultPaths.size(), 9u);
    EXPECT_EQ(pageLabel(), "页次：1/2");
    EXPECT_FIRST_RESULT_PAGE();
    ASSERT_TRUE(click(按钮_下一页));
    EXPECT_EQ(pageLabel(), "页次：2/2");
    EXPECT_EQ(previewCaptions(), blanks(2));
    EXPECT_EQ(previewFaces()[0], state().resultFaceNames[8]);
    EXPECT_EQ(state().pagePaths[0], state().resultPaths[8]);
    ASSERT_TRUE(click(按钮_上一页));
    EXPECT_EQ(pageLabel(), "页次：1/2");
    EXPECT_FIRST_RESULT_PAGE();
}

TEST_P(AppSuite, searchingWithNothingLoadedChangesNothingOnScreen) {
    startProgram();
    const auto captions = previewCaptions();
    const Text page = pageLabel();
    searchFor("Face");
    EXPECT_EQ(state().searchMode, 1);
    EXPECT_EQ(previewCaptions(), captions);
    EXPECT_EQ(pageLabel(), page);
    ASSERT_TRUE(click(按钮_下一页));
    EXPECT_EQ(previewCaptions(), captions);
    EXPECT_EQ(pageLabel(), page);
}

TEST_P(AppSuite, pagingAfterASearchWithoutMatchesStaysOnTheBlankPage) {
    browseFonts(17);
    ASSERT_TRUE(click(按钮_下一页));
    searchFor("nothing like it");
    EXPECT_EQ(pageLabel(), "页次：0/0");
    EXPECT_EQ(previewCaptions(), blanks(1));

    ASSERT_TRUE(click(按钮_下一页));
    ASSERT_TRUE(click(按钮_上一页));
    ASSERT_TRUE(typeInto(编辑框_输入页次, "2"));
    ASSERT_TRUE(click(按钮_跳到页次));
    ASSERT_TRUE(click(选择框_自动翻页));
    EXPECT_EQ(previewCaptions(), blanks(1));
    EXPECT_EQ(pageLabel(), "页次：0/0");
    EXPECT_EQ(state().currentPage, 1);
}

TEST_P(AppSuite, aSearchClickedDuringAScanDoesNothing) {
    browseFonts(3);
    user->later([&] {
        typeInto(编辑框_搜索字体内容, "Face");
        click(按钮_搜索字体);
    });
    ASSERT_TRUE(selectItem(0)); // the category: the same folder, scanned again
    EXPECT_EQ(state().searchMode, 0);
    EXPECT_TRUE(state().resultPaths.empty());
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(previewCaptions(), blanks(4));
}

} // namespace

} // namespace glyvora::testing
