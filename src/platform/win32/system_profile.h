#pragma once
// The system's own profile calls, kept beside the program's (platform/profile.h) only so that a
// test can hold the two against each other under code page 936. The program never uses them.

#include "platform/types.h"

#include <cstddef>
#include <optional>

namespace glyvora::win32 {

// GetPrivateProfileStringA and WritePrivateProfileStringA, as platform/profile.h describes them;
// a relative file name goes to the Windows directory.
Text readSystemProfileString(const Text& file, const Text& section, const Text& key, const Text& defaultValue,
                             std::size_t bufferSize);
bool writeSystemProfileString(const Text& file, const Text& section, const std::optional<Text>& key,
                              const std::optional<Text>& value);

} // namespace glyvora::win32
