#include "platform/files.h"
#include "platform/win32/errors.h"
#include "platform/win32/wide_path.h"

#include <algorithm>
#include <windows.h>

namespace glyvora {

namespace {

FileError lastFileError() {
    return win32::fileErrorFromWin32(GetLastError());
}

OVERLAPPED overlappedAt(std::uint64_t offset) {
    OVERLAPPED ov{};
    ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return ov;
}

class Win32File final : public File {
public:
    explicit Win32File(HANDLE handle) : handle_(handle) {}
    ~Win32File() override { CloseHandle(handle_); }

    IoResult readAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        IoResult result;
        auto* out = static_cast<char*>(buffer);
        while (result.bytes < count) {
            OVERLAPPED ov = overlappedAt(offset + result.bytes);
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - result.bytes, 1u << 30));
            DWORD got = 0;
            if (!ReadFile(handle_, out + result.bytes, chunk, &got, &ov)) {
                if (GetLastError() == ERROR_HANDLE_EOF) break;
                result.error = lastFileError();
                return result;
            }
            if (got == 0) break;
            result.bytes += got;
        }
        return result;
    }

    IoResult writeAt(std::uint64_t offset, const void* data, std::size_t count) override {
        IoResult result;
        const auto* in = static_cast<const char*>(data);
        while (result.bytes < count) {
            OVERLAPPED ov = overlappedAt(offset + result.bytes);
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - result.bytes, 1u << 30));
            DWORD put = 0;
            if (!WriteFile(handle_, in + result.bytes, chunk, &put, &ov)) {
                result.error = lastFileError();
                return result;
            }
            if (put == 0) {
                result.error = FileError::DiskFull;
                return result;
            }
            result.bytes += put;
        }
        return result;
    }

    std::optional<std::uint64_t> size() override {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(handle_, &size)) return std::nullopt;
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    FileError resize(std::uint64_t length) override {
        LARGE_INTEGER pos{};
        pos.QuadPart = static_cast<LONGLONG>(length);
        if (!SetFilePointerEx(handle_, pos, nullptr, FILE_BEGIN) || !SetEndOfFile(handle_))
            return lastFileError();
        return FileError::None;
    }

    FileError lock(std::uint64_t offset, std::uint64_t length) override {
        OVERLAPPED ov = overlappedAt(offset);
        if (!LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                        static_cast<DWORD>(length & 0xFFFFFFFFu), static_cast<DWORD>(length >> 32), &ov)) {
            const DWORD error = GetLastError();
            if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return FileError::LockViolation;
            return win32::fileErrorFromWin32(error);
        }
        return FileError::None;
    }

    FileError unlock(std::uint64_t offset, std::uint64_t length) override {
        OVERLAPPED ov = overlappedAt(offset);
        if (!UnlockFileEx(handle_, 0, static_cast<DWORD>(length & 0xFFFFFFFFu),
                          static_cast<DWORD>(length >> 32), &ov))
            return lastFileError();
        return FileError::None;
    }

    FileError flush() override {
        if (!FlushFileBuffers(handle_)) return lastFileError();
        return FileError::None;
    }

private:
    HANDLE handle_;
};

class Win32FileSystem final : public FileSystem {
public:
    OpenedFile open(const Text& path, FileAccess access, FileSharing sharing,
                    FileCreation creation) override {
        OpenedFile result;
        if (path.empty()) {
            result.error = FileError::NotFound;
            return result;
        }
        DWORD desired = 0;
        switch (access) {
        case FileAccess::Read:
            desired = GENERIC_READ;
            break;
        case FileAccess::Write:
            desired = GENERIC_WRITE;
            break;
        case FileAccess::ReadWrite:
            desired = GENERIC_READ | GENERIC_WRITE;
            break;
        }
        DWORD share = 0;
        switch (sharing) {
        case FileSharing::DenyNone:
            share = FILE_SHARE_READ | FILE_SHARE_WRITE;
            break;
        case FileSharing::DenyRead:
            share = FILE_SHARE_WRITE;
            break;
        case FileSharing::DenyWrite:
            share = FILE_SHARE_READ;
            break;
        case FileSharing::Exclusive:
            share = 0;
            break;
        }
        DWORD disposition = OPEN_EXISTING;
        if (creation == FileCreation::CreateAlways) disposition = CREATE_ALWAYS;
        if (creation == FileCreation::OpenAlways) disposition = OPEN_ALWAYS;
        HANDLE h = CreateFileW(win32::widePath(path).c_str(), desired, share, nullptr, disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            result.error = lastFileError();
            return result;
        }
        result.file = std::make_unique<Win32File>(h);
        return result;
    }

    std::vector<DirectoryEntry> find(const Text& pattern) override { return search(pattern, false); }
    std::vector<DirectoryEntry> findWithStamps(const Text& pattern) override { return search(pattern, true); }

    std::optional<FolderIdentity> folderIdentity(const Text& path) override {
        if (path.empty()) return std::nullopt;
        // A folder opens only with backup semantics; no access is asked for, only its information.
        HANDLE h = CreateFileW(win32::widePath(path).c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) return std::nullopt;
        BY_HANDLE_FILE_INFORMATION info{};
        const bool known = GetFileInformationByHandle(h, &info) != 0 &&
                           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        CloseHandle(h);
        if (!known) return std::nullopt;
        return FolderIdentity{info.dwVolumeSerialNumber,
                              (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    }

    Text fullPath(const Text& path) override {
        if (path.empty()) return Text();
        wchar_t buffer[MAX_PATH * 4];
        const DWORD capacity = sizeof buffer / sizeof buffer[0];
        const DWORD n = GetFullPathNameW(win32::widePath(path).c_str(), capacity, buffer, nullptr);
        if (n == 0 || n >= capacity) return Text();
        return win32::narrowPath(buffer, n);
    }

    FileError replace(const Text& from, const Text& to) override {
        if (from.empty() || to.empty()) return FileError::NotFound;
        if (!MoveFileExW(win32::widePath(from).c_str(), win32::widePath(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return lastFileError();
        return FileError::None;
    }

    FileError remove(const Text& path) override {
        if (path.empty()) return FileError::NotFound;
        if (!DeleteFileW(win32::widePath(path).c_str())) return lastFileError();
        return FileError::None;
    }

private:
    // One directory search for both kinds, so the listing stays the same with or without stamps.
    static std::vector<DirectoryEntry> search(const Text& pattern, bool withStamps) {
        std::vector<DirectoryEntry> entries;
        WIN32_FIND_DATAW data{};
        HANDLE h = FindFirstFileW(win32::widePath(pattern).c_str(), &data);
        if (h == INVALID_HANDLE_VALUE) return entries;
        do {
            DirectoryEntry entry;
            entry.name = win32::narrowPath(data.cFileName, wcsnlen(data.cFileName, MAX_PATH));
            entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            // The search already carries both: no file is opened for them.
            if (withStamps && !entry.isDirectory)
                entry.stamp = FileStamp{(std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                                        (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                            data.ftLastWriteTime.dwLowDateTime};
            entries.push_back(std::move(entry));
        } while (FindNextFileW(h, &data));
        FindClose(h);
        return entries;
    }
};

} // namespace

FileSystem& systemFileSystem() {
    static Win32FileSystem instance;
    return instance;
}

} // namespace glyvora
