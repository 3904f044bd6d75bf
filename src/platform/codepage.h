#pragma once
// Conversions between the ANSI code page (GBK here) and Unicode.

#include "platform/types.h"

#include <string>
#include <string_view>

namespace glyvora {

// ANSI bytes to UTF-16 (MultiByteToWideChar with CP_ACP); bytes that do not convert become U+003F
// on POSIX and whatever the system substitutes on Windows.
std::u16string ansiToUtf16(std::string_view ansi);

// UTF-16 to ANSI bytes (WideCharToMultiByte with CP_ACP); characters the code page lacks become "?".
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
