// The system's profile calls, for comparison with the program's. The value comes back through a zeroed buffer
// of the caller's size and is taken up to its first zero byte: when the converted value does not fit, Wine's
// GetPrivateProfileStringA returns the buffer size - 1 but leaves the byte before the terminator as it found
// it, so counting on the returned length would pick up that byte.
#include "platform/win32/system_profile.h"

#include <cstring>
#include <vector>
#include <windows.h>

namespace glyvora::win32 {

Text readSystemProfileString(const Text& file, const Text& section, const Text& key, const Text& defaultValue,
                             std::size_t bufferSize) {
    if (bufferSize == 0) return Text();
    if (bufferSize > 0x7fffffff) bufferSize = 0x7fffffff;
    std::vector<char> buffer(bufferSize, '\0');
    GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                             static_cast<DWORD>(bufferSize), file.c_str());
    return Text(buffer.data(), strnlen(buffer.data(), bufferSize));
}

bool writeSystemProfileString(const Text& file, const Text& section, const std::optional<Text>& key,
                              const std::optional<Text>& value) {
    const char* keyArg = key ? key->c_str() : nullptr;
    const char* valueArg = (key && value) ? value->c_str() : nullptr;
    return WritePrivateProfileStringA(section.c_str(), keyArg, valueArg, file.c_str()) != FALSE;
}

} // namespace glyvora::win32
