// The breadth-first walk over real folders: order, separators, message turns, and folders that
// are missing, vanish or change while the walk runs. These run natively and under Wine.
#include "fontfile/folder_walk.h"
#include "platform/files.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace glyvora::fontfile {
namespace {

using testing::makeFolderLink;
using testing::makeTestDirectory;
using testing::TempDir;
using testing::writeTestFile;

// Paths below the temporary folder, relative to it, so that expectations read plainly.
std::vector<Text> relative(const TempDir& dir, const std::vector<Text>& paths) {
    std::vector<Text> out;
    for (const Text& path : paths) {
        EXPECT_EQ(path.compare(0, dir.path().size() + 1, dir.path() + "\\"), 0) << path;
        out.push_back(path.substr(dir.path().size() + 1));
    }
    return out;
}

#ifndef _WIN32
std::string nativePath(const Text& path) {
    std::string native;
    for (char c : path)
        native.push_back(c == '\\' ? '/' : c);
    return native;
}
#endif

// Removes a folder holding one file.
void removeFolderWithFile(const Text& folder, const Text& file) {
#ifdef _WIN32
    ASSERT_TRUE(DeleteFileW(testing::wideTestPath(folder + "\\" + file).c_str()));
    ASSERT_TRUE(RemoveDirectoryW(testing::wideTestPath(folder).c_str()));
#else
    ASSERT_EQ(::unlink(nativePath(folder + "\\" + file).c_str()), 0);
    ASSERT_EQ(::rmdir(nativePath(folder).c_str()), 0);
#endif
}

TEST(FolderWalk, listsOwnFilesFirstThenEachLevelOfSubfoldersInSearchOrder) {
    TempDir dir;
    const Text root = dir.file("fonts");
    makeTestDirectory(root);
    writeTestFile(root + "\\b.ttf", "b");
    writeTestFile(root + "\\A.otf", "a");
    makeTestDirectory(root + "\\sub2");
    writeTestFile(root + "\\sub2\\z.fon", "z");
    makeTestDirectory(root + "\\Sub1");
    writeTestFile(root + "\\Sub1\\y.ttf", "y");
    makeTestDirectory(root + "\\Sub1\\deep");
    writeTestFile(root + "\\Sub1\\deep\\x.ttc", "x");
    makeTestDirectory(root + "\\Sub1\\deep\\deeper");
    writeTestFile(root + "\\Sub1\\deep\\deeper\\w.ttf", "w");
    makeTestDirectory(root + "\\sub2\\deep2");
    writeTestFile(root + "\\sub2\\deep2\\v.ttf", "v");
    writeTestFile(root + "\\c.txt", "c");
    makeTestDirectory(root + "\\empty");

    const std::vector<Text> expected{
        "fonts\\A.otf",
        "fonts\\b.ttf",
        "fonts\\c.txt",
        "fonts\\Sub1\\y.ttf",
        "fonts\\sub2\\z.fon",
        "fonts\\Sub1\\deep\\x.ttc",
        "fonts\\sub2\\deep2\\v.ttf",
        "fonts\\Sub1\\deep\\deeper\\w.ttf",
    };
    EXPECT_EQ(relative(dir, listFolderFiles(root)), expected);
    // A trailing separator in the folder's path changes nothing.
    EXPECT_EQ(relative(dir, listFolderFiles(root + "\\")), expected);
}

TEST(FolderWalk, givesTheMessageLoopOneTurnPerFolderBetweenItsTwoSearches) {
    TempDir dir;
    makeTestDirectory(dir.file("a"));
    makeTestDirectory(dir.file("a\\b"));
    makeTestDirectory(dir.file("c"));
    writeTestFile(dir.file("top.ttf"), "t");
    int turns = 0;
    std::vector<int> turnsBeforeFile;
    FolderWalkHooks hooks;
    hooks.messageTurn = [&] { ++turns; };
    hooks.file = [&](const Text&) { turnsBeforeFile.push_back(turns); };
    walkFolder(dir.path(), hooks);
    EXPECT_EQ(turns, 4); // the folder, a, c, a\b
    EXPECT_EQ(turnsBeforeFile, std::vector<int>{1});
}

TEST(FolderWalk, missingEmptyAndVanishingFoldersGiveNothing) {
    TempDir dir;
    EXPECT_TRUE(listFolderFiles(dir.file("missing")).empty());
    EXPECT_TRUE(listFolderFiles("").empty());
    EXPECT_TRUE(listFolderFiles(dir.path()).empty());

    // A subfolder removed while the walk waits in the message turn: its files are gone, the rest
    // of the walk goes on, and a file that appeared during the turn is listed.
    makeTestDirectory(dir.file("gone"));
    writeTestFile(dir.file("gone\\lost.ttf"), "l");
    makeTestDirectory(dir.file("kept"));
    writeTestFile(dir.file("kept\\found.ttf"), "f");
    bool first = true;
    const std::vector<Text> files = listFolderFiles(dir.path(), [&] {
        if (!first) return;
        first = false;
        removeFolderWithFile(dir.file("gone"), "lost.ttf");
        writeTestFile(dir.file("late.ttf"), "n");
    });
    EXPECT_EQ(relative(dir, files), (std::vector<Text>{"late.ttf", "kept\\found.ttf"}));
}

// Two links lead back (one to the folder they are in, one to the folder above it) and one leads
// elsewhere: the walk ends, with each file once and the other folder's file through its link.
TEST(FolderWalk, aLinkBackIntoTheWalkIsNotFollowedAndOneElsewhereIsWalked) {
    TempDir dir;
    const Text root = dir.file("fonts"), other = dir.file("other");
    makeTestDirectory(root);
    makeTestDirectory(root + "\\sub");
    makeTestDirectory(other);
    writeTestFile(root + "\\a.ttf", "a");
    writeTestFile(root + "\\sub\\b.ttf", "b");
    writeTestFile(other + "\\c.ttf", "c");
    ASSERT_TRUE(makeFolderLink(root + "\\sub\\up", root));
    ASSERT_TRUE(makeFolderLink(root + "\\sub\\self", root + "\\sub"));
    ASSERT_TRUE(makeFolderLink(root + "\\sub\\elsewhere", other));
    // A link inside the folder a link led to, back to that folder: also not followed.
    ASSERT_TRUE(makeFolderLink(other + "\\again", other));

    std::vector<Text> files = relative(dir, listFolderFiles(root));
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0], "fonts\\a.ttf");
    EXPECT_EQ(files[1], "fonts\\sub\\b.ttf");
    EXPECT_EQ(files[2], "fonts\\sub\\elsewhere\\c.ttf");
    // Walked from the other folder, the link back to it is skipped as well.
    EXPECT_EQ(relative(dir, listFolderFiles(other)), std::vector<Text>{"other\\c.ttf"});
}

TEST(FolderWalk, includesHiddenAndReadOnlyFiles) {
    TempDir dir;
#ifdef _WIN32
    writeTestFile(dir.file("hidden.ttf"), "h");
    writeTestFile(dir.file("readonly.ttf"), "r");
    SetFileAttributesW(testing::wideTestPath(dir.file("hidden.ttf")).c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesW(testing::wideTestPath(dir.file("readonly.ttf")).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(relative(dir, listFolderFiles(dir.path())), (std::vector<Text>{"hidden.ttf", "readonly.ttf"}));
    SetFileAttributesW(testing::wideTestPath(dir.file("readonly.ttf")).c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(testing::wideTestPath(dir.file("hidden.ttf")).c_str(), FILE_ATTRIBUTE_NORMAL);
#else
    writeTestFile(dir.file(".hidden.ttf"), "h");
    writeTestFile(dir.file("readonly.ttf"), "r");
    ASSERT_EQ(::chmod(nativePath(dir.file("readonly.ttf")).c_str(), 0444), 0);
    EXPECT_EQ(relative(dir, listFolderFiles(dir.path())), (std::vector<Text>{".hidden.ttf", "readonly.ttf"}));
#endif
}

TEST(FolderWalk, aFolderEndingInADoubleByteCharacterWithABackslashByteGetsItsSeparator) {
    // The second byte of 淺 in GBK is 0x5C, the byte of "\".
    const Text shallow = "淺";
    ASSERT_EQ(shallow.size(), 2u);
    ASSERT_EQ(shallow[1], '\\');
    EXPECT_EQ(withTrailingSeparator("C:\\字体淺"), "C:\\字体淺\\");
    EXPECT_EQ(withTrailingSeparator("C:\\字体\\"), "C:\\字体\\");
    EXPECT_EQ(withTrailingSeparator("C:\\fonts"), "C:\\fonts\\");
    EXPECT_EQ(withTrailingSeparator("淺\\"), "淺\\");

    TempDir dir;
    const Text folder = dir.file("字体淺");
    makeTestDirectory(folder);
    writeTestFile(folder + "\\宋体.ttf", "s");
    EXPECT_EQ(relative(dir, listFolderFiles(folder)), std::vector<Text>{"字体淺\\宋体.ttf"});
}

// Users' font folders carry Chinese names, stored in Unicode by the file system; the walk gives
// them in the program's GBK, and every path it gives opens.
TEST(FolderWalk, walksFoldersWithChineseNamesAndGivesTheirPathsInGbk) {
    const auto utf8 = [](const char8_t* text) { return std::string(reinterpret_cast<const char*>(text)); };
    TempDir dir;
    testing::makeTestDirectoryOnDisk(dir.path(), utf8(u8"字体"));
    testing::writeTestFileOnDisk(dir.file("字体"), utf8(u8"宋体.ttf"), "s");
    testing::writeTestFileOnDisk(dir.file("字体"), "arial.ttf", "a");
    testing::makeTestDirectoryOnDisk(dir.file("字体"), utf8(u8"中文"));
    testing::writeTestFileOnDisk(dir.file("字体\\中文"), utf8(u8"黑体.otf"), "h");
    testing::makeTestDirectoryOnDisk(dir.file("字体"), "latin");
    testing::writeTestFileOnDisk(dir.file("字体\\latin"), utf8(u8"乗.fon"), "x");

    std::vector<Text> found = relative(dir, listFolderFiles(dir.file("字体")));
    ASSERT_EQ(found.size(), 4u);
    std::sort(found.begin(), found.begin() + 2);
    EXPECT_EQ(found[0], "字体\\arial.ttf");
    EXPECT_EQ(found[1], "字体\\宋体.ttf");
    std::sort(found.begin() + 2, found.end());
    EXPECT_EQ(std::vector<Text>(found.begin() + 2, found.end()),
              (std::vector<Text>{"字体\\latin\\乗.fon", "字体\\中文\\黑体.otf"}));
    for (const Text& path : found)
        EXPECT_TRUE(readWholeFile(dir.path() + "\\" + path).has_value()) << path;
}

} // namespace
} // namespace glyvora::fontfile
