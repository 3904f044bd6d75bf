#include "platform/process.h"
#include "platform/win32/wide_path.h"

#include <windows.h>

namespace glyvora {

Text programFilePath() {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD capacity = sizeof buffer / sizeof buffer[0];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, capacity);
    if (n == 0 || n >= capacity) return Text();
    return win32::narrowPath(buffer, n);
}

} // namespace glyvora
