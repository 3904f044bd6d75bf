#pragma once
// Two font files of one face name, as a collection gathered from many sources holds them: the real
// Liberation Sans of Debian's fonts-liberation (a family Wine also has installed) and an impostor,
// DejaVu Sans of fonts-dejavu-core whose names all say "Liberation Sans".

#include "fontfile/font_builder.h"
#include "fontfile/font_rename_writers.h"
#include "support/temp_dir.h"

#include <string>
#include <vector>

namespace glyvora::testing {

inline const Text kClashingFace = "Liberation Sans";

// Empty when the package is missing.
inline std::string realLiberationSans() {
    return readTestFile(packageFile("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"));
}

inline std::string impostorOfLiberationSans() {
    const std::string dejaVu = readTestFile(packageFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    const std::vector<std::uint8_t> renamed = fontfile::renameSfnt(
        {reinterpret_cast<const std::uint8_t*>(dejaVu.data()), dejaVu.size()}, 0, kClashingFace);
    return std::string(renamed.begin(), renamed.end());
}

} // namespace glyvora::testing
