#include "forms/win32/font_binding_win32.h"

#include "forms/win32/wide_text.h"

#include <vector>

namespace glyvora::win32 {

namespace {

// GetFontData's table tag: the four letters as a little-endian word.
constexpr DWORD tableTag(const char (&s)[5]) {
    return static_cast<DWORD>(static_cast<unsigned char>(s[0])) |
           static_cast<DWORD>(static_cast<unsigned char>(s[1])) << 8 |
           static_cast<DWORD>(static_cast<unsigned char>(s[2])) << 16 |
           static_cast<DWORD>(static_cast<unsigned char>(s[3])) << 24;
}

// Whether the font selected into `dc` holds the table `tag` exactly as `expected`.
bool tableIs(HDC dc, DWORD tag, const std::vector<std::uint8_t>& expected) {
    const DWORD size = GetFontData(dc, tag, 0, nullptr, 0);
    if (size == GDI_ERROR || size != expected.size()) return false;
    std::vector<std::uint8_t> got(size);
    if (GetFontData(dc, tag, 0, got.data(), size) != size) return false;
    return got == expected;
}

// Face names compare without regard to case, as the font mapper compares them.
std::wstring folded(std::wstring name) {
    for (wchar_t& c : name)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return name;
}

int CALLBACK collectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
    reinterpret_cast<std::set<std::wstring>*>(faces)->insert(folded(font->lfFaceName));
    return 1;
}

// The file each bitmap face name was first drawn by name for in this process, and whether another
// file of the name has turned up since. Wine keeps a name bound to the font it first gave for it,
// even after that font is removed, and the binding belongs to the process, not to one backend.
struct NameDrawn {
    Text path;
    bool contested = false;
};
std::map<std::wstring, NameDrawn>& bitmapNamesDrawn() {
    static std::map<std::wstring, NameDrawn> drawn;
    return drawn;
}

} // namespace

FontBinder::FontBinder() {
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    EnumFontFamiliesExW(dc, &all, collectFace, reinterpret_cast<LPARAM>(&installedFaces_), 0);
    DeleteDC(dc);
}

FontBinder::~FontBinder() {
    for (auto& [key, copy] : copies_)
        RemoveFontMemResourceEx(copy.handle);
}

bool FontBinder::drawsFile(const LOGFONTW& request, const FontFileFace& face) {
    HFONT font = CreateFontIndirectW(&request);
    if (!font) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const bool same =
        tableIs(dc, tableTag("name"), face.nameTable) && tableIs(dc, tableTag("head"), face.headTable);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return same;
}

bool FontBinder::bitmapDrawnByName(const Text& faceName, const Text& path) {
    const std::wstring name = folded(widen(faceName));
    if (installedFaces_.count(name)) return false;
    const auto [drawn, first] = bitmapNamesDrawn().try_emplace(name, NameDrawn{path});
    if (first) return true;
    if (drawn->second.contested) return false;
    if (drawn->second.path == path) return true;
    drawn->second.contested = true;
    contested_.push_back(faceName);
    return false;
}

FontBinding FontBinder::keep(const FontBinding& binding) {
    if (!binding.privateFace.empty()) {
        const auto key = byFace_.find(binding.privateFace);
        if (key != byFace_.end()) ++copies_[key->second].holders;
    }
    return binding;
}

FontBinding FontBinder::bind(const FontBinding& current, const LOGFONTW& request, const Text& faceName,
                             const Text& path) {
    // The weight and the slant pick among the files of a family: a face that was its file's by
    // name in one style may be another file's in the next.
    if (current.decided && current.path == path && current.faceName == faceName &&
        (!current.privateFace.empty() ||
         (current.weight == request.lfWeight && current.italic == request.lfItalic)))
        return keep(current);
    FontBinding binding{path, faceName, request.lfWeight, request.lfItalic, true, {}};
    if (!source_ || path.empty() || faceName.empty()) return binding;

    const std::optional<FontFileFace> face = source_->faceOf(path, faceName);
    // A file that does not carry the face name (another face of a collection, a file the name
    // was not read from) is asked for by name, as before.
    if (!face) return binding;
    const CopyKey key{path, face->face};
    const auto loaded = copies_.find(key);
    if (loaded != copies_.end()) {
        ++loaded->second.holders;
        binding.privateFace = loaded->second.face;
        return binding;
    }
    if (face->bitmap ? bitmapDrawnByName(faceName, path) : drawsFile(request, *face)) return binding;

    std::optional<PrivateFontCopy> copy = source_->privateCopyOf(path, face->face);
    if (!copy || copy->bytes.empty()) return binding;
    DWORD faces = 0;
    // The system keeps its own copy of the bytes: ours go when this returns.
    HANDLE handle =
        AddFontMemResourceEx(copy->bytes.data(), static_cast<DWORD>(copy->bytes.size()), nullptr, &faces);
    if (!handle) return binding;
    const std::wstring privateFace = widen(copy->faceName);
    copies_[key] = Copy{handle, privateFace, 1};
    byFace_[privateFace] = key;
    binding.privateFace = privateFace;
    return binding;
}

void FontBinder::release(FontBinding& binding) {
    if (binding.privateFace.empty()) return;
    const auto key = byFace_.find(binding.privateFace);
    binding.privateFace.clear();
    if (key == byFace_.end()) return;
    const auto copy = copies_.find(key->second);
    if (copy != copies_.end() && --copy->second.holders <= 0) {
        RemoveFontMemResourceEx(copy->second.handle);
        copies_.erase(copy);
        byFace_.erase(key);
    }
}

} // namespace glyvora::win32
