#include "fonts/scan.h"

#include "app/main_window.h"
#include "app/program_files.h"
#include "commands/conversion.h"
#include "commands/text.h"
#include "fontfile/face_name.h"
#include "fontfile/folder_walk.h"
#include "fonts/preview_pages.h"
#include "fonts/set_table.h"
#include "forms/commands.h"
#include "tablefile/table_engine.h"
#include "tree/folder_table.h"
#include "tree/tree_view.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

namespace glyvora::app {

namespace {

// Every item whose parent's text equals `parentText`, in index order. Index 0, the first top-level
// item, can never be a child.
std::vector<int> itemsUnder(const Text& parentText) {
    std::vector<int> children;
    const int count = ItemCount(tree());
    for (int i = 1; i < count; ++i) {
        const int parent = ParentItem(tree(), i);
        if (parent >= 0 && ItemText(tree(), parent) == parentText) children.push_back(i);
    }
    return children;
}

void resolveFolderPaths(MainState& state) {
    for (const Text& name : state.scan.scanNames)
        if (std::optional<Text> path = folderPathOf(name))
            state.scan.scanFolderPaths.push_back(std::move(*path));
}

int countFiles(const Text& folder) {
    int files = 0;
    fontfile::walkFolder(folder, {[] { ProcessEvents(); }, [&files](const Text&) { ++files; }});
    return files;
}

// The loading walk: the folder's files in walk order, one progress step each while the scan window
// is there (files that appeared after the count would address a window that was never loaded).
// Each file's stamp comes with the listing, so the face names of files seen before are taken from
// memory without opening them.
void listFiles(MainState& state, const Text& folder, int& progress) {
    TextList files;
    std::vector<std::optional<FileStamp>> stamps;
    fontfile::FolderWalkHooks hooks;
    hooks.messageTurn = [] { ProcessEvents(); };
    hooks.stampedFile = [&](const Text& path, const std::optional<FileStamp>& stamp) {
        files.push_back(path);
        stamps.push_back(stamp);
        if (!FormLayer::current().isOpen(scanwin::window)) return;
        ++progress;
        writeProperty(scanwin::window, scanwin::进度条1, prop::position, Value(progress));
    };
    fontfile::walkFolder(folder, hooks);
    state.fonts.fontPaths.insert(state.fonts.fontPaths.end(), files.begin(), files.end());
    state.fonts.fontStamps.insert(state.fonts.fontStamps.end(), stamps.begin(), stamps.end());
}

void openScanWindow() {
    LoadWindow(scanwin::ref, mainwin::ref);
}

// The full bar stays in sight for half a second; the close takes effect back in the message loop.
void closeScanWindowAfterPause() {
    Delay(500);
    CloseWindowUnit(scanwin::ref);
}

void loadSetFonts(MainState& state) {
    state.scan.scanTotal = 0;
    openSetTable(state);
    for (Text& name : state.scan.scanNames) {
        if (FindText(name, kCountSuffixSeparator) != -1) name = withoutCountSuffix(name);
        const TextList paths = setFontPaths(name);
        state.fonts.fontPaths.insert(state.fonts.fontPaths.end(), paths.begin(), paths.end());
        state.scan.scanTotal += static_cast<int>(paths.size());
        const int count = ItemCount(tree());
        for (int j = 1; j < count; ++j)
            if (isSetItem(j) && withoutCountSuffix(ItemText(tree(), j)) == name)
                SetItemText(tree(), j,
                            name + kCountSuffixSeparator +
                                ToText(Value(static_cast<std::int32_t>(paths.size()))));
    }
    if (state.scan.scanTotal > 0) {
        openScanWindow();
        for (int step = 1; step <= state.scan.scanTotal; ++step)
            writeProperty(scanwin::window, scanwin::进度条1, prop::position, Value(step));
        closeScanWindowAfterPause();
    }
}

void scanOnce(MainState& state) {
    // The fonts of the last scan stay loaded while the labels hold them: page 1 replaces them.
    state.faceNamePass.abandon();

    state.fonts.fontPaths.clear();
    state.fonts.faceNames.clear();
    state.fonts.fontStamps.clear();
    state.scan.scanNames.clear();
    state.scan.scanFolderPaths.clear();
    state.search.resultFaceNames.clear();
    state.search.resultPaths.clear();
    state.fonts.searchMode = PageSource::LoadedFonts;
    state.fonts.pageFaceNames.fill(Text());
    state.fonts.pagePaths.fill(Text());

    state.fonts.currentPage = 1;
    state.fonts.pageCount = 1;

    const int selected = readInteger(mainwin::树型框1, prop::selectedItem);
    state.scan.scanNames = gatherNames(selected);
    state.scan.scannedItem = treeItemKey(selected);
    removeDuplicates(state.scan.scanNames);

    CloseAllTables();
    openFolderTable(state);

    resolveFolderPaths(state);

    if (!state.scan.scanFolderPaths.empty()) {
        state.scan.scanTotal = 0;
        for (const Text& folder : state.scan.scanFolderPaths)
            state.scan.scanTotal += countFiles(folder);
        if (state.scan.scanTotal > 0) openScanWindow();
        int progress = 0;
        for (const Text& folder : state.scan.scanFolderPaths)
            listFiles(state, folder, progress);
        if (state.scan.scanTotal > 0) closeScanWindowAfterPause();
    } else {
        loadSetFonts(state);
    }

    // Page 1's names are derived as it is filled; the others by the pass once it shows.
    state.fonts.fontStamps.resize(state.fonts.fontPaths.size());
    state.fonts.faceNames.assign(state.fonts.fontPaths.size(), Text());
    state.faceNamePass.begin(state.fonts.fontPaths, state.fonts.fontStamps);

    state.fonts.pageCount = pageCountFor(state.fonts.fontPaths.size());
    showPageLabel(state);

    fillPage(state, 1);
    regularStyleFixUp(state);
    state.faceNamePass.runFrom(kPreviewLabels + 1);
}

} // namespace

void scan(MainState& state) {
    if (state.scan.scanRunning) {
        state.scan.rescanRequested = true;
        return;
    }
    state.scan.scanRunning = true;
    scanOnce(state);
    // Selections made during the scan's message turns: one more scan, for the item selected now.
    while (state.scan.rescanRequested && !FormLayer::current().ended()) {
        state.scan.rescanRequested = false;
        scanOnce(state);
        selectionFixUp(state);
    }
    state.scan.rescanRequested = false;
    state.scan.scanRunning = false;
}

Text withoutCountSuffix(const Text& text) {
    if (FindText(text, kCountSuffixSeparator) == -1) return text;
    const std::vector<Text> parts = SplitText(text, kCountSuffixSeparator);
    return parts.empty() ? Text() : parts.front();
}

Text faceNameOf(const Text& path) {
    return fontfile::faceNameOf(path);
}

int removeDuplicates(TextList& list) {
    std::unordered_set<Text> seen;
    TextList kept;
    kept.reserve(list.size());
    for (Text& text : list)
        if (seen.insert(text).second) kept.push_back(std::move(text));
    list = std::move(kept);
    return static_cast<int>(list.size());
}

int removeDuplicates(std::vector<int>& list) {
    std::unordered_set<int> seen;
    std::vector<int> kept;
    for (int v : list)
        if (seen.insert(v).second) kept.push_back(v);
    list = std::move(kept);
    return static_cast<int>(list.size());
}

int indexOf(const TextList& list, const Text& text) {
    const auto it = std::find(list.begin(), list.end(), text);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin()) + 1;
}

int indexOf(const std::vector<int>& list, int value) {
    const auto it = std::find(list.begin(), list.end(), value);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin()) + 1;
}

Text pickFolder(MainState& state, const Text& initialPath, const FolderPickerOptions& options) {
    state.treeEdit.browseInitialPath = initialPath;
    unsigned flags = 0;
    if (options.withEditBox) flags |= kFolderEditBox;
    if (options.newStyle) flags |= kFolderNewStyle;
    if (options.includeFiles) flags |= kFolderIncludeFiles;
    return TrimSpaces(ShowFolderPicker(options.title, state.treeEdit.browseInitialPath, flags));
}

TextList gatherNames(int selected) {
    TextList names;
    const int level = ItemLevel(tree(), selected);
    const Text text = ItemText(tree(), selected);
    if (level == 1) {
        for (int i : itemsUnder(text)) {
            if (IsItemBold(tree(), i)) {
                for (int j : itemsUnder(ItemText(tree(), i)))
                    names.push_back(ItemText(tree(), j));
            } else {
                names.push_back(ItemText(tree(), i));
            }
        }
    } else if (level == 2) {
        if (HasChildren(tree(), selected)) {
            for (int j : itemsUnder(text))
                names.push_back(ItemText(tree(), j));
        } else if (!IsItemBold(tree(), selected)) {
            names.push_back(text);
        }
    } else if (level == 3) {
        names.push_back(text);
    }
    return names;
}

Bindings scanWindowBindings(MainState& state) {
    MainState* s = &state;
    return {
        on(scanwin::windowUnit, event::created,
           [s] {
               writeProperty(scanwin::window, scanwin::进度条1, prop::maximum, Value(s->scan.scanTotal));
           }),
    };
}

} // namespace glyvora::app
