#include "forms/font.h"

#include "forms/values.h"

#include <algorithm>
#include <climits>

namespace glyvora {

namespace {

void putInt(ByteSet& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

std::int32_t getInt(const ByteSet& in, std::size_t off) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(in[off + i]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// Rounds a / b half away from zero, as the system's multiply-divide does.
std::int64_t roundedDivide(std::int64_t a, std::int64_t b) {
    const std::int64_t q = (a >= 0 ? a + b / 2 : a - b / 2) / b;
    return q;
}

} // namespace

ByteSet fontToBytes(const UnitFont& font) {
    ByteSet out;
    out.reserve(kFontBytesSize);
    putInt(out, font.height);
    putInt(out, font.width);
    putInt(out, font.escapement);
    putInt(out, font.orientation);
    putInt(out, font.weight);
    out.push_back(font.italic ? 1 : 0);
    out.push_back(font.underline ? 1 : 0);
    out.push_back(font.strikeOut ? 1 : 0);
    out.push_back(font.charset);
    out.push_back(font.outPrecision);
    out.push_back(font.clipPrecision);
    out.push_back(font.quality);
    out.push_back(font.pitchAndFamily);
    const std::size_t faceLength = std::min<std::size_t>(font.faceName.size(), 31);
    for (std::size_t i = 0; i < 32; ++i)
        out.push_back(i < faceLength ? static_cast<std::uint8_t>(font.faceName[i]) : 0);
    return out;
}

std::optional<UnitFont> fontFromBytes(const ByteSet& bytes) {
    if (bytes.size() != kFontBytesSize) return std::nullopt;
    UnitFont font;
    font.height = getInt(bytes, 0);
    font.width = getInt(bytes, 4);
    font.escapement = getInt(bytes, 8);
    font.orientation = getInt(bytes, 12);
    font.weight = getInt(bytes, 16);
    font.italic = bytes[20] != 0;
    font.underline = bytes[21] != 0;
    font.strikeOut = bytes[22] != 0;
    font.charset = bytes[23];
    font.outPrecision = bytes[24];
    font.clipPrecision = bytes[25];
    font.quality = bytes[26];
    font.pitchAndFamily = bytes[27];
    for (std::size_t i = 28; i < 28 + 31 && bytes[i] != 0; ++i)
        font.faceName.push_back(static_cast<char>(bytes[i]));
    return font;
}

Text fallbackFaceName() {
    return "宋体";
}

std::int32_t fontHeightForPoints(std::int64_t points, int dpiY) {
    if (points < 0) points = 0;
    points = std::min<std::int64_t>(points, INT_MAX);
    const std::int64_t pixels = roundedDivide(points * std::max(dpiY, 1), 72);
    return static_cast<std::int32_t>(-std::min<std::int64_t>(pixels, INT_MAX));
}

bool writeFontField(UnitFont& font, int subField, const Value& value, int dpiY) {
    switch (subField) {
    case 0:
        font.escapement = valueToInt(value) % 3600;
        return true;
    case 1:
        font.weight = valueToBool(value) ? 700 : 0;
        return true;
    case 2:
        font.italic = valueToBool(value);
        return true;
    case 3:
        font.underline = valueToBool(value);
        return true;
    case 4:
        font.strikeOut = valueToBool(value);
        return true;
    case 5:
        font.height = fontHeightForPoints(valueToInt(value), dpiY);
        return true;
    case 6: {
        Text face = valueToText(value);
        font.faceName = (face.empty() || face.size() > 31) ? fallbackFaceName() : std::move(face);
        return true;
    }
    default:
        return false;
    }
}

Value readFontField(const UnitFont& font, int subField, int dpiY) {
    switch (subField) {
    case 0:
        return Value(font.escapement);
    case 1:
        return Value(font.weight >= 700);
    case 2:
        return Value(font.italic);
    case 3:
        return Value(font.underline);
    case 4:
        return Value(font.strikeOut);
    case 5: {
        const std::int64_t height = font.height < 0 ? -static_cast<std::int64_t>(font.height) : font.height;
        return Value(static_cast<std::int32_t>(roundedDivide(height * 72, std::max(dpiY, 1))));
    }
    case 6:
        return Value(font.faceName);
    default:
        return Value();
    }
}

} // namespace glyvora
