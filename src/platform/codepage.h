#pragma once
// Conversions between the program's text code page and Unicode. The program's texts are GBK (code
// page 936) on every system: "ANSI" here names that code page, never the system's own, so texts and
// file names come out the same whatever code page the system runs with.

#include "platform/types.h"

#include <string>
#include <string_view>

namespace glyvora {

// ANSI bytes to UTF-16 (MultiByteToWideChar with code page 936); bytes that do not convert become U+003F
// on POSIX and whatever the system substitutes on Windows.
std::u16string ansiToUtf16(std::string_view ansi);

// UTF-16 to ANSI bytes (WideCharToMultiByte with code page 936); characters the code page lacks become "?".
Text utf16ToAnsi(std::u16string_view wide);

// UTF-8 <-> UTF-16, for the terminal side of glyvora-tool.
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view wide);

inline Text utf8ToAnsi(std::string_view utf8) {
    return utf16ToAnsi(utf8ToUtf16(utf8));
}
inline std::string ansiToUtf8(std::string_view ansi) {
    return utf16ToUtf8(ansiToUtf16(ansi));
}

} // namespace glyvora
