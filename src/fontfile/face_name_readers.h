#pragma once
// The readers behind readFaceName, one per file format. Each returns the name before it is cut to
// the length a logical font holds.

#include "fontfile/font_bytes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace glyvora::fontfile {

// An sfnt font (TrueType or CFF outlines) whose table directory starts at `offset`; tables are
// addressed from the start of the file, as in a collection.
std::u16string sfntFaceName(FontBytes& bytes, std::uint64_t offset, std::uint16_t language);

// A collection: its first font.
std::u16string collectionFaceName(FontBytes& bytes, std::uint16_t language);

// A .fon file: a 16-bit (NE) executable whose FONT resources are .fnt fonts; its first one.
std::u16string resourceFileFaceName(FontBytes& bytes);

// Where a .fon file keeps its first font: a .fnt of `length` bytes at `offset`, which the caller
// still has to check.
struct FontResource {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};
std::optional<FontResource> firstFontResource(FontBytes& bytes);

// A .fnt font of `length` bytes at `offset`.
std::u16string bitmapFontFaceName(FontBytes& bytes, std::uint64_t offset, std::uint64_t length);

} // namespace glyvora::fontfile
