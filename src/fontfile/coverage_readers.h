#pragma once
// The readers behind readCharCoverage, one per file format. Each gives ranges in any order, which
// CharCoverage sorts and joins, or nothing when the coverage cannot be read.

#include "fontfile/char_coverage.h"

namespace glyvora::fontfile {

// An sfnt font whose table directory starts at `offset`; tables are addressed from the start of
// the file, as in a collection.
std::optional<std::vector<CodePointRange>> sfntCoverage(FontBytes& bytes, std::uint64_t offset);

// Face `face` of a collection.
std::optional<std::vector<CodePointRange>> collectionCoverage(FontBytes& bytes, std::uint32_t face);

// A .fnt font of `length` bytes at `offset`.
std::optional<std::vector<CodePointRange>> bitmapFontCoverage(FontBytes& bytes, std::uint64_t offset,
                                                              std::uint64_t length);

// A .fon file: its first font.
std::optional<std::vector<CodePointRange>> resourceFileCoverage(FontBytes& bytes);

} // namespace glyvora::fontfile
