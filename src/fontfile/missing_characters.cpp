#include "fontfile/missing_characters.h"

#include "platform/codepage_legacy.h"
#include "platform/gbk.h"

#include <algorithm>
#include <string>

namespace glyvora::fontfile {

namespace {

constexpr unsigned gbkCodePage = 936;

// Characters drawn without a glyph of their own: controls, the Unicode spaces, zero-width and
// direction marks, the byte-order mark.
bool needsNoGlyph(char32_t c) {
    if (c <= 0x20 || (c >= 0x7F && c <= 0xA0)) return true;
    if (c == 0x1680 || (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F)) return true;
    if (c >= 0x205F && c <= 0x206F) return true;
    return c == 0x3000 || c == 0xFEFF;
}

// The one code point of a character's UTF-16 units, its surrogates joined; nothing when the units
// are not exactly one character.
std::optional<char32_t> codePointOf(std::u16string_view units) {
    if (units.size() == 1) {
        const char32_t c = units[0];
        if (c >= 0xD800 && c <= 0xDFFF) return std::nullopt;
        return c;
    }
    if (units.size() == 2 && units[0] >= 0xD800 && units[0] <= 0xDBFF && units[1] >= 0xDC00 &&
        units[1] <= 0xDFFF)
        return 0x10000 + ((char32_t{units[0]} - 0xD800) << 10) + (char32_t{units[1]} - 0xDC00);
    return std::nullopt;
}

} // namespace

std::vector<SampleCharacter> sampleCharacters(const Text& sample) {
    std::vector<SampleCharacter> characters;
    for (std::size_t at = 0; at < sample.size();) {
        // 0x80 (the euro sign) is a character of its own in code page 936, never a lead byte.
        const std::size_t length = sample[at] == '\x80' ? 1 : gbk::charLength(sample, at);
        const std::string_view bytes(sample.data() + at, length);
        at += length;
        const std::optional<char32_t> c = codePointOf(codePageToUtf16(gbkCodePage, bytes));
        // A byte sequence that is no GBK character converts to the substitute.
        if (!c || (*c == u'?' && bytes != "?") || needsNoGlyph(*c)) continue;
        const bool seen = std::any_of(characters.begin(), characters.end(),
                                      [&](const SampleCharacter& s) { return s.codePoint == *c; });
        if (!seen) characters.push_back({*c, Text(bytes)});
    }
    return characters;
}

Text missingCharactersLine(std::span<const SampleCharacter> sample,
                           const std::optional<CharCoverage>& coverage) {
    if (!coverage) return Text();
    Text names;
    std::size_t count = 0;
    for (const SampleCharacter& c : sample) {
        if (coverage->holds(c.codePoint)) continue;
        if (count++ > 0) names += ' ';
        names += c.text;
    }
    if (count == 0) return Text();
    return "缺字（" + std::to_string(count) + "）：" + names;
}

} // namespace glyvora::fontfile
