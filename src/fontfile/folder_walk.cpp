#include "fontfile/folder_walk.h"

#include "platform/files.h"
#include "platform/gbk.h"

#include <deque>

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

void walkFolder(const Text& folder, const FolderWalkHooks& hooks) {
    // An empty path names no folder; with a separator added it would name the root of the drive.
    if (folder.empty()) return;
    std::deque<Text> queue;
    queue.push_back(folder);
    while (!queue.empty()) {
        const Text directory = withTrailingSeparator(queue.front());
        queue.pop_front();
        const Text pattern = directory + "*.*";

        for (const DirectoryEntry& entry : fileSystem().find(pattern)) {
            if (!entry.isDirectory || entry.name == "." || entry.name == "..") continue;
            queue.push_back(directory + entry.name);
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
