#pragma once
// What a backend may ask about the font file a label's font comes from (label property fontFile).
// A label is drawn by face name, and the system answers a name with whichever font it has of that
// name: an installed font, another loaded file, or one it keeps bound to the name from earlier. A
// backend that can tell the font it got from the label's file loads a private copy of the file
// under a name of its own instead. Reading font files is not the form layer's: the program installs
// a source (Backend::setFontFileSource); without one, labels are drawn by face name alone.

#include "platform/types.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace glyvora {

// The face of a file that carries the label's face name, and what tells it apart from another
// font of that name.
struct FontFileFace {
    std::uint32_t face = 0; // the face of a collection; 0 for other files
    // A .fon or .fnt: no tables to compare, so the backend judges by the names it knows of.
    bool bitmap = false;
    // An sfnt face's name and head tables as the file holds them: the system hands out the same
    // bytes for the font it draws, so equal tables mean the same font.
    std::vector<std::uint8_t> nameTable;
    std::vector<std::uint8_t> headTable;
};

// A copy of a font file whose face is named `faceName` alone, for loading from memory.
struct PrivateFontCopy {
    Text faceName; // ASCII, never given to another copy in this process
    std::vector<std::uint8_t> bytes;
};

class FontFileSource {
public:
    virtual ~FontFileSource() = default;
    // The face of the file at `path` whose face name is `faceName`; none when the file cannot be
    // read or carries no face of that name.
    virtual std::optional<FontFileFace> faceOf(const Text& path, const Text& faceName) = 0;
    // That face as a font of its own under a new name; none when the file cannot be read or
    // rewritten.
    virtual std::optional<PrivateFontCopy> privateCopyOf(const Text& path, std::uint32_t face) = 0;
};

} // namespace glyvora
