// Character coverage from untrusted font bytes: character maps of sfnt fonts and collections, and
// the character ranges of .fon and .fnt files; then the missing-characters line over it.
#include "fontfile/char_coverage.h"
#include "fontfile/missing_characters.h"

#include <cstdint>
#include <span>

namespace {

// Sorted, disjoint, not adjacent, inside Unicode: what every lookup relies on.
void checkRanges(const glyvora::fontfile::CharCoverage& coverage) {
    const auto ranges = coverage.ranges();
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        if (ranges[i].first > ranges[i].last || ranges[i].last > glyvora::fontfile::lastCodePoint)
            __builtin_trap();
        if (i > 0 && ranges[i - 1].last + 1 >= ranges[i].first) __builtin_trap();
        if (!coverage.holds(ranges[i].first) || !coverage.holds(ranges[i].last)) __builtin_trap();
        if (ranges[i].first > 0 && coverage.holds(ranges[i].first - 1)) __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto sample = glyvora::fontfile::sampleCharacters("Glyvora 字体预览 Ag");
    glyvora::fontfile::MemoryFontBytes bytes(std::span<const std::uint8_t>(data, size));
    for (std::uint32_t face : {0u, 1u}) {
        const auto coverage = glyvora::fontfile::readCharCoverage(bytes, face);
        if (!coverage) continue;
        checkRanges(*coverage);
        glyvora::fontfile::missingCharactersLine(sample, coverage);
    }
    return 0;
}
