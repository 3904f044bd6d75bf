#include "fontfile/font_builder.h"

#include <algorithm>
#include <map>

namespace glyvora::testing {

namespace {

// Appenders for big-endian (sfnt) and little-endian (NE, .fnt) fields.
struct Be {
    std::string out;
    Be& u8(std::uint8_t v) {
        out.push_back(static_cast<char>(v));
        return *this;
    }
    Be& u16(std::uint16_t v) { return u8(v >> 8).u8(v & 0xFF); }
    Be& i16(std::int16_t v) { return u16(static_cast<std::uint16_t>(v)); }
    Be& u32(std::uint32_t v) { return u16(v >> 16).u16(v & 0xFFFF); }
    Be& raw(const std::string& s) {
        out += s;
        return *this;
    }
    Be& zeros(std::size_t n) {
        out.append(n, '\0');
        return *this;
    }
};

struct Le {
    std::string out;
    Le& u8(std::uint8_t v) {
        out.push_back(static_cast<char>(v));
        return *this;
    }
    Le& u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
    Le& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Le& raw(const std::string& s) {
        out += s;
        return *this;
    }
    Le& zeros(std::size_t n) {
        out.append(n, '\0');
        return *this;
    }
};

std::string headTable() {
    Be t;
    t.u32(0x00010000)    // version
        .u32(0x00010000) // font revision
        .u32(0)          // checksum adjustment
        .u32(0x5F0F3CF5) // magic
        .u16(0x000B)     // flags
        .u16(1000)       // units per em
        .zeros(16)       // created, modified
        .i16(0)          // xMin
        .i16(-200)       // yMin
        .i16(500)        // xMax
        .i16(800)        // yMax
        .u16(0)          // mac style
        .u16(8)          // lowest readable size
        .i16(2)          // direction hint
        .i16(0)          // short loca offsets
        .i16(0);         // glyph data format
    return t.out;
}

std::string hheaTable() {
    Be t;
    t.u32(0x00010000) // version
        .i16(800)     // ascender
        .i16(-200)    // descender
        .i16(0)       // line gap
        .u16(500)     // advance width max
        .i16(0)       // min left side bearing
        .i16(0)       // min right side bearing
        .i16(500)     // x max extent
        .i16(1)       // caret slope rise
        .i16(0)       // caret slope run
        .i16(0)       // caret offset
        .zeros(8)     // reserved
        .i16(0)       // metric data format
        .u16(2);      // horizontal metrics: .notdef and space
    return t.out;
}

std::string maxpTable() {
    Be t;
    t.u32(0x00010000) // version 1.0
        .u16(2)       // glyphs
        .zeros(12)    // points, contours, composite points and contours
        .u16(2)       // zones
        .zeros(12);   // twilight points .. component depth
    return t.out;
}

std::string cmapTable() {
    Be t;
    t.u16(0)
        .u16(1) // version, one subtable
        .u16(3)
        .u16(1)
        .u32(12) // Windows Unicode BMP at 12
        .u16(4)
        .u16(32)
        .u16(0) // format 4, length, language
        .u16(4)
        .u16(4)
        .u16(1)
        .u16(0) // segments x2, search range, entry selector, range shift
        .u16(0x20)
        .u16(0xFFFF) // end codes
        .u16(0)      // pad
        .u16(0x20)
        .u16(0xFFFF) // start codes
        .u16(static_cast<std::uint16_t>(1 - 0x20))
        .u16(1) // deltas: space is glyph 1
        .u16(0)
        .u16(0); // range offsets
    return t.out;
}

std::string os2Table() {
    Be t;
    t.u16(1)       // version
        .i16(500)  // average width
        .u16(400)  // weight
        .u16(5)    // width
        .u16(0)    // embedding: installable
        .zeros(20) // sub- and superscript sizes and offsets
        .i16(50)   // strikeout size
        .i16(300)  // strikeout position
        .i16(0)    // family class
        .zeros(10) // panose
        .u32(1)
        .zeros(12)       // Unicode ranges: Basic Latin
        .raw("NONE")     // vendor
        .u16(0x40)       // regular
        .u16(0x20)       // first char
        .u16(0x20)       // last char
        .i16(800)        // typo ascender
        .i16(-200)       // typo descender
        .i16(0)          // typo line gap
        .u16(800)        // win ascent
        .u16(200)        // win descent
        .u32(0x00040001) // code pages: 1252 and 936
        .u32(0);
    return t.out;
}

std::string postTable() {
    Be t;
    t.u32(0x00030000).u32(0).i16(-100).i16(50).u32(0).zeros(16);
    return t.out;
}

std::string nameTable(const std::vector<NameRecord>& records) {
    Be t;
    const std::size_t storage = 6 + 12 * records.size();
    t.u16(0).u16(static_cast<std::uint16_t>(records.size())).u16(static_cast<std::uint16_t>(storage));
    std::string strings;
    for (const NameRecord& r : records) {
        t.u16(r.platform).u16(r.encoding).u16(r.language).u16(r.nameId);
        t.u16(static_cast<std::uint16_t>(r.bytes.size())).u16(static_cast<std::uint16_t>(strings.size()));
        strings += r.bytes;
    }
    return t.raw(strings).out;
}

std::string padded(std::string s) {
    while (s.size() % 4)
        s.push_back('\0');
    return s;
}

} // namespace

NameRecord windowsName(std::uint16_t language, const std::u16string& text, std::uint16_t nameId,
                       std::uint16_t encoding) {
    NameRecord r;
    r.encoding = encoding;
    r.language = language;
    r.nameId = nameId;
    for (char16_t c : text) {
        r.bytes.push_back(static_cast<char>(c >> 8));
        r.bytes.push_back(static_cast<char>(c & 0xFF));
    }
    return r;
}

std::string buildSfnt(const SfntFont& font, std::uint32_t base) {
    std::vector<NameRecord> names = font.names;
    // Style, full and PostScript names, which loaders expect beside the family.
    names.push_back(windowsName(0x0409, u"Regular", 2));
    names.push_back(windowsName(0x0409, u"Glyvora Probe Regular", 4));
    names.push_back(windowsName(0x0409, u"GlyvoraProbe-Regular", 6));

    std::map<std::string, std::string> tables; // sorted by tag, as the directory must be
    tables["head"] = headTable();
    tables["hhea"] = hheaTable();
    tables["maxp"] = maxpTable();
    tables["cmap"] = font.cmap.empty() ? cmapTable() : font.cmap;
    tables["OS/2"] = os2Table();
    tables["post"] = postTable();
    tables["hmtx"] = Be().u16(500).i16(0).u16(500).i16(0).out;
    tables["name"] = font.rawNameTable.empty() ? nameTable(names) : font.rawNameTable;
    if (font.cff) {
        tables["CFF "] = Be().u8(1).u8(0).u8(4).u8(1).zeros(12).out; // a CFF header and no more
    } else {
        tables["loca"] = Be().u16(0).u16(0).u16(0).out; // two empty glyphs
        tables["glyf"] = std::string(4, '\0');
    }
    for (const std::string& tag : font.omitTables)
        tables.erase(tag);

    const std::uint16_t count = static_cast<std::uint16_t>(tables.size());
    std::uint16_t entrySelector = 0;
    while ((2u << entrySelector) <= count)
        ++entrySelector;
    const std::uint16_t searchRange = static_cast<std::uint16_t>(16u << entrySelector);
    Be out;
    out.u32(font.cff ? 0x4F54544F : 0x00010000).u16(count).u16(searchRange).u16(entrySelector);
    out.u16(static_cast<std::uint16_t>(count * 16 - searchRange));
    std::uint32_t offset = base + 12 + 16u * count;
    std::string data;
    for (const auto& [tag, bytes] : tables) {
        out.raw(tag).u32(0).u32(offset).u32(static_cast<std::uint32_t>(bytes.size()));
        data += padded(bytes);
        offset = base + 12 + 16u * count + static_cast<std::uint32_t>(data.size());
    }
    return out.raw(data).out;
}

std::string buildCollection(const std::vector<SfntFont>& fonts) {
    const std::uint32_t headerSize = 12 + 4 * static_cast<std::uint32_t>(fonts.size());
    Be header;
    header.raw("ttcf").u32(0x00010000).u32(static_cast<std::uint32_t>(fonts.size()));
    std::string body;
    for (const SfntFont& font : fonts) {
        const std::uint32_t at = headerSize + static_cast<std::uint32_t>(body.size());
        header.u32(at);
        body += padded(buildSfnt(font, at));
    }
    return header.raw(body).out;
}

std::string cmapFormat4(const std::vector<Segment>& segments, const std::vector<std::uint16_t>& glyphIds) {
    const auto count = static_cast<std::uint16_t>(segments.size());
    Be body;
    for (const Segment& s : segments)
        body.u16(s.end);
    body.u16(0); // pad
    for (const Segment& s : segments)
        body.u16(s.start);
    for (const Segment& s : segments)
        body.i16(s.delta);
    for (const Segment& s : segments)
        body.u16(s.rangeOffset);
    for (std::uint16_t id : glyphIds)
        body.u16(id);
    Be t;
    t.u16(4).u16(static_cast<std::uint16_t>(14 + body.out.size())).u16(0); // format, length, language
    t.u16(static_cast<std::uint16_t>(2 * count)).u16(2).u16(0).u16(0);     // the search fields unused
    return t.raw(body.out).out;
}

std::string cmapGroups(const std::vector<Group>& groups, std::uint16_t format) {
    Be t;
    t.u16(format).u16(0).u32(static_cast<std::uint32_t>(16 + 12 * groups.size())).u32(0);
    t.u32(static_cast<std::uint32_t>(groups.size()));
    for (const Group& g : groups)
        t.u32(g.first).u32(g.last).u32(g.glyph);
    return t.out;
}

std::string buildCmap(const std::vector<CmapSubtable>& subtables) {
    Be t;
    t.u16(0).u16(static_cast<std::uint16_t>(subtables.size()));
    std::uint32_t offset = 4 + 8 * static_cast<std::uint32_t>(subtables.size());
    std::string body;
    for (const CmapSubtable& s : subtables) {
        t.u16(s.platform).u16(s.encoding).u32(offset + static_cast<std::uint32_t>(body.size()));
        body += s.bytes;
    }
    return t.raw(body).out;
}

std::string buildFnt(const std::string& face) {
    // Version 3.0 header (148 bytes), a character table of two entries (first char and the
    // sentinel, 6 bytes each), one 8x8 bitmap, then the face name.
    const std::uint32_t headerSize = 148;
    const std::uint32_t bitmapAt = headerSize + 12;
    const std::uint32_t faceAt = bitmapAt + 8;
    const std::uint32_t size = faceAt + static_cast<std::uint32_t>(face.size()) + 1;
    std::string copyright = "synthetic";
    copyright.resize(60, '\0');
    Le h;
    h.u16(0x0300)  // version
        .u32(size) // size of the file
        .raw(copyright)
        .u16(0)  // raster
        .u16(10) // points
        .u16(96)
        .u16(96) // resolution
        .u16(7)  // ascent
        .u16(0)
        .u16(0) // internal, external leading
        .u8(0)
        .u8(0)
        .u8(0)    // italic, underline, strikeout
        .u16(400) // weight
        .u8(0)    // ANSI character set
        .u16(8)
        .u16(8)   // pixel width, height
        .u8(0x31) // fixed pitch, modern
        .u16(8)
        .u16(8) // average, maximum width
        .u8(0x20)
        .u8(0x20) // first, last char
        .u8(0)
        .u8(0)         // default, break char (relative to the first)
        .u16(1)        // width bytes
        .u32(0)        // device name: none
        .u32(faceAt)   // face name
        .u32(0)        // bits pointer
        .u32(bitmapAt) // bits offset
        .u8(0)         // reserved
        .u32(0x10)     // flags: fixed
        .zeros(6)      // A, B, C spaces
        .u32(0)        // colour pointer
        .zeros(16);    // reserved
    h.out.resize(headerSize, '\0');
    h.u16(8).u32(bitmapAt); // the character: width 8, bits
    h.u16(8).u32(bitmapAt); // the sentinel
    h.zeros(8);             // the bitmap
    h.raw(face).u8(0);
    return h.out;
}

std::string buildFon(const std::vector<std::string>& faces) {
    // MZ stub (64 bytes) pointing at the NE header at 0x40; the NE header (64 bytes); the resource
    // table; the resident-name table; then the resources, aligned to 16 bytes (shift 4).
    std::vector<std::string> fonts;
    for (const std::string& face : faces)
        fonts.push_back(buildFnt(face));
    const std::uint16_t shift = 4;
    const std::size_t resourceTableSize = 2 + 8 + 12 * fonts.size() + 8 + 12 + 2;
    const std::size_t residentNames = 0x40 + resourceTableSize;
    const std::string moduleName = "\x07"
                                   "FONTLIB";
    // After the resident-name table (the module name, its ordinal, a terminator) comes an empty
    // entry table.
    const std::size_t entryTable = residentNames + moduleName.size() + 3;
    const std::size_t dataAt = (0x40 + entryTable + 2 + 15) / 16 * 16;

    Le table;
    table.u16(shift);
    table.u16(0x8008).u16(static_cast<std::uint16_t>(fonts.size())).u32(0); // FONT resources
    std::string data;
    std::vector<std::size_t> at;
    for (const std::string& font : fonts) {
        at.push_back(dataAt + data.size());
        data += font;
        data.resize((data.size() + 15) / 16 * 16, '\0');
    }
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        table.u16(static_cast<std::uint16_t>(at[i] >> shift))
            .u16(static_cast<std::uint16_t>((fonts[i].size() + 15) >> shift))
            .u16(0x1C30)                                 // moveable, shareable, preloaded
            .u16(static_cast<std::uint16_t>(0x8001 + i)) // integer id
            .u32(0);
    }
    // FONTDIR: a count and, per font, its id and a copy of its header (not read by loaders here).
    const std::size_t dirAt = dataAt + data.size();
    std::string dir = Le().u16(0).out;
    data += dir;
    data.resize((data.size() + 15) / 16 * 16, '\0');
    table.u16(0x8007).u16(1).u32(0);
    table.u16(static_cast<std::uint16_t>(dirAt >> shift)).u16(1).u16(0x0C50).u16(0x8001).u32(0);
    table.u16(0); // end of types

    Le ne;
    ne.raw("NE")
        .u8(5)
        .u8(10)                                      // signature, linker version
        .u16(static_cast<std::uint16_t>(entryTable)) // entry table
        .u16(2)                                      // entry table length
        .u32(0)                                      // CRC
        .u16(0x8000 | 0x0001)                        // library, single data
        .zeros(0x24 - 0x0E)
        .u16(0x40)                                      // resource table
        .u16(static_cast<std::uint16_t>(residentNames)) // resident-name table
        .zeros(0x40 - 0x28);
    ne.out.resize(0x40, '\0');
    ne.out[0x36] = 2; // Windows

    Le file;
    file.raw("MZ").zeros(0x3C - 2).u32(0x40);
    file.raw(ne.out).raw(table.out).raw(moduleName).u16(0).u8(0).u16(0);
    file.out.resize(dataAt, '\0');
    file.raw(data);
    return file.out;
}

void putU16be(std::string& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v >> 8);
    b[at + 1] = static_cast<char>(v & 0xFF);
}
void putU32be(std::string& b, std::size_t at, std::uint32_t v) {
    putU16be(b, at, static_cast<std::uint16_t>(v >> 16));
    putU16be(b, at + 2, static_cast<std::uint16_t>(v & 0xFFFF));
}
void putU16le(std::string& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}
void putU32le(std::string& b, std::size_t at, std::uint32_t v) {
    putU16le(b, at, static_cast<std::uint16_t>(v & 0xFFFF));
    putU16le(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}
std::uint16_t getU16be(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) << 8 |
                                      static_cast<unsigned char>(b[at + 1]));
}
std::uint32_t getU32be(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(getU16be(b, at)) << 16 | getU16be(b, at + 2);
}

std::size_t tableOffset(const std::string& font, const std::string& tag) {
    const std::uint16_t count = getU16be(font, 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 12 + 16 * i;
        if (font.compare(at, 4, tag) == 0) return getU32be(font, at + 8);
    }
    return std::string::npos;
}

std::string packageFile(const std::string& unixPath) {
    std::string path;
#ifdef _WIN32
    path = "Z:";
#endif
    for (char c : unixPath)
        path.push_back(c == '/' ? '\\' : c);
    return path;
}

} // namespace glyvora::testing
