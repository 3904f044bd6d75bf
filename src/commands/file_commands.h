#pragma once
// File commands: whole files, wildcard existence checks, and files opened by number and read as
// text from a position kept per file number.

#include "platform/types.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace glyvora {

// The directory of the running executable without a trailing "\" (a drive root gives "C:").
Text ProgramDirectory();

// True when at least one file or directory matches the path, which may hold "*" and "?" in its
// last component.
bool FileExists(const Text& path);

// The whole file; empty when it cannot be read.
ByteSet ReadFileBytes(const Text& path);

// Creates or truncates the file, opened exclusively, and writes the parts one after another.
// False for an empty path or any file error.
bool WriteFileBytes(const Text& path, const std::vector<ByteSet>& parts);
template <typename... More>
bool WriteFileBytes(const Text& path, const ByteSet& first, const More&... more) {
    return WriteFileBytes(path, std::vector<ByteSet>{first, ByteSet(more)...});
}

// Modes: 1 read, 2 write, 3 read and write (the three open an existing file), 4 create or truncate
// for writing, 5 open or create for writing, 6 open or create for reading and writing.
inline constexpr std::int32_t kOpenRead = 1;
inline constexpr std::int32_t kOpenWrite = 2;
inline constexpr std::int32_t kOpenReadWrite = 3;
inline constexpr std::int32_t kOpenCreateWrite = 4;
inline constexpr std::int32_t kOpenAlwaysWrite = 5;
inline constexpr std::int32_t kOpenAlwaysReadWrite = 6;

// Sharing: what other openers may do meanwhile.
inline constexpr std::int32_t kShareDenyNone = 1;
inline constexpr std::int32_t kShareDenyRead = 2;
inline constexpr std::int32_t kShareDenyWrite = 3;
inline constexpr std::int32_t kShareExclusive = 4;

// Opens the file and returns its number (1 or above), 0 on failure, for a mode outside 1..6,
// sharing outside 1..4 or an empty path. The file position starts at 0.
std::int32_t OpenFile(const Text& path, std::int32_t mode = kOpenReadWrite,
                      std::int32_t sharing = kShareDenyNone);

// Closes the file; an unknown number is ignored.
void CloseFile(std::int32_t fileNumber);

// Reads up to `maximum` bytes (default: the file length, that is the rest of the file) from the
// file position. The text ends at the first byte 0 or 0x1A, and a lead byte directly before a 0 is
// dropped; the position is then left on that terminating byte, or after the bytes read when there
// is none. A file error, an empty file or a maximum below 1 gives an empty text; after a file
// error or with an empty file the position moves to the end of the file.
Text ReadFileText(std::int32_t fileNumber, std::optional<std::int32_t> maximum = std::nullopt);

} // namespace glyvora
