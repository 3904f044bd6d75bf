#include "fonts/scan.h"

#include "app/main_window.h"
#include "app/program_files.h"
#include "commands/conversion.h"
#include "commands/text.h"
#include "fontfile/face_name.h"
#include "fontfile/folder_walk.h"
#include "fonts/preview_pages.h"
#include "forms/commands.h"
#include "platform/font_resources.h"
#include "tablefile/table_engine.h"
#include "tree/tree_view.h"

#include <algorithm>
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
    for (const Text& name : state.scanNames) {
        FirstRecord();
        const std::int32_t records = RecordCount();
        for (std::int32_t r = 0; r < records; ++r) {
            if (ToText(ReadField(Value(1))) == name) {
                state.scanFolderPaths.push_back(ToText(ReadField(Value(2))));
                break;
            }
            SkipRecords(Value(1));
        }
    }
}

int countFiles(const Text& folder) {
    int files = 0;
    fontfile::walkFolder(folder, {[] { ProcessEvents(); }, [&files](const Text&) { ++files; }});
    return files;
}

// The loading walk: the folder's files in walk order, one progress step each while the scan window
// is there (files that appeared after the count would address a window that was never loaded).
void listFiles(MainState& state, const Text& folder, int& progress) {
    TextList files;
    fontfile::walkFolder(folder, {[] { ProcessEvents(); },
                                  [&](const Text& path) {
                                      files.push_back(path);
                                      if (!FormLayer::current().isOpen(scanwin::window)) return;
                                      ++progress;
                                      writeProperty(scanwin::window, scanwin::进度条1, prop::position,
                                                    Value(progress));
                                  }});
    state.fontPaths.insert(state.fontPaths.end(), files.begin(), files.end());
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
    state.scanTotal = 0;
    CloseAllTables();
    const Text setTable = programFile(state, kSetTable);
    OpenTable(setTable);
    SelectTable(setTable);
    for (Text& name : state.scanNames) {
        FirstRecord();
        if (FindText(name, kCountSuffixSeparator) != -1) name = withoutCountSuffix(name);
        std::vector<int> setCounts;
        const std::int32_t records = RecordCount();
        for (std::int32_t r = 0; r < records; ++r) {
            if (ToText(ReadField(Value(1))) == name) {
                state.fontPaths.push_back(ToText(ReadField(Value(2))));
                ++state.scanTotal;
                setCounts.push_back(1);
            }
            SkipRecords(Value(1));
        }
        const int count = ItemCount(tree());
        for (int j = 1; j < count; ++j)
            if (isSetItem(j) && withoutCountSuffix(ItemText(tree(), j)) == name)
                SetItemText(tree(), j,
                            name + kCountSuffixSeparator +
                                ToText(Value(static_cast<std::int32_t>(setCounts.size()))));
    }
    if (state.scanTotal > 0) {
        openScanWindow();
        for (int step = 1; step <= state.scanTotal; ++step)
            writeProperty(scanwin::window, scanwin::进度条1, prop::position, Value(step));
        closeScanWindowAfterPause();
    }
}

void scanOnce(MainState& state) {
    if (!state.fontPaths.empty()) unloadFonts(state.fontPaths);

    state.fontPaths.clear();
    state.faceNames.clear();
    state.scanNames.clear();
    state.scanFolderPaths.clear();
    state.resultFaceNames.clear();
    state.resultPaths.clear();
    state.searchMode = 0;
    state.pageFaceNames.fill(Text());
    state.pagePaths.fill(Text());

    state.currentPage = 1;
    state.pageCount = 1;

    const int selected = readInteger(mainwin::树型框1, prop::selectedItem);
    state.scanNames = gatherNames(selected);
    state.scannedItem = treeItemKey(selected);
    removeDuplicates(state.scanNames);

    CloseAllTables();
    const Text folderTable = programFile(state, kFolderTable);
    OpenTable(folderTable);
    SelectTable(folderTable);

    resolveFolderPaths(state);

    if (!state.scanFolderPaths.empty()) {
        state.scanTotal = 0;
        for (const Text& folder : state.scanFolderPaths)
            state.scanTotal += countFiles(folder);
        if (state.scanTotal > 0) openScanWindow();
        int progress = 0;
        for (const Text& folder : state.scanFolderPaths)
            listFiles(state, folder, progress);
        if (state.scanTotal > 0) closeScanWindowAfterPause();
    } else {
        loadSetFonts(state);
    }

    state.faceNames.reserve(state.fontPaths.size());
    for (const Text& path : state.fontPaths)
        state.faceNames.push_back(faceNameOf(path));

    state.pageCount = pageCountFor(state.fontPaths.size());
    showPageLabel(state);

    loadFontsPrivately(state.fontPaths);

    fillPage(state, 1);
    regularStyleFixUp(state);
}

} // namespace

void scan(MainState& state) {
    if (state.scanRunning) {
        state.rescanRequested = true;
        return;
    }
    state.scanRunning = true;
    scanOnce(state);
    // Selections made during the scan's message turns: one more scan, for the item selected now.
    while (state.rescanRequested && !FormLayer::current().ended()) {
        state.rescanRequested = false;
        scanOnce(state);
        selectionFixUp(state);
    }
    state.rescanRequested = false;
    state.scanRunning = false;
}

Text withoutCountSuffix(const Text& text) {
    if (FindText(text, kCountSuffixSeparator) == -1) return text;
    const std::vector<Text> parts = SplitText(text, kCountSuffixSeparator);
    return parts.empty() ? Text() : parts.front();
}

int unloadFonts(const TextList& paths) {
    for (const Text& path : paths)
        fontResources().removePrivate(path);
    return static_cast<int>(paths.size());
}

void loadFontsPrivately(const TextList& paths) {
    for (const Text& path : paths)
        fontResources().addPrivate(path);
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
    state.browseInitialPath = initialPath;
    unsigned flags = 0;
    if (options.withEditBox) flags |= kFolderEditBox;
    if (options.newStyle) flags |= kFolderNewStyle;
    if (options.includeFiles) flags |= kFolderIncludeFiles;
    return TrimSpaces(ShowFolderPicker(options.title, state.browseInitialPath, flags));
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
           [s] { writeProperty(scanwin::window, scanwin::进度条1, prop::maximum, Value(s->scanTotal)); }),
    };
}

} // namespace glyvora::app
