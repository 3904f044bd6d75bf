#include "platform/files.h"

namespace glyvora {

FileSystem& fileSystem() {
    if (FileSystem* replaced = ScopedFileSystem::replacement()) return *replaced;
    return systemFileSystem();
}

OpenedFile FileSystem::openForQuery(const Text& path) {
    return open(path, FileAccess::Read, FileSharing::DenyNone, FileCreation::OpenExisting);
}

std::optional<FolderIdentity> FileSystem::folderIdentity(const Text&) {
    return std::nullopt;
}

std::vector<DirectoryEntry> FileSystem::findWithStamps(const Text& pattern) {
    return find(pattern);
}

std::optional<ByteSet> readWholeFile(const Text& path) {
    OpenedFile opened =
        fileSystem().open(path, FileAccess::Read, FileSharing::DenyNone, FileCreation::OpenExisting);
    if (!opened.file) return std::nullopt;
    const std::optional<std::uint64_t> size = opened.file->size();
    if (!size || *size > SIZE_MAX) return std::nullopt;
    ByteSet bytes(static_cast<std::size_t>(*size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const IoResult r = opened.file->readAt(done, bytes.data() + done, bytes.size() - done);
        if (!r.ok()) return std::nullopt;
        if (r.bytes == 0) break; // the file shrank while being read
        done += r.bytes;
    }
    bytes.resize(done);
    return bytes;
}

bool writeWholeFile(const Text& path, const std::vector<ByteSet>& parts) {
    if (path.empty()) return false;
    OpenedFile opened =
        fileSystem().open(path, FileAccess::Write, FileSharing::Exclusive, FileCreation::CreateAlways);
    if (!opened.file) return false;
    std::uint64_t offset = 0;
    for (const ByteSet& part : parts) {
        if (part.empty()) continue;
        const IoResult r = opened.file->writeAt(offset, part.data(), part.size());
        if (!r.ok() || r.bytes != part.size()) return false;
        offset += part.size();
    }
    return true;
}

Text safeSaveTemporaryPath(const Text& path) {
    return path + ".new";
}

namespace {

bool writeParts(File& file, const std::vector<ByteSet>& parts) {
    std::uint64_t offset = 0;
    for (const ByteSet& part : parts) {
        if (part.empty()) continue;
        const IoResult r = file.writeAt(offset, part.data(), part.size());
        if (!r.ok() || r.bytes != part.size()) return false;
        offset += part.size();
    }
    return file.flush() == FileError::None;
}

} // namespace

bool writeWholeFileSafely(const Text& path, const std::vector<ByteSet>& parts) {
    if (path.empty()) return false;
    const Text temporary = safeSaveTemporaryPath(path);
    FileSystem& files = fileSystem();
    // CreateAlways truncates a temporary file that an earlier crash left behind.
    OpenedFile opened =
        files.open(temporary, FileAccess::Write, FileSharing::Exclusive, FileCreation::CreateAlways);
    if (!opened.file) return false;
    const bool written = writeParts(*opened.file, parts);
    // Closed before the replace: Windows does not move a file that is still open without delete
    // sharing.
    opened.file.reset();
    if (written && files.replace(temporary, path) == FileError::None) return true;
    files.remove(temporary);
    return false;
}

} // namespace glyvora
