#pragma once
// A unit's font and the rules for writing one attribute of it (a font sub-field).

#include "commands/value.h"
#include "platform/types.h"

#include <cstdint>
#include <optional>

namespace glyvora {

// The attributes of a logical font, as the system's font descriptor holds them.
struct UnitFont {
    std::int32_t height = 0; // negative: character height in pixels; 0: the default size
    std::int32_t width = 0;
    std::int32_t escapement = 0; // tenths of a degree
    std::int32_t orientation = 0;
    std::int32_t weight = 0; // 0 default, 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charset = 1; // 1: the default character set, 134: GB2312
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    Text faceName; // at most 31 bytes; empty: the system's face for the charset

    friend bool operator==(const UnitFont&, const UnitFont&) = default;
};

// Size of the whole font as a byte set: the system's 60-byte ANSI font descriptor (five
// little-endian 32-bit fields, eight byte fields, a 32-byte zero-padded face name).
inline constexpr std::size_t kFontBytesSize = 60;
ByteSet fontToBytes(const UnitFont& font);
// Nothing for a byte set of the wrong size.
std::optional<UnitFont> fontFromBytes(const ByteSet& bytes);

// The face a name that is empty or longer than 31 bytes is replaced by.
Text fallbackFaceName();

// Writes one sub-field (0 escapement .. 6 face name) of `font`; false for an unknown sub-field.
// `dpiY` is the screen's vertical dots per inch, used by the point size.
bool writeFontField(UnitFont& font, int subField, const Value& value, int dpiY);

// Reads one sub-field back: escapement, bold (weight 700 or more), italic, underline, strike-out,
// points (from the height) and face name; an omitted value for an unknown sub-field.
Value readFontField(const UnitFont& font, int subField, int dpiY);

// Height of a font of `points` points on a screen of `dpiY`: -round(points * dpiY / 72), negative
// points counting as 0.
std::int32_t fontHeightForPoints(std::int64_t points, int dpiY);

} // namespace glyvora
