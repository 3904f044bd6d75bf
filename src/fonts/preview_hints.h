#pragma once
// The hint of a preview label: the face name and the path of its font and, when the font file
// lacks characters of the sample text, a line naming them ("缺字（3）：慧 及 球"), so a box or a
// borrowed glyph in the preview can be told from the font's own.

#include "app/main_state.h"
#include "fontfile/missing_characters.h"

#include <span>

namespace glyvora::app {

Text previewLabelHint(MainState& state, const Text& face, const Text& path,
                      std::span<const fontfile::SampleCharacter> sample);

} // namespace glyvora::app
