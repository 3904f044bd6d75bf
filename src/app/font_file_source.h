#pragma once
// The program's answers to what the Win32 backend asks about a label's font file: the file's face
// and its tables, read through the font-file library, and renamed copies of it under names no
// other copy of this run has. Sfnt fonts and collections have tables to tell two fonts of one name
// apart; a .fon or .fnt has none and gives a bitmap face, which the backend judges by name.

#include "forms/font_files.h"

#include <cstdint>
#include <map>

namespace glyvora::app {

class ProgramFontFiles final : public FontFileSource {
public:
    std::optional<FontFileFace> faceOf(const Text& path, const Text& faceName) override;
    std::optional<PrivateFontCopy> privateCopyOf(const Text& path, std::uint32_t face) override;

private:
    // What one file gave: its face name and its first face's tables (none for a file without
    // them). A label is given its file and then its face, and a page turn asks again for the files
    // of the page it left, so each file is read once while it stays on the pages.
    struct FileFacts {
        Text faceName;
        std::optional<FontFileFace> face;
    };
    static constexpr std::size_t maxFilesKept = 64;
    const FileFacts& factsOf(const Text& path);

    std::map<Text, FileFacts> facts_;
};

} // namespace glyvora::app
