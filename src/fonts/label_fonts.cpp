#include "fonts/label_fonts.h"

#include "platform/font_resources.h"

#include <algorithm>

namespace glyvora::app {

void LabelFonts::hold(int k, const Text& path) {
    if (k < 1 || k > kPreviewLabels) return;
    held_[static_cast<std::size_t>(k - 1)] = path;
    if (std::find(loaded_.begin(), loaded_.end(), path) != loaded_.end()) return;
    fontResources().addPrivate(path);
    loaded_.push_back(path);
}

bool LabelFonts::held(const Text& path) const {
    return std::any_of(held_.begin(), held_.end(),
                       [&](const std::optional<Text>& slot) { return slot && *slot == path; });
}

void LabelFonts::releaseUnheld() {
    std::vector<Text> kept;
    for (Text& path : loaded_) {
        if (held(path)) {
            kept.push_back(std::move(path));
        } else {
            fontResources().removePrivate(path);
        }
    }
    loaded_ = std::move(kept);
}

void LabelFonts::releaseAll() {
    held_.fill(std::nullopt);
    releaseUnheld();
}

} // namespace glyvora::app
