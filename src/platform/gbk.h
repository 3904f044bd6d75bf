#pragma once
// Stepping over GBK text: a byte of 0x80 or above starts a two-byte character, so scans take such a
// byte and the one after it together and a match never begins on a trail byte.

#include <cstddef>
#include <string_view>

namespace glyvora::gbk {

inline bool isLeadByte(unsigned char byte) {
    return byte >= 0x80;
}

// Length in bytes of the character starting at `pos` (1 or 2; 1 for a lead byte at the very end).
inline std::size_t charLength(std::string_view text, std::size_t pos) {
    if (isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) return 2;
    return 1;
}

// Case folding of one byte for comparisons that ignore case: only ASCII letters fold.
inline unsigned char foldCase(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// Multibyte-aware case-insensitive equality: ASCII letters fold, double-byte characters compare
// exactly (a trail byte is never folded).
bool equalsIgnoreCase(std::string_view a, std::string_view b);

} // namespace glyvora::gbk
