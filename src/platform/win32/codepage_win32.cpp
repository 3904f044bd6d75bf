// The program's texts are GBK whatever code page the system runs with, so every conversion names
// code page 936 instead of the system's CP_ACP. On a code page 936 system the two are the same.
#include "platform/codepage.h"

#include <windows.h>

namespace glyvora {

namespace {

constexpr UINT kGbk = 936;

} // namespace

std::u16string ansiToUtf16(std::string_view ansi) {
    if (ansi.empty() || ansi.size() > 0x7FFFFFFF) return std::u16string();
    const int size = static_cast<int>(ansi.size());
    const int n = MultiByteToWideChar(kGbk, 0, ansi.data(), size, nullptr, 0);
    if (n <= 0) return std::u16string();
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(kGbk, 0, ansi.data(), size, reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

Text utf16ToAnsi(std::u16string_view wide) {
    if (wide.empty() || wide.size() > 0x7FFFFFFF) return Text();
    const auto* src = reinterpret_cast<const wchar_t*>(wide.data());
    const int size = static_cast<int>(wide.size());
    // No default character given: the code page's own, "?", as the A calls use it.
    const int n = WideCharToMultiByte(kGbk, 0, src, size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return Text();
    Text out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(kGbk, 0, src, size, out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace glyvora
