#pragma once
// The tables of one face of an sfnt font (TrueType or CFF outlines, alone or in a collection), read
// through bounded ranges of the file. The face-name reader finds the name table this way, and a
// backend compares the name and head tables GDI hands out for a face name with a file's own, to
// tell whether the name leads to that file or to another font of the same name.

#include "fontfile/font_bytes.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace glyvora::fontfile {

struct SfntTable {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    bool present = false;
};

// The tables GDI needs to load a face, as the table directory places them.
struct SfntDirectory {
    SfntTable name, head, hhea, maxp, cmap, glyf, loca, cff;
    // Header, metrics, character map, names, and outlines, TrueType or CFF. A font of bitmaps only
    // must still carry (empty) glyf and loca tables for GDI to take it.
    bool loadable() const;
};

// The directory of the sfnt face whose table directory starts at `offset` (tables addressed from
// the start of the file, as in a collection); nothing when it is no TrueType or CFF face or a
// table runs past the end of the file, which GDI refuses as damaged.
std::optional<SfntDirectory> readSfntDirectory(FontBytes& bytes, std::uint64_t offset);

// Where face `face` of the file starts: 0 for an sfnt font's only face, the collection's entry for
// a collection; nothing for anything else or a face the file does not have.
std::optional<std::uint64_t> sfntFaceOffset(FontBytes& bytes, std::uint32_t face);

// A face's name and head tables, byte for byte as the file holds them.
struct FaceTables {
    std::vector<std::uint8_t> name;
    std::vector<std::uint8_t> head;
};

// The tables of face `face` of an sfnt font or a collection that GDI would load; nothing when the
// file is none, the face does not exist, or either table cannot be read whole (one read of each,
// at most FontBytes::maxRead bytes).
std::optional<FaceTables> faceTablesOf(FontBytes& bytes, std::uint32_t face = 0);

} // namespace glyvora::fontfile
