#include "platform/posix/native_path.h"
#include "platform/process.h"

#include <climits>
#include <unistd.h>

namespace glyvora {

Text programFilePath() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return Text();
    return posix::fromNativePath(Text(buffer, static_cast<std::size_t>(n)));
}

} // namespace glyvora
