// The lock protocol: hold counts, the whole-table lock split around held bytes, the retry while the
// lock wait time lasts, and the locks the commands take on a shared table.
#include "fault_files.h"
#include "platform/clock.h"
#include "support/temp_dir.h"
#include "tablefile/table_engine.h"
#include "tablefile/table_locks.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace glyvora {
namespace {

using table::kWholeTableLength;
using table::TableLocks;
using testing::TempDir;
using testing::writeTestFile;

std::string call(const char* verb, std::uint64_t offset, std::uint64_t length) {
    std::string s(verb);
    s += ' ';
    s += std::to_string(offset);
    s += '+';
    s += std::to_string(length);
    return s;
}

// Records the system lock calls; ranges in `busy` are held by "another process".
class RecordingFile final : public File {
public:
    IoResult readAt(std::uint64_t, void*, std::size_t) override { return {}; }
    IoResult writeAt(std::uint64_t, const void*, std::size_t count) override {
        return {count, FileError::None};
    }
    std::optional<std::uint64_t> size() override { return 0; }
    FileError resize(std::uint64_t) override { return FileError::None; }
    FileError flush() override { return FileError::None; }
    FileError lock(std::uint64_t offset, std::uint64_t length) override {
        for (const auto& [o, l] : busy)
            if (offset < o + l && o < offset + length) return FileError::LockViolation;
        calls.push_back(call("lock", offset, length));
        return FileError::None;
    }
    FileError unlock(std::uint64_t offset, std::uint64_t length) override {
        calls.push_back(call("unlock", offset, length));
        return FileError::None;
    }
    std::vector<std::string> take() { return std::exchange(calls, {}); }

    std::vector<std::string> calls;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> busy;
};

using Calls = std::vector<std::string>;

class FakeClock final : public Clock {
public:
    std::uint32_t ticks() override { return now; }
    void sleep(std::uint32_t ms) override {
        sleeps.push_back(ms);
        now += ms;
        if (onSleep) onSleep();
    }
    std::uint32_t now = 1000;
    std::vector<std::uint32_t> sleeps;
    std::function<void()> onSleep;
};

TEST(TableLocks, aByteIsLockedOnceAndReleasedWhenItsCountFallsToZero) {
    RecordingFile f;
    TableLocks locks(f, false);
    EXPECT_EQ(locks.lockByte(16), 0);
    EXPECT_EQ(locks.lockByte(16), 0);
    EXPECT_EQ(locks.holdCount(16), 2);
    EXPECT_EQ(f.take(), (Calls{"lock 16+1"}));
    EXPECT_EQ(locks.unlockByte(16), 0);
    EXPECT_EQ(f.take(), Calls{});
    EXPECT_EQ(locks.unlockByte(16), 0);
    EXPECT_EQ(f.take(), (Calls{"unlock 16+1"}));
    EXPECT_EQ(locks.unlockByte(16), -29); // not held
}

TEST(TableLocks, theWholeTableIsSplitAroundBytesAlreadyHeld) {
    RecordingFile f;
    TableLocks locks(f, false);
    ASSERT_EQ(locks.lockByte(564), 0); // a record
    ASSERT_EQ(locks.lockByte(16), 0);  // the header
    f.take();
    ASSERT_EQ(locks.lockWholeTable(), 0);
    EXPECT_EQ(f.take(), (Calls{"lock 0+16", "lock 17+547", call("lock", 565, kWholeTableLength - 565)}));
    // Inside the whole table, further byte locks only count.
    EXPECT_EQ(locks.lockByte(260), 0);
    EXPECT_EQ(locks.unlockByte(260), 0);
    ASSERT_EQ(locks.lockWholeTable(), 0);
    EXPECT_EQ(locks.unlockWholeTable(), 0);
    EXPECT_EQ(f.take(), Calls{});
    // The header's own lock, released inside the whole table, becomes part of it.
    EXPECT_EQ(locks.unlockByte(16), 0);
    EXPECT_EQ(f.take(), Calls{});
    EXPECT_EQ(locks.unlockWholeTable(), 0);
    EXPECT_EQ(f.take(), (Calls{"unlock 0+16", "unlock 17+547", call("unlock", 565, kWholeTableLength - 565),
                               "unlock 16+1"}));
    EXPECT_EQ(locks.holdCount(564), 1);
    EXPECT_EQ(locks.unlockByte(564), 0);
    EXPECT_EQ(f.take(), (Calls{"unlock 564+1"}));
}

TEST(TableLocks, aByteTakenInsideTheWholeTableKeepsItsLockAfterIt) {
    RecordingFile f;
    TableLocks locks(f, false);
    ASSERT_EQ(locks.lockWholeTable(), 0);
    ASSERT_EQ(locks.lockByte(16), 0);
    f.take();
    EXPECT_EQ(locks.unlockWholeTable(), 0);
    EXPECT_EQ(f.take(), (Calls{call("unlock", 0, kWholeTableLength), "lock 16+1"}));
    EXPECT_EQ(locks.unlockByte(16), 0);
    EXPECT_EQ(f.take(), (Calls{"unlock 16+1"}));
}

TEST(TableLocks, aWholeTableLockThatCannotBeHadReleasesThePiecesItTook) {
    RecordingFile f;
    f.busy = {{1000, 1}};
    TableLocks locks(f, false);
    ASSERT_EQ(locks.lockByte(16), 0);
    f.take();
    EXPECT_EQ(locks.lockWholeTable(), -28);
    EXPECT_EQ(f.take(), (Calls{"lock 0+16", "unlock 0+16"}));
    EXPECT_EQ(locks.wholeTableCount(), 0);
    EXPECT_EQ(locks.lockByte(1000), -28);
    EXPECT_EQ(locks.holdCount(1000), 0);
}

TEST(TableLocks, anExclusiveTableTakesNoSystemLocks) {
    RecordingFile f;
    f.busy = {{0, kWholeTableLength}};
    {
        TableLocks locks(f, true);
        EXPECT_EQ(locks.lockByte(16), 0);
        EXPECT_EQ(locks.lockWholeTable(), 0);
        EXPECT_EQ(locks.unlockWholeTable(), 0);
        EXPECT_EQ(locks.unlockByte(16), 0);
        EXPECT_EQ(locks.lockByte(400), 0);
    }
    EXPECT_EQ(f.calls, Calls{});
}

TEST(TableLocks, closingReleasesWhatIsStillHeld) {
    RecordingFile f;
    {
        TableLocks locks(f, false);
        ASSERT_EQ(locks.lockByte(16), 0);
        ASSERT_EQ(locks.lockByte(16), 0);
        f.take();
    }
    EXPECT_EQ(f.calls, (Calls{"unlock 16+1"}));
}

TEST(LockWait, aLockIsRetriedEvery20To39MillisecondsWhileTheWaitTimeLasts) {
    FakeClock clock;
    ScopedClock useClock(clock);
    RecordingFile f;
    f.busy = {{16, 1}};
    TableLocks locks(f, false);
    EXPECT_EQ(locks.lockByte(16), -28); // wait time 0: at once
    EXPECT_TRUE(clock.sleeps.empty());
    {
        table::ScopedLockWait wait(2000);
        EXPECT_EQ(table::lockWaitTime(), 2000u);
        EXPECT_EQ(locks.lockByte(16), -28);
    }
    EXPECT_EQ(table::lockWaitTime(), 0u);
    std::uint32_t total = 0;
    for (std::uint32_t ms : clock.sleeps) {
        EXPECT_GE(ms, 20u);
        EXPECT_LE(ms, 39u);
        total += ms;
    }
    EXPECT_GE(total, 2000u);
    EXPECT_LT(total, 2040u);
    // Freed by the other side after three waits, the lock is had.
    clock.sleeps.clear();
    clock.onSleep = [&] {
        if (clock.sleeps.size() == 3) f.busy.clear();
    };
    table::ScopedLockWait wait(2000);
    EXPECT_EQ(locks.lockByte(16), 0);
    EXPECT_EQ(clock.sleeps.size(), 3u);
}

// Two tables over one in-memory file stand for two processes sharing it.
class SharedTable : public ::testing::Test {
protected:
    void SetUp() override {
        CloseAllTables();
        ByteSet image = table::emptyFolderTableImage();
        memory.put("C:\\t.qtb", image);
        ASSERT_TRUE(OpenTable("C:\\t.qtb"));
        ASSERT_TRUE(AppendBlankRecord());
        other =
            memory.open("C:\\t.qtb", FileAccess::ReadWrite, FileSharing::DenyNone, FileCreation::OpenExisting)
                .file;
    }
    void TearDown() override { CloseAllTables(); }

    testing::MemoryFileSystem memory;
    ScopedFileSystem useMemory{memory};
    FakeClock clock;
    ScopedClock useClock{clock};
    std::unique_ptr<File> other;
};

TEST_F(SharedTable, recordCountWaitsForTheHeaderLockAndThenFails) {
    ASSERT_EQ(other->lock(16, 1), FileError::None);
    EXPECT_EQ(RecordCount(), 0);
    EXPECT_EQ(lastDatabaseError(), -28);
    EXPECT_GE(clock.now - 1000, 2000u);
    EXPECT_FALSE(AppendBlankRecord());
    EXPECT_EQ(lastDatabaseError(), -28);
    EXPECT_FALSE(SkipRecords());
    EXPECT_EQ(lastDatabaseError(), -28);
    EXPECT_EQ(table::lockWaitTime(), 0u);
    // Released while a count is waited for, the count comes through.
    clock.onSleep = [&] { other->unlock(16, 1); };
    EXPECT_EQ(RecordCount(), 1);
    EXPECT_EQ(lastDatabaseError(), 0);
}

TEST_F(SharedTable, fieldCommandsFailAtOnceOnALockedRecord) {
    ASSERT_EQ(other->lock(260, 1), FileError::None);
    const std::uint32_t start = clock.now;
    EXPECT_EQ(ReadField(1), Value(Text()));
    EXPECT_EQ(lastDatabaseError(), -28);
    EXPECT_FALSE(WriteField(1, "x"));
    EXPECT_EQ(lastDatabaseError(), -28);
    EXPECT_FALSE(MarkDeleted());
    EXPECT_EQ(lastDatabaseError(), -28);
    EXPECT_FALSE(PackTable());
    EXPECT_EQ(lastDatabaseError(), -28);
    EXPECT_EQ(clock.now, start);
    // Other records and the header are free.
    EXPECT_EQ(RecordCount(), 1);
    EXPECT_TRUE(AppendBlankRecord());
    EXPECT_TRUE(WriteField(1, "second"));
}

TEST_F(SharedTable, commandsLeaveNoLockBehind) {
    ASSERT_TRUE(WriteField(1, "x"));
    ReadField(1);
    RecordCount();
    SkipRecords();
    FirstRecord();
    MarkDeleted();
    PackTable();
    MarkDeleted(true);
    AppendBlankRecord();
    EXPECT_EQ(other->lock(0, kWholeTableLength), FileError::None);
}

TEST_F(SharedTable, openingWaitsForTheHeaderLockBeforeRepairingTheSize) {
    CloseAllTables();
    ASSERT_EQ(other->lock(16, 1), FileError::None);
    // A record written, its count not yet: the file is longer than the count says.
    ByteSet& bytes = *memory.bytes("C:\\t.qtb");
    bytes.resize(260 + 304 * 2, 0);
    int sleeps = 0;
    clock.onSleep = [&] {
        if (++sleeps == 5) {
            bytes[16] = 2; // the appender writes its count and lets go
            other->unlock(16, 1);
        }
    };
    ASSERT_TRUE(OpenTable("C:\\t.qtb"));
    EXPECT_EQ(sleeps, 5);
    EXPECT_EQ(RecordCount(), 2);
    EXPECT_EQ(memory.bytes("C:\\t.qtb")->size(), 260u + 304 * 2);
}

TEST(SharedFile, anExclusiveTableTakesNoLocksAndAnotherOpenerIsRefused) {
    CloseAllTables();
    TempDir dir;
    const ByteSet image = table::emptyFolderTableImage();
    writeTestFile(dir.file("x.qtb"), std::string(image.begin(), image.end()));
    ASSERT_TRUE(OpenTable(dir.file("x.qtb"), Value(), Value(), Value(4)));
    ASSERT_TRUE(AppendBlankRecord());
    OpenedFile second = fileSystem().open(dir.file("x.qtb"), FileAccess::ReadWrite, FileSharing::DenyNone,
                                          FileCreation::OpenExisting);
    EXPECT_EQ(second.error, FileError::SharingViolation);
    CloseAllTables();
}

TEST(SharedFile, locksBelongToTheTableNotToTheProcess) {
    CloseAllTables();
    TempDir dir;
    const ByteSet image = table::emptyFolderTableImage();
    writeTestFile(dir.file("x.qtb"), std::string(image.begin(), image.end()));
    ASSERT_TRUE(OpenTable(dir.file("x.qtb")));
    ASSERT_TRUE(AppendBlankRecord());
    OpenedFile raw = fileSystem().open(dir.file("x.qtb"), FileAccess::ReadWrite, FileSharing::DenyNone,
                                       FileCreation::OpenExisting);
    ASSERT_NE(raw.file, nullptr);
    ASSERT_EQ(raw.file->lock(260, 1), FileError::None);
    EXPECT_FALSE(WriteField(1, "x")); // a lock held through another open file of this process counts
    EXPECT_EQ(lastDatabaseError(), -28);
    ASSERT_EQ(raw.file->unlock(260, 1), FileError::None);
    // Closing another open file of the same table releases nothing the table holds.
    ASSERT_EQ(raw.file->lock(0, 16), FileError::None);
    OpenedFile third = fileSystem().open(dir.file("x.qtb"), FileAccess::ReadWrite, FileSharing::DenyNone,
                                         FileCreation::OpenExisting);
    third.file.reset();
    EXPECT_FALSE(PackTable());
    EXPECT_EQ(lastDatabaseError(), -28);
    CloseAllTables();
}

} // namespace
} // namespace glyvora
