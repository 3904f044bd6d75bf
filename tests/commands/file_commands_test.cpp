// File commands over the real file layer, natively and under Wine.
#include "commands/file_commands.h"
#include "platform/files.h"
#include "platform/forwarding_files.h"
#include "platform/process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace glyvora {
namespace {

using testing::makeTestDirectory;
using testing::readTestFile;
using testing::TempDir;
using testing::testFileExists;
using testing::writeTestFile;

// A file whose reads fail while `failing` is set.
class FlakyFile : public File {
public:
    FlakyFile(std::unique_ptr<File> inner, const bool& failing)
        : inner_(std::move(inner)), failing_(failing) {}
    IoResult readAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        if (failing_) return {0, FileError::HardwareIO};
        return inner_->readAt(offset, buffer, count);
    }
    IoResult writeAt(std::uint64_t offset, const void* data, std::size_t count) override {
        return inner_->writeAt(offset, data, count);
    }
    std::optional<std::uint64_t> size() override { return inner_->size(); }
    FileError resize(std::uint64_t length) override { return inner_->resize(length); }
    FileError lock(std::uint64_t offset, std::uint64_t length) override {
        return inner_->lock(offset, length);
    }
    FileError unlock(std::uint64_t offset, std::uint64_t length) override {
        return inner_->unlock(offset, length);
    }
    FileError flush() override { return inner_->flush(); }

private:
    std::unique_ptr<File> inner_;
    const bool& failing_;
};

// The real file system, with reads that fail on demand.
class FlakyFileSystem : public ForwardingFileSystem {
public:
    bool failReads = false;
    OpenedFile open(const Text& path, FileAccess access, FileSharing sharing,
                    FileCreation creation) override {
        OpenedFile opened = systemFileSystem().open(path, access, sharing, creation);
        if (opened.file) opened.file = std::make_unique<FlakyFile>(std::move(opened.file), failReads);
        return opened;
    }
};

// A file number that is closed when the test ends, whatever happens.
struct NumberedFile {
    std::int32_t number;
    explicit NumberedFile(std::int32_t n) : number(n) {}
    ~NumberedFile() { CloseFile(number); }
};

TEST(FileExists, matchesFilesDirectoriesAndWildcards) {
    TempDir dir;
    writeTestFile(dir.file("宋体.ttf"), "x");
    makeTestDirectory(dir.file("fonts"));
    EXPECT_TRUE(FileExists(dir.file("宋体.ttf")));
    EXPECT_TRUE(FileExists(dir.file("fonts")));
    EXPECT_TRUE(FileExists(dir.file("*.ttf")));
    EXPECT_TRUE(FileExists(dir.file("??.ttf")));
    EXPECT_TRUE(FileExists(dir.file("f*")));
    EXPECT_FALSE(FileExists(dir.file("*.otf")));
    EXPECT_FALSE(FileExists(dir.file("missing.ttf")));
    EXPECT_FALSE(FileExists(dir.file("missing\\*.*")));
    EXPECT_FALSE(FileExists(""));
}

TEST(WholeFiles, writeCreatesOrTruncatesAndWritesThePartsInOrder) {
    TempDir dir;
    const Text path = dir.file("a.bin");
    writeTestFile(path, "old contents");
    EXPECT_TRUE(WriteFileBytes(path, ByteSet{'a', 0, 'b'}, ByteSet{}, ByteSet{'c'}));
    EXPECT_EQ(readTestFile(path), std::string("a\0bc", 4));
    EXPECT_EQ(ReadFileBytes(path), (ByteSet{'a', 0, 'b', 'c'}));

    EXPECT_TRUE(WriteFileBytes(dir.file("empty.txt"), ByteSet{}));
    EXPECT_TRUE(testFileExists(dir.file("empty.txt")));
    EXPECT_EQ(ReadFileBytes(dir.file("empty.txt")), ByteSet{});
}

TEST(WholeFiles, failuresGiveFalseAndEmptyBytes) {
    TempDir dir;
    EXPECT_FALSE(WriteFileBytes("", ByteSet{1}));
    EXPECT_FALSE(WriteFileBytes(dir.file("missing\\a.bin"), ByteSet{1}));
    EXPECT_EQ(ReadFileBytes(dir.file("missing.bin")), ByteSet{});
    EXPECT_EQ(ReadFileBytes(""), ByteSet{});
    // Written exclusively: a file held open elsewhere is not written.
    writeTestFile(dir.file("held.bin"), "keep");
    const NumberedFile held(OpenFile(dir.file("held.bin"), kOpenRead));
    ASSERT_NE(held.number, 0);
    EXPECT_FALSE(WriteFileBytes(dir.file("held.bin"), ByteSet{1}));
    EXPECT_EQ(readTestFile(dir.file("held.bin")), "keep");
}

TEST(ProgramDirectory, isTheExecutablesDirectoryWithoutATrailingSeparator) {
    const Text real = ProgramDirectory();
    ASSERT_FALSE(real.empty());
    EXPECT_NE(real.back(), '\\');
    EXPECT_EQ(FileExists(real), true);
    const ScopedProgramDirectory scoped("C:\\Glyvora");
    EXPECT_EQ(ProgramDirectory(), "C:\\Glyvora");
}

TEST(OpenFile, refusesBadModesSharingAndPaths) {
    TempDir dir;
    const Text path = dir.file("a.txt");
    writeTestFile(path, "x");
    EXPECT_EQ(OpenFile(path, 0), 0);
    EXPECT_EQ(OpenFile(path, 7), 0);
    EXPECT_EQ(OpenFile(path, kOpenRead, 0), 0);
    EXPECT_EQ(OpenFile(path, kOpenRead, 5), 0);
    EXPECT_EQ(OpenFile("", kOpenAlwaysReadWrite), 0);
    EXPECT_EQ(OpenFile(dir.file("missing.txt"), kOpenRead), 0);
    EXPECT_EQ(OpenFile(dir.file("missing.txt")), 0);
    EXPECT_FALSE(testFileExists(dir.file("missing.txt")));
    CloseFile(0);
    CloseFile(12345);
}

TEST(OpenFile, modesCreateTruncateOrKeepTheFile) {
    TempDir dir;
    writeTestFile(dir.file("truncated.txt"), "old");
    writeTestFile(dir.file("kept.txt"), "old");
    CloseFile(OpenFile(dir.file("truncated.txt"), kOpenCreateWrite));
    CloseFile(OpenFile(dir.file("kept.txt"), kOpenAlwaysWrite));
    CloseFile(OpenFile(dir.file("kept.txt"), kOpenAlwaysReadWrite));
    EXPECT_EQ(readTestFile(dir.file("truncated.txt")), "");
    EXPECT_EQ(readTestFile(dir.file("kept.txt")), "old");

    for (const std::int32_t mode : {kOpenCreateWrite, kOpenAlwaysWrite, kOpenAlwaysReadWrite}) {
        const Text path = dir.file("new" + std::to_string(mode) + ".txt");
        const NumberedFile file(OpenFile(path, mode));
        EXPECT_NE(file.number, 0) << mode;
        EXPECT_TRUE(testFileExists(path)) << mode;
    }
}

TEST(OpenFile, numbersAreDistinctAndFreedByClosing) {
    TempDir dir;
    writeTestFile(dir.file("a.txt"), "a");
    const std::int32_t first = OpenFile(dir.file("a.txt"));
    const std::int32_t second = OpenFile(dir.file("a.txt"));
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_NE(first, second);
    CloseFile(first);
    EXPECT_EQ(ReadFileText(first), "");
    EXPECT_EQ(ReadFileText(second), "a");
    const std::int32_t third = OpenFile(dir.file("a.txt"));
    EXPECT_EQ(third, first);
    CloseFile(second);
    CloseFile(third);
}

TEST(OpenFile, sharingKeepsOtherOpenersOut) {
    TempDir dir;
    const Text path = dir.file("a.txt");
    writeTestFile(path, "a");
    {
        const NumberedFile exclusive(OpenFile(path, kOpenReadWrite, kShareExclusive));
        ASSERT_NE(exclusive.number, 0);
        EXPECT_EQ(OpenFile(path, kOpenRead), 0);
    }
    {
        const NumberedFile denyWrite(OpenFile(path, kOpenRead, kShareDenyWrite));
        ASSERT_NE(denyWrite.number, 0);
        EXPECT_EQ(OpenFile(path, kOpenWrite), 0);
    }
}

TEST(ReadFileText, stopsAtAZeroOrEndOfFileByteAndStaysOnIt) {
    TempDir dir;
    writeTestFile(dir.file("zero.txt"), std::string("ab\0cd", 5));
    writeTestFile(dir.file("eof.txt"), "ab\x1A"
                                       "cd");
    const NumberedFile zero(OpenFile(dir.file("zero.txt")));
    const NumberedFile eof(OpenFile(dir.file("eof.txt")));
    EXPECT_EQ(ReadFileText(zero.number), "ab");
    EXPECT_EQ(ReadFileText(eof.number), "ab");
    // The position is left on the terminating byte, so the next read ends there at once.
    EXPECT_EQ(ReadFileText(zero.number), "");
    EXPECT_EQ(ReadFileText(eof.number), "");
}

TEST(ReadFileText, dropsALeadByteThatLostItsTrailToAZero) {
    TempDir dir;
    writeTestFile(dir.file("lone.txt"), std::string("ab\xB0\0cd", 6));
    writeTestFile(dir.file("whole.txt"), std::string("a\xB0\xA1\0", 4));
    const NumberedFile lone(OpenFile(dir.file("lone.txt")));
    const NumberedFile whole(OpenFile(dir.file("whole.txt")));
    EXPECT_EQ(ReadFileText(lone.number), "ab");
    EXPECT_EQ(ReadFileText(whole.number), "a\xB0\xA1");
}

TEST(ReadFileText, readsUpToTheMaximumFromThePositionKeptPerFile) {
    TempDir dir;
    writeTestFile(dir.file("a.txt"), "|黑体|宋体");
    const NumberedFile file(OpenFile(dir.file("a.txt"), kOpenRead));
    const NumberedFile other(OpenFile(dir.file("a.txt"), kOpenRead));
    EXPECT_EQ(ReadFileText(file.number, 3), "|黑");
    EXPECT_EQ(ReadFileText(file.number, 0), "");
    EXPECT_EQ(ReadFileText(file.number, -1), "");
    EXPECT_EQ(ReadFileText(file.number, 3), "体|");
    EXPECT_EQ(ReadFileText(file.number), "宋体");
    EXPECT_EQ(ReadFileText(file.number), "");
    EXPECT_EQ(ReadFileText(other.number, 1000000), "|黑体|宋体");
    EXPECT_EQ(ReadFileText(12345), "");
}

TEST(ReadFileText, emptyFilesAndWriteOnlyFilesGiveEmptyTexts) {
    TempDir dir;
    writeTestFile(dir.file("empty.txt"), "");
    writeTestFile(dir.file("a.txt"), "abc");
    const NumberedFile empty(OpenFile(dir.file("empty.txt")));
    const NumberedFile writeOnly(OpenFile(dir.file("a.txt"), kOpenWrite));
    EXPECT_EQ(ReadFileText(empty.number), "");
    EXPECT_EQ(ReadFileText(writeOnly.number), "");
}

TEST(ReadFileText, aFileErrorMovesThePositionToTheEnd) {
    TempDir dir;
    writeTestFile(dir.file("a.txt"), "abcdef");
    FlakyFileSystem flaky;
    const ScopedFileSystem scoped(flaky);
    const NumberedFile file(OpenFile(dir.file("a.txt"), kOpenRead));
    const NumberedFile control(OpenFile(dir.file("a.txt"), kOpenRead));
    EXPECT_EQ(ReadFileText(file.number, 2), "ab");
    EXPECT_EQ(ReadFileText(control.number, 2), "ab");
    flaky.failReads = true;
    EXPECT_EQ(ReadFileText(file.number, 2), "");
    flaky.failReads = false;
    EXPECT_EQ(ReadFileText(file.number), "");
    EXPECT_EQ(ReadFileText(control.number), "cdef");
}

} // namespace
} // namespace glyvora
