// The reader against GDI itself: fonts loaded into this process privately must show up under the
// face name the reader derives, and real fonts must be known to GDI by that name. Windows only
// (under Wine here).
#ifdef _WIN32
#include "fontfile/face_name.h"
#include "fontfile/folder_walk.h"
#include "fontfile/font_builder.h"
#include "platform/codepage.h"
#include "support/temp_dir.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <windows.h>

namespace glyvora::fontfile {
namespace {

using testing::buildSfnt;
using testing::NameRecord;
using testing::SfntFont;
using testing::TempDir;
using testing::windowsName;
using testing::writeTestFile;

std::u16string wideOf(const Text& ansi) {
    return ansiToUtf16(ansi);
}

using Families = std::map<std::u16string, BYTE>; // family name, a character set it has

int CALLBACK collectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM families) {
    reinterpret_cast<Families*>(families)->emplace(reinterpret_cast<const char16_t*>(font->lfFaceName),
                                                   font->lfCharSet);
    return 1;
}

// Every family GDI enumerates in this process.
Families gdiFamilies() {
    Families families;
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &query, collectFamily, reinterpret_cast<LPARAM>(&families), 0);
    DeleteDC(dc);
    return families;
}

// The face name of the font GDI picks for a logical font asking for `face` in a character set the
// family has (asked for the default set, a bitmap font of another set is passed over).
std::u16string gdiTextFace(const std::u16string& face, BYTE charSet) {
    LOGFONTW request{};
    request.lfHeight = -16;
    request.lfCharSet = charSet;
    face.copy(reinterpret_cast<char16_t*>(request.lfFaceName), LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectW(&request);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, name);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return reinterpret_cast<const char16_t*>(name);
}

std::string show(const Families& names) {
    std::string out;
    for (const auto& [n, charSet] : names) {
        out.push_back('[');
        out.append(utf16ToUtf8(n));
        out.push_back(']');
    }
    return out;
}

// Loads the built font privately and returns the families that appeared.
Families familiesAddedBy(const Text& path) {
    const Families before = gdiFamilies();
    EXPECT_GT(AddFontResourceExW(testing::wideTestPath(path).c_str(), FR_PRIVATE, nullptr), 0) << path;
    Families added;
    for (const auto& family : gdiFamilies())
        if (!before.count(family.first)) added.insert(family);
    return added;
}

TEST(FaceNameGdi, aFontLoadedPrivatelyAppearsUnderTheFaceNameTheReaderDerives) {
    struct Case {
        const char* what;
        std::vector<NameRecord> names;
    };
    const std::vector<Case> cases{
        {"Chinese and English",
         {windowsName(0x0409, u"Glyvora Probe One"), windowsName(0x0804, u"探针一号")}},
        {"English only", {windowsName(0x0409, u"Glyvora Probe Two")}},
        {"a long name", {windowsName(0x0409, u"Glyvora Probe Three With A Name Far Too Long")}},
        {"another language first",
         {windowsName(0x0407, u"Glyvora Sonde Vier"), windowsName(0x0409, u"Glyvora Probe Four")}},
        {"Chinese only", {windowsName(0x0804, u"探针五号")}},
    };
    TempDir dir;
    int n = 0;
    for (const Case& c : cases) {
        SfntFont font;
        font.names = c.names;
        Text file = "probe";
        file.append(std::to_string(++n)).append(".ttf");
        const Text path = dir.file(file);
        writeTestFile(path, buildSfnt(font));
        const Text derived = faceNameOf(path);
        const Families added = familiesAddedBy(path);
        EXPECT_TRUE(added.count(wideOf(derived)))
            << c.what << ": derived [" << ansiToUtf8(derived) << "], GDI added " << show(added);
        EXPECT_EQ(utf16ToUtf8(gdiTextFace(wideOf(derived), DEFAULT_CHARSET)), ansiToUtf8(derived)) << c.what;
        // The family is listed under its name in the user's language only.
        if (n == 1) {
            EXPECT_FALSE(added.count(u"Glyvora Probe One")) << show(added);
        }
        EXPECT_TRUE(RemoveFontResourceExW(testing::wideTestPath(path).c_str(), FR_PRIVATE, nullptr))
            << c.what;
    }
}

// Wine already knows the fonts of the system's font folders (it skips the private add of a face
// it has); its own fonts it learns from the private add. Either way, once the file is loaded GDI
// must know it by the name the reader derives.
// Wine's own bitmap fonts in TrueType wrapping (bitmaps, with empty glyf and loca tables): GDI on
// Windows loads such fonts, Wine's private add refuses them.
bool wineSkipsBitmapOnlyTrueType(const Text& file) {
    for (const char* name : {"courier.ttf", "fixedsys.ttf", "fixedsys_jp.ttf", "ms_sans_serif.ttf",
                             "small_fonts.ttf", "small_fonts_jp.ttf", "system.ttf"})
        if (file.size() > std::strlen(name) && file.ends_with(std::string("\\") + name)) return true;
    return false;
}

TEST(FaceNameGdi, realFontsAreKnownToGdiByTheFaceNameTheReaderDerives) {
    std::vector<Text> files;
    for (const char* folder : {"Z:\\usr\\share\\fonts\\truetype", "Z:\\usr\\share\\fonts\\opentype",
                               "Z:\\usr\\share\\wine\\fonts"})
        for (const Text& file : listFolderFiles(folder))
            files.push_back(file);
    ASSERT_GE(files.size(), 100u) << "the font packages of scripts/deps.sh are missing";
    int checked = 0;
    for (const Text& file : files) {
        const Text derived = faceNameOf(file);
        EXPECT_FALSE(derived.empty()) << file;
        const int added = AddFontResourceExW(testing::wideTestPath(file).c_str(), FR_PRIVATE, nullptr);
        const Families families = gdiFamilies();
        const auto family = families.find(wideOf(derived));
        if (added == 0 && family == families.end() && wineSkipsBitmapOnlyTrueType(file)) continue;
        ++checked;
        ASSERT_NE(family, families.end()) << file << ": [" << ansiToUtf8(derived) << "] not enumerated";
        EXPECT_EQ(utf16ToUtf8(gdiTextFace(family->first, family->second)), ansiToUtf8(derived)) << file;
        if (added > 0) RemoveFontResourceExW(testing::wideTestPath(file).c_str(), FR_PRIVATE, nullptr);
    }
    EXPECT_GE(checked, 100);
}

} // namespace
} // namespace glyvora::fontfile
#endif
