#pragma once
// Byte-range locks between processes that share a table file, and the lock wait time.
//
// The locks are advisory: every process that uses the table takes them before it reads or writes
// what they guard, and nothing relies on the system refusing reads or writes inside a range locked
// by someone else (Wine does not refuse them; POSIX never does).

#include "platform/files.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace glyvora::table {

// The whole-table lock covers bytes 0 to 0x7FFFFFFE.
inline constexpr std::uint64_t kWholeTableLength = 0x7FFFFFFF;
// The lock wait time while the record count is being read.
inline constexpr std::uint32_t kRecordCountLockWait = 2000;

// Process-wide, in milliseconds; 0 unless raised.
std::uint32_t lockWaitTime();
void setLockWaitTime(std::uint32_t milliseconds);

// Raises the lock wait time to at least `milliseconds` for its lifetime.
class ScopedLockWait {
public:
    explicit ScopedLockWait(std::uint32_t milliseconds);
    ~ScopedLockWait();
    ScopedLockWait(const ScopedLockWait&) = delete;
    ScopedLockWait& operator=(const ScopedLockWait&) = delete;

private:
    std::uint32_t previous_;
};

// Runs `attempt` until it gives something other than a lock or sharing violation, or until the lock
// wait time has run out, sleeping 20 to 39 ms between attempts. With the wait time at 0 the first
// violation is final.
FileError retryWhileLocked(const std::function<FileError()>& attempt);

// The locks one open table holds, with their hold counts (see the state chart in table_locks.cpp).
class TableLocks {
public:
    // An exclusively opened table takes no system locks and counts as always holding the whole table.
    TableLocks(File& file, bool exclusive) : file_(&file), exclusive_(exclusive) {}
    ~TableLocks();
    TableLocks(const TableLocks&) = delete;
    TableLocks& operator=(const TableLocks&) = delete;

    // 0, or -28 when the lock cannot be had; -29 when a release fails.
    int lockByte(std::uint64_t offset);
    int unlockByte(std::uint64_t offset);
    int lockWholeTable();
    int unlockWholeTable();

    // Releases everything still held (the table is being closed).
    void releaseAll();

    int holdCount(std::uint64_t offset) const;
    int wholeTableCount() const { return wholeCount_; }

private:
    struct Range {
        std::uint64_t offset;
        std::uint64_t length;
    };
    struct HeldByte {
        std::uint64_t offset;
        int count;
        bool ownLock; // a system lock of this byte alone; false while the whole-table lock covers it
    };

    HeldByte* find(std::uint64_t offset);
    bool insideWholeRange(std::uint64_t offset) const { return offset < kWholeTableLength; }

    File* file_;
    bool exclusive_;
    std::vector<HeldByte> bytes_;
    int wholeCount_ = 0;
    std::vector<Range> wholePieces_; // the system locks that make up the whole-table lock
};

} // namespace glyvora::table
