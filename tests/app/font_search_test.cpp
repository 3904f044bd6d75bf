// Searching the loaded fonts by face name and file base name, and paging through the result.
#include "app_suite.h"
#include "fontfile/font_builder.h"

#include <algorithm>
#include <map>
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

// A label's hint for the font it shows.
Text hintOf(const Text& face, const Text& path) {
    return face + "\r\n" + path;
}

// The labels show the first result page, `expected` (face and path of each result on it, in any
// order), each label in the face of the result it tells in its hint.
#define EXPECT_FIRST_RESULT_PAGE(expected)                                                                   \
    do {                                                                                                     \
        const std::multiset<Text> wanted = expected;                                                         \
        const int filled = static_cast<int>(wanted.size());                                                  \
        EXPECT_EQ(previewCaptions(), blanks(filled + 1));                                                    \
        std::multiset<Text> hints;                                                                           \
        for (int k = 1; k <= filled; ++k) {                                                                  \
            hints.insert(labelHint(k));                                                                      \
            EXPECT_EQ(labelHint(k), hintOf(previewFaces()[static_cast<std::size_t>(k - 1)], labelPath(k)))   \
                << "label " << k;                                                                            \
        }                                                                                                    \
        EXPECT_EQ(hints, wanted);                                                                            \
    } while (false)

TEST_P(AppSuite, searchMatchesNamesCaseSensitivelyAndFileNamesOnlyBeforeTheFirstDot) {
    LOAD_SAMPLE_FONTS();
    const std::vector<Text> loadedFaces = previewFaces();
    ASSERT_EQ(previewCaptions(), blanks(5));
    ASSERT_EQ(asSet({loadedFaces.begin(), loadedFaces.begin() + 4}),
              (std::set<Text>{"Sample Sans", "宋体", "Mine"}));
    const std::multiset<Text> family{hintOf("Sample Sans", folder + "\\sample.ttf"),
                                     hintOf("Sample Sans", folder + "\\samplebd.ttf")};

    searchFor("Sample"); // both files of the family, by name only
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_FIRST_RESULT_PAGE(family);

    searchFor("sample"); // by file name only: no face name holds the lower-case text
    EXPECT_FIRST_RESULT_PAGE(family);

    for (const Text& text : {Text("ttf"), Text("."), Text("font"), Text(" Sample")}) {
        searchFor(text);
        EXPECT_EQ(labelHint(1), "") << text;
        EXPECT_EQ(pageLabel(), "页次：0/0") << text;
        EXPECT_EQ(previewCaptions(), blanks(1)) << text;
    }

    searchFor(" Sans"); // a leading space matches only where the name has one
    EXPECT_FIRST_RESULT_PAGE(family);
    searchFor("体");
    EXPECT_FIRST_RESULT_PAGE((std::multiset<Text>{hintOf("宋体", folder + "\\songti.ttc")}));
    EXPECT_EQ(previewFaces()[0], "宋体");
}

TEST_P(AppSuite, searchNeverMatchesFromInsideADoubleByteCharacter) {
    LOAD_SAMPLE_FONTS();
    // 宋体 is CB CE CC E5: CE CC straddles its two characters.
    searchFor("\xCE\xCC");
    EXPECT_EQ(previewCaptions(), blanks(1));
    EXPECT_EQ(pageLabel(), "页次：0/0");
}

TEST_P(AppSuite, anEmptySearchShowsTheLoadedFontsAgainFromPageOne) {
    LOAD_SAMPLE_FONTS();
    const std::vector<Text> loaded = scannedFonts();
    ASSERT_EQ(loaded.size(), 4u);
    const std::map<Text, Text> faceOf{{folder + "\\sample.ttf", "Sample Sans"},
                                      {folder + "\\samplebd.ttf", "Sample Sans"},
                                      {folder + "\\songti.ttc", "宋体"},
                                      {folder + "\\my.font.ttf", "Mine"}};
    searchFor("Sample");
    searchFor("");
    EXPECT_EQ(state().fonts.searchMode, app::PageSource::LoadedFonts);
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(previewCaptions(), blanks(5));
    EXPECT_EQ(previewFaces()[3], faceOf.at(loaded[3]));
    EXPECT_EQ(labelHint(4), hintOf(faceOf.at(loaded[3]), loaded[3]));
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
    EXPECT_FIRST_RESULT_PAGE((std::multiset<Text>{hintOf("Mark Pro", folder + "\\Mark.ttf"),
                                                  hintOf("Mark Two", folder + "\\other.ttf"),
                                                  hintOf("Plain", folder + "\\Mark2.ttf")}));
    EXPECT_EQ(asSet({labelPath(1), labelPath(2)}),
              (std::set<Text>{folder + "\\Mark.ttf", folder + "\\other.ttf"}));
    EXPECT_EQ(labelHint(3), hintOf("Plain", folder + "\\Mark2.ttf"));
}

TEST_P(AppSuite, eightSearchMatchesMakeOnePageAndNineMakeTwo) {
    const Text folder = makeFolder("f");
    makeFonts(folder, 8, "a", "Alpha");
    makeFonts(folder, 1, "b", "Beta");
    registerFolders({{"f", folder}});
    startProgram();
    ASSERT_TRUE(selectItem(1));
    // Face names of the made fonts: a<N>.ttf is Alpha<N>, b1.ttf is Beta1.
    const auto hintOfMade = [&](const Text& path) {
        const Text name = path.substr(path.rfind('\\') + 1);
        const Text n = name.substr(1, name.size() - 5);
        return hintOf((name[0] == 'a' ? "Alpha" : "Beta") + n, path);
    };
    const std::vector<Text> loaded = scannedFonts();
    ASSERT_EQ(loaded.size(), 9u);
    std::multiset<Text> alphas, firstEight;
    for (const Text& path : loaded) {
        if (path.substr(path.rfind('\\') + 1, 1) == "a") alphas.insert(hintOfMade(path));
        if (firstEight.size() < 8) firstEight.insert(hintOfMade(path));
    }
    ASSERT_EQ(alphas.size(), 8u);

    searchFor("Alpha");
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_FIRST_RESULT_PAGE(alphas);

    searchFor("a"); // the eight (Alph-a) and Beta too, all by name, in the loaded order
    EXPECT_EQ(pageLabel(), "页次：1/2");
    EXPECT_FIRST_RESULT_PAGE(firstEight);
    ASSERT_TRUE(click(按钮_下一页));
    EXPECT_EQ(pageLabel(), "页次：2/2");
    EXPECT_EQ(previewCaptions(), blanks(2));
    EXPECT_EQ(labelHint(1), hintOfMade(loaded[8]));
    EXPECT_EQ(labelHint(1), hintOf(previewFaces()[0], loaded[8]));
    ASSERT_TRUE(click(按钮_上一页));
    EXPECT_EQ(pageLabel(), "页次：1/2");
    EXPECT_FIRST_RESULT_PAGE(firstEight);
}

TEST_P(AppSuite, searchingWithNothingLoadedChangesNothingOnScreen) {
    startProgram();
    const auto captions = previewCaptions();
    const Text page = pageLabel();
    searchFor("Face");
    EXPECT_EQ(state().fonts.searchMode, app::PageSource::SearchResult);
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
    EXPECT_EQ(state().fonts.currentPage, 1);
}

TEST_P(AppSuite, aSearchClickedDuringAScanDoesNothing) {
    browseFonts(3);
    user->later([&] {
        typeInto(编辑框_搜索字体内容, "Face");
        click(按钮_搜索字体);
    });
    ASSERT_TRUE(selectItem(0)); // the category: the same folder, scanned again
    EXPECT_EQ(state().fonts.searchMode, app::PageSource::LoadedFonts);
    EXPECT_TRUE(state().search.resultPaths.empty());
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(previewCaptions(), blanks(4));
}

} // namespace

} // namespace glyvora::testing
