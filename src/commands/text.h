#pragma once
// Text commands. Texts are measured and cut in bytes; every scan steps over GBK double-byte
// characters whole, so a match or a separator never begins on the second byte of a character.

#include "platform/types.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace glyvora {

// Number of bytes.
std::int32_t TextLength(const Text& text);

// The last min(count, length) bytes; a count of 0 or less gives an empty text.
Text RightText(const Text& text, std::int32_t count);

// 1-based byte position of the first occurrence of `needle` at or after `start`, or -1. A start
// below 1 counts as 1; one inside a double-byte character searches from the next character. An
// empty needle gives 1 when the searched part is not empty. Ignoring case folds ASCII letters only.
std::int32_t FindText(const Text& text, const Text& needle, std::int32_t start = 1, bool ignoreCase = false);

// Without leading and trailing spaces: the byte 0x20 and the full-width space A1 A1.
Text TrimSpaces(const Text& text);

// The elements between separators, in order. An empty text or a maximum count of 0 or less gives
// no elements, an empty separator the whole text as one. Empty elements between separators are
// kept; what follows the last separator is an element only when it is not empty. The scan stops
// once `maximumCount` elements have been found.
std::vector<Text> SplitText(const Text& text, const Text& separator = ",",
                            std::optional<std::int32_t> maximumCount = std::nullopt);

// `count` spaces; a count below 1 gives an empty text.
Text SpaceText(std::int32_t count);

} // namespace glyvora
