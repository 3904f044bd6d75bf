#pragma once
// Conversion commands: values to texts, numbers and byte sets.

#include "commands/value.h"
#include "platform/types.h"

#include <concepts>
#include <cstdint>
#include <vector>

namespace glyvora {

// Integers in decimal (a byte as unsigned), a float with "%.6g", a double with "%.13g", a boolean
// as "真" or "假", a date-time as "Y年M月D日" followed by the time of day ("h时m分s秒", "h时m分" when
// the seconds are 0, "h时" when minutes and seconds are 0, nothing at midnight), a byte set as its
// bytes up to the first zero byte, a text as itself. Anything else gives an empty text.
Text ToText(const Value& value);

// A text read as a decimal number once its full-width characters are made half-width (0 when it
// does not start with one); numbers widened; a boolean as 1 or 0; anything else 0.
double ToNumber(const Value& value);

// The largest integer not above x, where an x within 1e-12 of the next integer away from zero is
// first moved onto it (2.9999999999999 gives 3, -2.9999999999999 gives -3). Beyond the integer
// range the result stops at its ends; NaN gives 0.
std::int32_t IntegerPart(double x);

// A text's bytes without the terminating zero; a number's own bytes (4 for an integer, 8 for a
// double, ...); a boolean as its 32-bit integer; a date-time as its double; a byte set copied.
ByteSet ToBytes(const Value& value);
// The bytes of every element in order.
ByteSet ToBytes(const std::vector<Value>& elements);

// `count` zero bytes; a count of 0 or less gives an empty byte set.
ByteSet ZeroBytes(std::int32_t count);

// Bitwise OR of all arguments.
template <std::integral... Ints>
std::int32_t BitOr(Ints... values) {
    return static_cast<std::int32_t>((0u | ... | static_cast<std::uint32_t>(values)));
}

} // namespace glyvora
