#pragma once
// File systems for tests, put in front of the real one with ScopedFileSystem:
//   MemoryFileSystem  files held in memory, with byte-range locks between its open files;
//   FaultFileSystem   passes everything to another file system but makes one chosen call go
//                     wrong: a short read, a failed read, a write that stops half-way, a disk that
//                     is full from some write on, a failed cut, open, flush, replace or remove.

#include "platform/files.h"
#include "platform/forwarding_files.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace glyvora::testing {

class MemoryFileSystem final : public FileSystem {
public:
    struct Lock {
        const void* owner;
        std::uint64_t offset, length;
    };
    struct Node {
        ByteSet bytes;
        std::vector<Lock> locks;
    };

    OpenedFile open(const Text& path, FileAccess access, FileSharing, FileCreation creation) override {
        OpenedFile result;
        if (path.empty()) {
            result.error = FileError::NotFound;
            return result;
        }
        auto it = files_.find(path);
        if (it == files_.end()) {
            if (creation == FileCreation::OpenExisting) {
                result.error = FileError::NotFound;
                return result;
            }
            it = files_.emplace(path, std::make_shared<Node>()).first;
        }
        if (creation == FileCreation::CreateAlways) it->second->bytes.clear();
        result.file = std::make_unique<MemoryFile>(it->second, access != FileAccess::Read);
        return result;
    }
    std::vector<DirectoryEntry> find(const Text&) override { return {}; }
    Text fullPath(const Text& path) override {
        return path.find(':') != Text::npos ? path : "C:\\mem\\" + path;
    }
    FileError replace(const Text& from, const Text& to) override {
        auto it = files_.find(from);
        if (it == files_.end()) return FileError::NotFound;
        auto node = it->second;
        files_.erase(it);
        files_[to] = std::move(node);
        return FileError::None;
    }
    FileError remove(const Text& path) override {
        return files_.erase(path) ? FileError::None : FileError::NotFound;
    }

    void put(const Text& path, ByteSet bytes) {
        auto node = std::make_shared<Node>();
        node->bytes = std::move(bytes);
        files_[path] = node;
    }
    ByteSet* bytes(const Text& path) {
        auto it = files_.find(path);
        return it == files_.end() ? nullptr : &it->second->bytes;
    }

private:
    class MemoryFile final : public File {
    public:
        MemoryFile(std::shared_ptr<Node> node, bool writable) : node_(std::move(node)), writable_(writable) {}
        ~MemoryFile() override {
            auto& locks = node_->locks;
            locks.erase(
                std::remove_if(locks.begin(), locks.end(), [this](const Lock& l) { return l.owner == this; }),
                locks.end());
        }
        IoResult readAt(std::uint64_t offset, void* buffer, std::size_t count) override {
            IoResult r;
            const ByteSet& b = node_->bytes;
            if (offset >= b.size()) return r;
            r.bytes = static_cast<std::size_t>(std::min<std::uint64_t>(count, b.size() - offset));
            std::memcpy(buffer, b.data() + offset, r.bytes);
            return r;
        }
        IoResult writeAt(std::uint64_t offset, const void* data, std::size_t count) override {
            IoResult r;
            if (!writable_) {
                r.error = FileError::AccessDenied;
                return r;
            }
            if (offset + count > (1u << 30)) {
                r.error = FileError::DiskFull;
                return r;
            }
            ByteSet& b = node_->bytes;
            if (b.size() < offset + count) b.resize(static_cast<std::size_t>(offset + count));
            std::memcpy(b.data() + offset, data, count);
            r.bytes = count;
            return r;
        }
        std::optional<std::uint64_t> size() override { return node_->bytes.size(); }
        FileError resize(std::uint64_t length) override {
            if (!writable_) return FileError::AccessDenied;
            if (length > (1u << 30)) return FileError::DiskFull;
            node_->bytes.resize(static_cast<std::size_t>(length));
            return FileError::None;
        }
        FileError lock(std::uint64_t offset, std::uint64_t length) override {
            for (const Lock& l : node_->locks)
                if (offset < l.offset + l.length && l.offset < offset + length)
                    return FileError::LockViolation;
            node_->locks.push_back({this, offset, length});
            return FileError::None;
        }
        FileError unlock(std::uint64_t offset, std::uint64_t length) override {
            auto& locks = node_->locks;
            for (auto it = locks.begin(); it != locks.end(); ++it) {
                if (it->owner == this && it->offset == offset && it->length == length) {
                    locks.erase(it);
                    return FileError::None;
                }
            }
            return FileError::LockViolation; // Windows unlocks only exactly the ranges it locked
        }
        FileError flush() override { return FileError::None; }

    private:
        std::shared_ptr<Node> node_;
        bool writable_;
    };

    std::map<Text, std::shared_ptr<Node>> files_;
};

enum class Fault {
    None,
    ShortRead,     // the chosen read gives half the bytes asked for, and no error
    FailedRead,    // the chosen read fails with a hardware error and gives nothing
    FailedWrite,   // the chosen write puts down the first half of its bytes, then fails
    DiskFull,      // from the chosen write on, nothing is written past the end of the file
    FailedResize,  // the chosen resize fails
    FailedOpen,    // the chosen open fails with a full directory and opens nothing
    FailedFlush,   // the chosen flush fails with a hardware error; what was written stays written
    FailedReplace, // the chosen replace fails and moves nothing
    FailedRemove,  // the chosen remove fails and deletes nothing
};

struct FaultPlan {
    Fault fault = Fault::None;
    int at = 0;               // 1-based, counting only the calls of the fault's kind
    bool removesFail = false; // every remove fails as well, whatever the chosen fault
    int reads = 0, writes = 0, resizes = 0, opens = 0, flushes = 0, replaces = 0, removes = 0;
    bool fired = false;

    // Counts a call of the given kind and tells whether it is the chosen one.
    bool chosen(Fault kind, int& count) {
        ++count;
        if (fault != kind || count != at) return false;
        fired = true;
        return true;
    }
};

class FaultFileSystem final : public ForwardingFileSystem {
public:
    FaultFileSystem(FileSystem& inner, FaultPlan& plan)
        : ForwardingFileSystem(inner), inner_(inner), plan_(plan) {}

    OpenedFile open(const Text& path, FileAccess access, FileSharing sharing,
                    FileCreation creation) override {
        if (plan_.chosen(Fault::FailedOpen, plan_.opens)) return {nullptr, FileError::DirectoryFull};
        OpenedFile opened = inner_.open(path, access, sharing, creation);
        if (opened.file) opened.file = std::make_unique<FaultFile>(std::move(opened.file), plan_);
        return opened;
    }
    FileError replace(const Text& from, const Text& to) override {
        if (plan_.chosen(Fault::FailedReplace, plan_.replaces)) return FileError::AccessDenied;
        return inner_.replace(from, to);
    }
    FileError remove(const Text& path) override {
        if (plan_.chosen(Fault::FailedRemove, plan_.removes) || plan_.removesFail)
            return FileError::SharingViolation;
        return inner_.remove(path);
    }

private:
    class FaultFile final : public File {
    public:
        FaultFile(std::unique_ptr<File> inner, FaultPlan& plan) : inner_(std::move(inner)), plan_(plan) {}
        IoResult readAt(std::uint64_t offset, void* buffer, std::size_t count) override {
            ++plan_.reads;
            const bool chosen = plan_.reads == plan_.at;
            if (chosen && plan_.fault == Fault::FailedRead) {
                plan_.fired = true;
                return IoResult{0, FileError::HardwareIO};
            }
            if (chosen && plan_.fault == Fault::ShortRead) {
                plan_.fired = true;
                return inner_->readAt(offset, buffer, count / 2);
            }
            return inner_->readAt(offset, buffer, count);
        }
        IoResult writeAt(std::uint64_t offset, const void* data, std::size_t count) override {
            ++plan_.writes;
            if (plan_.fault == Fault::FailedWrite && plan_.writes == plan_.at) {
                plan_.fired = true;
                IoResult r = inner_->writeAt(offset, data, count / 2);
                r.error = FileError::HardwareIO;
                return r;
            }
            if (plan_.fault == Fault::DiskFull && plan_.writes >= plan_.at) {
                const std::uint64_t size = inner_->size().value_or(0);
                if (offset + count > size) {
                    plan_.fired = true;
                    IoResult r;
                    if (offset < size)
                        r = inner_->writeAt(offset, data, static_cast<std::size_t>(size - offset));
                    r.error = FileError::DiskFull;
                    return r;
                }
            }
            return inner_->writeAt(offset, data, count);
        }
        std::optional<std::uint64_t> size() override { return inner_->size(); }
        FileError resize(std::uint64_t length) override {
            ++plan_.resizes;
            if (plan_.fault == Fault::FailedResize && plan_.resizes == plan_.at) {
                plan_.fired = true;
                return FileError::HardwareIO;
            }
            if (plan_.fault == Fault::DiskFull && plan_.writes >= plan_.at &&
                length > inner_->size().value_or(0)) {
                plan_.fired = true;
                return FileError::DiskFull;
            }
            return inner_->resize(length);
        }
        FileError lock(std::uint64_t offset, std::uint64_t length) override {
            return inner_->lock(offset, length);
        }
        FileError unlock(std::uint64_t offset, std::uint64_t length) override {
            return inner_->unlock(offset, length);
        }
        FileError flush() override {
            if (plan_.chosen(Fault::FailedFlush, plan_.flushes)) return FileError::HardwareIO;
            return inner_->flush();
        }

    private:
        std::unique_ptr<File> inner_;
        FaultPlan& plan_;
    };

    FileSystem& inner_;
    FaultPlan& plan_;
};

} // namespace glyvora::testing
