// The characters of a bitmap or vector font in the Windows font format: the codes from its first to
// its last character, in the code page of its character set.
#include "fontfile/byte_reader.h"
#include "fontfile/coverage_readers.h"
#include "fontfile/face_name_readers.h"
#include "platform/codepage_legacy.h"

#include <algorithm>
#include <string>

namespace glyvora::fontfile {

namespace {

// The .fnt header as far as the break character: version (2), file size (4), copyright (60), the
// metrics, dfCharSet at 0x55, dfFirstChar at 0x5F and dfLastChar at 0x60.
constexpr std::size_t fntHeaderBytes = 0x63;
constexpr std::size_t charSetOffset = 0x55;
constexpr std::size_t firstCharOffset = 0x5F;
constexpr std::size_t lastCharOffset = 0x60;

constexpr unsigned symbolCodePage = 1;

// The code page of a character set, as Windows translates it; 0 when unknown (DEFAULT_CHARSET
// and MAC_CHARSET, whose fonts say nothing certain about their codes).
unsigned codePageOf(std::uint8_t charSet) {
    switch (charSet) {
    case 0:
        return 1252;
    case 2:
        return symbolCodePage;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

bool isDoubleByte(unsigned codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361;
}

} // namespace

std::optional<std::vector<CodePointRange>> bitmapFontCoverage(FontBytes& bytes, std::uint64_t offset,
                                                              std::uint64_t length) {
    if (length < fntHeaderBytes) return std::nullopt;
    const auto header = bytes.read(offset, fntHeaderBytes);
    if (!header) return std::nullopt;
    ByteReader h(*header);
    const std::uint16_t version = h.u16le(0);
    const std::uint32_t fontSize = h.u32le(2);
    const unsigned codePage = codePageOf(h.u8(charSetOffset));
    const unsigned first = h.u8(firstCharOffset);
    unsigned last = h.u8(lastCharOffset);
    if (version != 0x0200 && version != 0x0300) return std::nullopt;
    if (fontSize < fntHeaderBytes || fontSize > length || codePage == 0 || first > last) return std::nullopt;

    std::vector<CodePointRange> ranges;
    if (codePage == symbolCodePage) {
        // Symbol codes stand for themselves, and at U+F000 up as in a symbol TrueType font.
        ranges.push_back({first, last});
        ranges.push_back({0xF000 + first, 0xF000 + last});
        return ranges;
    }
    // A double-byte character set's font still draws single bytes only: those below the lead bytes.
    if (isDoubleByte(codePage)) {
        if (first >= 0x80) return ranges;
        last = std::min(last, 0x7Fu);
    }
    std::string codes;
    for (unsigned c = first; c <= last; ++c)
        codes.push_back(static_cast<char>(c));
    std::u16string units = codePageToUtf16(codePage, codes);
    // A single-byte code page gives one unit per byte, unless it composes a letter and the accent
    // after it into one character (as 1258 may); then each byte is converted on its own.
    if (units.size() != codes.size()) {
        units.clear();
        for (char code : codes) {
            const std::u16string unit = codePageToUtf16(codePage, std::string(1, code));
            units.push_back(unit.size() == 1 ? unit[0] : u'?');
        }
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t c = units[i];
        // A byte the code page does not define comes back as the substitute.
        if (c == u'?' && codes[i] != '?') continue;
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        ranges.push_back({c, c});
    }
    return ranges;
}

std::optional<std::vector<CodePointRange>> resourceFileCoverage(FontBytes& bytes) {
    const std::optional<FontResource> font = firstFontResource(bytes);
    if (!font) return std::nullopt;
    return bitmapFontCoverage(bytes, font->offset, font->length);
}

} // namespace glyvora::fontfile
