// GDI font resources. The face-name query uses GetFontResourceInfoW, an undocumented export of
// gdi32 that is looked up at run time; Wine exports it as a stub that always fails.
#include "platform/codepage.h"
#include "platform/font_resources.h"
#include "platform/win32/wide_path.h"

#include <cstring>
#include <windows.h>

namespace glyvora {

namespace {

using GetFontResourceInfoWFunction = BOOL(WINAPI*)(LPCWSTR, LPDWORD, LPVOID, DWORD);

// Query type 2 fills an array of logical fonts, one per face of the file.
constexpr DWORD logicalFontsQuery = 2;

// The answer buffer: 28 bytes of logical-font header fields (height, width, escapement,
// orientation, weight as 32-bit values, then eight byte fields), then room for the face name. A
// file whose logical fonts need more than this is refused rather than written past the end.
constexpr std::size_t answerBytes = 2076;
constexpr std::size_t faceNameOffset = 28;

GetFontResourceInfoWFunction getFontResourceInfoW() {
    static const GetFontResourceInfoWFunction function = [] {
        HMODULE gdi = GetModuleHandleW(L"gdi32.dll");
        if (!gdi) gdi = LoadLibraryW(L"gdi32.dll");
        return gdi ? reinterpret_cast<GetFontResourceInfoWFunction>(
                         reinterpret_cast<void*>(GetProcAddress(gdi, "GetFontResourceInfoW")))
                   : nullptr;
    }();
    return function;
}

std::u16string firstFaceName(const wchar_t* widePath) {
    const GetFontResourceInfoWFunction query = getFontResourceInfoW();
    if (!query) return std::u16string();
    alignas(8) unsigned char answer[answerBytes] = {};
    DWORD size = 0;
    if (!query(widePath, &size, answer, logicalFontsQuery)) return std::u16string();
    if (size <= faceNameOffset || size > sizeof answer) return std::u16string();
    std::memset(answer, 0, sizeof answer);
    DWORD filled = size;
    if (!query(widePath, &filled, answer, logicalFontsQuery) || filled > sizeof answer)
        return std::u16string();
    // The face name runs to its first zero unit, never past the buffer.
    std::u16string name;
    for (std::size_t at = faceNameOffset; at + 1 < sizeof answer; at += 2) {
        const char16_t unit = static_cast<char16_t>(answer[at] | (answer[at + 1] << 8));
        if (unit == 0) break;
        name.push_back(unit);
    }
    return name;
}

class Win32FontResources final : public FontResources {
public:
    int addPrivate(const Text& path) override {
        return AddFontResourceExW(win32::widePath(path).c_str(), FR_PRIVATE, nullptr);
    }

    bool removePrivate(const Text& path) override {
        return RemoveFontResourceExW(win32::widePath(path).c_str(), FR_PRIVATE, nullptr) != 0;
    }

    Text queryFaceName(const Text& path) override {
        if (path.empty()) return Text();
        const std::wstring wide = win32::widePath(path);
        const wchar_t* widePath = wide.c_str();
        // The public add is balanced by its removal below, whatever the query gives.
        AddFontResourceW(widePath);
        const std::u16string name = firstFaceName(widePath);
        RemoveFontResourceW(widePath);
        Text text = utf16ToAnsi(name);
        const std::size_t zero = text.find('\0');
        if (zero != Text::npos) text.resize(zero);
        return text;
    }
};

} // namespace

FontResources& systemFontResources() {
    static Win32FontResources instance;
    return instance;
}

std::uint16_t fontNameLanguage() {
    return GetUserDefaultUILanguage();
}

} // namespace glyvora
