// Whole-file saves that survive a failure at any step: on the real disk (natively and under Wine),
// with one call of the save made to fail at a time, the target holds the old bytes or the new ones
// and nothing is left beside it.
#include "platform/files.h"
#include "platform/forwarding_files.h"
#include "support/fault_files.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace glyvora {
namespace {

using testing::Fault;
using testing::FaultFileSystem;
using testing::FaultPlan;
using testing::readTestFile;
using testing::TempDir;
using testing::testFileExists;
using testing::writeTestFile;

ByteSet bytesOf(const std::string& s) {
    return ByteSet(s.begin(), s.end());
}

const std::string oldTree = "old tree bytes, longer than the new ones";
const std::string newTree = "new tree";

// The new tree in three writes, so that a failure can come before, between and after them.
std::vector<ByteSet> newTreeParts() {
    return {bytesOf("new"), ByteSet(), bytesOf(" "), bytesOf("tree")};
}

// The names in the directory, "." and ".." left out, sorted.
std::vector<Text> namesIn(const TempDir& dir) {
    std::vector<Text> names;
    for (const DirectoryEntry& e : systemFileSystem().find(dir.file("*")))
        if (e.name != "." && e.name != "..") names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SafeSave, replacesTheOldFileAndLeavesNothingElse) {
    TempDir dir;
    const Text path = dir.file("tree.dat");
    writeTestFile(path, oldTree);
    EXPECT_TRUE(writeWholeFileSafely(path, newTreeParts()));
    EXPECT_EQ(readTestFile(path), newTree);
    EXPECT_EQ(namesIn(dir), std::vector<Text>{"tree.dat"});
}

TEST(SafeSave, savesOverAMissingFileAndIntoAChineseName) {
    TempDir dir;
    const Text path = dir.file("文件夹分类.dat");
    EXPECT_TRUE(writeWholeFileSafely(path, newTreeParts()));
    EXPECT_EQ(readWholeFile(path), bytesOf(newTree));
    EXPECT_EQ(namesIn(dir), std::vector<Text>{"文件夹分类.dat"});
    // and again over the file it has just made
    EXPECT_TRUE(writeWholeFileSafely(path, {bytesOf("|宋体类|常用|集")}));
    EXPECT_EQ(readWholeFile(path), bytesOf("|宋体类|常用|集"));
    EXPECT_EQ(namesIn(dir), std::vector<Text>{"文件夹分类.dat"});
}

TEST(SafeSave, anEmptySaveLeavesAnEmptyFile) {
    // An empty tree is a tree file of zero bytes, not a missing one.
    TempDir dir;
    const Text path = dir.file("tree.dat");
    writeTestFile(path, oldTree);
    EXPECT_TRUE(writeWholeFileSafely(path, {}));
    EXPECT_TRUE(testFileExists(path));
    EXPECT_EQ(readTestFile(path), "");
    EXPECT_TRUE(writeWholeFileSafely(dir.file("fresh.dat"), {ByteSet(), ByteSet()}));
    EXPECT_TRUE(testFileExists(dir.file("fresh.dat")));
    EXPECT_EQ(namesIn(dir), (std::vector<Text>{"fresh.dat", "tree.dat"}));
}

TEST(SafeSave, aTemporaryFileLeftByACrashIsOverwritten) {
    TempDir dir;
    const Text path = dir.file("tree.dat");
    writeTestFile(path, oldTree);
    writeTestFile(safeSaveTemporaryPath(path), "half of a save that never finished, longer than the new");
    EXPECT_TRUE(writeWholeFileSafely(path, newTreeParts()));
    EXPECT_EQ(readTestFile(path), newTree);
    EXPECT_EQ(namesIn(dir), std::vector<Text>{"tree.dat"});
}

TEST(SafeSave, refusesAPathThatCannotBeWritten) {
    TempDir dir;
    EXPECT_FALSE(writeWholeFileSafely("", newTreeParts()));
    EXPECT_FALSE(writeWholeFileSafely(dir.file("missing\\tree.dat"), newTreeParts()));
    EXPECT_TRUE(namesIn(dir).empty());
}

// How many calls of each kind one save makes, so that every one of them can be made to fail.
FaultPlan callsOfOneSave() {
    TempDir dir;
    FaultPlan plan;
    FaultFileSystem counting(systemFileSystem(), plan);
    const ScopedFileSystem scoped(counting);
    EXPECT_TRUE(writeWholeFileSafely(dir.file("tree.dat"), newTreeParts()));
    return plan;
}

struct Step {
    Fault fault;
    int count;
    const char* name;
};

std::vector<Step> everyStepOfASave() {
    const FaultPlan calls = callsOfOneSave();
    EXPECT_EQ(calls.opens, 1);
    EXPECT_EQ(calls.writes, 3); // the empty part is not written
    EXPECT_EQ(calls.flushes, 1);
    EXPECT_EQ(calls.replaces, 1);
    EXPECT_EQ(calls.removes, 0);
    return {{Fault::FailedOpen, calls.opens, "open"},
            {Fault::FailedWrite, calls.writes, "write"},
            {Fault::DiskFull, calls.writes, "disk full at write"},
            {Fault::FailedFlush, calls.flushes, "flush"},
            {Fault::FailedReplace, calls.replaces, "replace"}};
}

TEST(SafeSave, aFailureAtAnyStepKeepsTheOldFileWholeAndNothingBeside) {
    for (const Step& step : everyStepOfASave()) {
        for (int at = 1; at <= step.count; ++at) {
            SCOPED_TRACE(std::string(step.name) + " " + std::to_string(at));
            TempDir dir;
            const Text path = dir.file("tree.dat");
            writeTestFile(path, oldTree);
            FaultPlan plan;
            plan.fault = step.fault;
            plan.at = at;
            FaultFileSystem faulty(systemFileSystem(), plan);
            {
                const ScopedFileSystem scoped(faulty);
                EXPECT_FALSE(writeWholeFileSafely(path, newTreeParts()));
            }
            EXPECT_TRUE(plan.fired);
            EXPECT_EQ(readTestFile(path), oldTree);
            EXPECT_EQ(namesIn(dir), std::vector<Text>{"tree.dat"});
        }
    }
}

TEST(SafeSave, aFailureAtAnyStepOverAMissingFileLeavesNoFile) {
    for (const Step& step : everyStepOfASave()) {
        for (int at = 1; at <= step.count; ++at) {
            SCOPED_TRACE(std::string(step.name) + " " + std::to_string(at));
            TempDir dir;
            FaultPlan plan;
            plan.fault = step.fault;
            plan.at = at;
            FaultFileSystem faulty(systemFileSystem(), plan);
            {
                const ScopedFileSystem scoped(faulty);
                EXPECT_FALSE(writeWholeFileSafely(dir.file("tree.dat"), newTreeParts()));
            }
            EXPECT_TRUE(namesIn(dir).empty());
        }
    }
}

TEST(SafeSave, aTemporaryFileThatCannotBeRemovedIsOverwrittenByTheNextSave) {
    TempDir dir;
    const Text path = dir.file("tree.dat");
    writeTestFile(path, oldTree);
    FaultPlan plan;
    plan.fault = Fault::FailedWrite;
    plan.at = 2;
    plan.removesFail = true;
    FaultFileSystem faulty(systemFileSystem(), plan);
    {
        const ScopedFileSystem scoped(faulty);
        EXPECT_FALSE(writeWholeFileSafely(path, newTreeParts()));
    }
    EXPECT_EQ(plan.removes, 1);
    EXPECT_EQ(readTestFile(path), oldTree);
    EXPECT_TRUE(testFileExists(safeSaveTemporaryPath(path)));

    EXPECT_TRUE(writeWholeFileSafely(path, {bytesOf("x")}));
    EXPECT_EQ(readTestFile(path), "x");
    EXPECT_EQ(namesIn(dir), std::vector<Text>{"tree.dat"});
}

// Passes every call to the real file system, but first looks at the target file as a crash at
// that moment would leave it.
class CrashPoints final : public ForwardingFileSystem {
public:
    explicit CrashPoints(std::function<void()> look) : look_(std::move(look)) {}

    OpenedFile open(const Text& path, FileAccess access, FileSharing sharing,
                    FileCreation creation) override {
        look_();
        OpenedFile opened = systemFileSystem().open(path, access, sharing, creation);
        if (opened.file) opened.file = std::make_unique<LookingFile>(std::move(opened.file), look_);
        return opened;
    }
    FileError replace(const Text& from, const Text& to) override {
        look_();
        const FileError e = systemFileSystem().replace(from, to);
        look_();
        return e;
    }
    FileError remove(const Text& path) override {
        look_();
        return systemFileSystem().remove(path);
    }

private:
    class LookingFile final : public File {
    public:
        LookingFile(std::unique_ptr<File> inner, std::function<void()>& look)
            : inner_(std::move(inner)), look_(look) {}
        ~LookingFile() override {
            inner_.reset();
            look_();
        }
        IoResult readAt(std::uint64_t o, void* b, std::size_t n) override { return inner_->readAt(o, b, n); }
        IoResult writeAt(std::uint64_t o, const void* d, std::size_t n) override {
            look_();
            const IoResult r = inner_->writeAt(o, d, n);
            look_();
            return r;
        }
        std::optional<std::uint64_t> size() override { return inner_->size(); }
        FileError resize(std::uint64_t n) override {
            look_();
            return inner_->resize(n);
        }
        FileError lock(std::uint64_t o, std::uint64_t n) override { return inner_->lock(o, n); }
        FileError unlock(std::uint64_t o, std::uint64_t n) override { return inner_->unlock(o, n); }
        FileError flush() override {
            look_();
            return inner_->flush();
        }

    private:
        std::unique_ptr<File> inner_;
        std::function<void()>& look_;
    };

    std::function<void()> look_;
};

TEST(SafeSave, atEveryMomentOfASaveTheFileHoldsTheOldOrTheNewBytes) {
    TempDir dir;
    const Text path = dir.file("tree.dat");
    writeTestFile(path, oldTree);
    int looks = 0;
    CrashPoints crashPoints([&] {
        ++looks;
        const std::string now = readTestFile(path);
        EXPECT_TRUE(now == oldTree || now == newTree) << "after " << looks << " steps: " << now;
    });
    {
        const ScopedFileSystem scoped(crashPoints);
        EXPECT_TRUE(writeWholeFileSafely(path, newTreeParts()));
    }
    EXPECT_GE(looks, 9);
    EXPECT_EQ(readTestFile(path), newTree);
}

} // namespace
} // namespace glyvora
