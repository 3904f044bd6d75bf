#include "forms/values.h"

#include "commands/conversion.h"

#include <cmath>

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

Text valueToText(const Value& value) {
    return ToText(value);
}

ByteSet valueToBytes(const Value& value) {
    if (value.holds<ByteSet>()) return value.as<ByteSet>();
    if (value.holds<Text>()) {
        const Text& t = value.as<Text>();
        return ByteSet(t.begin(), t.end());
    }
    return ByteSet();
}

double textToNumber(const Text& text) {
    return ToNumber(Value(text));
}

} // namespace glyvora
