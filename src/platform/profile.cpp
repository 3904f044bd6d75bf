// The profile calls: every call loads the whole file into the model of ini_format.h, as Wine's calls
// do, and a write puts the whole file back only when the model changed, through the safe save.
//
// Opening follows the system's calls: a file that is missing from an existing directory is an
// empty profile (a read gives the default, a write creates the file); any other failure to open it
// (a missing directory, a file held exclusively elsewhere, no permission) makes a read give the
// default as it was passed, quotes and all, and a write fail. A relative file name is taken
// relative to the current directory, not the Windows directory: the program always passes full
// paths.
#include "platform/profile.h"

#include "platform/files.h"
#include "platform/gbk.h"
#include "platform/ini_format.h"

#include <variant>

namespace glyvora {

namespace {

// A settings file is a few hundred bytes; anything beyond this bound is not read (and so never
// rewritten) rather than loaded into memory.
constexpr std::uint64_t kLargestProfile = 64u << 20;

// The directory part of a path, up to its last single-byte separator.
Text directoryOf(const Text& path) {
    std::size_t separator = Text::npos;
    for (std::size_t i = 0; i < path.size(); i += gbk::charLength(path, i))
        if (path[i] == '\\' || path[i] == '/') separator = i;
    return separator == Text::npos ? Text() : path.substr(0, separator);
}

bool isDirectory(const Text& path) {
    if (path.find_first_not_of("\\/") == Text::npos) return true; // the current directory, or the root
    for (const DirectoryEntry& entry : fileSystem().find(path))
        if (entry.isDirectory) return true;
    return false;
}

// The file's model, or nothing when it cannot be opened the way the call opens it.
std::optional<ini::LoadedFile> loadProfile(const Text& path, FileAccess access) {
    OpenedFile opened = fileSystem().open(path, access, FileSharing::DenyNone, FileCreation::OpenExisting);
    if (!opened.file) {
        if (opened.error == FileError::NotFound && isDirectory(directoryOf(path))) return ini::LoadedFile{};
        // Wine reads a directory given as the file as an empty profile, but cannot write it.
        if (access == FileAccess::Read && opened.error == FileError::AccessDenied && isDirectory(path))
            return ini::LoadedFile{};
        return std::nullopt;
    }
    const std::optional<std::uint64_t> size = opened.file->size();
    if (!size || *size > kLargestProfile) return std::nullopt;
    Text bytes(static_cast<std::size_t>(*size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const IoResult r = opened.file->readAt(done, bytes.data() + done, bytes.size() - done);
        if (!r.ok()) return std::nullopt;
        if (r.bytes == 0) break;
        done += r.bytes;
    }
    bytes.resize(done);
    return ini::decodeFile(bytes);
}

} // namespace

Text readProfileString(const Text& file, const Text& section, const Text& key, const Text& defaultValue,
                       std::size_t bufferSize) {
    if (bufferSize == 0) return Text();
    const Text path = ini::normaliseArgument(file);
    const Text sectionName = ini::normaliseArgument(section);
    const Text keyName = ini::normaliseArgument(key);
    const Text fallback = ini::trimDefault(ini::normaliseArgument(defaultValue));
    const std::optional<ini::LoadedFile> loaded = loadProfile(path, FileAccess::Read);
    if (!loaded) return ini::cutToBytes(fallback, bufferSize - 1);
    return std::visit(
        [&](const auto& document) {
            using Char = typename std::decay_t<decltype(document)>::CharType;
            const auto* value =
                ini::findValue(document, ini::fromAnsi<Char>(sectionName), ini::fromAnsi<Char>(keyName));
            const ini::String<Char> entry =
                ini::copyEntry(value ? *value : ini::fromAnsi<Char>(fallback), bufferSize);
            // The characters that fit are turned into ANSI bytes, as many whole ones as the buffer
            // holds with its terminating zero.
            return ini::cutToBytes(ini::toAnsi<Char>(entry), bufferSize - 1);
        },
        loaded->document);
}

bool writeProfileString(const Text& file, const Text& section, const std::optional<Text>& key,
                        const std::optional<Text>& value) {
    const Text path = ini::normaliseArgument(file);
    const Text sectionName = ini::normaliseArgument(section);
    std::optional<ini::LoadedFile> loaded = loadProfile(path, FileAccess::ReadWrite);
    if (!loaded) return false;
    const bool changed = std::visit(
        [&](auto& document) {
            using Char = typename std::decay_t<decltype(document)>::CharType;
            const ini::String<Char> s = ini::fromAnsi<Char>(sectionName);
            if (!key) return ini::removeSection(document, s);
            const ini::String<Char> k = ini::fromAnsi<Char>(ini::normaliseArgument(*key));
            if (!value) return ini::removeKey(document, s, k);
            return ini::setValue(document, s, k, ini::fromAnsi<Char>(ini::normaliseArgument(*value)));
        },
        loaded->document);
    if (!changed) return true;
    const Text bytes = ini::encodeFile(*loaded);
    return writeWholeFileSafely(path, {ByteSet(bytes.begin(), bytes.end())});
}

} // namespace glyvora
