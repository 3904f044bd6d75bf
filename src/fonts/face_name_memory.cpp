#include "fonts/face_name_memory.h"

#include "fontfile/face_name.h"

namespace glyvora::app {

Text FaceNameMemory::faceNameOf(const Text& path, const std::optional<FileStamp>& stamp) {
    if (!stamp) return fontfile::faceNameOf(path);
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const auto it = byPath_.find(path);
        if (it != byPath_.end() && it->second.stamp == *stamp) return it->second.faceName;
    }
    // Read without the lock, so the other thread is not kept waiting on a slow file.
    Text name = fontfile::faceNameOf(path);
    const std::lock_guard<std::mutex> lock(mutex_);
    byPath_[path] = Remembered{*stamp, name};
    return name;
}

} // namespace glyvora::app
