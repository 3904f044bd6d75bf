#include "platform/codepage_legacy.h"

#include <windows.h>

namespace glyvora {

std::u16string codePageToUtf16(unsigned codePage, std::string_view bytes) {
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return std::u16string();
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (n <= 0) return std::u16string();
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

} // namespace glyvora
