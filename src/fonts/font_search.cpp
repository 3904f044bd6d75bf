#include "fonts/font_search.h"

#include "app/main_window.h"
#include "commands/text.h"
#include "fonts/preview_pages.h"

#include <set>
#include <utility>

namespace glyvora::app {

namespace {

void blankPreviewLabels() {
    for (int k = 1; k <= kPreviewLabels; ++k)
        writeMain(mainwin::previewLabel(k), prop::caption, Value(Text()));
}

// The result keeps the first of every (face name, path) pair, so a font found by both passes
// stays where the name pass put it, while two files of one family both stay.
void dropRepeatedPairs(MainState& state) {
    std::set<std::pair<Text, Text>> seen;
    TextList faces, paths;
    for (std::size_t i = 0; i < state.search.resultPaths.size(); ++i) {
        if (!seen.emplace(state.search.resultFaceNames[i], state.search.resultPaths[i]).second) continue;
        faces.push_back(state.search.resultFaceNames[i]);
        paths.push_back(state.search.resultPaths[i]);
    }
    state.search.resultFaceNames = std::move(faces);
    state.search.resultPaths = std::move(paths);
}

// Entry i (1-based) of the loaded fonts.
void appendResult(MainState& state, int i) {
    state.search.resultFaceNames.push_back(MainState::entry(state.fonts.faceNames, i));
    state.search.resultPaths.push_back(MainState::entry(state.fonts.fontPaths, i));
}

// Back to page 1 of the loaded fonts.
void leaveSearch(MainState& state) {
    state.fonts.searchMode = PageSource::LoadedFonts;
    state.fonts.currentPage = 1;
    if (state.fonts.fontPaths.empty()) return;
    state.fonts.pageCount = pageCountFor(state.fonts.fontPaths.size());
    showPageLabel(state);
    fillPage(state, 1);
}

} // namespace

bool containsText(const Text& text, const Text& part) {
    return FindText(text, part, 1, false) != -1;
}

Text fileNameOf(const Text& path) {
    const std::vector<Text> parts = SplitText(path, "\\");
    return parts.empty() ? Text() : parts.back();
}

Text fileBaseNameOf(const Text& path) {
    const Text name = fileNameOf(path);
    const std::int32_t dot = FindText(name, ".");
    return dot == -1 ? name : name.substr(0, static_cast<std::size_t>(dot - 1));
}

void searchFonts(MainState& state) {
    // The loaded-font lists are being rebuilt.
    if (state.scan.scanRunning) return;
    // Every face name takes part, so the pass is waited for: the window waits that long only when
    // the search is clicked while the pass is still deriving names after a scan.
    state.faceNamePass.complete(state.fonts.faceNames);
    state.search.resultFaceNames.clear();
    state.search.resultPaths.clear();
    const Text wanted = readText(mainwin::编辑框_搜索字体内容, prop::content);
    if (wanted.empty()) {
        leaveSearch(state);
        return;
    }
    state.fonts.searchMode = PageSource::SearchResult;
    state.fonts.currentPage = 1;
    // An empty result has no pages, so the page buttons cannot leave it.
    state.fonts.pageCount = 0;
    const int n = static_cast<int>(state.fonts.fontPaths.size());
    if (n == 0) return;

    for (int i = 1; i <= n; ++i)
        if (containsText(MainState::entry(state.fonts.faceNames, i), wanted)) appendResult(state, i);
    for (int i = 1; i <= n; ++i)
        if (containsText(fileBaseNameOf(MainState::entry(state.fonts.fontPaths, i)), wanted))
            appendResult(state, i);
    dropRepeatedPairs(state);

    blankPreviewLabels();
    if (state.search.resultPaths.empty()) {
        writeMain(mainwin::标签_页次, prop::caption, Value("页次：0/0"));
        refreshPreviewHints(state);
        return;
    }
    state.fonts.pageCount = pageCountFor(state.search.resultPaths.size());
    showPageLabel(state);
    fillPage(state, 1);
}

Bindings fontSearchBindings(MainState& state) {
    MainState* s = &state;
    return {on(mainwin::按钮_搜索字体, event::clicked, [s] { searchFonts(*s); })};
}

} // namespace glyvora::app
