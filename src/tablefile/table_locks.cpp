// The lock protocol of a shared table file.
//
// Three kinds of lock, each an exclusive byte range taken without waiting and retried by the
// engine while the lock wait time lasts:
//   header lock        byte 16 (the record count), held while the record count and the next
//                      record ID are read or updated, and while an open repairs the file size;
//   record lock        the first byte of a record, held for one field read, field write,
//                      deletion mark or append;
//   whole-table lock   bytes 0 to 0x7FFFFFFE, held by a pack and by a conditional deletion mark.
// A process that appends holds the header lock from reading the record count until it has written
// the new one, so no other process can see (or cut off) a record whose count is not yet written.
//
// Hold counts, per table and per byte B:
//
//            lockByte: system lock of [B, B+1)
//   FREE ---------------------------------------> HELD(1, own)
//     ^                                             |  lockByte / unlockByte: count only
//     |          unlockByte at count 1:             v
//     +---------- system unlock of [B, B+1) ---- HELD(n, own)
//
//   NONE --lockWholeTable--> WHOLE(1): system locks of [0, 0x7FFFFFFF) split around every byte
//                            already HELD (those keep their own lock); WHOLE(n) counts only.
//   While WHOLE:
//     lockByte of a FREE byte   -> HELD(1, covered): no system call, the whole-table pieces cover
//                                  it (a second lock by the same opener fails on Windows, and on
//                                  POSIX its unlock would cut a hole into the whole-table lock);
//     unlockByte to 0, own      -> FREE, its own lock becomes one more whole-table piece;
//     unlockByte to 0, covered  -> FREE, no system call.
//   WHOLE(1) --unlockWholeTable--> NONE: every piece is released exactly as it was taken (Windows
//                            unlocks only whole locked regions); a byte still HELD(covered) then
//                            takes its own lock again.
//
// An exclusively opened table takes no system locks; every call only counts.
#include "tablefile/table_locks.h"

#include "platform/clock.h"

#include <algorithm>

namespace glyvora::table {

namespace {
std::uint32_t currentLockWait = 0;
} // namespace

std::uint32_t lockWaitTime() {
    return currentLockWait;
}
void setLockWaitTime(std::uint32_t milliseconds) {
    currentLockWait = milliseconds;
}

ScopedLockWait::ScopedLockWait(std::uint32_t milliseconds) : previous_(currentLockWait) {
    currentLockWait = std::max(currentLockWait, milliseconds);
}

ScopedLockWait::~ScopedLockWait() {
    currentLockWait = previous_;
}

FileError retryWhileLocked(const std::function<FileError()>& attempt) {
    const std::uint32_t start = clock().ticks();
    for (;;) {
        const FileError error = attempt();
        if (error != FileError::LockViolation && error != FileError::SharingViolation) return error;
        const std::uint32_t waited = clock().ticks() - start;
        if (waited >= lockWaitTime()) return error;
        clock().sleep(20 + clock().ticks() % 20);
    }
}

TableLocks::~TableLocks() {
    releaseAll();
}

TableLocks::HeldByte* TableLocks::find(std::uint64_t offset) {
    for (HeldByte& b : bytes_)
        if (b.offset == offset) return &b;
    return nullptr;
}

int TableLocks::holdCount(std::uint64_t offset) const {
    for (const HeldByte& b : bytes_)
        if (b.offset == offset) return b.count;
    return 0;
}

int TableLocks::lockByte(std::uint64_t offset) {
    if (HeldByte* held = find(offset)) {
        ++held->count;
        return 0;
    }
    const bool covered = exclusive_ || (wholeCount_ > 0 && insideWholeRange(offset));
    if (!covered) {
        const FileError error = retryWhileLocked([&] { return file_->lock(offset, 1); });
        if (error != FileError::None) return -28;
    }
    bytes_.push_back({offset, 1, !covered});
    return 0;
}

int TableLocks::unlockByte(std::uint64_t offset) {
    HeldByte* held = find(offset);
    if (!held) return -29;
    if (--held->count > 0) return 0;
    const bool ownLock = held->ownLock;
    bytes_.erase(bytes_.begin() + (held - bytes_.data()));
    if (!ownLock) return 0;
    if (wholeCount_ > 0 && insideWholeRange(offset)) {
        wholePieces_.push_back({offset, 1});
        return 0;
    }
    return file_->unlock(offset, 1) == FileError::None ? 0 : -29;
}

int TableLocks::lockWholeTable() {
    if (wholeCount_ > 0 || exclusive_) {
        ++wholeCount_;
        return 0;
    }
    std::vector<std::uint64_t> held;
    for (const HeldByte& b : bytes_)
        if (insideWholeRange(b.offset)) held.push_back(b.offset);
    std::sort(held.begin(), held.end());
    std::vector<Range> pieces;
    std::uint64_t from = 0;
    for (std::uint64_t b : held) {
        if (b > from) pieces.push_back({from, b - from});
        from = b + 1;
    }
    if (from < kWholeTableLength) pieces.push_back({from, kWholeTableLength - from});

    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Range piece = pieces[i];
        const FileError error = retryWhileLocked([&] { return file_->lock(piece.offset, piece.length); });
        if (error != FileError::None) {
            for (std::size_t j = 0; j < i; ++j)
                file_->unlock(pieces[j].offset, pieces[j].length);
            return -28;
        }
    }
    wholePieces_ = std::move(pieces);
    wholeCount_ = 1;
    return 0;
}

int TableLocks::unlockWholeTable() {
    if (wholeCount_ == 0) return -29;
    if (--wholeCount_ > 0 || exclusive_) return 0;
    int result = 0;
    for (const Range& piece : wholePieces_)
        if (file_->unlock(piece.offset, piece.length) != FileError::None) result = -29;
    wholePieces_.clear();
    for (HeldByte& b : bytes_) {
        if (b.ownLock) continue;
        if (file_->lock(b.offset, 1) != FileError::None) result = -29;
        b.ownLock = true;
    }
    return result;
}

void TableLocks::releaseAll() {
    if (!exclusive_) {
        for (const Range& piece : wholePieces_)
            file_->unlock(piece.offset, piece.length);
        for (const HeldByte& b : bytes_)
            if (b.ownLock) file_->unlock(b.offset, 1);
    }
    wholePieces_.clear();
    bytes_.clear();
    wholeCount_ = 0;
}

} // namespace glyvora::table
