#pragma once
// The writers behind renameFont, one per file format. Each takes a name isPrivateFaceName accepts
// and returns the renamed file, or nothing.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace glyvora::fontfile {

// An sfnt font whose table directory starts at `offset`; tables are addressed from the start of the
// file, as in a collection. The result is a font file of its own.
std::vector<std::uint8_t> renameSfnt(std::span<const std::uint8_t> file, std::size_t offset,
                                     std::string_view name);

// A collection's face number `face`, as a font file of its own.
std::vector<std::uint8_t> renameCollectionFace(std::span<const std::uint8_t> file, std::uint32_t face,
                                               std::string_view name);

// A .fnt font.
std::vector<std::uint8_t> renameBitmapFont(std::span<const std::uint8_t> file, std::string_view name);

// A .fon file: every FONT resource and the FONTDIR.
std::vector<std::uint8_t> renameResourceFile(std::span<const std::uint8_t> file, std::string_view name);

} // namespace glyvora::fontfile
