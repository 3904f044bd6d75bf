// Character maps of sfnt fonts: the cmap table's subtable GDI would use, read as ranges.
//
// Of the subtables, the Windows full-repertoire one (3, 10) comes first, then Windows Unicode BMP
// (3, 1), then Windows symbol (3, 0), then the Unicode platform's; the first of them that reads
// gives the coverage. Formats 0, 4, 6, 12 and 13 are read. A code mapped to glyph 0 (the missing
// glyph) is not held.
#include "fontfile/byte_reader.h"
#include "fontfile/coverage_readers.h"
#include "fontfile/sfnt_tables.h"

#include <algorithm>

namespace glyvora::fontfile {

namespace {

constexpr std::uint32_t cmapTag = 0x636D6170; // "cmap"
constexpr std::size_t encodingRecordBytes = 8;
constexpr std::size_t groupBytes = 12;

using Ranges = std::vector<CodePointRange>;

// Adds one held code point, joining it to the last range when it follows on.
void hold(Ranges& ranges, char32_t c) {
    if (!ranges.empty() && ranges.back().last + 1 == c) {
        ranges.back().last = c;
    } else {
        ranges.push_back({c, c});
    }
}

struct Table {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

std::optional<Table> findCmap(FontBytes& bytes, std::uint64_t offset) {
    const auto header = bytes.read(offset, sfntHeaderBytes);
    if (!header) return std::nullopt;
    const std::uint16_t tableCount = ByteReader(*header).u16be(4);
    const auto directory = bytes.read(offset + sfntHeaderBytes, std::size_t{tableCount} * tableRecordBytes);
    if (!directory) return std::nullopt;
    ByteReader d(*directory);
    for (std::size_t i = 0; i < tableCount; ++i) {
        const std::size_t at = i * tableRecordBytes;
        if (d.u32be(at) != cmapTag) continue;
        const Table table{d.u32be(at + 8), d.u32be(at + 12)};
        if (table.offset > bytes.size() || table.length > bytes.size() - table.offset) return std::nullopt;
        return table;
    }
    return std::nullopt;
}

// Format 0: a glyph byte for each of the codes 0 to 255.
std::optional<Ranges> format0(ByteReader& r) {
    if (!r.has(6, 256)) return std::nullopt;
    Ranges ranges;
    for (char32_t c = 0; c < 256; ++c)
        if (r.u8(6 + c) != 0) hold(ranges, c);
    return ranges;
}

// Format 4: segments of BMP codes, each mapped by a delta or through the glyph index array.
std::optional<Ranges> format4(ByteReader& r) {
    const std::size_t segments = r.u16be(6) / 2;
    if (segments == 0 || !r.has(16, 8 * segments)) return std::nullopt;
    const std::size_t ends = 14;
    const std::size_t starts = ends + 2 * segments + 2;
    const std::size_t deltas = starts + 2 * segments;
    const std::size_t rangeOffsets = deltas + 2 * segments;
    Ranges ranges;
    // Segments are sorted by their end code; a lookup takes the first segment ending at or after a
    // code, so the codes of a segment that an earlier one already reaches are not its own. That
    // also keeps the work to one step per BMP code however the segments overlap.
    std::uint32_t firstFree = 0;
    for (std::size_t i = 0; i < segments; ++i) {
        const std::uint32_t end = r.u16be(ends + 2 * i);
        const std::uint32_t start = r.u16be(starts + 2 * i);
        const std::uint16_t delta = r.u16be(deltas + 2 * i);
        const std::size_t rangeOffsetAt = rangeOffsets + 2 * i;
        const std::uint16_t rangeOffset = r.u16be(rangeOffsetAt);
        const std::uint32_t from = std::max(start, firstFree);
        if (end + 1 > firstFree) firstFree = end + 1;
        if (from > end) continue;
        if (rangeOffset == 0) {
            // The glyph is the code plus the delta, modulo 65536: one code of the segment may land
            // on glyph 0.
            const std::uint32_t missing = (0x10000u - delta) & 0xFFFF;
            if (missing >= from && missing <= end) {
                if (missing > from) ranges.push_back({from, missing - 1});
                if (missing < end) ranges.push_back({missing + 1, end});
            } else {
                ranges.push_back({from, end});
            }
            continue;
        }
        for (std::uint32_t c = from; c <= end; ++c) {
            const std::size_t at = rangeOffsetAt + rangeOffset + 2 * std::size_t{c - start};
            if (!r.has(at, 2)) break; // past the subtable: no glyph for the rest either
            std::uint16_t glyph = r.u16be(at);
            if (glyph != 0) glyph = static_cast<std::uint16_t>(glyph + delta);
            if (glyph != 0) hold(ranges, c);
        }
    }
    if (!r.ok()) return std::nullopt;
    return ranges;
}

// Format 6: a run of glyph indices for consecutive BMP codes.
std::optional<Ranges> format6(ByteReader& r) {
    const std::uint32_t firstCode = r.u16be(6);
    const std::size_t count = r.u16be(8);
    if (!r.ok() || !r.has(10, 2 * count)) return std::nullopt;
    Ranges ranges;
    for (std::size_t i = 0; i < count && firstCode + i <= 0xFFFF; ++i)
        if (r.u16be(10 + 2 * i) != 0) hold(ranges, static_cast<char32_t>(firstCode + i));
    return ranges;
}

// Formats 12 and 13: groups of code points, mapped to consecutive glyphs (12) or one glyph (13).
std::optional<Ranges> groups(ByteReader& r, bool sameGlyph) {
    if (!r.has(0, 16)) return std::nullopt;
    const std::uint32_t count = r.u32be(12);
    if (count > (r.size() - 16) / groupBytes) return std::nullopt;
    Ranges ranges;
    ranges.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 16 + i * groupBytes;
        std::uint32_t first = r.u32be(at);
        const std::uint32_t last = std::min<std::uint32_t>(r.u32be(at + 4), lastCodePoint);
        const std::uint32_t glyph = r.u32be(at + 8);
        if (first > last) continue;
        if (glyph == 0) {
            if (sameGlyph || first == last) continue;
            ++first; // the group's first code is the missing glyph
        }
        ranges.push_back({first, last});
    }
    if (!r.ok()) return std::nullopt;
    return ranges;
}

// The subtable at `offset` of the cmap table, bounded by its own length.
std::optional<Ranges> subtable(FontBytes& bytes, const Table& cmap, std::uint32_t offset) {
    if (offset >= cmap.length) return std::nullopt;
    const std::uint64_t at = cmap.offset + offset;
    const std::uint64_t room = cmap.length - offset;
    const auto head = bytes.read(at, static_cast<std::size_t>(std::min<std::uint64_t>(room, 8)));
    if (!head) return std::nullopt;
    ByteReader h(*head);
    const std::uint16_t format = h.u16be(0);
    std::uint64_t length = 0;
    switch (format) {
    case 0:
    case 4:
    case 6:
        length = h.u16be(2);
        break;
    case 12:
    case 13:
        length = h.u32be(4);
        break;
    default:
        return std::nullopt;
    }
    if (!h.ok() || length > room || length > FontBytes::maxRead) return std::nullopt;
    const auto body = bytes.read(at, static_cast<std::size_t>(length));
    if (!body) return std::nullopt;
    ByteReader r(*body);
    switch (format) {
    case 0:
        return format0(r);
    case 4:
        return format4(r);
    case 6:
        return format6(r);
    case 12:
        return groups(r, false);
    default:
        return groups(r, true);
    }
}

// How GDI ranks a subtable: higher first, 0 not at all.
int rank(std::uint16_t platform, std::uint16_t encoding) {
    if (platform == 3) {
        switch (encoding) {
        case 10:
            return 5;
        case 1:
            return 4;
        case 0:
            return 3;
        default:
            return 0;
        }
    }
    if (platform == 0) {
        if (encoding == 4 || encoding == 6) return 2; // full repertoire
        if (encoding <= 3) return 1;                  // BMP
    }
    return 0; // Macintosh, ISO, variation sequences, other Windows encodings
}

constexpr int symbolRank = 3;

// A symbol font's codes sit either at 0x20-0xFF or at U+F020-U+F0FF; Windows finds a character
// of either form at the other too.
void mirrorSymbolCodes(Ranges& ranges) {
    const std::size_t count = ranges.size();
    for (std::size_t i = 0; i < count; ++i) {
        const CodePointRange r = ranges[i];
        if (r.first <= 0xFF) ranges.push_back({r.first + 0xF000, std::min<char32_t>(r.last, 0xFF) + 0xF000});
        if (r.last >= 0xF000 && r.first <= 0xF0FF)
            ranges.push_back(
                {std::max<char32_t>(r.first, 0xF000) - 0xF000, std::min<char32_t>(r.last, 0xF0FF) - 0xF000});
    }
}

} // namespace

std::optional<std::vector<CodePointRange>> sfntCoverage(FontBytes& bytes, std::uint64_t offset) {
    const std::optional<Table> cmap = findCmap(bytes, offset);
    if (!cmap || cmap->length < 4) return std::nullopt;
    const auto header = bytes.read(cmap->offset, 4);
    if (!header) return std::nullopt;
    const std::size_t count = ByteReader(*header).u16be(2);
    if (4 + count * encodingRecordBytes > cmap->length) return std::nullopt;
    const auto records = bytes.read(cmap->offset + 4, count * encodingRecordBytes);
    if (!records) return std::nullopt;

    struct Candidate {
        int rank;
        std::uint32_t offset;
    };
    std::vector<Candidate> candidates;
    ByteReader r(*records);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = i * encodingRecordBytes;
        const int candidateRank = rank(r.u16be(at), r.u16be(at + 2));
        if (candidateRank > 0) candidates.push_back({candidateRank, r.u32be(at + 4)});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.rank > b.rank; });
    for (const Candidate& candidate : candidates) {
        std::optional<Ranges> ranges = subtable(bytes, *cmap, candidate.offset);
        if (!ranges) continue;
        if (candidate.rank == symbolRank) mirrorSymbolCodes(*ranges);
        return ranges;
    }
    return std::nullopt;
}

std::optional<std::vector<CodePointRange>> collectionCoverage(FontBytes& bytes, std::uint32_t face) {
    // "ttcf", version 1.0 or 2.0, the number of fonts, then each font's table directory offset.
    const auto header = bytes.read(0, 12);
    if (!header) return std::nullopt;
    ByteReader h(*header);
    const std::uint32_t version = h.u32be(4);
    const std::uint32_t fontCount = h.u32be(8);
    if ((version != 0x00010000 && version != 0x00020000) || face >= fontCount) return std::nullopt;
    const auto entry = bytes.read(12 + std::uint64_t{face} * 4, 4);
    if (!entry) return std::nullopt;
    return sfntCoverage(bytes, ByteReader(*entry).u32be(0));
}

} // namespace glyvora::fontfile
