// The program's profile code (on every platform) over a file layer that fails: a refused write
// reports failure and leaves the file as it was, a disk that fills up half-way through the save
// leaves the old file whole, an oversized file is neither loaded nor rewritten.
#include "platform/files.h"
#include "platform/forwarding_files.h"
#include "platform/profile.h"
#include "support/fault_files.h"
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

class FaultyFileSystem final : public ForwardingFileSystem {
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

TEST(ProfilePosix, aDiskThatFillsUpDuringTheSaveLeavesTheOldFileWhole) {
    TempDir dir;
    const Text ini = dir.file("配置文件.ini");
    const Text before = "[Glyvora]\r\n字体颜色=255\r\n字体预览的内容=中国\r\n";
    writeTestFile(ini, before);
    for (const testing::Fault fault : {testing::Fault::DiskFull, testing::Fault::FailedWrite,
                                       testing::Fault::FailedFlush, testing::Fault::FailedReplace}) {
        testing::FaultPlan plan;
        plan.fault = fault;
        plan.at = 1;
        testing::FaultFileSystem faulty(systemFileSystem(), plan);
        {
            ScopedFileSystem scoped(faulty);
            EXPECT_FALSE(writeProfileString(ini, "Glyvora", Text("字体预览的内容"), Text(5000, 'x')));
        }
        EXPECT_TRUE(plan.fired);
        EXPECT_EQ(readTestFile(ini), before);
        EXPECT_FALSE(testing::testFileExists(safeSaveTemporaryPath(ini)));
    }
    // The same write on a sound disk goes through and leaves no temporary file behind.
    EXPECT_TRUE(writeProfileString(ini, "Glyvora", Text("字体预览的内容"), Text("中国智造")));
    EXPECT_EQ(readTestFile(ini), "[Glyvora]\r\n字体颜色=255\r\n字体预览的内容=中国智造\r\n");
    EXPECT_FALSE(testing::testFileExists(safeSaveTemporaryPath(ini)));
}

} // namespace
} // namespace glyvora
