#include "platform/codepage.h"

#include <windows.h>

namespace glyvora {

std::u16string ansiToUtf16(std::string_view ansi) {
    if (ansi.empty()) return std::u16string();
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (n <= 0) return std::u16string();
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                        reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

Text utf16ToAnsi(std::u16string_view wide) {
    if (wide.empty()) return Text();
    const auto* src = reinterpret_cast<const wchar_t*>(wide.data());
    const int n =
        WideCharToMultiByte(CP_ACP, 0, src, static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return Text();
    Text out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, src, static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace glyvora
