#pragma once
// Files as the program sees them: binary files opened with an access and a sharing mode, read and
// written at explicit offsets, with byte-range locks; directory search; full-path resolution.
//
// Everything goes through a FileSystem so that tests can put a fault-injecting or recording one in
// front of the real one (ScopedFileSystem).

#include "platform/scoped_service.h"
#include "platform/types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace glyvora {

// Operating-system failures, numbered as the table-file engine reports them.
enum class FileError : int {
    None = 0,
    Generic = -1,
    NotFound = -3,
    BadPath = -4,
    TooManyOpenFiles = -5,
    AccessDenied = -6,
    InvalidFile = -7,
    RemoveCurrentDir = -8,
    DirectoryFull = -9,
    BadSeek = -10,
    HardwareIO = -11,
    SharingViolation = -12,
    LockViolation = -13,
    DiskFull = -14,
    EndOfFile = -15,
};

enum class FileAccess { Read, Write, ReadWrite };

// What other openers of the same file may do while this one holds it.
enum class FileSharing { DenyNone, DenyRead, DenyWrite, Exclusive };

enum class FileCreation {
    OpenExisting, // fails with NotFound when the file is missing
    CreateAlways, // creates or truncates
    OpenAlways,   // opens, or creates an empty file
};

struct IoResult {
    std::size_t bytes = 0; // bytes transferred; a read at or past the end gives a short count, no error
    FileError error = FileError::None;
    bool ok() const { return error == FileError::None; }
};

class File {
public:
    virtual ~File() = default;
    virtual IoResult readAt(std::uint64_t offset, void* buffer, std::size_t count) = 0;
    virtual IoResult writeAt(std::uint64_t offset, const void* data, std::size_t count) = 0;
    virtual std::optional<std::uint64_t> size() = 0;
    // Cuts or extends the file to `length` bytes.
    virtual FileError resize(std::uint64_t length) = 0;
    // An exclusive lock on [offset, offset + length) that does not wait: LockViolation when another
    // opener holds an overlapping range. Locks belong to this open file, not to the process, so
    // closing another File of the same path releases none of them.
    virtual FileError lock(std::uint64_t offset, std::uint64_t length) = 0;
    virtual FileError unlock(std::uint64_t offset, std::uint64_t length) = 0;
    // Waits until everything written so far is on the disk itself, not only in the system's cache.
    virtual FileError flush() = 0;
};

struct OpenedFile {
    std::unique_ptr<File> file; // null on failure
    FileError error = FileError::None;
};

// A file's size and last-write time as the directory search reports them: two equal stamps of one
// path mean the file is, for every practical purpose, the one seen before. The time is in the
// system's own units (100 ns ticks on Windows, nanoseconds on POSIX); only equality is meaningful.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

struct DirectoryEntry {
    Text name;
    bool isDirectory = false;
    // Filled by findWithStamps only, for files; empty where the system could not say.
    std::optional<FileStamp> stamp = std::nullopt;
};

// What tells one folder from every other on the machine, whatever path or link reaches it: the
// volume and the folder's number on it.
struct FolderIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual OpenedFile open(const Text& path, FileAccess access, FileSharing sharing,
                            FileCreation creation) = 0;
    // Opens an existing file for a short read-only query (a face name) and nothing else. Windows
    // opens it as open(Read, DenyNone, OpenExisting) does; POSIX neither claims nor checks the
    // sharing that other openers asked for, since a query changes nothing and holds the file only
    // for a moment, and its size() is the size the file had when opened. A folder fails with
    // AccessDenied and a missing file with NotFound, as with open.
    virtual OpenedFile openForQuery(const Text& path);
    // The entries matching a pattern such as "C:\fonts\*.*" ("*" and "?" in the last component), in
    // the order the directory gives them, "." and ".." included where the directory has them. A
    // missing or unreadable directory gives no entries.
    virtual std::vector<DirectoryEntry> find(const Text& pattern) = 0;
    // The same search with the stamp of every file entry filled where the system gives it with the
    // listing (Windows does in the same call; POSIX takes one stat a file). By default no stamps.
    virtual std::vector<DirectoryEntry> findWithStamps(const Text& pattern);
    // The identity of the folder a path leads to, through any links on the way; none where the
    // path is no folder or the system cannot tell.
    virtual std::optional<FolderIdentity> folderIdentity(const Text& path);
    // The absolute form of a path, resolved against the current directory; empty on failure.
    virtual Text fullPath(const Text& path) = 0;
    // Puts the file `from` in the place of `to` in one step: a reader sees either the old `to` or
    // the whole of `from`, never a mixture or nothing, even across a crash. Both must be on the
    // same volume; an existing `to` is replaced.
    virtual FileError replace(const Text& from, const Text& to) = 0;
    // Deletes a file (not a directory).
    virtual FileError remove(const Text& path) = 0;
};

// The platform's real file system.
FileSystem& systemFileSystem();

// The file system the program uses now: the real one unless a test has put another in front.
FileSystem& fileSystem();

using ScopedFileSystem = ScopedService<FileSystem>;

// Whole-file helpers over fileSystem().
std::optional<ByteSet> readWholeFile(const Text& path);
// Creates or truncates the file, opened exclusively, and writes the parts one after another.
bool writeWholeFile(const Text& path, const std::vector<ByteSet>& parts);
// Writes the parts to a temporary file beside `path` (path + ".new"), flushes it to the disk and
// only then replaces `path` with it, so a crash, a power cut or a full disk at any moment leaves
// either the old file or the new one whole. On failure the old file is untouched, the temporary
// file is removed where the system allows, and the result is false. A temporary file left by an
// earlier crash is overwritten.
bool writeWholeFileSafely(const Text& path, const std::vector<ByteSet>& parts);
// The temporary file writeWholeFileSafely uses for `path`.
Text safeSaveTemporaryPath(const Text& path);

} // namespace glyvora
