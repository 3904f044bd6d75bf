#pragma once
// Font files built from named fields, for the face-name tests: sfnt fonts (TrueType that GDI and
// FreeType really load, or CFF-flavoured ones for the reader), collections, .fnt and .fon files.

#include <cstdint>
#include <string>
#include <vector>

namespace glyvora::testing {

struct NameRecord {
    std::uint16_t platform = 3; // Windows
    std::uint16_t encoding = 1; // Unicode BMP
    std::uint16_t language = 0x0409;
    std::uint16_t nameId = 1; // family
    std::string bytes;        // the string as stored
};

// A Windows-platform record holding `text` as UTF-16 big-endian.
NameRecord windowsName(std::uint16_t language, const std::u16string& text, std::uint16_t nameId = 1,
                       std::uint16_t encoding = 1);

struct SfntFont {
    bool cff = false;                    // "OTTO" with a CFF table instead of glyf and loca
    std::vector<NameRecord> names;       // the name table's records, in this order
    std::vector<std::string> omitTables; // tags of tables to leave out
    std::string rawNameTable;            // when set, the name table's bytes (and `names` unused)
};

// One sfnt font whose table offsets count from `base`, the position the font will have in its
// file (0 for a font file of its own, later for the fonts of a collection).
std::string buildSfnt(const SfntFont& font, std::uint32_t base = 0);

// A collection ("ttcf", version 1.0) of the fonts, in order.
std::string buildCollection(const std::vector<SfntFont>& fonts);

// A raster .fnt, version 3.0, of one character, with face name `face` (its terminator added).
std::string buildFnt(const std::string& face);

// A .fon: an NE executable with one FONT resource per face, in order, and a FONTDIR.
std::string buildFon(const std::vector<std::string>& faces);

// Big-endian and little-endian fields, for patching built files.
void putU16be(std::string& bytes, std::size_t at, std::uint16_t value);
void putU32be(std::string& bytes, std::size_t at, std::uint32_t value);
void putU16le(std::string& bytes, std::size_t at, std::uint16_t value);
void putU32le(std::string& bytes, std::size_t at, std::uint32_t value);
std::uint16_t getU16be(const std::string& bytes, std::size_t at);
std::uint32_t getU32be(const std::string& bytes, std::size_t at);

// The offset of the table `tag` in a file built by buildSfnt with base 0 (npos when missing).
std::size_t tableOffset(const std::string& font, const std::string& tag);

} // namespace glyvora::testing
