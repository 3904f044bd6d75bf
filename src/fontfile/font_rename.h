#pragma once
// A copy of a font file under a name of its own. Loaded privately from memory, the copy can be asked
// for by that name alone, so a label shows this file's glyphs even when an installed font or another
// loaded file carries the same face name.
//
// TrueType and OpenType fonts get a new name table (family, full, unique, PostScript, typographic
// family and WWS family names; the style names stay), with every other table copied byte for byte
// and the table directory and checksums rebuilt. A collection gives one face as a font file of its
// own. A .fnt gets the new face name; a .fon gets it in each FONT resource and in its font directory.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace glyvora::fontfile {

// The longest new name: what a logical font's face name holds.
constexpr std::size_t maxPrivateNameLength = 31;

// A name renameFont takes: 1 to 31 ASCII letters and digits, which is valid as a family, full and
// PostScript name alike and reads the same in every code page.
bool isPrivateFaceName(std::string_view name);

// "Glyvora" and the serial in eight hexadecimal digits, e.g. "Glyvora0000002A". Fonts loaded from
// memory belong to the process that loaded them, so one counter for the process, counting every
// copy it makes, gives each copy a name no other loaded copy has; no installed font is named so.
// A name is never given twice, not even after its copy is removed: Wine keeps a face name bound to
// the font it first gave for it (a fallback, when asked before the copy was loaded).
std::string privateFaceName(std::uint32_t serial);

// The font file `font` with its face named `name`, or nothing (an empty result) when `name` is not a
// private face name or the file is not one the rewrite can handle safely: a format other than
// sfnt, collection, .fon or .fnt; anything cut short, overlapping or out of range; no Windows
// family name to rewrite. `face` picks the face of a collection; other formats have one face.
std::vector<std::uint8_t> renameFont(std::span<const std::uint8_t> font, std::string_view name,
                                     std::uint32_t face = 0);

} // namespace glyvora::fontfile
