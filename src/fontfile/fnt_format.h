#pragma once
// What the readers and writers of the Windows font format agree on: the .fnt header fields they
// reach, and the parts of a .fon (a 16-bit NE executable) that lead to its FONT resources.

#include "fontfile/byte_reader.h"

#include <cstddef>
#include <cstdint>

namespace glyvora::fontfile {

// The .fnt header as far as the face-name offset: version (2), file size (4), copyright (60), and
// the metrics, with dfFace, the offset of the face name from the start of the font, at 0x69.
inline constexpr std::size_t fntHeaderBytes = 0x6D;
inline constexpr std::size_t fntFaceOffset = 0x69;

inline constexpr std::uint16_t fontResourceType = 0x8008; // RT_FONT with the integer-type bit
inline constexpr std::size_t neHeaderOffsetField = 0x3C;
inline constexpr std::size_t neHeaderBytes = 0x40;
inline constexpr std::size_t resourceTypeInfoBytes = 8;  // type, count, reserved
inline constexpr std::size_t resourceNameInfoBytes = 12; // offset, length, flags, id, reserved

// Walks the type blocks of a .fon's resource table (`table` starting at its alignment shift):
// `visit(type, count, at)` for each, `at` being where the block's `count` resource entries start,
// until `visit` returns false. Type blocks follow one another until a zero type; each one moves on
// by at least its own eight bytes, and the table's end stops the walk.
template <typename Visit>
void walkResourceTypes(ByteReader& table, Visit visit) {
    std::size_t at = 2;
    while (table.has(at, resourceTypeInfoBytes)) {
        const std::uint16_t type = table.u16le(at);
        const std::uint16_t count = table.u16le(at + 2);
        if (type == 0) return;
        at += resourceTypeInfoBytes;
        if (!visit(type, count, at)) return;
        at += std::size_t{count} * resourceNameInfoBytes;
    }
}

} // namespace glyvora::fontfile
