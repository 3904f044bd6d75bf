#include "commands/conversion.h"

#include "commands/date_time.h"
#include "platform/gbk.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace glyvora {

namespace {

Text formatNumber(const char* format, double value) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    if (n < 0) return Text();
    return Text(buffer, std::min(static_cast<std::size_t>(n), sizeof buffer - 1));
}

Text dateTimeText(DateTime dateTime) {
    const CalendarTime t = calendarTime(dateTime);
    Text text = std::to_string(t.year) + "年" + std::to_string(t.month) + "月" + std::to_string(t.day) + "日";
    if (t.hour == 0 && t.minute == 0 && t.second == 0) return text;
    text += std::to_string(t.hour) + "时";
    if (t.minute == 0 && t.second == 0) return text;
    text += std::to_string(t.minute) + "分";
    if (t.second == 0) return text;
    return text + std::to_string(t.second) + "秒";
}

// Row A3 of GBK holds the full-width forms of ASCII 0x21..0x7E (A3 B0 is the full-width 0); A1 A1
// is the full-width space.
Text halfWidth(const Text& text) {
    Text out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = gbk::charLength(text, pos);
        const auto lead = static_cast<unsigned char>(text[pos]);
        const auto trail = length == 2 ? static_cast<unsigned char>(text[pos + 1]) : 0;
        if (length == 2 && lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
            out += static_cast<char>(trail - 0x80);
        else if (length == 2 && lead == 0xA1 && trail == 0xA1)
            out += ' ';
        else
            out.append(text, pos, length);
        pos += length;
    }
    return out;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The decimal number at the start of the text, after blanks: an optional sign, digits with an
// optional point, an optional exponent. No hexadecimal, no "inf" or "nan".
double readDecimal(const Text& text) {
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    const std::size_t start = pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    std::size_t digits = 0;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos, ++digits;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && isDigit(text[pos]))
            ++pos, ++digits;
    }
    if (digits == 0) return 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        if (exponent < text.size() && isDigit(text[exponent])) {
            pos = exponent;
            while (pos < text.size() && isDigit(text[pos]))
                ++pos;
        }
    }
    const Text number = text.substr(start, pos - start);
    return std::strtod(number.c_str(), nullptr);
}

template <typename T>
ByteSet bytesOf(T value) {
    ByteSet bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

} // namespace

Text ToText(const Value& value) {
    switch (value.type()) {
    case TypeCode::Byte:
        return std::to_string(static_cast<unsigned>(value.as<std::uint8_t>()));
    case TypeCode::Short:
        return std::to_string(value.as<std::int16_t>());
    case TypeCode::Integer:
        return std::to_string(value.as<std::int32_t>());
    case TypeCode::Long:
        return std::to_string(value.as<std::int64_t>());
    case TypeCode::Float:
        return formatNumber("%.6g", value.as<float>());
    case TypeCode::Double:
        return formatNumber("%.13g", value.as<double>());
    case TypeCode::Boolean:
        return value.as<bool>() ? "真" : "假";
    case TypeCode::DateTime:
        return dateTimeText(value.as<DateTime>());
    case TypeCode::Text:
        return value.as<Text>();
    case TypeCode::ByteSet: {
        const ByteSet& bytes = value.as<ByteSet>();
        Text text(bytes.begin(), bytes.end());
        return text.substr(0, text.find('\0'));
    }
    default:
        return Text();
    }
}

double ToNumber(const Value& value) {
    if (value.isNumber()) return value.number();
    if (value.holds<bool>()) return value.as<bool>() ? 1 : 0;
    if (value.holds<Text>()) return readDecimal(halfWidth(value.as<Text>()));
    return 0;
}

std::int32_t IntegerPart(double x) {
    if (std::isnan(x)) return 0;
    const double whole = std::trunc(x);
    if (std::fabs(x - whole) > 0.999999999999) x = x > 0 ? whole + 1 : whole - 1;
    const double floored = std::floor(x);
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    if (floored <= lowest) return lowest;
    if (floored >= highest) return highest;
    return static_cast<std::int32_t>(floored);
}

ByteSet ToBytes(const Value& value) {
    switch (value.type()) {
    case TypeCode::Byte:
        return bytesOf(value.as<std::uint8_t>());
    case TypeCode::Short:
        return bytesOf(value.as<std::int16_t>());
    case TypeCode::Integer:
        return bytesOf(value.as<std::int32_t>());
    case TypeCode::Long:
        return bytesOf(value.as<std::int64_t>());
    case TypeCode::Float:
        return bytesOf(value.as<float>());
    case TypeCode::Double:
        return bytesOf(value.as<double>());
    case TypeCode::Boolean:
        return bytesOf(static_cast<std::int32_t>(value.as<bool>() ? 1 : 0));
    case TypeCode::DateTime:
        return bytesOf(value.as<DateTime>().days);
    case TypeCode::Text: {
        const Text& text = value.as<Text>();
        return ByteSet(text.begin(), text.end());
    }
    case TypeCode::ByteSet:
        return value.as<ByteSet>();
    case TypeCode::SubprogramRef:
        return bytesOf(value.as<SubprogramRef>().address);
    default:
        return ByteSet();
    }
}

ByteSet ToBytes(const std::vector<Value>& elements) {
    ByteSet bytes;
    for (const Value& element : elements) {
        const ByteSet part = ToBytes(element);
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

ByteSet ZeroBytes(std::int32_t count) {
    if (count <= 0) return ByteSet();
    return ByteSet(static_cast<std::size_t>(count), 0);
}

} // namespace glyvora
