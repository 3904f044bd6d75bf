#include "platform/posix/native_path.h"

#include "platform/gbk.h"

namespace glyvora::posix {

namespace {
Text replaceSeparators(const Text& path, char from, char to) {
    Text out = path;
    std::size_t i = 0;
    while (i < out.size()) {
        const std::size_t n = gbk::charLength(out, i);
        if (n == 1 && out[i] == from) out[i] = to;
        i += n;
    }
    return out;
}
} // namespace

Text toNativePath(const Text& path) {
    return replaceSeparators(path, '\\', '/');
}

Text fromNativePath(const Text& path) {
    return replaceSeparators(path, '/', '\\');
}

} // namespace glyvora::posix
