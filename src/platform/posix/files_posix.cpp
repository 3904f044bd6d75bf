// POSIX files. Sharing modes are kept with flock(): an opener that denies nothing holds a shared
// flock, one that denies anything an exclusive one, so an exclusive open fails while the file is
// open elsewhere and a plain open fails while it is held exclusively. Byte-range locks are open
// file description locks (F_OFD_SETLK), owned by the open file and independent of flock().
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

class PosixFile final : public File {
public:
    PosixFile(int fd, bool writable) : fd_(fd), writable_(writable) {}
    ~PosixFile() override { ::close(fd_); }

    IoResult readAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        IoResult result;
        auto* out = static_cast<char*>(buffer);
        while (result.bytes < count) {
            const ssize_t n = ::pread(fd_, out + result.bytes, count - result.bytes,
                                      static_cast<off_t>(offset + result.bytes));
            if (n < 0) {
                if (errno == EINTR) continue;
                result.error = posix::fileErrorFromErrno(errno);
                return result;
            }
            if (n == 0) break;
            result.bytes += static_cast<std::size_t>(n);
        }
        return result;
    }

    IoResult writeAt(std::uint64_t offset, const void* data, std::size_t count) override {
        IoResult result;
        const auto* in = static_cast<const char*>(data);
        while (result.bytes < count) {
            const ssize_t n = ::pwrite(fd_, in + result.bytes, count - result.bytes,
                                       static_cast<off_t>(offset + result.bytes));
            if (n < 0) {
                if (errno == EINTR) continue;
                result.error = posix::fileErrorFromErrno(errno);
                return result;
            }
            result.bytes += static_cast<std::size_t>(n);
        }
        return result;
    }

    std::optional<std::uint64_t> size() override {
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
};

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

class PosixFileSystem final : public FileSystem {
public:
    OpenedFile open(const Text& path, FileAccess access, FileSharing sharing,
                    FileCreation creation) override {
        OpenedFile result;
        if (path.empty()) {
            result.error = FileError::NotFound;
            return result;
        }
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
        const Text native = posix::toNativePath(path);
        int fd;
        do {
            fd = ::open(native.c_str(), flags, 0666);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            result.error = posix::fileErrorFromErrno(errno);
            return result;
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            result.error = FileError::AccessDenied;
            return result;
        }
        const int mode = sharing == FileSharing::DenyNone ? LOCK_SH : LOCK_EX;
        if (::flock(fd, mode | LOCK_NB) != 0) {
            ::close(fd);
            result.error = FileError::SharingViolation;
            return result;
        }
        // Truncate only once the sharing check has passed, as CREATE_ALWAYS does.
        if (creation == FileCreation::CreateAlways && ::ftruncate(fd, 0) != 0) {
            result.error = posix::fileErrorFromErrno(errno);
            ::close(fd);
            return result;
        }
        result.file = std::make_unique<PosixFile>(fd, access != FileAccess::Read);
        return result;
    }

    std::vector<DirectoryEntry> find(const Text& pattern) override {
        std::vector<DirectoryEntry> entries;
        const Text native = posix::toNativePath(pattern);
        const std::size_t slash = native.rfind('/');
        const Text directory =
            slash == Text::npos ? Text(".") : (slash == 0 ? Text("/") : native.substr(0, slash));
        const Text mask = slash == Text::npos ? native : native.substr(slash + 1);
        DIR* dir = ::opendir(directory.c_str());
        if (!dir) return entries;
        while (const dirent* e = ::readdir(dir)) {
            const Text name = e->d_name;
            if (!matchesWildcard(mask, name)) continue;
            DirectoryEntry entry;
            entry.name = name;
            struct stat st {};
            const Text full = directory + "/" + name;
            entry.isDirectory = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            entries.push_back(std::move(entry));
        }
        ::closedir(dir);
        std::sort(entries.begin(), entries.end(), ntfsOrder);
        return entries;
    }

    Text fullPath(const Text& path) override {
        if (path.empty()) return Text();
        Text native = posix::toNativePath(path);
        if (native[0] != '/') {
            char cwd[PATH_MAX];
            if (!::getcwd(cwd, sizeof cwd)) return Text();
            native = Text(cwd) + "/" + native;
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
        return posix::fromNativePath(out);
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

} // namespace

FileSystem& systemFileSystem() {
    static PosixFileSystem instance;
    return instance;
}

} // namespace glyvora
