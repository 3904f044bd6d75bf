// The profile calls over any bytes as the settings file, held in an in-memory file layer: two reads,
// a write that a read then finds, and the removal of a key and of a section. Every call loads the
// whole file and a write puts it back, so this target is the slower one; the model over the same
// bytes on its own is fuzz_ini.cpp's.
#include "platform/files.h"
#include "platform/ini_format.h"
#include "platform/profile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <variant>

namespace {

using namespace glyvora;

void check(bool condition) {
    if (!condition) std::abort();
}

// One file held in memory; every path names it, and every directory exists.
class MemoryFile final : public File {
public:
    explicit MemoryFile(std::string& bytes) : bytes_(bytes) {}
    IoResult readAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        IoResult r;
        if (offset >= bytes_.size()) return r;
        r.bytes = std::min<std::size_t>(count, bytes_.size() - offset);
        std::memcpy(buffer, bytes_.data() + offset, r.bytes);
        return r;
    }
    IoResult writeAt(std::uint64_t offset, const void* data, std::size_t count) override {
        if (offset + count > bytes_.size()) bytes_.resize(offset + count);
        std::memcpy(bytes_.data() + offset, data, count);
        return IoResult{count, FileError::None};
    }
    std::optional<std::uint64_t> size() override { return bytes_.size(); }
    FileError resize(std::uint64_t length) override {
        bytes_.resize(length);
        return FileError::None;
    }
    FileError lock(std::uint64_t, std::uint64_t) override { return FileError::None; }
    FileError unlock(std::uint64_t, std::uint64_t) override { return FileError::None; }
    FileError flush() override { return FileError::None; }

private:
    std::string& bytes_;
};

class MemoryFileSystem final : public FileSystem {
public:
    std::string bytes;
    bool exists = true;
    OpenedFile open(const Text&, FileAccess, FileSharing, FileCreation creation) override {
        if (!exists && creation == FileCreation::OpenExisting) return {nullptr, FileError::NotFound};
        if (creation == FileCreation::CreateAlways) bytes.clear();
        exists = true;
        return {std::make_unique<MemoryFile>(bytes), FileError::None};
    }
    std::vector<DirectoryEntry> find(const Text&) override { return {DirectoryEntry{"d", true}}; }
    Text fullPath(const Text& path) override { return path; }
    // Every path names the one file, so moving it onto itself leaves it as it is.
    FileError replace(const Text&, const Text&) override {
        return exists ? FileError::None : FileError::NotFound;
    }
    FileError remove(const Text&) override {
        if (!exists) return FileError::NotFound;
        bytes.clear();
        exists = false;
        return FileError::None;
    }
};

// A name the file cut at a zero byte may end in white space ("[fz\v\0x]" heads a section "fz\v").
// The rewrite drops the zero, and the next read trims the space, so that section becomes the first
// "fz" and hides the one the write went to: the system's calls lose the value the same way, so a
// read after a write only promises the value when no name ends so.
bool isProfileSpace(unsigned unit) {
    return (unit >= 0x09 && unit <= 0x0D) || unit == 0x1A || unit == 0x20;
}

template <typename Char>
bool hasNameEndingInSpace(const ini::Document<Char>& document) {
    const auto endsInSpace = [](const ini::String<Char>& name) {
        return !name.empty() && isProfileSpace(static_cast<std::make_unsigned_t<Char>>(name.back()));
    };
    for (const auto& section : document.sections) {
        if (endsInSpace(section.name)) return true;
        for (const auto& key : section.keys)
            if (endsInSpace(key.name)) return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const Text argument = ini::normaliseArgument(input.substr(0, 64));
    const ini::LoadedFile loaded = ini::decodeFile(input);

    // The calls themselves over the bytes as the file.
    MemoryFileSystem memory;
    memory.bytes = input;
    ScopedFileSystem scoped(memory);
    (void)readProfileString("m.ini", argument, "k", "'d'", 16);
    (void)readProfileString("m.ini", "s", argument, "", 10240);
    check(writeProfileString("m.ini", "fz", Text("k"), Text("v1")));
    const bool namesStay =
        std::visit([](const auto& document) { return !hasNameEndingInSpace(document); }, loaded.document);
    if (ini::decodeFile(memory.bytes).encoding == loaded.encoding && namesStay)
        check(readProfileString("m.ini", "fz", "k", "", 10240) == "v1");
    check(writeProfileString("m.ini", "fz", Text("k"), std::nullopt));
    check(writeProfileString("m.ini", argument, std::nullopt, std::nullopt));
    return 0;
}
