// Each preview label is given the file of the entry it shows beside its face name, on every kind
// of page, so that a backend can draw that file's own glyphs where face names clash: two files of
// one face name on one page, a file whose name an installed font also has, a file shown after
// another of its name was shown and unloaded, a search page, a set page. The face name, the hint and
// the search still see the real names and paths.
#include "app_suite.h"
#include "clashing_faces.h"

namespace glyvora::testing {
namespace {

using namespace mainwin;

// A category with the folders 仿冒 (the impostor alone), 正品 (the real file alone) and 两者 (both),
// and the set 冲突 of both files: tree items 1, 2, 3 and 5.
#define START_WITH_CLASHING_FACES()                                                                          \
    const std::string real = realLiberationSans();                                                           \
    const std::string impostor = impostorOfLiberationSans();                                                 \
    if (real.empty() || impostor.empty()) GTEST_SKIP() << "fonts-liberation or fonts-dejavu-core missing";   \
    const Text impostorFile = makeFolder("仿冒") + "\\LiberationSans-Regular.ttf";                           \
    const Text realFile = makeFolder("正品") + "\\LiberationSans-Regular.ttf";                               \
    const Text both = makeFolder("两者");                                                                    \
    writeTestFile(impostorFile, impostor);                                                                   \
    writeTestFile(realFile, real);                                                                           \
    writeTestFile(both + "\\a-impostor.ttf", impostor);                                                      \
    writeTestFile(both + "\\b-real.ttf", real);                                                              \
    writeTree({{1, "分类", true, true},                                                                      \
               {2, "仿冒"},                                                                                  \
               {2, "正品"},                                                                                  \
               {2, "两者"},                                                                                  \
               {1, "集", true, true},                                                                        \
               {2, "冲突"}});                                                                                \
    writeFolderTable({{"仿冒", dir.file("仿冒")}, {"正品", dir.file("正品")}, {"两者", both}});              \
    writeSetTable({{"冲突", impostorFile}, {"冲突", realFile}});                                             \
    startProgram()

// The labels that show an entry: each one's file is the entry's path its hint names, and its face
// is the face name the file carries.
#define EXPECT_LABELS_SHOW_FILES(...)                                                                        \
    do {                                                                                                     \
        const std::vector<Text> expected{__VA_ARGS__};                                                       \
        for (std::size_t k = 1; k <= expected.size(); ++k) {                                                 \
            const UnitId label = previewLabel(static_cast<int>(k));                                          \
            EXPECT_EQ(labelPath(static_cast<int>(k)), expected[k - 1]) << "label " << k;                     \
            EXPECT_EQ(user->shownFontFile(window, label), expected[k - 1]) << "label " << k;                 \
            EXPECT_EQ(previewFaces()[k - 1], kClashingFace) << "label " << k;                                \
            EXPECT_EQ(readProperty(window, label, prop::font, fontField::faceName), Value(kClashingFace));   \
        }                                                                                                    \
    } while (false)

TEST_P(AppSuite, aFileWhoseFaceNameAnInstalledFontHasIsTheFileItsLabelShows) {
    START_WITH_CLASHING_FACES();
    ASSERT_TRUE(selectItem(1));
    EXPECT_LABELS_SHOW_FILES(impostorFile);
}

TEST_P(AppSuite, aFileShownAfterAnotherOfItsFaceNameWasUnloadedIsTheFileItsLabelShows) {
    START_WITH_CLASHING_FACES();
    ASSERT_TRUE(selectItem(1));
    ASSERT_TRUE(selectItem(2));
    EXPECT_LABELS_SHOW_FILES(realFile);
    ASSERT_TRUE(selectItem(1));
    EXPECT_LABELS_SHOW_FILES(impostorFile);
}

TEST_P(AppSuite, twoFilesOfOneFaceNameOnOnePageShowOneFileEach) {
    START_WITH_CLASHING_FACES();
    ASSERT_TRUE(selectItem(3));
    ASSERT_EQ(state().fonts.fontPaths.size(), 2u);
    EXPECT_LABELS_SHOW_FILES(both + "\\a-impostor.ttf", both + "\\b-real.ttf");
}

TEST_P(AppSuite, aSetPageAndASearchPageShowEachFoundFileInItsLabel) {
    START_WITH_CLASHING_FACES();
    ASSERT_TRUE(selectItem(5));
    EXPECT_LABELS_SHOW_FILES(impostorFile, realFile);

    ASSERT_TRUE(selectItem(3));
    searchFor("b-real");
    EXPECT_LABELS_SHOW_FILES(both + "\\b-real.ttf");
    searchFor("Liberation");
    EXPECT_LABELS_SHOW_FILES(both + "\\a-impostor.ttf", both + "\\b-real.ttf");
}

TEST_P(AppSuite, aLabelPastTheEndOfThePageKeepsItsFileWithItsFace) {
    // A label without an entry shows the sample in whatever face it last had: the file stays with
    // that face, so the two never part.
    START_WITH_CLASHING_FACES();
    ASSERT_TRUE(selectItem(3));
    ASSERT_TRUE(selectItem(2));
    EXPECT_LABELS_SHOW_FILES(realFile);
    EXPECT_EQ(user->shownFontFile(window, previewLabel(2)), both + "\\b-real.ttf");
    EXPECT_EQ(readProperty(window, previewLabel(2), prop::fontFile), Value(both + "\\b-real.ttf"));
}

} // namespace
} // namespace glyvora::testing
