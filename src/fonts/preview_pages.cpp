#include "fonts/preview_pages.h"

#include "app/main_window.h"
#include "commands/conversion.h"
#include "fonts/preview_hints.h"
#include "forms/commands.h"

#include <cmath>

namespace glyvora::app {

namespace {

constexpr double kEpsilon = 1e-7;

const TextList& sourceFaceNames(const MainState& state) {
    return state.fonts.searchMode == PageSource::SearchResult ? state.search.resultFaceNames
                                                              : state.fonts.faceNames;
}
const TextList& sourcePaths(const MainState& state) {
    return state.fonts.searchMode == PageSource::SearchResult ? state.search.resultPaths
                                                              : state.fonts.fontPaths;
}

UnitId label(int k) {
    return mainwin::previewLabel(k);
}

Text sampleText() {
    return readText(mainwin::编辑框_内容, prop::content);
}

// The loaded fonts' names of entries first .. first + 7, given out by the face-name pass where it
// has not yet; a search result's names are real already.
void provideFaceNames(MainState& state, int firstEntry) {
    if (state.fonts.searchMode == PageSource::SearchResult) return;
    state.faceNamePass.provide(state.fonts.faceNames, firstEntry, firstEntry + kPreviewLabels - 1);
}

// The labels of entries i0 .. i0 + 7 of the page source: filled where there is an entry, blank
// past the end. Each filled label holds its font before its face is written, so the font is
// there when it is drawn; the fonts no label holds any more go afterwards.
void showEntries(MainState& state, int firstEntry) {
    provideFaceNames(state, firstEntry);
    const TextList& faces = sourceFaceNames(state);
    const TextList& paths = sourcePaths(state);
    const int entries = static_cast<int>(paths.size());
    const Text sample = sampleText();
    for (int k = 1; k <= kPreviewLabels; ++k) {
        const int i = firstEntry + k - 1;
        if (i >= 1 && i <= entries) {
            state.fonts.labelFonts.hold(k, MainState::entry(paths, i));
            writeMain(label(k), prop::caption, Value(sample));
            writeMain(label(k), prop::fontFile, Value(MainState::entry(paths, i)));
            writeMain(label(k), prop::font, Value(MainState::entry(faces, i)), fontField::faceName);
            state.fonts.pageFaceNames[static_cast<std::size_t>(k - 1)] = MainState::entry(faces, i);
            state.fonts.pagePaths[static_cast<std::size_t>(k - 1)] = MainState::entry(paths, i);
        } else {
            writeMain(label(k), prop::caption, Value(Text()));
        }
    }
    state.fonts.labelFonts.releaseUnheld();
}

// The face name and the path of a label's font, so the fonts of a page can be told apart without
// opening the menu, and the characters of the sample its file lacks.
void setLabelHint(int k, const Text& hint) {
    SetUnitHint(mainwin::window, label(k), hint);
}

// Loaded-font lists are rebuilt while a scan runs; paging waits for it.
bool listsBusy(const MainState& state) {
    return state.scan.scanRunning;
}

} // namespace

int pageCountFor(std::size_t entries) {
    constexpr std::size_t perPage = kPreviewLabels;
    return static_cast<int>((entries + perPage - 1) / perPage);
}

void fillPage(MainState& state, int firstEntry) {
    showEntries(state, firstEntry);
    refreshPreviewHints(state);
}

void regularStyleFixUp(MainState&) {
    if (readInteger(mainwin::组合框_字体样式, prop::selection) != 0) return;
    for (int k = 1; k <= kPreviewLabels; ++k)
        if (!readText(label(k), prop::caption).empty())
            writeMain(label(k), prop::font, Value(false), fontField::bold);
}

void showPageLabel(MainState& state) {
    writeMain(mainwin::标签_页次, prop::caption,
              Value("页次：" + ToText(Value(state.fonts.currentPage)) + "/" +
                    ToText(Value(state.fonts.pageCount))));
}

void refreshPreviewHints(MainState& state) {
    const int first = kPreviewLabels * (state.fonts.currentPage - 1) + 1;
    provideFaceNames(state, first);
    const TextList& faces = sourceFaceNames(state);
    const TextList& paths = sourcePaths(state);
    const std::vector<fontfile::SampleCharacter> sample = fontfile::sampleCharacters(sampleText());
    for (int k = 1; k <= kPreviewLabels; ++k) {
        const int i = first + k - 1;
        const bool shown =
            i >= 1 && i <= static_cast<int>(paths.size()) && !readText(label(k), prop::caption).empty();
        setLabelHint(
            k, shown ? previewLabelHint(state, MainState::entry(faces, i), MainState::entry(paths, i), sample)
                     : Text());
    }
}

void nextPage(MainState& state) {
    if (listsBusy(state)) return;
    if (state.fonts.currentPage >= state.fonts.pageCount) return;
    showEntries(state, kPreviewLabels * state.fonts.currentPage + 1);
    regularStyleFixUp(state);
    state.fonts.currentPage += 1;
    showPageLabel(state);
    refreshPreviewHints(state);
}

void previousPage(MainState& state) {
    if (listsBusy(state)) return;
    if (state.fonts.currentPage <= 1) return;
    // An earlier page is full in every state reached through scans and searches with matches; after
    // a search without matches the page source is empty, and the labels are then left blank rather
    // than read past its end.
    showEntries(state, kPreviewLabels * (state.fonts.currentPage - 2) + 1);
    regularStyleFixUp(state);
    state.fonts.currentPage -= 1;
    showPageLabel(state);
    refreshPreviewHints(state);
}

void jumpToPage(MainState& state) {
    if (listsBusy(state)) return;
    const Text typed = readText(mainwin::编辑框_输入页次, prop::content);
    if (typed.empty()) return;
    const double v = ToNumber(Value(typed));
    // Zero, text that is no number and pages below 1 are all ignored.
    if (v <= kEpsilon) return;
    if (v - state.fonts.pageCount > kEpsilon) {
        writeMain(mainwin::编辑框_输入页次, prop::content, Value(ToText(Value(state.fonts.pageCount))));
        return;
    }
    state.fonts.currentPage = static_cast<int>(std::trunc(v - 1));
    nextPage(state);
}

void autoPageTurn(MainState& state) {
    const auto checked = [] { return readFlag(mainwin::选择框_自动翻页, prop::checked); };
    if (!checked()) return;
    const int turns = state.fonts.pageCount - state.fonts.currentPage;
    for (int turn = 0; turn < turns; ++turn) {
        nextPage(state);
        const Text seconds = readText(mainwin::编辑框_自动翻页每页显示时间, prop::content);
        if (seconds.empty()) {
            writeMain(mainwin::编辑框_自动翻页每页显示时间, prop::content, Value("5"));
        } else if (std::fabs(ToNumber(Value(seconds))) <= kEpsilon) {
            writeMain(mainwin::编辑框_自动翻页每页显示时间, prop::content, Value(" 5"));
        } else {
            const double wait = std::trunc(ToNumber(Value(seconds)));
            for (double s = 0; s < wait; ++s) {
                if (!checked()) break;
                Delay(1000);
                if (FormLayer::current().ended()) return;
            }
        }
        if (!checked()) break;
    }
    writeMain(mainwin::选择框_自动翻页, prop::checked, Value(false));
}

void sampleTextChanged(MainState& state) {
    const Text sample = sampleText();
    for (int k = 1; k <= kPreviewLabels; ++k)
        writeMain(label(k), prop::caption, Value(sample));
    refreshPreviewHints(state);
}

void sizeChosen(MainState&) {
    static constexpr int kPoints[] = {14, 18, 24, 36};
    const int selection = readInteger(mainwin::组合框_字号, prop::selection);
    const int points = selection >= 0 && selection < 4 ? kPoints[selection] : 48;
    for (int k = 1; k <= kPreviewLabels; ++k)
        writeMain(label(k), prop::font, Value(points), fontField::points);
}

void styleChosen(MainState&) {
    const int selection = readInteger(mainwin::组合框_字体样式, prop::selection);
    const bool bold = selection == 1;
    const bool italic = selection != 0 && selection != 1;
    for (int k = 1; k <= kPreviewLabels; ++k) {
        writeMain(label(k), prop::font, Value(bold), fontField::bold);
        writeMain(label(k), prop::font, Value(italic), fontField::italic);
    }
}

void applyLabelTextColour() {
    const Value colour = readMain(mainwin::颜色选择器_字体颜色, prop::colour);
    for (int k = 1; k <= kPreviewLabels; ++k)
        writeMain(label(k), prop::textColour, colour);
}

void applyLabelBackColour() {
    const Value colour = readMain(mainwin::颜色选择器_字体背景颜色, prop::colour);
    for (int k = 1; k <= kPreviewLabels; ++k)
        writeMain(label(k), prop::backColour, colour);
}

Bindings previewPageBindings(MainState& state) {
    MainState* s = &state;
    return {
        on(mainwin::按钮_下一页, event::clicked, [s] { nextPage(*s); }),
        on(mainwin::按钮_上一页, event::clicked, [s] { previousPage(*s); }),
        on(mainwin::按钮_跳到页次, event::clicked, [s] { jumpToPage(*s); }),
        on(mainwin::选择框_自动翻页, event::clicked, [s] { autoPageTurn(*s); }),
        on(mainwin::编辑框_内容, event::changed, [s] { sampleTextChanged(*s); }),
        on(mainwin::组合框_字号, event::chosen, [s] { sizeChosen(*s); }),
        on(mainwin::组合框_字体样式, event::chosen, [s] { styleChosen(*s); }),
        on(mainwin::颜色选择器_字体颜色, event::chosen, [] { applyLabelTextColour(); }),
        on(mainwin::颜色选择器_字体背景颜色, event::chosen, [] { applyLabelBackColour(); }),
    };
}

} // namespace glyvora::app
