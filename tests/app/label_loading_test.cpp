// The fonts loaded privately follow the preview labels, and the face names beyond page 1 are
// derived while the window answers: every page, search page and set page loads the fonts its labels
// hold and removes those no label holds, a search or a new scan during the background pass sees
// the same names a full pass gives, and a folder shown again opens none of its files for names.
#include "app_suite.h"
#include "fontfile/face_name.h"
#include "platform/files.h"
#include "platform/forwarding_files.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

namespace glyvora::testing {

namespace {

using namespace mainwin;

// The real file system, recording every file opened for a query (the face-name and coverage
// readers) from whichever thread; optionally slow, so the background pass is still running when
// the next click comes.
class CountingFileSystem final : public ForwardingFileSystem {
public:
    OpenedFile openForQuery(const Text& path) override {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            queried_.push_back(path);
        }
        if (delay.count() > 0) std::this_thread::sleep_for(delay);
        return systemFileSystem().openForQuery(path);
    }

    std::vector<Text> queried() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return queried_;
    }
    void forget() {
        const std::lock_guard<std::mutex> lock(mutex_);
        queried_.clear();
    }

    std::chrono::milliseconds delay{0};

private:
    std::mutex mutex_;
    std::vector<Text> queried_;
};

// The counting file system in force for the test; the program is stopped before it goes, so no
// worker is left reading through it.
struct CountedFiles {
    explicit CountedFiles(std::function<void()> stop) : stop_(std::move(stop)) {}
    ~CountedFiles() { stop_(); }
    CountingFileSystem files;

private:
    std::function<void()> stop_;
    ScopedFileSystem scope_{files};
};

std::vector<Text> sorted(std::vector<Text> list) {
    std::sort(list.begin(), list.end());
    return list;
}

// The distinct paths the labels show or keep, as their page slots record them.
std::vector<Text> distinctSlots(const std::array<Text, app::kPreviewLabels>& slots) {
    const std::set<Text> distinct(slots.begin(), slots.end());
    return std::vector<Text>(distinct.begin(), distinct.end());
}

} // namespace

TEST_P(AppSuite, aPageTurnLoadsItsFontsAndLabelsPastTheEndKeepTheirFaceLoaded) {
    browseFonts(9);
    const std::vector<Text> paths = scannedFonts();
    ASSERT_EQ(paths.size(), 9u);
    EXPECT_EQ(fonts.added, std::vector<Text>(paths.begin(), paths.begin() + 8));
    EXPECT_TRUE(fonts.removed.empty());

    ASSERT_TRUE(click(按钮_下一页));
    // Label 1 shows the ninth font; labels 2..8 keep the faces of fonts 2..8, still loaded.
    EXPECT_EQ(fonts.removed, (std::vector<Text>{paths[0]}));
    EXPECT_EQ(sorted(heldFonts()), sorted(std::vector<Text>(paths.begin() + 1, paths.end())));
    const std::vector<Text> faces = previewFaces();
    EXPECT_EQ(faces[0], madeFace(paths[8]));
    EXPECT_EQ(faces[1], madeFace(paths[1]));
    EXPECT_EQ(faces[7], madeFace(paths[7]));
    // A new sample is drawn in those faces: nothing is loaded or removed for it.
    const std::size_t added = fonts.added.size(), removed = fonts.removed.size();
    ASSERT_TRUE(typeInto(编辑框_内容, "样例"));
    EXPECT_EQ(previewCaptions(), std::vector<Text>(8, "样例"));
    EXPECT_EQ(fonts.added.size(), added);
    EXPECT_EQ(fonts.removed.size(), removed);

    // Back on page 1 every label holds its own font again; the ninth goes.
    ASSERT_TRUE(click(按钮_上一页));
    EXPECT_EQ(sorted(heldFonts()), sorted(std::vector<Text>(paths.begin(), paths.begin() + 8)));
    EXPECT_EQ(fonts.removed.back(), paths[8]);
}

TEST_P(AppSuite, aSearchPageLoadsExactlyTheFontsItShows) {
    browseFonts(20);
    searchFor("Face1"); // Face1 and Face10 .. Face19
    const std::vector<Text> results = state().search.resultPaths;
    ASSERT_EQ(results.size(), 11u);
    EXPECT_EQ(sorted(heldFonts()), sorted(std::vector<Text>(results.begin(), results.begin() + 8)));
    ASSERT_TRUE(click(按钮_下一页));
    // Labels 1..3 show the last three results, labels 4..8 keep results 4..8.
    std::vector<Text> expected(results.begin() + 3, results.end());
    EXPECT_EQ(sorted(heldFonts()), sorted(expected));
    EXPECT_EQ(sorted(heldFonts()), distinctSlots(state().fonts.pagePaths));
}

TEST_P(AppSuite, aSetPageLoadsItsFontsOnceEachWhileTheOtherLabelsKeepTheirs) {
    const Text folder = makeFolder("字体");
    const std::vector<Text> inFolder = makeFonts(folder, 8);
    const Text setFolder = makeFolder("集字体");
    const std::vector<Text> inSet = makeFonts(setFolder, 2, "set", "SetFace");
    writeTree({{1, "分类", true, true}, {2, "字体"}, {1, "集", true, true}, {2, "常用"}});
    writeFolderTable({{"字体", folder}});
    // The first font twice: two labels show it, it is loaded once.
    writeSetTable({{"常用", inSet[0]}, {"常用", inSet[1]}, {"常用", inSet[0]}});
    startProgram();
    ASSERT_TRUE(selectItem(1));
    const std::vector<Text> shownFirst = scannedFonts();
    ASSERT_TRUE(selectItem(3));
    EXPECT_EQ(scannedFonts(), (std::vector<Text>{inSet[0], inSet[1], inSet[0]}));
    EXPECT_EQ(std::count(fonts.added.begin(), fonts.added.end(), inSet[0]), 1);
    EXPECT_EQ(std::count(fonts.added.begin(), fonts.added.end(), inSet[1]), 1);
    // Labels 4..8 are past the end and keep the folder's fonts 4..8.
    std::vector<Text> expected{inSet[0], inSet[1]};
    expected.insert(expected.end(), shownFirst.begin() + 3, shownFirst.end());
    EXPECT_EQ(sorted(heldFonts()), sorted(expected));
    EXPECT_EQ(sorted(fonts.removed), sorted(std::vector<Text>(shownFirst.begin(), shownFirst.begin() + 3)));
}

TEST_P(AppSuite, everyAddIsBalancedByOneRemoveThroughScansSearchesPagesAndTheExit) {
    const Text a = makeFolder("a"), b = makeFolder("b");
    makeFonts(a, 13);
    makeFonts(b, 3);
    registerFolders({{"a", a}, {"b", b}});
    startProgram();
    const auto noPathHeldTwice = [&] {
        const std::vector<Text> held = sorted(heldFonts());
        EXPECT_EQ(std::adjacent_find(held.begin(), held.end()), held.end());
    };
    ASSERT_TRUE(selectItem(1));
    noPathHeldTwice();
    ASSERT_TRUE(click(按钮_下一页));
    noPathHeldTwice();
    searchFor("Face1");
    noPathHeldTwice();
    ASSERT_TRUE(selectItem(2));
    noPathHeldTwice();
    ASSERT_TRUE(selectItem(1));
    searchFor("");
    noPathHeldTwice();
    ASSERT_FALSE(heldFonts().empty());
    trayMenu(退出不推荐);
    EXPECT_EQ(exitCodes, (std::vector<int>{0}));
    EXPECT_TRUE(heldFonts().empty());
    EXPECT_EQ(sorted(fonts.removed), sorted(fonts.added));
}

TEST_P(AppSuite, aSearchDuringTheBackgroundPassListsWhatAFullPassGives) {
    CountedFiles counted([this] { stopProgram(); });
    counted.files.delay = std::chrono::milliseconds(1);
    browseFonts(300);
    // Clicked the moment page 1 shows, while most names are still being derived.
    searchFor("Face2");
    std::vector<Text> expectedFaces, expectedPaths;
    for (const Text& path : scannedFonts()) {
        const Text face = fontfile::faceNameOf(path);
        if (face.find("Face2") == Text::npos) continue;
        expectedFaces.push_back(face);
        expectedPaths.push_back(path);
    }
    ASSERT_EQ(expectedPaths.size(), 111u); // Face2, Face20..29, Face200..299
    EXPECT_EQ(state().search.resultPaths, expectedPaths);
    EXPECT_EQ(state().search.resultFaceNames, expectedFaces);
    EXPECT_EQ(pageLabel(), "页次：1/14");
    EXPECT_TRUE(state().faceNamePass.finished());
    for (std::size_t i = 0; i < scannedFonts().size(); ++i)
        EXPECT_EQ(state().fonts.faceNames[i], madeFace(scannedFonts()[i]));
}

TEST_P(AppSuite, aNewScanDuringTheBackgroundPassShowsOnlyItsOwnNames) {
    CountedFiles counted([this] { stopProgram(); });
    counted.files.delay = std::chrono::milliseconds(1);
    const Text big = makeFolder("big"), small = makeFolder("small");
    makeFonts(big, 200);
    const std::vector<Text> few = makeFonts(small, 10, "font", "Small");
    registerFolders({{"big", big}, {"small", small}});
    startProgram();
    ASSERT_TRUE(selectItem(1));
    ASSERT_TRUE(selectItem(2)); // the pass over the big folder is abandoned
    const std::vector<Text> paths = scannedFonts();
    EXPECT_EQ(sorted(paths), sorted(few));
    EXPECT_EQ(pageLabel(), "页次：1/2");
    const auto smallFace = [](const Text& path) { return "Small" + madeFace(path).substr(4); };
    ASSERT_TRUE(click(按钮_下一页));
    EXPECT_EQ(previewFaces()[1], smallFace(paths[9]));
    searchFor("Small");
    EXPECT_EQ(state().search.resultPaths, paths);
    std::vector<Text> names;
    for (const Text& path : paths)
        names.push_back(smallFace(path));
    EXPECT_EQ(state().fonts.faceNames, names);
}

TEST_P(AppSuite, aFolderShownAgainOpensNoFileForNamesUnlessAFileChanged) {
    CountedFiles counted([this] { stopProgram(); });
    const Text a = makeFolder("a"), b = makeFolder("b");
    const std::vector<Text> inA = makeFonts(a, 12);
    makeFonts(b, 2);
    registerFolders({{"a", a}, {"b", b}});
    startProgram();
    ASSERT_TRUE(selectItem(1));
    searchFor(""); // completes the pass: every name of a derived once
    ASSERT_TRUE(selectItem(2));
    searchFor("");
    counted.files.forget();

    ASSERT_TRUE(selectItem(1));
    searchFor("");
    EXPECT_TRUE(counted.files.queried().empty());
    EXPECT_EQ(state().fonts.faceNames[0], madeFace(scannedFonts()[0]));

    // A file written anew (another size, a new write time) is read again, and only that one.
    const Text changed = scannedFonts()[10];
    makeFont(changed, "Changed");
    ASSERT_TRUE(selectItem(2));
    searchFor("");
    counted.files.forget();
    ASSERT_TRUE(selectItem(1));
    searchFor("");
    const std::vector<Text> queried = counted.files.queried();
    ASSERT_FALSE(queried.empty());
    EXPECT_TRUE(std::all_of(queried.begin(), queried.end(), [&](const Text& p) { return p == changed; }));
    EXPECT_EQ(state().fonts.faceNames[10], "Changed");
    EXPECT_EQ(sorted(scannedFonts()), sorted(inA));
}

} // namespace glyvora::testing
