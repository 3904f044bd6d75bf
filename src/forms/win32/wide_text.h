#pragma once
// The program's texts are GBK bytes; the backend's windows are Unicode windows, so that a typed
// Chinese character reaches a control as one character and not as two bytes it cannot join. Every
// text crosses between the two here, always with code page 936: the system's own ANSI code page
// (1252 on a Western Windows, 950 on a Traditional Chinese one) would garble every GBK text.

#include "platform/types.h"

#include <cstring>
#include <string>
#include <windows.h>

namespace glyvora::win32 {

// The code page of the program's texts.
constexpr UINT kTextCodePage = 936;

// The text up to its first NUL, as the A functions would have taken it on a code page 936 system.
inline std::wstring widen(const Text& text) {
    const int bytes = static_cast<int>(std::strlen(text.c_str()));
    if (bytes == 0) return {};
    const int n = MultiByteToWideChar(kTextCodePage, 0, text.data(), bytes, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(kTextCodePage, 0, text.data(), bytes, wide.data(), n);
    return wide;
}

// What does not convert becomes "?", the code page's default character.
inline Text narrow(const wchar_t* text, int length) {
    if (!text || length <= 0) return {};
    const int n = WideCharToMultiByte(kTextCodePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    Text out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(kTextCodePage, 0, text, length, out.data(), n, nullptr, nullptr);
    return out;
}

inline Text narrow(const wchar_t* text) {
    return text ? narrow(text, static_cast<int>(wcslen(text))) : Text();
}

// Text that a system call has already converted to the system's own ANSI code page (an ANSI
// notification), back to UTF-16.
inline std::wstring systemWiden(const char* text) {
    const int bytes = text ? static_cast<int>(std::strlen(text)) : 0;
    if (bytes == 0) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text, bytes, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, bytes, wide.data(), n);
    return wide;
}

// A window's caption or an edit's content.
inline Text windowTextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, buffer.data(), length + 1);
    return narrow(buffer.data(), got);
}

inline bool setWindowTextOf(HWND window, const Text& text) {
    return SetWindowTextW(window, widen(text).c_str()) != 0;
}

} // namespace glyvora::win32
