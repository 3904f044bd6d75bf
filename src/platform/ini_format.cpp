// The profile's reading and writing rules, as Wine 8 shows them (see ini_format.h). The parser takes
// any bytes: every loop advances, every index is checked against the end, and the model it builds
// is never larger than a few times the text.
#include "platform/ini_format.h"

#include "platform/codepage.h"

#include <algorithm>

namespace glyvora::ini {

namespace {

template <typename Char>
unsigned unitValue(Char c) {
    if constexpr (sizeof(Char) == 1)
        return static_cast<unsigned char>(c);
    else
        return static_cast<unsigned>(c);
}

// Units of the character at `pos`: a GBK lead byte takes the byte after it, a UTF-16 unit stands
// alone (the calls do not pair surrogates either).
template <typename Char>
std::size_t charLength(std::basic_string_view<Char> text, std::size_t pos) {
    if constexpr (sizeof(Char) == 1) {
        if (isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) return 2;
    }
    return 1;
}

// The calls' white space: tab, line feed, vertical tab, form feed, carriage return, space and the
// old end-of-file mark 0x1A. Nothing else counts, the full-width space included.
template <typename Char>
bool isSpace(Char c) {
    const unsigned u = unitValue(c);
    return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20;
}

template <typename Char>
unsigned foldCase(Char c) {
    const unsigned u = unitValue(c);
    return (u >= 'a' && u <= 'z') ? u - 'a' + 'A' : u;
}

// Names compare ignoring the case of ASCII letters only; a double-byte character (and any other
// letter: Greek, Cyrillic, full-width) must match exactly.
template <typename Char>
bool sameName(const String<Char>& a, const String<Char>& b) {
    if (a.size() != b.size()) return false;
    const std::basic_string_view<Char> view(a);
    std::size_t i = 0;
    while (i < a.size()) {
        const std::size_t n = charLength(view, i);
        if (n == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
        } else if (foldCase(a[i]) != foldCase(b[i])) {
            return false;
        }
        i += n;
    }
    return true;
}

// Names and values end at a zero byte: the model keeps them as C strings.
template <typename Char>
String<Char> untilZero(std::basic_string_view<Char> text) {
    const std::size_t zero = text.find(Char(0));
    return String<Char>(text.substr(0, zero));
}

template <typename Char>
String<Char> trimLeading(const String<Char>& text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    return text.substr(i);
}

// Trailing white space is never the second byte of a GBK character in normalised text, so the end
// can be trimmed byte by byte.
template <typename Char>
String<Char> trimBoth(const String<Char>& text) {
    String<Char> out = trimLeading(text);
    std::size_t end = out.size();
    while (end > 0 && isSpace(out[end - 1]))
        --end;
    out.resize(end);
    return out;
}

template <typename Char>
std::size_t countChars(const String<Char>& text) {
    const std::basic_string_view<Char> view(text);
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += charLength(view, i))
        ++count;
    return count;
}

// The first `count` characters.
template <typename Char>
String<Char> firstChars(const String<Char>& text, std::size_t count) {
    const std::basic_string_view<Char> view(text);
    std::size_t i = 0;
    while (i < text.size() && count > 0) {
        i += charLength(view, i);
        --count;
    }
    return text.substr(0, i);
}

// Start of the last character.
template <typename Char>
std::size_t lastCharStart(const String<Char>& text) {
    const std::basic_string_view<Char> view(text);
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); i += charLength(view, i))
        last = i;
    return last;
}

Text normaliseAnsi(std::string_view bytes, bool keepLoneLead) {
    Text out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (!isLeadByte(b)) {
            out += bytes[i++];
            continue;
        }
        if (i + 1 >= bytes.size()) {
            if (keepLoneLead) out += '?';
            ++i;
            continue;
        }
        const auto t = static_cast<unsigned char>(bytes[i + 1]);
        if (t == 0) {
            out += '?';
            ++i;
        } else if (isTrailByte(t)) {
            out += bytes[i];
            out += bytes[i + 1];
            i += 2;
        } else {
            out += '?';
            i += 2;
        }
    }
    return out;
}

} // namespace

Text normaliseFileText(std::string_view bytes) {
    return normaliseAnsi(bytes, true);
}

Text normaliseArgument(std::string_view text) {
    return normaliseAnsi(text.substr(0, text.find('\0')), false);
}

Text cutToBytes(const Text& text, std::size_t maxBytes) {
    const std::string_view view(text);
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n = charLength(view, i);
        if (n > maxBytes - i) break;
        i += n;
    }
    return text.substr(0, i);
}

// Reading: the file is cut into lines at every run of CR and LF bytes (so blank lines vanish), each
// line trimmed of white space, and
// - a line starting with "[" and holding a "]" heads a section named by what stands between the "["
//   and the last "]", trimmed; what follows the "]" is lost;
// - any other line is a key: the name is what stands before the first "=", trimmed, the value what
//   follows it, trimmed; a line without "=" is a key without value (comments are kept this way,
//   and so is a "[" line without "]");
// - a key with an empty name is dropped when the key before it in the section has an empty name
//   too;
// - a name is trimmed before it is cut at a zero byte, so "[fz\v\0x]" heads a section "fz\v". The
//   rewrite drops the zero and the next read trims the "\v": that section then comes first among
//   the "fz" sections and hides a later one a write went to. Wine's calls lose the value so too.
template <typename Char>
Document<Char> parse(std::basic_string_view<Char> text) {
    Document<Char> document;
    document.sections.emplace_back();
    bool hasPrevious = false;     // a key before this one in the current section
    bool previousUnnamed = false; // ... whose name is empty
    const std::size_t end = text.size();
    std::size_t pos = 0;
    while (pos < end) {
        std::size_t start = pos;
        while (pos < end && text[pos] != Char('\n') && text[pos] != Char('\r'))
            ++pos;
        std::size_t lineEnd = pos;
        while (pos < end && (text[pos] == Char('\n') || text[pos] == Char('\r')))
            ++pos;
        while (start < lineEnd && isSpace(text[start]))
            ++start;
        while (lineEnd > start && isSpace(text[lineEnd - 1]))
            --lineEnd;
        if (start >= lineEnd) continue;
        const std::basic_string_view<Char> line = text.substr(start, lineEnd - start);

        if (line[0] == Char('[')) {
            std::size_t close = std::basic_string_view<Char>::npos;
            for (std::size_t i = 0; i < line.size(); i += charLength(line, i))
                if (line[i] == Char(']')) close = i;
            if (close != std::basic_string_view<Char>::npos) {
                std::size_t nameStart = 1, nameEnd = close;
                while (nameStart < nameEnd && isSpace(line[nameStart]))
                    ++nameStart;
                while (nameEnd > nameStart && isSpace(line[nameEnd - 1]))
                    --nameEnd;
                Section<Char> section;
                section.name = untilZero(line.substr(nameStart, nameEnd - nameStart));
                document.sections.push_back(std::move(section));
                hasPrevious = false;
                continue;
            }
        }

        std::size_t equals = std::basic_string_view<Char>::npos;
        for (std::size_t i = 0; i < line.size(); i += charLength(line, i)) {
            if (line[i] == Char('=')) {
                equals = i;
                break;
            }
        }
        Key<Char> key;
        std::size_t nameLength = line.size();
        if (equals != std::basic_string_view<Char>::npos) {
            nameLength = equals;
            while (nameLength > 0 && isSpace(line[nameLength - 1]))
                --nameLength;
            std::size_t valueStart = equals + 1;
            while (valueStart < line.size() && isSpace(line[valueStart]))
                ++valueStart;
            key.value = untilZero(line.substr(valueStart));
        }
        key.name = untilZero(line.substr(0, nameLength));
        // The test looks at the name's full length, but at the previous name as far as its zero.
        if (nameLength == 0 && hasPrevious && previousUnnamed) continue;
        hasPrevious = true;
        previousUnnamed = key.name.empty();
        document.sections.back().keys.push_back(std::move(key));
    }
    return document;
}

// Writing: every section but the nameless one as "[name]", every key as "name=value" or "name"
// alone, each line ended by CR LF; no blank lines, nothing else.
template <typename Char>
String<Char> serialise(const Document<Char>& document) {
    static constexpr Char lineEnd[] = {Char('\r'), Char('\n'), Char(0)};
    String<Char> out;
    for (const Section<Char>& section : document.sections) {
        if (!section.name.empty()) {
            out += Char('[');
            out += section.name;
            out += Char(']');
            out += lineEnd;
        }
        for (const Key<Char>& key : section.keys) {
            out += key.name;
            if (key.value) {
                out += Char('=');
                out += *key.value;
            }
            out += lineEnd;
        }
    }
    return out;
}

// The first section or key of a name, or the end.
template <typename Items, typename Name>
auto firstNamed(Items& items, const Name& name) {
    return std::find_if(items.begin(), items.end(),
                        [&](const auto& item) { return sameName(item.name, name); });
}

// Only the first section of the name is searched, even when a later one of the same name holds the
// key.
template <typename Char>
const String<Char>* findValue(const Document<Char>& document, const String<Char>& section,
                              const String<Char>& key) {
    const String<Char> sectionName = trimBoth(section);
    const String<Char> keyName = trimBoth(key);
    for (const Section<Char>& s : document.sections) {
        if (!sameName(s.name, sectionName)) continue;
        const auto k = firstNamed(s.keys, keyName);
        return k != s.keys.end() && k->value ? &*k->value : nullptr;
    }
    return nullptr;
}

// Names are looked up trimmed, as for reading, but a new section or key keeps the trailing white
// space of the name given (a later rewrite of the file trims it). The value loses its leading white
// space only; writing the value a key already has changes nothing.
template <typename Char>
bool setValue(Document<Char>& document, const String<Char>& section, const String<Char>& key,
              const String<Char>& value) {
    const String<Char> sectionName = trimBoth(section);
    const String<Char> keyName = trimBoth(key);
    Key<Char>* target = nullptr;
    for (Section<Char>& s : document.sections) {
        if (!sameName(s.name, sectionName)) continue;
        const auto k = firstNamed(s.keys, keyName);
        if (k != s.keys.end()) {
            target = &*k;
        } else {
            s.keys.push_back(Key<Char>{trimLeading(key), std::nullopt});
            target = &s.keys.back();
        }
        break;
    }
    if (!target) {
        Section<Char> created;
        created.name = trimLeading(section);
        created.keys.push_back(Key<Char>{trimLeading(key), std::nullopt});
        document.sections.push_back(std::move(created));
        target = &document.sections.back().keys.back();
    }
    const String<Char> newValue = trimLeading(value);
    if (target->value && *target->value == newValue) return false;
    target->value = newValue;
    return true;
}

// Removing a key goes on to later sections of the same name when the first lacks the key.
template <typename Char>
bool removeKey(Document<Char>& document, const String<Char>& section, const String<Char>& key) {
    for (Section<Char>& s : document.sections) {
        if (!sameName(s.name, section)) continue;
        const auto k = firstNamed(s.keys, key);
        if (k == s.keys.end()) continue;
        s.keys.erase(k);
        return true;
    }
    return false;
}

template <typename Char>
bool removeSection(Document<Char>& document, const String<Char>& section) {
    const auto s = firstNamed(document.sections, section);
    if (s == document.sections.end()) return false;
    document.sections.erase(s);
    return true;
}

// A value of two characters or more that starts and ends with the same quote (' or ") loses the
// opening quote; then at most bufferSize - 1 characters are copied, and when the buffer holds at
// least as many characters as remain, the last character copied is dropped: the closing quote when
// it fitted, otherwise the character before it (so "abcd" in a buffer of 5 gives abc, in one of 6
// abcd).
template <typename Char>
String<Char> copyEntry(const String<Char>& value, std::size_t bufferSize) {
    if (bufferSize == 0) return String<Char>();
    String<Char> text = value;
    bool quoted = false;
    if (!text.empty() && (text[0] == Char('\'') || text[0] == Char('"')) && text.size() >= 2) {
        const std::size_t last = lastCharStart(text);
        if (last > 0 && last == text.size() - 1 && text[last] == text[0]) {
            quoted = true;
            text.erase(0, 1);
        }
    }
    const std::size_t length = countChars(text);
    String<Char> copied = firstChars(text, std::min(bufferSize - 1, length));
    if (quoted && bufferSize >= length && !copied.empty()) copied.resize(lastCharStart(copied));
    return copied;
}

Text trimDefault(const Text& value) {
    std::size_t end = value.size();
    while (end > 1 && value[end - 1] == ' ')
        --end;
    return value.substr(0, end);
}

template <>
String<char> fromAnsi<char>(const Text& text) {
    return text;
}
template <>
String<char16_t> fromAnsi<char16_t>(const Text& text) {
    return ansiToUtf16(text);
}
template <>
Text toAnsi<char>(const String<char>& text) {
    return text;
}
template <>
Text toAnsi<char16_t>(const String<char16_t>& text) {
    return utf16ToAnsi(text);
}

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::u16string utf16Units(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a)));
    }
    return units;
}

Text utf16Bytes(const std::u16string& units, bool bigEndian) {
    Text bytes;
    bytes.reserve(units.size() * 2 + 2);
    const char16_t mark = 0xFEFF;
    for (const char16_t u : std::u16string(1, mark) + units) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

} // namespace

// Only a byte-order mark makes a file Unicode; without one it is ANSI, a UTF-8 text included. A
// UTF-16 file of an odd length loses its last byte.
LoadedFile decodeFile(std::string_view bytes) {
    LoadedFile file;
    if (bytes.empty()) return file;
    if (bytes.substr(0, 3) == kUtf8Mark) {
        file.encoding = Encoding::Utf8;
        file.document = parse<char16_t>(utf8ToUtf16(bytes.substr(3)));
    } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
               static_cast<unsigned char>(bytes[1]) == 0xFE) {
        file.encoding = Encoding::Utf16LE;
        file.document = parse<char16_t>(utf16Units(bytes.substr(2), false));
    } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
               static_cast<unsigned char>(bytes[1]) == 0xFF) {
        file.encoding = Encoding::Utf16BE;
        file.document = parse<char16_t>(utf16Units(bytes.substr(2), true));
    } else {
        file.document = parse<char>(normaliseFileText(bytes));
    }
    return file;
}

// A file is written back in the encoding it was read in, its mark included.
Text encodeFile(const LoadedFile& file) {
    if (const auto* ansi = std::get_if<Document<char>>(&file.document)) return serialise(*ansi);
    const std::u16string text = serialise(std::get<Document<char16_t>>(file.document));
    switch (file.encoding) {
    case Encoding::Utf16LE:
        return utf16Bytes(text, false);
    case Encoding::Utf16BE:
        return utf16Bytes(text, true);
    default:
        return Text(kUtf8Mark) + utf16ToUtf8(text);
    }
}

template Document<char> parse<char>(std::basic_string_view<char>);
template Document<char16_t> parse<char16_t>(std::basic_string_view<char16_t>);
template String<char> serialise<char>(const Document<char>&);
template String<char16_t> serialise<char16_t>(const Document<char16_t>&);
template const String<char>* findValue<char>(const Document<char>&, const String<char>&, const String<char>&);
template const String<char16_t>* findValue<char16_t>(const Document<char16_t>&, const String<char16_t>&,
                                                     const String<char16_t>&);
template bool setValue<char>(Document<char>&, const String<char>&, const String<char>&, const String<char>&);
template bool setValue<char16_t>(Document<char16_t>&, const String<char16_t>&, const String<char16_t>&,
                                 const String<char16_t>&);
template bool removeKey<char>(Document<char>&, const String<char>&, const String<char>&);
template bool removeKey<char16_t>(Document<char16_t>&, const String<char16_t>&, const String<char16_t>&);
template bool removeSection<char>(Document<char>&, const String<char>&);
template bool removeSection<char16_t>(Document<char16_t>&, const String<char16_t>&);
template String<char> copyEntry<char>(const String<char>&, std::size_t);
template String<char16_t> copyEntry<char16_t>(const String<char16_t>&, std::size_t);

} // namespace glyvora::ini
