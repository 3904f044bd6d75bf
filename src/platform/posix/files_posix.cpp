// POSIX files. Sharing modes are kept with flock(): an opener that denies nothing holds a shared
// flock, one that denies anything an exclusive one, so an exclusive open fails while the file is
// open elsewhere and a plain open fails while it is held exclusively. Byte-range locks are open
// file description locks (F_OFD_SETLK), owned by the open file and independent of flock().
// A file opened for a query takes no flock at all (see openForQuery).
#include "platform/files.h"
#include "platform/gbk.h"
#include "platform/posix/errors.h"
#include "platform/posix/native_path.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glyvora {

namespace {

// A read or write may move fewer bytes than asked, or be interrupted; the rest follows until all
// `count` bytes have moved. A call that moves nothing is the end of the file for a read, and for a
// write a disk that takes no more (`nothingMoved`), which would otherwise be asked again forever.
template <typename Transfer>
IoResult transferAll(std::size_t count, FileError nothingMoved, Transfer transfer) {
    IoResult result;
    while (result.bytes < count) {
        const ssize_t n = transfer(result.bytes);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.error = posix::fileErrorFromErrno(errno);
            return result;
        }
        if (n == 0) {
            result.error = nothingMoved;
            return result;
        }
        result.bytes += static_cast<std::size_t>(n);
    }
    return result;
}

OpenedFile failedOpen(FileError error) {
    OpenedFile result;
    result.error = error;
    return result;
}

// Closes what was opened but cannot be handed out.
OpenedFile failedOpen(int fd, FileError error) {
    ::close(fd);
    return failedOpen(error);
}

class PosixFile final : public File {
public:
    PosixFile(int fd, bool writable, std::optional<std::uint64_t> sizeAtOpen = std::nullopt)
        : fd_(fd), writable_(writable), sizeAtOpen_(sizeAtOpen) {}
    ~PosixFile() override { ::close(fd_); }

    IoResult readAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        auto* out = static_cast<char*>(buffer);
        return transferAll(count, FileError::None, [&](std::size_t done) {
            return ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        });
    }

    IoResult writeAt(std::uint64_t offset, const void* data, std::size_t count) override {
        const auto* in = static_cast<const char*>(data);
        return transferAll(count, FileError::DiskFull, [&](std::size_t done) {
            return ::pwrite(fd_, in + done, count - done, static_cast<off_t>(offset + done));
        });
    }

    std::optional<std::uint64_t> size() override {
        if (sizeAtOpen_) return sizeAtOpen_;
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return std::nullopt;
        return static_cast<std::uint64_t>(st.st_size);
    }

    FileError resize(std::uint64_t length) override {
        if (::ftruncate(fd_, static_cast<off_t>(length)) != 0) return posix::fileErrorFromErrno(errno);
        return FileError::None;
    }

    FileError lock(std::uint64_t offset, std::uint64_t length) override {
        return setLock(offset, length, true);
    }
    FileError unlock(std::uint64_t offset, std::uint64_t length) override {
        return setLock(offset, length, false);
    }

    FileError flush() override {
        while (::fsync(fd_) != 0) {
            if (errno == EINTR) continue;
            return posix::fileErrorFromErrno(errno);
        }
        return FileError::None;
    }

private:
    FileError setLock(std::uint64_t offset, std::uint64_t length, bool take) {
        struct flock fl {};
        fl.l_type = static_cast<short>(take ? (writable_ ? F_WRLCK : F_RDLCK) : F_UNLCK);
        fl.l_whence = SEEK_SET;
        fl.l_start = static_cast<off_t>(offset);
        fl.l_len = static_cast<off_t>(length);
        fl.l_pid = 0;
        while (::fcntl(fd_, F_OFD_SETLK, &fl) != 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EACCES) return FileError::LockViolation;
            return posix::fileErrorFromErrno(errno);
        }
        return FileError::None;
    }

    int fd_;
    bool writable_;
    std::optional<std::uint64_t> sizeAtOpen_; // set for a read-only query, which never resizes
};

int openOnce(const Text& native, int flags) {
    int fd;
    do {
        fd = ::open(native.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// The file by its UTF-8 name, or else by the program's bytes unchanged: a file another program
// stored under its GBK bytes still opens, and is written over rather than doubled. A new file gets
// the UTF-8 name. ASCII names take one call.
int openByName(const Text& path, int flags) {
    const Text bytes = posix::toSlashes(path);
    const Text converted = posix::namesToNative(bytes);
    if (converted == bytes) return openOnce(converted, flags);
    const int existing = flags & ~O_CREAT;
    int fd = openOnce(converted, existing);
    if (fd >= 0 || errno != ENOENT) return fd;
    fd = openOnce(bytes, existing);
    if (fd >= 0 || errno != ENOENT) return fd;
    if (flags & O_CREAT) return openOnce(converted, flags);
    errno = ENOENT;
    return -1;
}

// NTFS lists a directory in case-insensitive name order; listing the same way keeps walks
// deterministic.
bool ntfsOrder(const DirectoryEntry& a, const DirectoryEntry& b) {
    const std::size_t n = std::min(a.name.size(), b.name.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = gbk::foldCase(static_cast<unsigned char>(a.name[i]));
        const unsigned char y = gbk::foldCase(static_cast<unsigned char>(b.name[i]));
        if (x != y) return x < y;
    }
    if (a.name.size() != b.name.size()) return a.name.size() < b.name.size();
    return a.name < b.name;
}

// Whether a directory entry names a folder. readdir's type says so on most file systems; an
// unknown type, and a symbolic link, which counts as what it points to, take a stat.
bool isDirectoryEntry(DIR* dir, const dirent& e) {
    if (e.d_type == DT_DIR) return true;
    if (e.d_type != DT_UNKNOWN && e.d_type != DT_LNK) return false;
    struct stat st {};
    return ::fstatat(::dirfd(dir), e.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

// The size and last-write time of a file entry, looked up by the name the system gave; none when
// the file vanished or cannot be looked at.
std::optional<FileStamp> stampOf(DIR* dir, const dirent& e) {
    struct stat st {};
    if (::fstatat(::dirfd(dir), e.d_name, &st, 0) != 0) return std::nullopt;
    FileStamp stamp;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.lastWrite = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                      static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
    return stamp;
}

class PosixFileSystem final : public FileSystem {
public:
    OpenedFile openForQuery(const Text& path) override;
    OpenedFile open(const Text& path, FileAccess access, FileSharing sharing,
                    FileCreation creation) override {
        if (path.empty()) return failedOpen(FileError::NotFound);
        int flags = O_CLOEXEC;
        switch (access) {
        case FileAccess::Read:
            flags |= O_RDONLY;
            break;
        case FileAccess::Write:
            flags |= O_WRONLY;
            break;
        case FileAccess::ReadWrite:
            flags |= O_RDWR;
            break;
        }
        if (creation != FileCreation::OpenExisting) flags |= O_CREAT;
        const int fd = openByName(path, flags);
        if (fd < 0) return failedOpen(posix::fileErrorFromErrno(errno));
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) return failedOpen(fd, FileError::AccessDenied);
        const int mode = sharing == FileSharing::DenyNone ? LOCK_SH : LOCK_EX;
        if (::flock(fd, mode | LOCK_NB) != 0) return failedOpen(fd, FileError::SharingViolation);
        // Truncate only once the sharing check has passed, as CREATE_ALWAYS does.
        if (creation == FileCreation::CreateAlways && ::ftruncate(fd, 0) != 0)
            return failedOpen(fd, posix::fileErrorFromErrno(errno));
        OpenedFile result;
        result.file = std::make_unique<PosixFile>(fd, access != FileAccess::Read);
        return result;
    }

    std::vector<DirectoryEntry> find(const Text& pattern) override { return search(pattern, false); }
    std::vector<DirectoryEntry> findWithStamps(const Text& pattern) override { return search(pattern, true); }

    std::optional<FolderIdentity> folderIdentity(const Text& path) override {
        if (path.empty()) return std::nullopt;
        const int fd = openByName(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return std::nullopt;
        struct stat st {};
        const bool known = ::fstat(fd, &st) == 0;
        ::close(fd);
        if (!known) return std::nullopt;
        return FolderIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    }

    Text fullPath(const Text& path) override {
        if (path.empty()) return Text();
        // The names stay in the program's encoding: only the current directory comes from the
        // system.
        Text native = posix::toSlashes(path);
        if (native[0] != '/') {
            char cwd[PATH_MAX];
            if (!::getcwd(cwd, sizeof cwd)) return Text();
            native = posix::toSlashes(posix::fromNativePath(cwd)) + "/" + native;
        }
        // Normalise "." and ".." components and repeated separators, without touching the disk.
        std::vector<Text> parts;
        std::size_t i = 0;
        while (i <= native.size()) {
            const std::size_t next = std::min(native.find('/', i), native.size());
            const Text part = native.substr(i, next - i);
            if (part == "..") {
                if (!parts.empty()) parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            i = next + 1;
        }
        Text out;
        for (const Text& part : parts)
            out += "/" + part;
        if (out.empty()) out = "/";
        if (native.size() > 1 && native.back() == '/') out += "/";
        if (out == "//") out = "/";
        return posix::toBackslashes(out);
    }

    FileError replace(const Text& from, const Text& to) override {
        if (from.empty() || to.empty()) return FileError::NotFound;
        const Text target = posix::toNativePath(to);
        if (::rename(posix::toNativePath(from).c_str(), target.c_str()) != 0)
            return posix::fileErrorFromErrno(errno);
        syncDirectoryOf(target);
        return FileError::None;
    }

    FileError remove(const Text& path) override {
        if (path.empty()) return FileError::NotFound;
        if (::unlink(posix::toNativePath(path).c_str()) != 0) return posix::fileErrorFromErrno(errno);
        return FileError::None;
    }

private:
    // One directory search for both kinds, so the listing stays the same with or without stamps.
    static std::vector<DirectoryEntry> search(const Text& pattern, bool withStamps) {
        std::vector<DirectoryEntry> entries;
        // The mask is matched against the names in the program's encoding; only the directory
        // goes to the system.
        const Text slashed = posix::toSlashes(pattern);
        const std::size_t slash = slashed.rfind('/');
        const Text given =
            slash == Text::npos ? Text(".") : (slash == 0 ? Text("/") : slashed.substr(0, slash));
        const Text mask = slash == Text::npos ? slashed : slashed.substr(slash + 1);
        Text directory = posix::namesToNative(given);
        DIR* dir = ::opendir(directory.c_str());
        if (!dir && errno == ENOENT && directory != given) {
            directory = given; // a directory whose name is stored in the program's bytes
            dir = ::opendir(directory.c_str());
        }
        if (!dir) return entries;
        while (const dirent* e = ::readdir(dir)) {
            Text name = posix::fromNativeName(e->d_name);
            if (!matchesWildcard(mask, name)) continue;
            DirectoryEntry entry;
            // The entry is looked at by the name the system gave, whatever it converts to.
            entry.isDirectory = isDirectoryEntry(dir, *e);
            if (withStamps && !entry.isDirectory) entry.stamp = stampOf(dir, *e);
            entry.name = std::move(name);
            entries.push_back(std::move(entry));
        }
        ::closedir(dir);
        std::sort(entries.begin(), entries.end(), ntfsOrder);
        return entries;
    }

    // A rename is on the disk only once its directory is: without this a power cut can bring back
    // the old name. The rename itself has happened either way, so a failure here is not reported.
    static void syncDirectoryOf(const Text& nativePath) {
        const std::size_t slash = nativePath.rfind('/');
        const Text directory =
            slash == Text::npos ? Text(".") : (slash == 0 ? Text("/") : nativePath.substr(0, slash));
        const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return;
        ::fsync(fd);
        ::close(fd);
    }
};

// One open and one fstat, which both refuses a folder and gives the size. No flock: the query
// changes nothing, and the scan makes it on thousands of files one after another.
OpenedFile PosixFileSystem::openForQuery(const Text& path) {
    if (path.empty()) return failedOpen(FileError::NotFound);
    const int fd = openByName(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return failedOpen(posix::fileErrorFromErrno(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) return failedOpen(fd, posix::fileErrorFromErrno(errno));
    if (S_ISDIR(st.st_mode)) return failedOpen(fd, FileError::AccessDenied);
    OpenedFile result;
    result.file = std::make_unique<PosixFile>(fd, false, static_cast<std::uint64_t>(st.st_size));
    return result;
}

} // namespace

FileSystem& systemFileSystem() {
    static PosixFileSystem instance;
    return instance;
}

} // namespace glyvora
