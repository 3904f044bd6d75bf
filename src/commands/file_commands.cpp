#include "commands/file_commands.h"

#include "platform/files.h"
#include "platform/gbk.h"
#include "platform/process.h"

#include <algorithm>
#include <map>
#include <memory>

namespace glyvora {

namespace {

struct NumberedFile {
    std::unique_ptr<File> file;
    std::uint64_t position = 0;
};

// The files opened by number. Process-wide, as the numbers handed out are.
std::map<std::int32_t, NumberedFile>& numberedFiles() {
    static std::map<std::int32_t, NumberedFile> files;
    return files;
}

// The lowest number not in use.
std::int32_t freeFileNumber() {
    std::int32_t number = 1;
    for (const auto& [used, file] : numberedFiles()) {
        if (used != number) break;
        ++number;
    }
    return number;
}

struct OpenRequest {
    FileAccess access;
    FileCreation creation;
};

std::optional<OpenRequest> openRequest(std::int32_t mode) {
    switch (mode) {
    case kOpenRead:
        return OpenRequest{FileAccess::Read, FileCreation::OpenExisting};
    case kOpenWrite:
        return OpenRequest{FileAccess::Write, FileCreation::OpenExisting};
    case kOpenReadWrite:
        return OpenRequest{FileAccess::ReadWrite, FileCreation::OpenExisting};
    case kOpenCreateWrite:
        return OpenRequest{FileAccess::Write, FileCreation::CreateAlways};
    case kOpenAlwaysWrite:
        return OpenRequest{FileAccess::Write, FileCreation::OpenAlways};
    case kOpenAlwaysReadWrite:
        return OpenRequest{FileAccess::ReadWrite, FileCreation::OpenAlways};
    default:
        return std::nullopt;
    }
}

std::optional<FileSharing> sharingMode(std::int32_t sharing) {
    switch (sharing) {
    case kShareDenyNone:
        return FileSharing::DenyNone;
    case kShareDenyRead:
        return FileSharing::DenyRead;
    case kShareDenyWrite:
        return FileSharing::DenyWrite;
    case kShareExclusive:
        return FileSharing::Exclusive;
    default:
        return std::nullopt;
    }
}

// Reads until `count` bytes or the end of the file; nullopt on a file error.
std::optional<ByteSet> readFrom(File& file, std::uint64_t position, std::size_t count) {
    ByteSet bytes(count);
    std::size_t done = 0;
    while (done < count) {
        const IoResult r = file.readAt(position + done, bytes.data() + done, count - done);
        if (!r.ok()) return std::nullopt;
        if (r.bytes == 0) break;
        done += r.bytes;
    }
    bytes.resize(done);
    return bytes;
}

// True when the text ends in the lead byte of a double-byte character that has lost its trail.
bool endsInLoneLeadByte(const Text& text) {
    std::size_t pos = 0;
    std::size_t last = 0;
    while (pos < text.size()) {
        last = pos;
        pos += gbk::charLength(text, pos);
    }
    return !text.empty() && last == text.size() - 1 &&
           gbk::isLeadByte(static_cast<unsigned char>(text[last]));
}

} // namespace

Text ProgramDirectory() {
    return programDirectory();
}

bool FileExists(const Text& path) {
    if (path.empty()) return false;
    return !fileSystem().find(path).empty();
}

ByteSet ReadFileBytes(const Text& path) {
    return readWholeFile(path).value_or(ByteSet());
}

bool WriteFileBytes(const Text& path, const std::vector<ByteSet>& parts) {
    return writeWholeFile(path, parts);
}

std::int32_t OpenFile(const Text& path, std::int32_t mode, std::int32_t sharing) {
    const std::optional<OpenRequest> request = openRequest(mode);
    const std::optional<FileSharing> share = sharingMode(sharing);
    if (!request || !share || path.empty()) return 0;
    OpenedFile opened = fileSystem().open(path, request->access, *share, request->creation);
    if (!opened.file) return 0;
    const std::int32_t number = freeFileNumber();
    numberedFiles()[number] = NumberedFile{std::move(opened.file), 0};
    return number;
}

void CloseFile(std::int32_t fileNumber) {
    numberedFiles().erase(fileNumber);
}

Text ReadFileText(std::int32_t fileNumber, std::optional<std::int32_t> maximum) {
    const auto found = numberedFiles().find(fileNumber);
    if (found == numberedFiles().end()) return Text();
    NumberedFile& numbered = found->second;

    const std::optional<std::uint64_t> size = numbered.file->size();
    if (!size) return Text();
    if (*size == 0) {
        numbered.position = 0;
        return Text();
    }
    if (maximum && *maximum < 1) return Text();

    // Never more than what is left of the file, whatever maximum was asked for.
    const std::uint64_t left = numbered.position < *size ? *size - numbered.position : 0;
    const std::uint64_t wanted = maximum ? static_cast<std::uint64_t>(*maximum) : *size;
    const auto count = static_cast<std::size_t>(std::min(wanted, left));
    const std::optional<ByteSet> bytes = readFrom(*numbered.file, numbered.position, count);
    if (!bytes) {
        numbered.position = *size;
        return Text();
    }

    const auto terminator =
        std::find_if(bytes->begin(), bytes->end(), [](std::uint8_t b) { return b == 0 || b == 0x1A; });
    Text text(bytes->begin(), terminator);
    if (terminator != bytes->end() && *terminator == 0 && endsInLoneLeadByte(text)) text.pop_back();
    numbered.position += static_cast<std::uint64_t>(terminator - bytes->begin());
    return text;
}

} // namespace glyvora
