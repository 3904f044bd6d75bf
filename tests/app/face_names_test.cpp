// The pieces under the label loading: the face-name memory, the background pass and the fonts the
// labels hold, each on its own over the real files of a temporary folder.
#include "fontfile/font_builder.h"
#include "fonts/face_name_memory.h"
#include "fonts/face_name_pass.h"
#include "fonts/label_fonts.h"
#include "platform/files.h"
#include "platform/font_resources.h"
#include "platform/forwarding_files.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace glyvora::app {
namespace {

using testing::TempDir;
using testing::writeTestFile;

// Counts the files opened for a query, from any thread; each open may be made to take a while.
class QueryCounter final : public ForwardingFileSystem {
public:
    OpenedFile openForQuery(const Text& path) override {
        ++queries;
        if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        return systemFileSystem().openForQuery(path);
    }

    std::atomic<int> queries{0};
    int delayMs = 0;
};

class Recording final : public FontResources {
public:
    int addPrivate(const Text& path) override {
        added.push_back(path);
        return 1;
    }
    bool removePrivate(const Text& path) override {
        removed.push_back(path);
        return true;
    }
    Text queryFaceName(const Text&) override { return Text(); }
    std::vector<Text> added, removed;
};

void makeFont(const Text& path, const Text& face) {
    testing::SfntFont font;
    font.names.push_back(testing::windowsName(0x0409, std::u16string(face.begin(), face.end())));
    writeTestFile(path, testing::buildSfnt(font));
}

// prefix + n + suffix, built by appending: the optimiser warns of an overlap in the chained +.
Text numbered(const char* prefix, std::size_t n, const char* suffix = "") {
    Text text(prefix);
    text.append(std::to_string(n));
    text.append(suffix);
    return text;
}

std::vector<Text> makeFonts(const TempDir& dir, int count) {
    std::vector<Text> paths;
    for (int i = 1; i <= count; ++i) {
        paths.push_back(dir.file(numbered("f", static_cast<std::size_t>(i), ".ttf")));
        makeFont(paths.back(), numbered("Face", static_cast<std::size_t>(i)));
    }
    return paths;
}

TEST(FaceNameMemory, aStampedFileIsReadOnceUntilItsStampChangesAndAnUnstampedOneEveryTime) {
    TempDir dir;
    const Text path = dir.file("a.ttf");
    makeFont(path, "Alpha");
    QueryCounter counter;
    ScopedFileSystem scope(counter);
    FaceNameMemory memory;
    const FileStamp stamp{100, 1};
    EXPECT_EQ(memory.faceNameOf(path, stamp), "Alpha");
    EXPECT_EQ(memory.faceNameOf(path, stamp), "Alpha");
    EXPECT_EQ(counter.queries, 1);
    // Same size, another write time: read again, and the new name is the one remembered.
    makeFont(path, "Gamma");
    EXPECT_EQ(memory.faceNameOf(path, FileStamp{100, 2}), "Gamma");
    EXPECT_EQ(memory.faceNameOf(path, FileStamp{100, 2}), "Gamma");
    EXPECT_EQ(counter.queries, 2);
    EXPECT_EQ(memory.faceNameOf(path, std::nullopt), "Gamma");
    EXPECT_EQ(memory.faceNameOf(path, std::nullopt), "Gamma");
    EXPECT_EQ(counter.queries, 4);
    // A file that is no font is remembered as well: its empty name opens nothing the second time.
    writeTestFile(dir.file("x.txt"), "not a font");
    EXPECT_EQ(memory.faceNameOf(dir.file("x.txt"), FileStamp{10, 1}), "");
    EXPECT_EQ(memory.faceNameOf(dir.file("x.txt"), FileStamp{10, 1}), "");
    EXPECT_EQ(counter.queries, 5);
}

TEST(FaceNamePass, anEmptyListIsFinishedAtOnceAndGivesNothing) {
    FaceNameMemory memory;
    FaceNamePass pass(memory);
    EXPECT_TRUE(pass.finished());
    pass.begin({}, {});
    EXPECT_TRUE(pass.finished());
    std::vector<Text> names;
    pass.provide(names, 1, 8);
    pass.runFrom(1);
    pass.complete(names);
    EXPECT_TRUE(names.empty());
}

TEST(FaceNamePass, aRangeGivenOnceIsNotTouchedAgainAndRangesAreClampedToTheList) {
    TempDir dir;
    const std::vector<Text> paths = makeFonts(dir, 5);
    FaceNameMemory memory;
    FaceNamePass pass(memory);
    pass.begin(paths, {});
    std::vector<Text> names(paths.size());
    pass.provide(names, -3, 2);
    EXPECT_EQ(names, (std::vector<Text>{"Face1", "Face2", "", "", ""}));
    EXPECT_FALSE(pass.finished());
    names[0] = "kept";
    pass.provide(names, 1, 2);
    EXPECT_EQ(names[0], "kept");
    pass.provide(names, 5, 99);
    EXPECT_EQ(names[4], "Face5");
    // Without a worker the rest is derived when completed.
    pass.complete(names);
    EXPECT_EQ(names, (std::vector<Text>{"kept", "Face2", "Face3", "Face4", "Face5"}));
    EXPECT_TRUE(pass.finished());
    names[2] = "after";
    pass.provide(names, 1, 5);
    EXPECT_EQ(names[2], "after");
}

TEST(FaceNamePass, theWorkersNamesAndThePagesOnesMeetInOneList) {
    TempDir dir;
    const std::vector<Text> paths = makeFonts(dir, 40);
    QueryCounter counter;
    counter.delayMs = 1;
    ScopedFileSystem scope(counter);
    FaceNameMemory memory;
    FaceNamePass pass(memory);
    pass.begin(paths, std::vector<std::optional<FileStamp>>(paths.size(), FileStamp{1, 1}));
    std::vector<Text> names(paths.size());
    pass.provide(names, 1, 8);
    pass.runFrom(9);
    // A page far ahead of the worker is derived on the spot.
    pass.provide(names, 33, 40);
    EXPECT_EQ(names[39], "Face40");
    pass.complete(names);
    for (std::size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(names[i], numbered("Face", i + 1));
    // Each file is opened once; those of 33..40 perhaps twice, by the page and by the worker.
    EXPECT_LE(counter.queries, 48);
    EXPECT_GE(counter.queries, 40);
}

TEST(FaceNamePass, abandoningMidPassStopsTheWorkerAtOnceAndANewPassStartsClean) {
    TempDir dir;
    const std::vector<Text> paths = makeFonts(dir, 30);
    QueryCounter counter;
    counter.delayMs = 20; // 600 ms for the whole list
    ScopedFileSystem scope(counter);
    FaceNameMemory memory;
    FaceNamePass pass(memory);
    pass.begin(paths, {});
    pass.runFrom(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    pass.abandon();
    EXPECT_LT(counter.queries, 10);
    EXPECT_TRUE(pass.finished());
    // Nothing of the abandoned pass is given to a later one.
    std::vector<Text> names(2);
    pass.begin({paths[29], paths[28]}, {});
    counter.delayMs = 0;
    pass.runFrom(1);
    pass.complete(names);
    EXPECT_EQ(names, (std::vector<Text>{"Face30", "Face29"}));
}

TEST(LabelFonts, aPathOnTwoLabelsIsAddedOnceAndRemovedOnceNoLabelHoldsIt) {
    Recording fonts;
    ScopedFontResources scope(fonts);
    LabelFonts labels;
    labels.hold(1, "a");
    labels.hold(2, "a");
    labels.hold(3, "b");
    labels.releaseUnheld();
    EXPECT_EQ(fonts.added, (std::vector<Text>{"a", "b"}));
    EXPECT_TRUE(fonts.removed.empty());
    // Label 1 moves on; label 2 still holds a.
    labels.hold(1, "c");
    labels.releaseUnheld();
    EXPECT_TRUE(fonts.removed.empty());
    labels.hold(2, "c");
    labels.releaseUnheld();
    EXPECT_EQ(fonts.removed, (std::vector<Text>{"a"}));
    EXPECT_EQ(labels.loaded(), (std::vector<Text>{"b", "c"}));
    // Out-of-range labels hold nothing.
    labels.hold(0, "z");
    labels.hold(9, "z");
    EXPECT_EQ(std::count(fonts.added.begin(), fonts.added.end(), "z"), 0);
    labels.releaseAll();
    EXPECT_EQ(fonts.removed, (std::vector<Text>{"a", "b", "c"}));
    EXPECT_TRUE(labels.loaded().empty());
    labels.releaseAll();
    EXPECT_EQ(fonts.removed.size(), 3u);
}

} // namespace
} // namespace glyvora::app
