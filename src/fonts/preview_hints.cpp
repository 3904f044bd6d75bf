#include "fonts/preview_hints.h"

namespace glyvora::app {

namespace {

// Read once per file: a page turn costs a file read only for files no page has shown yet.
const std::optional<fontfile::CharCoverage>& coverageOf(MainState& state, const Text& path) {
    auto& cache = state.coverage.byPath;
    auto it = cache.find(path);
    if (it == cache.end()) it = cache.emplace(path, fontfile::charCoverageOf(path)).first;
    return it->second;
}

} // namespace

Text previewLabelHint(MainState& state, const Text& face, const Text& path,
                      std::span<const fontfile::SampleCharacter> sample) {
    Text hint = face + "\r\n" + path;
    const Text missing = fontfile::missingCharactersLine(sample, coverageOf(state, path));
    if (!missing.empty()) hint += "\r\n" + missing;
    return hint;
}

} // namespace glyvora::app
