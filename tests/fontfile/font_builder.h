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
    std::string cmap;                    // the character map; empty: one mapping the space only
    std::string rawNameTable;            // when set, the name table's bytes (and `names` unused)
};

// One sfnt font whose table offsets count from `base`, the position the font will have in its
// file (0 for a font file of its own, later for the fonts of a collection).
std::string buildSfnt(const SfntFont& font, std::uint32_t base = 0);

// A collection ("ttcf", version 1.0) of the fonts, in order.
std::string buildCollection(const std::vector<SfntFont>& fonts);

// A raster .fnt, version 3.0, of one character, with face name `face` (its terminator added).
// Its character set byte sits at fntCharSet, its first and last character at fntFirstChar and
// fntLastChar.
std::string buildFnt(const std::string& face);
constexpr std::size_t fntCharSet = 0x55;
constexpr std::size_t fntFirstChar = 0x5F;
constexpr std::size_t fntLastChar = 0x60;

// A .fon: an NE executable with one FONT resource per face, in order, and a FONTDIR.
std::string buildFon(const std::vector<std::string>& faces);

// Character maps. A format 4 segment maps start..end by the delta when rangeOffset is 0, else
// through the glyph index array that follows the segments (rangeOffset counted in bytes from the
// segment's own rangeOffset field, as stored).
struct Segment {
    std::uint16_t start = 0;
    std::uint16_t end = 0;
    std::int16_t delta = 0;
    std::uint16_t rangeOffset = 0;
};
std::string cmapFormat4(const std::vector<Segment>& segments,
                        const std::vector<std::uint16_t>& glyphIds = {});

// A format 12 (or 13) group: first..last, mapped from `glyph` on (or all to `glyph`).
struct Group {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::uint32_t glyph = 0;
};
std::string cmapGroups(const std::vector<Group>& groups, std::uint16_t format = 12);

struct CmapSubtable {
    std::uint16_t platform = 3;
    std::uint16_t encoding = 1;
    std::string bytes;
};
// A cmap table of the subtables, its encoding records in this order.
std::string buildCmap(const std::vector<CmapSubtable>& subtables);

// Big-endian and little-endian fields, for patching built files.
void putU16be(std::string& bytes, std::size_t at, std::uint16_t value);
void putU32be(std::string& bytes, std::size_t at, std::uint32_t value);
void putU16le(std::string& bytes, std::size_t at, std::uint16_t value);
void putU32le(std::string& bytes, std::size_t at, std::uint32_t value);
std::uint16_t getU16be(const std::string& bytes, std::size_t at);
std::uint32_t getU32be(const std::string& bytes, std::size_t at);

// The offset of the table `tag` in a file built by buildSfnt with base 0 (npos when missing).
std::size_t tableOffset(const std::string& font, const std::string& tag);

// A file of a Debian package, in the program's path form; under Wine the Unix root is drive Z:.
std::string packageFile(const std::string& unixPath);

} // namespace glyvora::testing
