#pragma once
// Labels that draw their own font file's glyphs. GDI answers a face name with whichever font it
// holds of that name: an installed one, another loaded file, or (Wine) the file it first gave for
// the name, even after that file was removed. So before a label's font is created by name, the
// font GDI gives for it is compared with the label's file (its name and head tables). When they
// differ, the file is loaded again from memory as a copy whose names are rewritten to a name of its
// own, and the label's font is created with that name.
//
// A bitmap font (.fon, .fnt) has no tables to compare, so its name is judged by what is known of
// it: a name an installed font has, or one an earlier label of this process drew by name for
// another file, leads elsewhere; any other name leads to the file, which is then drawn by name.
// Once a second file of a name turns up, GDI may answer the name with either file, so from then
// on every file of that name gets a copy, the labels already drawn by it too (takeContested).
//
// Memory stays bounded: only a file whose name leads elsewhere gets a copy, one copy per file
// however many labels show it, and the copy is removed as soon as no label holds it any more.
// Wine keeps a name bound to the font it first gave for it; a copy's name is never reused, so
// it cannot be bound to anything else.

#include "forms/font_files.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

namespace glyvora::win32 {

// What one label's font was last bound to.
struct FontBinding {
    Text path;
    Text faceName;
    LONG weight = 0;
    BYTE italic = 0;
    bool decided = false;
    std::wstring privateFace; // empty: the label asks for its own face name
};

class FontBinder {
public:
    // Takes the installed fonts' face names, so it must be made before the program adds any font.
    FontBinder();
    ~FontBinder();
    FontBinder(const FontBinder&) = delete;
    FontBinder& operator=(const FontBinder&) = delete;

    void setSource(FontFileSource* source) { source_ = source; }

    // The binding of a label whose font `request` asks for `faceName` and comes from the file at
    // `path`. A binding that fits is taken as it is; otherwise a new one is made, holding a copy
    // when one is needed. The caller releases the binding it replaces once the new font shows.
    FontBinding bind(const FontBinding& current, const LOGFONTW& request, const Text& faceName,
                     const Text& path);
    // The binding kept, one more holder for its copy.
    FontBinding keep(const FontBinding& binding);
    // Lets go of the binding's copy, removing the copy when no binding holds it.
    void release(FontBinding& binding);

    // The bitmap face names that another file turned up for since the last call: the labels
    // drawn by one of these names must be bound again.
    std::vector<Text> takeContested() { return std::exchange(contested_, {}); }

    // The copies loaded, for tests.
    std::size_t copiesLoaded() const { return copies_.size(); }

private:
    struct Copy {
        HANDLE handle = nullptr;
        std::wstring face;
        int holders = 0;
    };
    using CopyKey = std::pair<Text, std::uint32_t>; // file, face

    // Whether the font GDI makes for `request` is the face of the file.
    static bool drawsFile(const LOGFONTW& request, const FontFileFace& face);
    // Whether the bitmap font at `path` is drawn when its face name is asked for; records the name
    // as the file's when it is.
    bool bitmapDrawnByName(const Text& faceName, const Text& path);

    FontFileSource* source_ = nullptr;
    std::map<CopyKey, Copy> copies_;
    std::map<std::wstring, CopyKey> byFace_;
    std::set<std::wstring> installedFaces_; // folded to lower case, as GDI compares names
    std::vector<Text> contested_;
};

} // namespace glyvora::win32
