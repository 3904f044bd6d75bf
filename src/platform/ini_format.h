#pragma once
// The INI file as the Windows profile calls see it, so that the POSIX profile reads and writes the
// same bytes. What is here was learnt by probing Wine 8's GetPrivateProfileStringA and
// WritePrivateProfileStringA (code page 936); each rule says so where it is coded.
//
// The calls load the whole file into sections of keys on every call, change that model, and write
// the whole file again from it when something changed. So a rewrite normalises the file (CRLF line
// ends, no blank lines, no spaces around "=", no text after "]"), and a call that changes nothing
// leaves the bytes as they were.
//
// A file without a byte-order mark is ANSI text and is kept as bytes (Char = char); a file with a
// UTF-8 or UTF-16 mark is kept as UTF-16 units (Char = char16_t) and written back in its encoding.
// A "character" is one unit of the file's text: a double-byte GBK character counts once, as it does
// in the UTF-16 the system works in.

#include "platform/types.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace glyvora::ini {

template <typename Char>
using String = std::basic_string<Char>;

template <typename Char>
struct Key {
    String<Char> name;
    std::optional<String<Char>> value; // none for a line without "=" (a comment, for instance)
};

template <typename Char>
struct Section {
    String<Char> name; // empty for the keys before the first section header
    std::vector<Key<Char>> keys;
};

template <typename Char>
struct Document {
    using CharType = Char;
    std::vector<Section<Char>> sections;
};

// --- ANSI text as the system converts it ---------------------------------------------------------

// Code page 936 lead bytes are 0x81..0xFE; 0x80 and 0xFF are characters of their own.
inline bool isLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}
inline bool isTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// The file's ANSI text as it comes back from the code-page conversion: a lead byte and the byte
// after it make one character when that byte is a trail byte, and become a single "?" otherwise
// (the second byte is swallowed even when it is "=", a space or a line break), except that a zero
// byte is never swallowed; a lead byte at the very end becomes "?". Every lead byte of the result
// is followed by a trail byte.
Text normaliseFileText(std::string_view bytes);

// A text handed to the calls, converted the same way, except that a lead byte at the end is dropped
// and the text ends at its first zero byte.
Text normaliseArgument(std::string_view text);

// The longest prefix of whole characters of at most `maxBytes` bytes (normalised text).
Text cutToBytes(const Text& text, std::size_t maxBytes);

// --- The model and its operations ----------------------------------------------------------------

// A file's text (without byte-order mark) read into sections. The document starts with the nameless
// section, even when that stays empty (only a file of no bytes at all has no sections: decodeFile).
template <typename Char>
Document<Char> parse(std::basic_string_view<Char> text);

// The text the calls write for a document.
template <typename Char>
String<Char> serialise(const Document<Char>& document);

// The value of `key` in the first section called `section`, ignoring case and surrounding
// whitespace of both names; null when that section has no such key or the key has no "=".
template <typename Char>
const String<Char>* findValue(const Document<Char>& document, const String<Char>& section,
                              const String<Char>& key);

// Sets the key's value, creating the section at the end and the key at the end of its section when
// missing. True when the document changed.
template <typename Char>
bool setValue(Document<Char>& document, const String<Char>& section, const String<Char>& key,
              const String<Char>& value);

// Removes the first key called `key` from the sections called `section`; removes the first section
// called `section`. Names compare ignoring case but not whitespace. True when something went.
template <typename Char>
bool removeKey(Document<Char>& document, const String<Char>& section, const String<Char>& key);
template <typename Char>
bool removeSection(Document<Char>& document, const String<Char>& section);

// What a value (or the default) becomes in a buffer of `bufferSize` characters, quotes stripped.
template <typename Char>
String<Char> copyEntry(const String<Char>& value, std::size_t bufferSize);

// The default value as the read call takes it: trailing spaces removed, but never the first
// character.
Text trimDefault(const Text& value);

// --- Files ---------------------------------------------------------------------------------------

enum class Encoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct LoadedFile {
    Encoding encoding = Encoding::Ansi;
    std::variant<Document<char>, Document<char16_t>> document;
};

// A missing file and an empty one both give an ANSI document without sections.
LoadedFile decodeFile(std::string_view bytes);
Text encodeFile(const LoadedFile& file);

// An ANSI argument in the unit type of a document.
template <typename Char>
String<Char> fromAnsi(const Text& text);
template <typename Char>
Text toAnsi(const String<Char>& text);
template <>
String<char> fromAnsi<char>(const Text& text);
template <>
String<char16_t> fromAnsi<char16_t>(const Text& text);
template <>
Text toAnsi<char>(const String<char>& text);
template <>
Text toAnsi<char16_t>(const String<char16_t>& text);

} // namespace glyvora::ini
