#pragma once
// The scan: the fonts of the tree selection, loaded into this process only and shown from page 1.
// It unloads the previous fonts, gathers the folder labels (or set names) the selection stands
// for, resolves them through the folder table, walks every folder twice (once to count for the
// scan window's progress bar, once to list), derives a face name for each file, loads every file
// privately and fills the first page.

#include "app/main_state.h"
#include "forms/form_layer.h"

#include <optional>

namespace glyvora::app {

// Runs the scan for the item selected now. Called while a scan is running (inside one of its
// message turns), it only asks for another scan, which the running one makes when it has ended.
void scan(MainState& state);

// RemoveFontResourceExA with the private flag for every path; the number of paths.
int unloadFonts(const TextList& paths);
// AddFontResourceExA with the private flag for every path.
void loadFontsPrivately(const TextList& paths);
// The face name of a font file; empty for a file that is no font.
Text faceNameOf(const Text& path);
// Keeps the first occurrence of each text; the new length.
int removeDuplicates(TextList& list);
int removeDuplicates(std::vector<int>& list);
// 1-based position of the first equal element, or -1.
int indexOf(const TextList& list, const Text& text);
int indexOf(const std::vector<int>& list, int value);

// The shell's folder picker with `initialPath` pre-selected; the chosen folder, empty when cancelled.
struct FolderPickerOptions {
    Text title = "请选择一个文件夹";
    bool includeFiles = false;
    bool withEditBox = true;
    bool newStyle = true;
};
Text pickFolder(MainState& state, const Text& initialPath, const FolderPickerOptions& options = {});

// A set item shown once carries its font count after three spaces ("常用   12"); its name is the
// part before the first such run.
inline const Text kCountSuffixSeparator = "   ";
Text withoutCountSuffix(const Text& text);

// The folder labels or set names the selected tree item stands for, in tree order.
TextList gatherNames(int selected);

// The handler of the scan window's created event.
Bindings scanWindowBindings(MainState& state);

} // namespace glyvora::app
