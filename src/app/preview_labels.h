#pragma once
// How many preview labels the main window has; a page of fonts is this many entries.

namespace glyvora::app {

// Preview labels 1..8.
inline constexpr int kPreviewLabels = 8;

} // namespace glyvora::app
