#pragma once
// The characters of a sample text that a font lacks, as the line a preview's hint shows, for
// example "缺字（3）：慧 及 球".

#include "fontfile/char_coverage.h"
#include "platform/types.h"

#include <optional>
#include <span>
#include <vector>

namespace glyvora::fontfile {

// One character of a sample text: its code point and its bytes in the text.
struct SampleCharacter {
    char32_t codePoint = 0;
    Text text;
};

// The characters of a GBK sample text (converted with code page 936), each once, in the order they
// first appear. Spaces, controls and invisible format characters are left out: a font needs no
// glyph for them and its preview shows no gap. So is anything that does not convert.
std::vector<SampleCharacter> sampleCharacters(const Text& sample);

// "缺字（n）：" and the sample's characters the coverage lacks, separated by spaces; the empty text
// when it lacks none, or when the coverage is unknown.
Text missingCharactersLine(std::span<const SampleCharacter> sample,
                           const std::optional<CharCoverage>& coverage);

inline Text missingCharactersLine(const Text& sample, const std::optional<CharCoverage>& coverage) {
    return missingCharactersLine(sampleCharacters(sample), coverage);
}

} // namespace glyvora::fontfile
