#pragma once
// The Windows profile (INI file) calls, in the program's own code on every platform: the bytes the
// system's calls write on a code page 936 system (ini_format.h has the rules), on any system. The
// system's own calls would store Chinese in the system's code page.
//
// A relative file name is taken relative to the current directory (the system's calls would put it
// in the Windows directory). The program always passes full paths.

#include "platform/types.h"

#include <cstddef>
#include <optional>

namespace glyvora {

// As GetPrivateProfileStringA: the value of `key` in `section` of `file`, or `defaultValue` when the
// key is missing, as it comes back in a buffer of `bufferSize` bytes (so at most bufferSize - 1).
Text readProfileString(const Text& file, const Text& section, const Text& key, const Text& defaultValue,
                       std::size_t bufferSize);

// As WritePrivateProfileStringA: writes `value` for `key`; no value removes the key, no key removes
// the whole section. False when the file cannot be written. The file is replaced through the safe
// save, so a failed write (a full disk) leaves it as it was.
bool writeProfileString(const Text& file, const Text& section, const std::optional<Text>& key,
                        const std::optional<Text>& value);

} // namespace glyvora
