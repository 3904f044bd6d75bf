#include "forms/values.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace glyvora {

std::int32_t valueToInt(const Value& value) {
    if (value.holds<bool>()) return value.as<bool>() ? 1 : 0;
    if (value.holds<std::int64_t>()) {
        const std::int64_t v = value.as<std::int64_t>();
        return static_cast<std::int32_t>(v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : v);
    }
    if (!value.isNumber()) return 0;
    const double d = std::trunc(value.number());
    if (std::isnan(d)) return 0;
    if (d >= 2147483647.0) return INT32_MAX;
    if (d <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(d);
}

bool valueToBool(const Value& value) {
    if (value.holds<bool>()) return value.as<bool>();
    if (value.isNumber()) return value.number() != 0;
    return false;
}

// TODO(merge): the command set's ToText is being written alongside; use it here once it lands.
// Until then texts, integers, booleans, byte sets and reals are converted locally.
Text valueToText(const Value& value) {
    if (value.holds<Text>()) return value.as<Text>();
    if (value.holds<bool>()) return value.as<bool>() ? "真" : "假";
    if (value.holds<std::uint8_t>()) return std::to_string(value.as<std::uint8_t>());
    if (value.holds<std::int16_t>()) return std::to_string(value.as<std::int16_t>());
    if (value.holds<std::int32_t>()) return std::to_string(value.as<std::int32_t>());
    if (value.holds<std::int64_t>()) return std::to_string(value.as<std::int64_t>());
    if (value.holds<ByteSet>()) {
        const ByteSet& bytes = value.as<ByteSet>();
        Text text;
        for (std::uint8_t b : bytes) {
            if (b == 0) break;
            text.push_back(static_cast<char>(b));
        }
        return text;
    }
    if (value.holds<float>() || value.holds<double>()) {
        char buffer[100];
        std::snprintf(buffer, sizeof buffer, value.holds<float>() ? "%.6g" : "%.13g", value.number());
        return buffer;
    }
    return Text();
}

ByteSet valueToBytes(const Value& value) {
    if (value.holds<ByteSet>()) return value.as<ByteSet>();
    if (value.holds<Text>()) {
        const Text& t = value.as<Text>();
        return ByteSet(t.begin(), t.end());
    }
    return ByteSet();
}

} // namespace glyvora

namespace glyvora {

// TODO(merge): the command set's ToNumber (full-width digits and all) replaces this once it lands.
double textToNumber(const Text& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    return end == begin ? 0 : v;
}

} // namespace glyvora
