#pragma once
// A file system that passes every call on to another one (the real one by default). File systems
// that watch or change a few calls (the tests' fault injection, the benchmark's counters) derive
// from it and override only those, so a call the interface gains reaches the inner file system
// without each of them forwarding it. Queries are left to the interface's own openForQuery, which
// opens through open(): a file system that changes open changes them too.

#include "platform/files.h"

namespace glyvora {

class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner = systemFileSystem()) : inner_(inner) {}

    OpenedFile open(const Text& path, FileAccess access, FileSharing sharing,
                    FileCreation creation) override {
        return inner_.open(path, access, sharing, creation);
    }
    std::vector<DirectoryEntry> find(const Text& pattern) override { return inner_.find(pattern); }
    std::vector<DirectoryEntry> findWithStamps(const Text& pattern) override {
        return inner_.findWithStamps(pattern);
    }
    std::optional<FolderIdentity> folderIdentity(const Text& path) override {
        return inner_.folderIdentity(path);
    }
    Text fullPath(const Text& path) override { return inner_.fullPath(path); }
    FileError replace(const Text& from, const Text& to) override { return inner_.replace(from, to); }
    FileError remove(const Text& path) override { return inner_.remove(path); }

protected:
    FileSystem& inner() { return inner_; }

private:
    FileSystem& inner_;
};

} // namespace glyvora
