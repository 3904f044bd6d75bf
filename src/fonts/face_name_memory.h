#pragma once
// Face names remembered for the run of the program: a file seen again with the same size and
// last-write time takes its name from memory, so showing a folder a second time opens none of its
// files for names. A file without a stamp (a set's font, or one the listing could not look at) is
// read each time.
//
// Safe to use from the background face-name pass and the user-interface thread at once.

#include "platform/files.h"
#include "platform/types.h"

#include <mutex>
#include <optional>
#include <unordered_map>

namespace glyvora::app {

class FaceNameMemory {
public:
    // The face name of the file at `path` (empty for a file that is no font).
    Text faceNameOf(const Text& path, const std::optional<FileStamp>& stamp);

private:
    struct Remembered {
        FileStamp stamp;
        Text faceName;
    };
    std::mutex mutex_;
    std::unordered_map<Text, Remembered> byPath_;
};

} // namespace glyvora::app
