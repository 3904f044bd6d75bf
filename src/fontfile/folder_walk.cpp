#include "fontfile/folder_walk.h"

#include "platform/files.h"
#include "platform/gbk.h"

#include <deque>
#include <optional>
#include <vector>

namespace glyvora::fontfile {

Text withTrailingSeparator(const Text& folder) {
    bool endsInSeparator = false;
    for (std::size_t i = 0; i < folder.size();) {
        const std::size_t length = gbk::charLength(folder, i);
        endsInSeparator = length == 1 && folder[i] == '\\';
        i += length;
    }
    return endsInSeparator ? folder : folder + "\\";
}

namespace {

// A folder waiting in the walk's queue, and the chain of folders the walk went through to reach it.
struct QueuedFolder {
    Text path;
    std::optional<FolderIdentity> identity;
    int parent; // index into the visited folders; -1 for the folder the walk starts in
};

struct VisitedFolder {
    std::optional<FolderIdentity> identity;
    int parent;
};

// Whether `identity` is the folder at `visit` or one above it, which a link would lead back into.
bool isInsideChain(const std::vector<VisitedFolder>& visited, int visit, const FolderIdentity& identity) {
    for (int v = visit; v >= 0; v = visited[static_cast<std::size_t>(v)].parent)
        if (visited[static_cast<std::size_t>(v)].identity == identity) return true;
    return false;
}

} // namespace

void walkFolder(const Text& folder, const FolderWalkHooks& hooks) {
    // An empty path names no folder; with a separator added it would name the root of the drive.
    if (folder.empty()) return;
    std::vector<VisitedFolder> visited;
    std::deque<QueuedFolder> queue;
    queue.push_back({folder, fileSystem().folderIdentity(folder), -1});
    while (!queue.empty()) {
        const Text directory = withTrailingSeparator(queue.front().path);
        const int visit = static_cast<int>(visited.size());
        visited.push_back({queue.front().identity, queue.front().parent});
        queue.pop_front();
        const Text pattern = directory + "*.*";

        for (const DirectoryEntry& entry : fileSystem().find(pattern)) {
            if (!entry.isDirectory || entry.name == "." || entry.name == "..") continue;
            const Text subfolder = directory + entry.name;
            // A link back to this folder or one above it would make the walk go round for ever.
            const std::optional<FolderIdentity> identity = fileSystem().folderIdentity(subfolder);
            if (identity && isInsideChain(visited, visit, *identity)) continue;
            queue.push_back({subfolder, identity, visit});
        }

        if (hooks.messageTurn) hooks.messageTurn();

        // The folder is searched again: it may have changed during the message turn.
        const std::vector<DirectoryEntry> listing =
            hooks.stampedFile ? fileSystem().findWithStamps(pattern) : fileSystem().find(pattern);
        for (const DirectoryEntry& entry : listing) {
            if (entry.isDirectory) continue;
            const Text path = directory + entry.name;
            if (hooks.file) hooks.file(path);
            if (hooks.stampedFile) hooks.stampedFile(path, entry.stamp);
        }
    }
}

std::vector<Text> listFolderFiles(const Text& folder, const std::function<void()>& messageTurn) {
    std::vector<Text> files;
    FolderWalkHooks hooks;
    hooks.messageTurn = messageTurn;
    hooks.file = [&files](const Text& path) { files.push_back(path); };
    walkFolder(folder, hooks);
    return files;
}

} // namespace glyvora::fontfile
