#pragma once
// The fonts loaded into this process for the preview labels: a font file is added privately while
// a label shows it or still holds its face (a label past the end of a short page keeps the face it
// had, and draws a new sample text in it), and removed once no label holds it. A path shown on two
// labels is added once; every add is balanced by exactly one remove of the same path.

#include "app/preview_labels.h"
#include "platform/types.h"

#include <array>
#include <optional>
#include <vector>

namespace glyvora::app {

class LabelFonts {
public:
    // Label k (1..kPreviewLabels) holds the font at `path` from now on; it is added unless it is
    // loaded already. Called before the label's face is written, so the font exists when drawn.
    void hold(int k, const Text& path);
    // Removes every loaded font no label holds any more. Called after the labels' faces changed.
    void releaseUnheld();
    // Removes every loaded font (the exit): no label holds one afterwards.
    void releaseAll();
    // The paths loaded now, in the order they were added.
    const std::vector<Text>& loaded() const { return loaded_; }

private:
    bool held(const Text& path) const;

    std::array<std::optional<Text>, kPreviewLabels> held_;
    std::vector<Text> loaded_;
};

} // namespace glyvora::app
