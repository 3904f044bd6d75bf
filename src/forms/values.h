#pragma once
// Conversions of command values into the kinds the form layer's properties and commands take.

#include "commands/value.h"
#include "platform/types.h"

#include <cstdint>

namespace glyvora {

// Numbers truncated toward zero and held within the 32-bit range, booleans 0/1; anything else 0.
std::int32_t valueToInt(const Value& value);
// Booleans, and numbers other than 0; anything else false.
bool valueToBool(const Value& value);
// The value as text, as the command set's ToText turns it into one.
Text valueToText(const Value& value);
// A byte set as it is, a text as its bytes; anything else empty.
ByteSet valueToBytes(const Value& value);
// A text read as a number, as the command set's ToNumber reads it (full-width digits included);
// 0 when it does not read as one.
double textToNumber(const Text& text);

} // namespace glyvora
