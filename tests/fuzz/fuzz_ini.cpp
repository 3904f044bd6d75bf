// The INI reader and writer over any bytes: the input is the settings file. Each input is read
// through the profile calls (over an in-memory file layer), changed and written back, and the
// model's promises are checked on the way: a value written is what a read then finds, normalised
// text never holds a lone lead byte, a cut never grows a text.
#include "platform/files.h"
#include "platform/ini_format.h"
#include "platform/profile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

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

void checkNormalised(const Text& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!ini::isLeadByte(static_cast<unsigned char>(text[i]))) continue;
        check(i + 1 < text.size() && ini::isTrailByte(static_cast<unsigned char>(text[i + 1])));
        ++i;
    }
}

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

// Names to try: fixed ones and the first section and key the document has.
template <typename Char>
void exerciseModel(ini::Document<Char> document, const Text& argument) {
    const ini::String<Char> name = ini::fromAnsi<Char>(ini::normaliseArgument(argument));
    std::vector<ini::String<Char>> sections = {name, ini::fromAnsi<Char>("s")};
    std::vector<ini::String<Char>> keys = {name, ini::fromAnsi<Char>("k")};
    for (const auto& section : document.sections) {
        sections.push_back(section.name);
        if (!section.keys.empty()) keys.push_back(section.keys.front().name);
        if (sections.size() > 4) break;
    }
    for (const auto& s : sections) {
        for (const auto& k : keys) {
            if (const auto* value = ini::findValue(document, s, k)) {
                for (std::size_t buffer : {0, 1, 2, 3, 5, 10240}) {
                    const auto copied = ini::copyEntry(*value, buffer);
                    check(copied.size() <= value->size());
                }
            }
        }
    }
    const ini::String<Char> fz = ini::fromAnsi<Char>("fz"), k = ini::fromAnsi<Char>("k"),
                            v = ini::fromAnsi<Char>("v");
    ini::setValue(document, fz, k, v);
    const auto* found = ini::findValue(document, fz, k);
    check(found && *found == v);
    check(!ini::setValue(document, fz, k, v));
    check(ini::removeKey(document, fz, k));
    ini::removeSection(document, sections.back());
    (void)ini::serialise(document);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    // The text rules on their own.
    const Text fileText = ini::normaliseFileText(input);
    checkNormalised(fileText);
    const Text argument = ini::normaliseArgument(input.substr(0, 64));
    checkNormalised(argument);
    for (std::size_t max : {std::size_t(0), std::size_t(1), std::size_t(7), fileText.size()}) {
        const Text cut = ini::cutToBytes(fileText, max);
        check(cut.size() <= max && fileText.compare(0, cut.size(), cut) == 0);
    }

    // The model, both for what the bytes decode to and for a rewrite of it.
    const ini::LoadedFile loaded = ini::decodeFile(input);
    std::visit([&](const auto& document) { exerciseModel(document, argument); }, loaded.document);
    // A rewrite may read differently (an ANSI file whose first key starts with FF FE reads as
    // UTF-16 afterwards, as it does for the system), but it must read.
    const ini::LoadedFile again = ini::decodeFile(ini::encodeFile(loaded));
    std::visit([&](const auto& document) { exerciseModel(document, argument); }, again.document);

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
