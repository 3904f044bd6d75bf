#pragma once
// The program-wide state of the main window, one group for each part it serves: the loaded fonts
// and the page being shown, the search result, the scan's working lists and running flags, the
// tree's edit flags and the label the font menu was opened for. The application owns one, created when it
// starts and released when it ends; every handler reaches it through the reference it was bound with.
//
// The lists are 1-based in the handlers' words: entry k of a list is element k - 1.

#include "app/preview_labels.h"
#include "fontfile/char_coverage.h"
#include "fonts/face_name_memory.h"
#include "fonts/face_name_pass.h"
#include "fonts/label_fonts.h"
#include "platform/files.h"
#include "platform/types.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace glyvora::app {

using TextList = std::vector<Text>;

// Where the preview pages take their entries from.
enum class PageSource { LoadedFonts, SearchResult };

// The fonts of the last scan, in the order it found them, the face name of each, and the page of
// them (or of the search result) being shown.
struct LoadedFonts {
    TextList fontPaths;
    // As long as fontPaths; an entry is its real name once the face-name pass has given it out
    // (faceNamePass.provide or complete), an empty text until then.
    TextList faceNames;
    // The size and last-write time of each file as the walk listed it; none for a set's fonts.
    std::vector<std::optional<FileStamp>> fontStamps;
    // The fonts loaded privately for what the labels hold.
    LabelFonts labelFonts;
    // The page shown, of pageCount, and the list it is a page of.
    int currentPage = 1;
    int pageCount = 1;
    PageSource searchMode = PageSource::LoadedFonts;
    // What preview label k shows on the current page: slot k - 1.
    std::array<Text, kPreviewLabels> pageFaceNames;
    std::array<Text, kPreviewLabels> pagePaths;
};

// The fonts of the last search whose face name held the search text.
struct SearchResult {
    TextList resultFaceNames;
    TextList resultPaths;
};

struct ScanWork {
    // The names gathered from the tree selection (kept until the next scan, so the remove commands
    // can read what the right click's scan gathered), the folders they resolved to, and the number
    // of files of the progress bar.
    TextList scanNames;
    TextList scanFolderPaths;
    int scanTotal = 0;
    // The tree item (its key, which stays with the item while indexes shift) that scanNames were
    // gathered from; 0 when no scan has gathered yet or the tree changed under it. A scan asked
    // for while another one runs is deferred, so the item a command acts on is not always the one
    // scanNames belong to.
    std::uint32_t scannedItem = 0;
    // A scan gives the message loop turns while it walks; the commands that read the loaded-font
    // lists do nothing meanwhile, and a tree selection made then is scanned once the running scan
    // has ended.
    bool scanRunning = false;
    bool rescanRequested = false;
};

struct TreeEditFlags {
    // An in-place label edit may begin only while a rename starts it; the rename waits for it to end.
    bool labelEditAllowed = false;
    bool labelEditDone = false;
    // Set when an edit was let begin: a rename whose edit never began has nothing to wait for.
    bool labelEditBegun = false;
    // The folder pre-selected when the folder picker opens.
    Text browseInitialPath;
};

// The characters each font file shown on a page holds, read the first time a page shows it and
// kept for the run; none where the file's coverage could not be read.
struct CoverageCache {
    std::map<Text, std::optional<fontfile::CharCoverage>> byPath;
};

struct FontMenuState {
    // The preview label the font menu was opened for (1..8), 0 before the first.
    int currentLabel = 0;
};

struct MainState {
    // The directory of the program's files, without a trailing "\".
    Text programDirectory;

    LoadedFonts fonts;
    SearchResult search;
    ScanWork scan;
    TreeEditFlags treeEdit;
    FontMenuState menu;
    CoverageCache coverage;

    // Ends the process with the exit code (the tray menu's exit). Tests record it instead.
    std::function<void(int)> endProcess;

    FaceNameMemory faceNameMemory;
    // Last, so its worker has stopped before anything it reads is gone.
    FaceNamePass faceNamePass{faceNameMemory};

    // Entry k (1-based) of a list; empty when there is none.
    static const Text& entry(const TextList& list, int k) {
        static const Text none;
        return k >= 1 && k <= static_cast<int>(list.size()) ? list[static_cast<std::size_t>(k - 1)] : none;
    }
};

} // namespace glyvora::app
