#include "fontfile/char_coverage.h"

#include "fontfile/byte_reader.h"
#include "fontfile/coverage_readers.h"
#include "platform/files.h"

#include <algorithm>

namespace glyvora::fontfile {

namespace {

constexpr std::uint32_t trueTypeVersion = 0x00010000;
constexpr std::uint32_t cffVersion = 0x4F54544F;        // "OTTO"
constexpr std::uint32_t collectionVersion = 0x74746366; // "ttcf"

} // namespace

CharCoverage::CharCoverage(std::vector<CodePointRange> ranges) {
    std::erase_if(ranges,
                  [](const CodePointRange& r) { return r.first > r.last || r.first > lastCodePoint; });
    std::sort(ranges.begin(), ranges.end(),
              [](const CodePointRange& a, const CodePointRange& b) { return a.first < b.first; });
    for (CodePointRange r : ranges) {
        r.last = std::min(r.last, lastCodePoint);
        if (!ranges_.empty() && r.first <= ranges_.back().last + 1) {
            ranges_.back().last = std::max(ranges_.back().last, r.last);
        } else {
            ranges_.push_back(r);
        }
    }
    ranges_.shrink_to_fit();
}

bool CharCoverage::holds(char32_t codePoint) const {
    // The first range that ends at or after the code point holds it if it starts before it.
    const auto it = std::lower_bound(ranges_.begin(), ranges_.end(), codePoint,
                                     [](const CodePointRange& r, char32_t c) { return r.last < c; });
    return it != ranges_.end() && it->first <= codePoint;
}

std::optional<CharCoverage> readCharCoverage(FontBytes& bytes, std::uint32_t face) {
    const auto start = bytes.read(0, 4);
    if (!start) return std::nullopt;
    ByteReader r(*start);
    const std::uint32_t signature = r.u32be(0);
    const std::uint16_t fntVersion = r.u16le(0);
    std::optional<std::vector<CodePointRange>> ranges;
    if (signature == collectionVersion) {
        ranges = collectionCoverage(bytes, face);
    } else if (face != 0) {
        return std::nullopt;
    } else if (signature == trueTypeVersion || signature == cffVersion) {
        ranges = sfntCoverage(bytes, 0);
    } else if (r.u8(0) == 'M' && r.u8(1) == 'Z') {
        ranges = resourceFileCoverage(bytes);
    } else if (fntVersion == 0x0200 || fntVersion == 0x0300) {
        ranges = bitmapFontCoverage(bytes, 0, bytes.size());
    }
    if (!ranges) return std::nullopt;
    return CharCoverage(std::move(*ranges));
}

std::optional<CharCoverage> charCoverageOf(const Text& path) {
    OpenedFile opened = fileSystem().openForQuery(path);
    if (!opened.file) return std::nullopt;
    const std::optional<std::uint64_t> size = opened.file->size();
    if (!size) return std::nullopt;
    FileFontBytes bytes(*opened.file, *size);
    return readCharCoverage(bytes);
}

} // namespace glyvora::fontfile
