#pragma once
// The face name of a font file: the text GDI's logical font for the file's first face carries as
// its face name, read from the file itself.
//
// GDI names a TrueType or OpenType face after the family name (name ID 1) of the name table's
// Windows-platform records: the record in the user's language when there is one, else the US
// English one, else the first Windows family record. A bitmap font (.fnt, or a .fon resource file
// of them) carries its face name in its header. A logical font holds at most 31 UTF-16 units of it.

#include "fontfile/font_bytes.h"
#include "platform/types.h"

#include <cstdint>
#include <string>

namespace glyvora::fontfile {

// A LOGFONT's face name: 32 units with the terminator.
constexpr std::size_t maxFaceNameUnits = 31;

// The language code of US English, the names' fallback.
constexpr std::uint16_t usEnglish = 0x0409;

// The first face's name in UTF-16, at most maxFaceNameUnits long and without zero units; empty when
// the bytes are not a font GDI would load (sfnt TrueType or CFF outlines, a collection, a .fon
// resource file, a .fnt), or it has no name GDI would take. WOFF, WOFF2, Type 1 and everything
// else give the empty name. `language` is the user's language.
std::u16string readFaceName(FontBytes& bytes, std::uint16_t language);

// The face name of the font file at `path` in the ANSI code page, or the empty text. Reads the
// name from the file; when that finds none, asks the system (FontResources::queryFaceName), which
// on POSIX and under Wine yields nothing.
Text faceNameOf(const Text& path);

} // namespace glyvora::fontfile
