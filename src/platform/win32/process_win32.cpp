#include "platform/process.h"

#include <windows.h>

namespace glyvora {

Text programFilePath() {
    char buffer[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return Text();
    return Text(buffer, n);
}

} // namespace glyvora
