#pragma once
// File names cross to the system's W calls in code page 936, so the program's files carry their
// real names on any system. A name is taken up to its first NUL, as an A call takes it.

#include "platform/codepage.h"

#include <cstring>
#include <string>

namespace glyvora::win32 {

inline std::wstring widePath(const Text& path) {
    const std::u16string wide = ansiToUtf16(std::string_view(path.c_str(), std::strlen(path.c_str())));
    return std::wstring(wide.begin(), wide.end());
}

// A name the system gives back; what GBK cannot hold becomes "?", as in the name an A call gives on
// a code page 936 system (and, as there, opening that name fails).
inline Text narrowPath(const wchar_t* name, std::size_t length) {
    return utf16ToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(name), length));
}

inline Text narrowPath(const wchar_t* name) {
    return narrowPath(name, std::wcslen(name));
}

} // namespace glyvora::win32
