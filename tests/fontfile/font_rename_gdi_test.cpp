// A renamed copy against GDI itself: loaded from memory, the copy is found by its new name alone and
// draws the pixels its original file draws. Windows only (under Wine here).
#ifdef _WIN32
#include "fontfile/face_name.h"
#include "fontfile/font_rename.h"
#include "platform/codepage.h"
#include "platform/files.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <windows.h>

namespace glyvora::fontfile {
namespace {

struct Drawn {
    std::u16string face; // the face GDI picked
    std::vector<std::uint32_t> pixels;
};

// "Hamburgefonstiv" drawn black on white in a font asking for `face`.
Drawn draw(const std::u16string& face) {
    constexpr int width = 320, height = 48;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    LOGFONTW request{};
    request.lfHeight = -28;
    request.lfCharSet = DEFAULT_CHARSET;
    face.copy(reinterpret_cast<char16_t*>(request.lfFaceName), LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectW(&request);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 4, 4, L"Hamburgefonstiv", 15);
    GdiFlush();
    Drawn drawn;
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, name);
    drawn.face = reinterpret_cast<const char16_t*>(name);
    const auto* p = static_cast<const std::uint32_t*>(bits);
    drawn.pixels.assign(p, p + width * height);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return drawn;
}

TEST(FontRenameGdi, aRenamedCopyLoadedFromMemoryDrawsItsOriginalsPixelsUnderItsNewName) {
    // Each copy has a name of its own: Wine keeps a name bound to the font it first gave for it,
    // even after that font is removed, so a name is never given twice.
    const std::string directory = "Z:\\usr\\share\\";
    int serial = 0;
    for (const std::string file :
         {"fonts\\truetype\\dejavu\\DejaVuSans.ttf", "fonts\\opentype\\urw-base35\\NimbusSans-Regular.otf",
          "fonts\\truetype\\wqy\\wqy-zenhei.ttc", "wine\\fonts\\sserife.fon"}) {
        SCOPED_TRACE(file);
        const Text path = directory + file;
        const std::optional<ByteSet> original = readWholeFile(path);
        ASSERT_TRUE(original) << "install the font packages of scripts/deps.sh";
        const std::string name = "GlyvoraTest" + std::to_string(++serial);
        std::vector<std::uint8_t> copy = renameFont(*original, name);
        ASSERT_FALSE(copy.empty());

        const std::u16string face = ansiToUtf16(faceNameOf(path));
        const int added = AddFontResourceExA(path.c_str(), FR_PRIVATE, nullptr);
        const Drawn expected = draw(face);
        if (added > 0) RemoveFontResourceExA(path.c_str(), FR_PRIVATE, nullptr);
        ASSERT_EQ(expected.face, face);
        ASSERT_NE(std::count(expected.pixels.begin(), expected.pixels.end(), 0xFFFFFFu),
                  static_cast<std::ptrdiff_t>(expected.pixels.size()))
            << "something drawn";
        ASSERT_NE(draw(u"Liberation Serif").pixels, expected.pixels) << "another font draws other pixels";

        DWORD faces = 0;
        HANDLE loaded = AddFontMemResourceEx(copy.data(), static_cast<DWORD>(copy.size()), nullptr, &faces);
        ASSERT_NE(loaded, nullptr);
        EXPECT_GE(faces, 1u);
        const Drawn drawn = draw(ansiToUtf16(name));
        EXPECT_EQ(drawn.face, ansiToUtf16(name));
        EXPECT_EQ(drawn.pixels, expected.pixels);
        EXPECT_TRUE(RemoveFontMemResourceEx(loaded));
    }
}

} // namespace
} // namespace glyvora::fontfile
#endif
