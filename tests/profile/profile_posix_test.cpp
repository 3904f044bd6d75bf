// The POSIX profile over a file layer that fails: a refused write reports failure and leaves the
// file as it was, an oversized file is neither loaded nor rewritten.
#ifndef _WIN32
#include "platform/files.h"
#include "platform/profile.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace glyvora {
namespace {

using testing::readTestFile;
using testing::TempDir;
using testing::writeTestFile;

// A file that claims to be far larger than it is.
class HugeFile final : public File {
public:
    explicit HugeFile(std::unique_ptr<File> inner) : inner_(std::move(inner)) {}
    IoResult readAt(std::uint64_t o, void* b, std::size_t n) override { return inner_->readAt(o, b, n); }
    IoResult writeAt(std::uint64_t o, const void* d, std::size_t n) override {
        return inner_->writeAt(o, d, n);
    }
    std::optional<std::uint64_t> size() override { return std::uint64_t(1) << 40; }
    FileError resize(std::uint64_t n) override { return inner_->resize(n); }
    FileError lock(std::uint64_t o, std::uint64_t n) override { return inner_->lock(o, n); }
    FileError unlock(std::uint64_t o, std::uint64_t n) override { return inner_->unlock(o, n); }
    FileError flush() override { return inner_->flush(); }

private:
    std::unique_ptr<File> inner_;
};

class FaultyFileSystem final : public FileSystem {
public:
    bool refuseCreate = false;
    bool hugeFiles = false;

    OpenedFile open(const Text& path, FileAccess access, FileSharing sharing,
                    FileCreation creation) override {
        if (refuseCreate && creation == FileCreation::CreateAlways) return {nullptr, FileError::DiskFull};
        OpenedFile opened = systemFileSystem().open(path, access, sharing, creation);
        if (hugeFiles && opened.file) opened.file = std::make_unique<HugeFile>(std::move(opened.file));
        return opened;
    }
    std::vector<DirectoryEntry> find(const Text& pattern) override {
        return systemFileSystem().find(pattern);
    }
    Text fullPath(const Text& path) override { return systemFileSystem().fullPath(path); }
    FileError replace(const Text& from, const Text& to) override {
        return systemFileSystem().replace(from, to);
    }
    FileError remove(const Text& path) override { return systemFileSystem().remove(path); }
};

TEST(ProfilePosix, aRefusedWriteFailsAndKeepsTheFile) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "[s]\nk=1\n");
    FaultyFileSystem faulty;
    faulty.refuseCreate = true;
    ScopedFileSystem scoped(faulty);
    EXPECT_FALSE(writeProfileString(ini, "s", Text("k"), Text("2")));
    EXPECT_EQ(readTestFile(ini), "[s]\nk=1\n");
    // Nothing to change, nothing to write: that still succeeds.
    EXPECT_TRUE(writeProfileString(ini, "s", Text("k"), Text("1")));
    EXPECT_EQ(readProfileString(ini, "s", "k", "", 10240), "1");
}

TEST(ProfilePosix, anOversizedFileIsNeitherLoadedNorRewritten) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "[s]\nk=1\n");
    FaultyFileSystem faulty;
    faulty.hugeFiles = true;
    ScopedFileSystem scoped(faulty);
    EXPECT_EQ(readProfileString(ini, "s", "k", "'def'", 10240), "'def'");
    EXPECT_FALSE(writeProfileString(ini, "s", Text("k"), Text("2")));
    EXPECT_EQ(readTestFile(ini), "[s]\nk=1\n");
}

TEST(ProfilePosix, aDirectoryReadsAsAnEmptyProfileAndCannotBeWritten) {
    TempDir dir;
    testing::makeTestDirectory(dir.file("dir.ini"));
    EXPECT_EQ(readProfileString(dir.file("dir.ini"), "s", "k", "'def'", 10240), "def");
    EXPECT_FALSE(writeProfileString(dir.file("dir.ini"), "s", Text("k"), Text("v")));
}

} // namespace
} // namespace glyvora
#endif
