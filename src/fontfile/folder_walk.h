#pragma once
// The breadth-first walk over a folder and every folder below it, which both walks of the scan
// use: the one that counts the files for the progress bar and the one that lists them.
//
// Folders wait in a first-in, first-out queue. For each folder taken from it, one directory search
// queues its subfolders, the message loop gets a turn, and a second search lists its files. So a
// folder's own files come first, then those of its subfolders in the order the search returned
// them, then those one level deeper. Hidden, system and read-only files count like any other; a
// missing, unreadable or vanished folder gives nothing, and so does the empty path. A link (symbolic
// link or junction) that leads back into the folder it is in or one above it is not followed, so
// the walk ends; every other link is walked like a folder.

#include "platform/files.h"
#include "platform/types.h"

#include <functional>
#include <optional>
#include <vector>

namespace glyvora::fontfile {

struct FolderWalkHooks {
    // Called once per folder visited, between its two searches (the scan gives the message loop a
    // turn there).
    std::function<void()> messageTurn;
    // Called with the full path of every file, in walk order.
    std::function<void(const Text& path)> file;
    // Called after `file` with the file's size and last-write time as the listing gave them (none
    // where it could not). Set only by a caller that uses them: the listing then asks for them.
    std::function<void(const Text& path, const std::optional<FileStamp>& stamp)> stampedFile = nullptr;
};

void walkFolder(const Text& folder, const FolderWalkHooks& hooks);

// The full paths of every file below `folder`, in walk order.
std::vector<Text> listFolderFiles(const Text& folder, const std::function<void()>& messageTurn = {});

// `folder` with a "\" at its end, added unless its last character already is one. The last
// character, not the last byte: the second byte of a GBK character may be 0x5C.
Text withTrailingSeparator(const Text& folder);

} // namespace glyvora::fontfile
