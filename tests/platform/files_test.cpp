// The file layer behaves the same on both platforms: these cases run natively and under Wine.
#include "platform/files.h"
#include "platform/process.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace glyvora {
namespace {

using testing::readTestFile;
using testing::TempDir;
using testing::writeTestFile;

OpenedFile openFile(const Text& path, FileAccess access, FileSharing sharing = FileSharing::DenyNone,
                    FileCreation creation = FileCreation::OpenExisting) {
    return fileSystem().open(path, access, sharing, creation);
}

TEST(Files, openingAMissingFileFailsWithNotFound) {
    TempDir dir;
    const OpenedFile opened = openFile(dir.file("missing.bin"), FileAccess::Read);
    EXPECT_EQ(opened.file, nullptr);
    EXPECT_EQ(opened.error, FileError::NotFound);
    EXPECT_EQ(openFile("", FileAccess::Read).error, FileError::NotFound);
}

TEST(Files, readsAndWritesAtOffsetsWithShortReadsAtTheEnd) {
    TempDir dir;
    OpenedFile opened =
        openFile(dir.file("a.bin"), FileAccess::ReadWrite, FileSharing::DenyNone, FileCreation::OpenAlways);
    ASSERT_NE(opened.file, nullptr);
    File& f = *opened.file;
    EXPECT_EQ(f.writeAt(0, "abcdef", 6).bytes, 6u);
    EXPECT_EQ(f.writeAt(2, "XY", 2).bytes, 2u);
    char buf[16] = {};
    IoResult r = f.readAt(1, buf, 16);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(std::string(buf, r.bytes), "bXYef");
    r = f.readAt(100, buf, 4);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.bytes, 0u);
    EXPECT_EQ(f.size(), 6u);
}

TEST(Files, resizeCutsAndExtendsWithZeros) {
    TempDir dir;
    writeTestFile(dir.file("a.bin"), "0123456789");
    OpenedFile opened = openFile(dir.file("a.bin"), FileAccess::ReadWrite);
    ASSERT_NE(opened.file, nullptr);
    EXPECT_EQ(opened.file->resize(4), FileError::None);
    EXPECT_EQ(opened.file->size(), 4u);
    EXPECT_EQ(opened.file->resize(6), FileError::None);
    opened.file.reset();
    EXPECT_EQ(readTestFile(dir.file("a.bin")), std::string("0123\0\0", 6));
}

TEST(Files, createAlwaysTruncatesAndOpenAlwaysKeeps) {
    TempDir dir;
    writeTestFile(dir.file("a.bin"), "keep");
    openFile(dir.file("a.bin"), FileAccess::ReadWrite, FileSharing::DenyNone, FileCreation::OpenAlways);
    EXPECT_EQ(readTestFile(dir.file("a.bin")), "keep");
    openFile(dir.file("a.bin"), FileAccess::Write, FileSharing::DenyNone, FileCreation::CreateAlways);
    EXPECT_EQ(readTestFile(dir.file("a.bin")), "");
}

TEST(Files, exclusiveOpenFailsWhileTheFileIsOpenElsewhere) {
    TempDir dir;
    writeTestFile(dir.file("a.bin"), "x");
    OpenedFile shared = openFile(dir.file("a.bin"), FileAccess::ReadWrite);
    ASSERT_NE(shared.file, nullptr);
    const OpenedFile exclusive = openFile(dir.file("a.bin"), FileAccess::ReadWrite, FileSharing::Exclusive);
    EXPECT_EQ(exclusive.file, nullptr);
    EXPECT_EQ(exclusive.error, FileError::SharingViolation);
    shared.file.reset();
    OpenedFile alone = openFile(dir.file("a.bin"), FileAccess::ReadWrite, FileSharing::Exclusive);
    ASSERT_NE(alone.file, nullptr);
    EXPECT_EQ(openFile(dir.file("a.bin"), FileAccess::Read).error, FileError::SharingViolation);
}

TEST(Files, byteRangeLocksConflictBetweenOpenFilesAndSplitRangesStayIndependent) {
    TempDir dir;
    writeTestFile(dir.file("t.bin"), std::string(64, '\0'));
    OpenedFile a = openFile(dir.file("t.bin"), FileAccess::ReadWrite);
    OpenedFile b = openFile(dir.file("t.bin"), FileAccess::ReadWrite);
    ASSERT_NE(a.file, nullptr);
    ASSERT_NE(b.file, nullptr);
    EXPECT_EQ(a.file->lock(16, 1), FileError::None);
    EXPECT_EQ(b.file->lock(16, 1), FileError::LockViolation);
    EXPECT_EQ(b.file->lock(0, 16), FileError::None); // next to a's byte, not overlapping
    EXPECT_EQ(b.file->lock(17, 0x7FFFFFFF - 17), FileError::None);
    EXPECT_EQ(a.file->unlock(16, 1), FileError::None);
    EXPECT_EQ(b.file->lock(16, 1), FileError::None);
    // Closing another open file of the same path releases nothing b holds.
    OpenedFile c = openFile(dir.file("t.bin"), FileAccess::ReadWrite);
    c.file.reset();
    EXPECT_EQ(a.file->lock(16, 1), FileError::LockViolation);
}

TEST(Files, findListsEntriesWithTheDirectoryBit) {
    TempDir dir;
    writeTestFile(dir.file("b.ttf"), "1");
    writeTestFile(dir.file("A.txt"), "2");
    testing::makeTestDirectory(dir.file("sub"));
    const std::vector<DirectoryEntry> entries = fileSystem().find(dir.path() + "\\*.*");
    std::vector<std::string> files, dirs;
    for (const DirectoryEntry& e : entries)
        (e.isDirectory ? dirs : files).push_back(e.name);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"A.txt", "b.ttf"}));
    EXPECT_NE(std::find(dirs.begin(), dirs.end(), "sub"), dirs.end());
    EXPECT_TRUE(fileSystem().find(dir.path() + "\\nothing-here\\*.*").empty());
    EXPECT_EQ(fileSystem().find(dir.path() + "\\*.ttf").size(), 1u);
}

TEST(Files, aQueryOpenReadsTheFileAndRefusesFoldersAndMissingFiles) {
    TempDir dir;
    writeTestFile(dir.file("q.bin"), "query");
    OpenedFile opened = fileSystem().openForQuery(dir.file("q.bin"));
    ASSERT_NE(opened.file, nullptr);
    EXPECT_EQ(opened.file->size(), 5u);
    char buf[8] = {};
    const IoResult r = opened.file->readAt(1, buf, sizeof buf);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(std::string(buf, r.bytes), "uery");

    EXPECT_EQ(fileSystem().openForQuery(dir.file("missing.bin")).error, FileError::NotFound);
    EXPECT_EQ(fileSystem().openForQuery("").error, FileError::NotFound);
    testing::makeTestDirectory(dir.file("sub"));
    const OpenedFile folder = fileSystem().openForQuery(dir.file("sub"));
    EXPECT_EQ(folder.file, nullptr);
    EXPECT_EQ(folder.error, FileError::AccessDenied);
}

#ifndef _WIN32
TEST(Files, aQueryOpenNeitherHoldsOffNorWaitsForAnExclusiveOpener) {
    TempDir dir;
    writeTestFile(dir.file("q.bin"), "query");
    OpenedFile query = fileSystem().openForQuery(dir.file("q.bin"));
    ASSERT_NE(query.file, nullptr);
    OpenedFile exclusive = openFile(dir.file("q.bin"), FileAccess::ReadWrite, FileSharing::Exclusive);
    ASSERT_NE(exclusive.file, nullptr);
    EXPECT_NE(fileSystem().openForQuery(dir.file("q.bin")).file, nullptr);
    // The query took no share of the file: once the exclusive opener has gone, another can come.
    exclusive.file.reset();
    EXPECT_NE(openFile(dir.file("q.bin"), FileAccess::Write, FileSharing::Exclusive).file, nullptr);
}

TEST(Files, findTakesALinkForWhatItPointsTo) {
    TempDir dir;
    testing::makeTestDirectory(dir.file("real"));
    writeTestFile(dir.file("file.ttf"), "f");
    const std::string native = [&] {
        std::string n;
        for (char c : dir.path())
            n.push_back(c == '\\' ? '/' : c);
        return n;
    }();
    ASSERT_EQ(::symlink((native + "/real").c_str(), (native + "/to-folder").c_str()), 0);
    ASSERT_EQ(::symlink((native + "/file.ttf").c_str(), (native + "/to-file").c_str()), 0);
    ASSERT_EQ(::symlink((native + "/nowhere").c_str(), (native + "/dangling").c_str()), 0);
    std::vector<std::string> files, dirs;
    for (const DirectoryEntry& e : fileSystem().find(dir.path() + "\\*.*"))
        (e.isDirectory ? dirs : files).push_back(e.name);
    EXPECT_EQ(files, (std::vector<std::string>{"dangling", "file.ttf", "to-file"}));
    EXPECT_EQ(dirs, (std::vector<std::string>{".", "..", "real", "to-folder"}));
}
#endif

TEST(Files, fullPathResolvesDotsAgainstTheCurrentDirectory) {
    TempDir dir;
    const Text full = fileSystem().fullPath(dir.path() + "\\x\\..\\.\\y.qtb");
    EXPECT_EQ(full, dir.path() + "\\y.qtb");
    EXPECT_EQ(fileSystem().fullPath(""), "");
    const Text relative = fileSystem().fullPath("z.qtb");
    ASSERT_GT(relative.size(), 6u);
    EXPECT_EQ(relative.substr(relative.size() - 6), "\\z.qtb");
}

TEST(Files, wholeFileReadAndWrite) {
    TempDir dir;
    const Text path = dir.file("w.bin");
    EXPECT_FALSE(readWholeFile(path).has_value());
    EXPECT_TRUE(writeWholeFile(path, {ByteSet{'a', 'b'}, ByteSet{}, ByteSet{0, 'c'}}));
    EXPECT_EQ(readWholeFile(path), (ByteSet{'a', 'b', 0, 'c'}));
    EXPECT_TRUE(writeWholeFile(path, {}));
    EXPECT_EQ(readWholeFile(path), ByteSet{});
    EXPECT_FALSE(writeWholeFile("", {ByteSet{'a'}}));
    EXPECT_FALSE(writeWholeFile(dir.file("no-such-dir\\w.bin"), {ByteSet{'a'}}));
}

TEST(Process, programDirectoryIsTheExecutablesDirectoryUnlessATestMovesIt) {
    const Text file = programFilePath();
    const Text dirOfExe = programDirectory();
    ASSERT_FALSE(dirOfExe.empty());
    EXPECT_EQ(file.substr(0, dirOfExe.size() + 1), dirOfExe + "\\");
    EXPECT_NE(dirOfExe.back(), '\\');
    {
        ScopedProgramDirectory moved("C:\\elsewhere");
        EXPECT_EQ(programDirectory(), "C:\\elsewhere");
    }
    EXPECT_EQ(programDirectory(), dirOfExe);
}

} // namespace
} // namespace glyvora
