// What the benchmark measures with besides the program: the counted file and font calls, the
// system's own walk against the program's, and the unanswered stretches of the headless watch.
#include "fontfile/folder_walk.h"
#include "forms/headless/headless_backend.h"
#include "forms/test_clock.h"
#include "platform/files.h"
#include "platform/font_resources.h"
#include "support/temp_dir.h"
#include "whole_scan_counters.h"
#include "whole_scan_floor.h"
#include "whole_scan_watch.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace glyvora::bench {
namespace {

using testing::makeTestDirectory;
using testing::nativeTestPath;
using testing::TempDir;
using testing::writeTestFile;

TEST(WholeScanCounters, folderHoldsWhatLiesBelowItAtAnyDepthOnly) {
    EXPECT_TRUE(isBelowFolder("C:\\fonts\\a.ttf", "C:\\fonts"));
    EXPECT_TRUE(isBelowFolder("C:\\fonts\\sub\\deeper\\a.ttf", "C:\\fonts"));
    EXPECT_FALSE(isBelowFolder("C:\\fonts", "C:\\fonts"));
    EXPECT_FALSE(isBelowFolder("C:\\fonts\\", "C:\\fonts"));
    EXPECT_FALSE(isBelowFolder("C:\\fonts2\\a.ttf", "C:\\fonts")) << "a sibling sharing the name's start";
    EXPECT_FALSE(isBelowFolder("C:\\a.ttf", "C:\\fonts"));
}

TEST(WholeScanCounters, folderOfADriveRootKeepsItsOneSeparator) {
    EXPECT_TRUE(isBelowFolder("Z:\\a.ttf", "Z:\\"));
    EXPECT_FALSE(isBelowFolder("Z:\\", "Z:\\"));
}

TEST(WholeScanCounters, folderEndingInADoubleByteCharacterWhoseSecondByteIsABackslash) {
    // 0x81 0x5C is one GBK character: the folder's name does not end in a separator.
    const Text folder = "C:\\fonts\x81\x5C";
    EXPECT_TRUE(isBelowFolder(folder + "\\a.ttf", folder));
    EXPECT_FALSE(isBelowFolder(folder + "a.ttf", folder)) << "a sibling file, not one below the folder";
}

// Stands in for the system: answers every open as missing and counts what reaches it.
class NoFiles final : public FileSystem {
public:
    int calls = 0;
    OpenedFile open(const Text&, FileAccess, FileSharing, FileCreation) override { return missing(); }
    OpenedFile openForQuery(const Text&) override { return missing(); }
    std::vector<DirectoryEntry> find(const Text&) override { return {}; }
    Text fullPath(const Text& path) override { return path; }
    FileError replace(const Text&, const Text&) override { return FileError::None; }
    FileError remove(const Text&) override { return FileError::None; }

private:
    OpenedFile missing() {
        ++calls;
        return {nullptr, FileError::NotFound};
    }
};

class NoFonts final : public FontResources {
public:
    int calls = 0;
    int addPrivate(const Text&) override { return ++calls, 1; }
    bool removePrivate(const Text&) override { return ++calls, true; }
    Text queryFaceName(const Text&) override { return {}; }
};

TEST(WholeScanCounters, countOpensBelowTheFolderAddsAndRemovesAndPassEveryCallOn) {
    NoFiles files;
    NoFonts fonts;
    ScopedFileSystem filesScope(files);
    ScopedFontResources fontsScope(fonts);
    {
        ActivityCounters counters("D:\\corpus");
        EXPECT_EQ(counters.lastCall(), 0);
        fileSystem().openForQuery("D:\\corpus\\g0\\a.ttf");
        fileSystem().open("D:\\corpus\\b.ttf", FileAccess::Read, FileSharing::DenyNone,
                          FileCreation::OpenExisting);
        fileSystem().open("D:\\program\\settings.ini", FileAccess::Read, FileSharing::DenyNone,
                          FileCreation::OpenExisting);
        fontResources().addPrivate("D:\\corpus\\a.ttf");
        fontResources().addPrivate("D:\\corpus\\b.ttf");
        fontResources().removePrivate("D:\\corpus\\a.ttf");
        const Activity counted = counters.counted();
        EXPECT_EQ(counted.opens, 2) << "the program's own files are not the folder's";
        EXPECT_EQ(counted.adds, 2);
        EXPECT_EQ(counted.removes, 1);
        EXPECT_GT(counters.lastCall(), 0);
        EXPECT_EQ(files.calls, 3);
        EXPECT_EQ(fonts.calls, 3);
    }
    // Gone again: the calls reach the services behind it directly.
    fontResources().addPrivate("D:\\corpus\\a.ttf");
    EXPECT_EQ(&fileSystem(), &files);
    EXPECT_EQ(&fontResources(), &fonts);
}

TEST(WholeScanCounters, activityBetweenTwoMomentsIsTheirDifference) {
    const Activity a{10, 4, 1}, b{13, 4, 9};
    const Activity d = b - a;
    EXPECT_EQ(d.opens, 3);
    EXPECT_EQ(d.adds, 0);
    EXPECT_EQ(d.removes, 8);
}

// ---- the floor ----

std::vector<std::string> sortedNative(const std::vector<Text>& paths) {
    std::vector<std::string> out;
    for (const Text& path : paths)
        out.push_back(nativeTestPath(path));
    std::sort(out.begin(), out.end());
    return out;
}

TEST(WholeScanFloor, systemWalkFindsTheFilesTheProgramsWalkFinds) {
    TempDir dir;
    makeTestDirectory(dir.file("a"));
    makeTestDirectory(dir.file("a\\b"));
    makeTestDirectory(dir.file("empty"));
    writeTestFile(dir.file("top.ttf"), "x");
    writeTestFile(dir.file("a\\one.ttf"), "x");
    writeTestFile(dir.file("a\\b\\two.ttf"), "x");
    writeTestFile(dir.file("a\\b\\three"), "");

    std::vector<std::string> found = systemWalk(nativeTestPath(dir.path()));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, sortedNative(fontfile::listFolderFiles(dir.path())));
    EXPECT_EQ(found.size(), 4u);
}

TEST(WholeScanFloor, systemWalkTakesAFoldersFilesBeforeThoseBelowIt) {
    TempDir dir;
    makeTestDirectory(dir.file("sub"));
    writeTestFile(dir.file("sub\\deep.ttf"), "x");
    writeTestFile(dir.file("top.ttf"), "x");
    const std::vector<std::string> found = systemWalk(nativeTestPath(dir.path()));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], nativeTestPath(dir.file("top.ttf")));
}

TEST(WholeScanFloor, missingFolderGivesNothingAndMissingFilesAreNotCountedAsRead) {
    TempDir dir;
    EXPECT_TRUE(systemWalk(nativeTestPath(dir.file("nowhere"))).empty());
    writeTestFile(dir.file("short.ttf"), "12");
    writeTestFile(dir.file("empty.ttf"), "");
    EXPECT_EQ(readFirstBlocks({nativeTestPath(dir.file("short.ttf")), nativeTestPath(dir.file("gone.ttf")),
                               nativeTestPath(dir.file("empty.ttf"))}),
              2u);
}

// ---- the headless watch ----

// The watch on a headless backend whose waits pass on the test's clock.
struct GapWatch {
    glyvora::testing::TestClock clock;
    ScopedClock scope{clock};
    std::unique_ptr<UnansweredWatch> watch = makeTurnGapWatch(std::make_unique<headless::HeadlessBackend>(),
                                                              [this] { return clock.ticks() / 1000.0; });

    void pass(std::uint32_t ms) { clock.set(clock.ticks() + ms); }
};

TEST(WholeScanWatch, longestStretchIsBetweenTwoLooksAtTheQueue) {
    GapWatch g;
    g.watch->start(1);
    g.pass(30);
    g.watch->backend().processPending();
    g.pass(250);
    g.watch->backend().processPending();
    g.pass(40);
    g.watch->backend().processPending();
    EXPECT_NEAR(g.watch->takeLongest(), 0.25, 1e-9);
}

TEST(WholeScanWatch, waitingForMessagesIsAnsweringHoweverLongItLasts) {
    GapWatch g;
    g.watch->start(1);
    g.pass(20);
    g.watch->backend().waitForMessages(500u);
    g.pass(10);
    g.watch->backend().processPending();
    EXPECT_NEAR(g.watch->takeLongest(), 0.02, 1e-9);
}

TEST(WholeScanWatch, stretchStillGoingCountsUpToTheTakeAndTheNextStartsThere) {
    GapWatch g;
    g.watch->start(1);
    g.watch->backend().processPending();
    g.pass(300);
    EXPECT_NEAR(g.watch->takeLongest(), 0.3, 1e-9) << "no look since: the stretch runs up to now";
    g.pass(60);
    g.watch->backend().processPending();
    EXPECT_NEAR(g.watch->takeLongest(), 0.06, 1e-9);
}

TEST(WholeScanWatch, startForgetsWhatCameBefore) {
    GapWatch g;
    g.pass(5000);
    g.watch->start(1);
    g.pass(10);
    EXPECT_NEAR(g.watch->takeLongest(), 0.01, 1e-9);
}

} // namespace
} // namespace glyvora::bench
