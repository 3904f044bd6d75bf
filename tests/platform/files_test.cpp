// The file layer behaves the same on both platforms: these cases run natively and under Wine.
#include "platform/files.h"
#include "platform/process.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <climits>
#include <fstream>
#include <unistd.h>
#endif

namespace glyvora {
namespace {

using testing::namesOnDisk;
using testing::readTestFile;
using testing::TempDir;
using testing::writeTestFile;

// A name as the file system stores it.
std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

std::vector<std::string> names(const std::vector<DirectoryEntry>& entries, bool directories) {
    std::vector<std::string> out;
    for (const DirectoryEntry& e : entries)
        if (e.isDirectory == directories && e.name != "." && e.name != "..") out.push_back(e.name);
    return out;
}

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

TEST(Files, findWithStampsGivesTheSameListingWithEachFilesSizeAndAWriteTimeThatMovesOnRewrite) {
    TempDir dir;
    writeTestFile(dir.file("five.bin"), "12345");
    writeTestFile(dir.file("empty.bin"), "");
    testing::makeTestDirectory(dir.file("sub"));
    const Text pattern = dir.path() + "\\*.*";
    const std::vector<DirectoryEntry> plain = fileSystem().find(pattern);
    const std::vector<DirectoryEntry> stamped = fileSystem().findWithStamps(pattern);
    ASSERT_EQ(stamped.size(), plain.size());
    std::optional<FileStamp> five;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        EXPECT_EQ(stamped[i].name, plain[i].name);
        EXPECT_EQ(stamped[i].isDirectory, plain[i].isDirectory);
        EXPECT_FALSE(plain[i].stamp.has_value());
        // Folders carry none: only files are looked up by their stamp.
        EXPECT_EQ(stamped[i].stamp.has_value(), !stamped[i].isDirectory) << stamped[i].name;
        if (stamped[i].name == "five.bin") five = stamped[i].stamp;
        if (stamped[i].name == "empty.bin") {
            ASSERT_TRUE(stamped[i].stamp.has_value());
            EXPECT_EQ(stamped[i].stamp->size, 0u);
        }
    }
    ASSERT_TRUE(five.has_value());
    EXPECT_EQ(five->size, 5u);
    EXPECT_NE(five->lastWrite, 0u);
    // Looked at again unchanged, the stamp is the same; rewritten with another size, it is not.
    for (const DirectoryEntry& e : fileSystem().findWithStamps(dir.path() + "\\five.bin"))
        EXPECT_EQ(e.stamp, five);
    writeTestFile(dir.file("five.bin"), "1234567");
    const std::vector<DirectoryEntry> again = fileSystem().findWithStamps(dir.path() + "\\five.bin");
    ASSERT_EQ(again.size(), 1u);
    ASSERT_TRUE(again[0].stamp.has_value());
    EXPECT_EQ(again[0].stamp->size, 7u);
    EXPECT_NE(again[0].stamp, five);
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

// The program's names are GBK; the file system stores Unicode names (UTF-8 on POSIX), and a file the
// program writes must carry its real name there.
TEST(FileNames, filesAndFoldersWithChineseNamesAreStoredUnderTheirUnicodeNames) {
    TempDir dir;
    EXPECT_TRUE(writeWholeFile(dir.file("配置文件.ini"), {ByteSet{'a'}}));
    testing::makeTestDirectoryOnDisk(dir.path(), utf8(u8"字体"));
    EXPECT_TRUE(writeWholeFile(dir.file("字体\\目录名称与地址数据库.qtb"), {ByteSet{'b'}}));
    EXPECT_EQ(namesOnDisk(dir.path()), (std::vector<std::string>{utf8(u8"字体"), utf8(u8"配置文件.ini")}));
    EXPECT_EQ(namesOnDisk(dir.file("字体")), std::vector<std::string>{utf8(u8"目录名称与地址数据库.qtb")});

    // Opened again by the same name, never doubled by a second create.
    EXPECT_EQ(readWholeFile(dir.file("配置文件.ini")), ByteSet{'a'});
    EXPECT_TRUE(writeWholeFile(dir.file("配置文件.ini"), {ByteSet{'c'}}));
    OpenedFile again = openFile(dir.file("配置文件.ini"), FileAccess::ReadWrite, FileSharing::DenyNone,
                                FileCreation::OpenAlways);
    ASSERT_NE(again.file, nullptr);
    EXPECT_EQ(again.file->size(), 1u);
    again.file.reset();
    EXPECT_EQ(namesOnDisk(dir.path()).size(), 2u);
    EXPECT_EQ(openFile(dir.file("配置文件.dat"), FileAccess::Read).error, FileError::NotFound);
}

TEST(FileNames, aSearchGivesUnicodeNamesInGbkAndMatchesMasksAgainstThem) {
    TempDir dir;
    testing::writeTestFileOnDisk(dir.path(), utf8(u8"宋体.ttf"), "s");
    testing::writeTestFileOnDisk(dir.path(), "a.ttf", "a");
    // The second byte of 乗 in GBK is 0x5C, the byte of "\".
    testing::writeTestFileOnDisk(dir.path(), utf8(u8"乗.ttf"), "x");
    testing::makeTestDirectoryOnDisk(dir.path(), utf8(u8"字体"));
    testing::writeTestFileOnDisk(dir.file("字体"), utf8(u8"黑体.otf"), "h");

    const std::vector<DirectoryEntry> all = fileSystem().find(dir.path() + "\\*.*");
    std::vector<std::string> files = names(all, false);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"a.ttf", "乗.ttf", "宋体.ttf"}));
    EXPECT_EQ(names(all, true), std::vector<std::string>{"字体"});
    EXPECT_EQ(names(fileSystem().find(dir.path() + "\\宋*"), false), std::vector<std::string>{"宋体.ttf"});
    EXPECT_EQ(names(fileSystem().find(dir.path() + "\\字体\\*.otf"), false),
              std::vector<std::string>{"黑体.otf"});
    EXPECT_TRUE(fileSystem().find(dir.path() + "\\字\\*.*").empty());
    for (const std::string& name : files)
        EXPECT_TRUE(readWholeFile(dir.file(name)).has_value()) << name;
    EXPECT_EQ(readWholeFile(dir.file("字体\\黑体.otf")), ByteSet{'h'});
}

#ifndef _WIN32
// POSIX names are bytes: a name stored in GBK by another program, or bytes of no encoding at all,
// or UTF-8 holding characters GBK lacks, reach the program unchanged and open again by it.
TEST(FileNames, namesThatDoNotConvertKeepTheirBytesAndOpenAgain) {
    TempDir dir;
    const std::string gbkOnDisk = "\xD7\xD6\xCC\xE5.ttf"; // 字体.ttf stored as GBK bytes
    const std::string noEncoding = "\xFF\x81.ttf";
    const std::string thai = utf8(u8"\u0E01.ttf");
    const std::string emoji = utf8(u8"\U0001F600.ttf");
    testing::writeTestFileOnDisk(dir.path(), gbkOnDisk, "1");
    testing::writeTestFileOnDisk(dir.path(), noEncoding, "2");
    testing::writeTestFileOnDisk(dir.path(), thai, "3");
    testing::writeTestFileOnDisk(dir.path(), emoji, "4");
    testing::makeTestDirectoryOnDisk(dir.path(), "\xC4\xBF"); // 目, as GBK bytes
    testing::writeTestFileOnDisk(dir.path(), "\xC4\xBF/x.ttf", "5");

    std::vector<std::string> files = names(fileSystem().find(dir.path() + "\\*"), false);
    std::sort(files.begin(), files.end());
    std::vector<std::string> expected = {gbkOnDisk, noEncoding, thai, emoji};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(files, expected);
    EXPECT_EQ(files.size(), 4u);
    for (const std::string& name : files)
        EXPECT_TRUE(readWholeFile(dir.file(name)).has_value()) << name;
    EXPECT_EQ(readWholeFile(dir.file("字体.ttf")), ByteSet{'1'});
    EXPECT_EQ(readWholeFile(dir.file("目\\x.ttf")), ByteSet{'5'});
    EXPECT_EQ(names(fileSystem().find(dir.file("目") + "\\*.ttf"), false), std::vector<std::string>{"x.ttf"});

    // Writing such a file writes over it instead of adding a second one under the UTF-8 name.
    EXPECT_TRUE(writeWholeFile(dir.file("字体.ttf"), {ByteSet{'9'}}));
    EXPECT_EQ(namesOnDisk(dir.path()).size(), 5u);
    std::ifstream stored(testing::nativeTestPath(dir.path()) + "/" + gbkOnDisk, std::ios::binary);
    EXPECT_EQ(stored.get(), '9');
}

TEST(FileNames, fullPathTakesAChineseCurrentDirectoryInGbk) {
    TempDir dir;
    testing::makeTestDirectoryOnDisk(dir.path(), utf8(u8"字体"));
    char saved[PATH_MAX];
    ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(::chdir((testing::nativeTestPath(dir.path()) + "/" + utf8(u8"字体")).c_str()), 0);
    const Text full = fileSystem().fullPath("集名称与字体地址数据库.qtb");
    const Text parent = fileSystem().fullPath("..\\配置文件.ini");
    ASSERT_EQ(::chdir(saved), 0);
    EXPECT_EQ(full, dir.path() + "\\字体\\集名称与字体地址数据库.qtb");
    EXPECT_EQ(parent, dir.path() + "\\配置文件.ini");
    // Names in the path given are left as they are, whatever they convert to.
    EXPECT_EQ(fileSystem().fullPath(dir.path() + "\\\xFF\\乗\\.\\a"), dir.path() + "\\\xFF\\乗\\a");
}
#endif

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
