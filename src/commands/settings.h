#pragma once
// Settings-file commands: one value of an INI file read or written through the profile calls.

#include "platform/types.h"

#include <cstddef>
#include <optional>

namespace glyvora {

// The buffer a value is read into: a value comes back with at most 10239 bytes.
inline constexpr std::size_t kIniValueBufferSize = 10240;

// The value of `key` in `section` of the INI file `file`, or `defaultValue` when the key is
// missing. Leading bytes 0x01..0x20 of the file name, the section and the key are skipped; when any
// of the three is empty then, the result is an empty text and the file is not read.
Text ReadIniValue(const Text& file, const Text& section, const Text& key, const Text& defaultValue = Text());

// Writes `value` for `key` in `section`; without a value the key is removed, without a key the
// whole section. The file name, the section and the key lose the same leading bytes as in
// ReadIniValue, so that what one writes the other finds; when the file name or the section, or a
// given key, is empty then, nothing is written and the result is false (an empty section would
// put keys above the first section header, where ReadIniValue never looks). False too when the
// file cannot be written.
bool WriteIniValue(const Text& file, const Text& section, const std::optional<Text>& key = std::nullopt,
                   const std::optional<Text>& value = std::nullopt);

} // namespace glyvora
