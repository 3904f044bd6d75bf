#pragma once
// The scan: the fonts of the tree selection, shown from page 1. It gathers the folder labels (or
// set names) the selection stands for, resolves them through the folder table, walks every folder
// twice (once to count for the scan window's progress bar, once to list) and fills the first page,
// deriving the face names of page 1 first; the face-name pass derives the others while the window
// answers. The labels load the fonts they show privately (LabelFonts), so the previous scan's
// fonts are removed as page 1 replaces them.

#include "app/main_state.h"
#include "forms/form_layer.h"

#include <optional>

namespace glyvora::app {

// Runs the scan for the item selected now. Called while a scan is running (inside one of its
// message turns), it only asks for another scan, which the running one makes when it has ended.
void scan(MainState& state);

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
