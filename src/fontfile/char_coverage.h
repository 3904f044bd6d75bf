#pragma once
// The characters a font file holds, read from the file itself: the character map (cmap) of a
// TrueType or OpenType font, the first face of a collection, or the character range of a bitmap
// font (.fnt, or the first font of a .fon) in its character set.
//
// A coverage is a sorted list of disjoint ranges of code points, so a CJK font of tens of thousands
// of characters costs a few thousand ranges, and a lookup is a binary search.

#include "fontfile/font_bytes.h"
#include "platform/types.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace glyvora::fontfile {

// The code points first..last, both included.
struct CodePointRange {
    char32_t first = 0;
    char32_t last = 0;
    bool operator==(const CodePointRange&) const = default;
};

constexpr char32_t lastCodePoint = 0x10FFFF;

class CharCoverage {
public:
    CharCoverage() = default;
    // Any ranges, in any order: sorted, and overlapping or adjacent ones joined. Ranges whose first
    // is past their last are dropped, and code points past U+10FFFF cut off.
    explicit CharCoverage(std::vector<CodePointRange> ranges);

    bool holds(char32_t codePoint) const;
    std::span<const CodePointRange> ranges() const { return ranges_; }
    bool empty() const { return ranges_.empty(); }

private:
    std::vector<CodePointRange> ranges_;
};

// The characters of face `face` of the font in `bytes` (a face other than the first exists only in
// a collection); nothing when the bytes are no font of a kind read here or their character map
// cannot be read, which means the coverage is unknown, not empty.
std::optional<CharCoverage> readCharCoverage(FontBytes& bytes, std::uint32_t face = 0);

// The coverage of the first face of the font file at `path`; nothing when the file cannot be read
// or yields none.
std::optional<CharCoverage> charCoverageOf(const Text& path);

} // namespace glyvora::fontfile
