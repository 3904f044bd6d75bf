#pragma once
// The Windows profile (INI file) calls. On Windows they are the system's own; elsewhere an
// implementation that reads and writes the same bytes (posix/ini_format.h has the rules).
//
// A relative file name goes to the Windows directory on Windows; elsewhere it is taken relative to
// the current directory. The program always passes full paths.

#include "platform/types.h"

#include <cstddef>
#include <optional>

namespace glyvora {

// GetPrivateProfileStringA: the value of `key` in `section` of `file`, or `defaultValue` when the
// key is missing, as it comes back in a buffer of `bufferSize` bytes (so at most bufferSize - 1).
Text readProfileString(const Text& file, const Text& section, const Text& key, const Text& defaultValue,
                       std::size_t bufferSize);

// WritePrivateProfileStringA: writes `value` for `key`; no value removes the key, no key removes
// the whole section. False when the file cannot be written.
bool writeProfileString(const Text& file, const Text& section, const std::optional<Text>& key,
                        const std::optional<Text>& value);

} // namespace glyvora
