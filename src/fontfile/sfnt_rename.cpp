// Renamed copies of sfnt fonts: TrueType and CFF outlines, alone or as one face of a collection.
//
// The copy is laid out afresh: the header, the table directory sorted by tag, then the tables in the
// same order, each starting on a four-byte boundary and padded with zeros. Every table but the name
// table is copied byte for byte (the head table's checksum adjustment aside, which is recomputed
// last, over the whole file, as the format asks).
#include "fontfile/byte_reader.h"
#include "fontfile/byte_writer.h"
#include "fontfile/font_rename_writers.h"
#include "fontfile/sfnt_tables.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace glyvora::fontfile {

namespace {

constexpr std::size_t langTagRecordBytes = 4;

// head.checkSumAdjustment: the offset in the table, and the sum the whole file must come to.
constexpr std::size_t checkSumAdjustmentOffset = 8;
constexpr std::uint32_t fileChecksumTarget = 0xB1B0AFBA;

// The names the system finds a face by: family, unique, full and PostScript names, Mac's compatible
// full name, and the typographic and WWS families that newer interfaces use instead of the family.
// Subfamily (style) names stay, so the copy keeps its style.
bool isFindingName(std::uint16_t nameId) {
    switch (nameId) {
    case 1:
    case 3:
    case 4:
    case 6:
    case 16:
    case 18:
    case 21:
        return true;
    default:
        return false;
    }
}

// How a record's string holds ASCII text. Windows records of every encoding are 16-bit big-endian
// units (the legacy double-byte encodings keep a single-byte character in a unit's low byte); Mac
// encodings and ISO's ASCII and Latin-1 have ASCII as their single bytes. Records of other
// platforms cannot be written reliably and are dropped.
enum class Storage { dropped, utf16, bytes };

Storage storageOf(std::uint16_t platform, std::uint16_t encoding) {
    switch (platform) {
    case unicodePlatform:
    case windowsPlatform:
        return Storage::utf16;
    case macPlatform:
        return Storage::bytes;
    case isoPlatform:
        return encoding == 1 ? Storage::utf16 : Storage::bytes;
    default:
        return Storage::dropped;
    }
}

struct TableRecord {
    std::uint32_t tag = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// The strings of the new name table, each stored once however many records point at it.
class NameStrings {
public:
    // The offset of `bytes` in the storage, keyed by where they came from; nothing when the offset
    // does not fit a record's 16 bits.
    std::optional<std::uint16_t> place(std::uint64_t key, std::span<const std::uint8_t> bytes) {
        const auto found = placed_.find({key, bytes.size()});
        if (found != placed_.end()) return found->second;
        if (storage_.size() > 0xFFFF) return std::nullopt;
        const auto at = static_cast<std::uint16_t>(storage_.size());
        storage_.insert(storage_.end(), bytes.begin(), bytes.end());
        placed_.emplace(std::make_pair(key, bytes.size()), at);
        return at;
    }
    const std::vector<std::uint8_t>& storage() const { return storage_; }

private:
    std::map<std::pair<std::uint64_t, std::size_t>, std::uint16_t> placed_;
    std::vector<std::uint8_t> storage_;
};

// Keys of the new strings, apart from the original strings' keys (their offsets in the table).
constexpr std::uint64_t newUtf16Key = std::uint64_t{1} << 40;
constexpr std::uint64_t newBytesKey = newUtf16Key + 1;

// The name table with the finding names rewritten to `name`; nothing when a record or the header
// is out of range, the format is unknown, or no Windows family name was there to rewrite.
std::optional<std::vector<std::uint8_t>> renamedNameTable(std::span<const std::uint8_t> table,
                                                          std::string_view name) {
    ByteReader r(table);
    const std::uint16_t format = r.u16be(0);
    const std::uint16_t count = r.u16be(2);
    const std::uint16_t storageOffset = r.u16be(4);
    if (!r.ok() || format > 1) return std::nullopt;
    const std::size_t recordsEnd = nameHeaderBytes + std::size_t{count} * nameRecordBytes;
    if (!r.has(0, recordsEnd)) return std::nullopt;
    std::size_t langTagCount = 0;
    if (format == 1) {
        langTagCount = r.u16be(recordsEnd);
        if (!r.ok() || !r.has(recordsEnd + 2, langTagCount * langTagRecordBytes)) return std::nullopt;
    }

    std::vector<std::uint8_t> utf16;
    std::vector<std::uint8_t> ascii;
    for (char c : name) {
        utf16.push_back(0);
        utf16.push_back(static_cast<std::uint8_t>(c));
        ascii.push_back(static_cast<std::uint8_t>(c));
    }

    // A string of the original table: inside the table, or the table is refused.
    auto original = [&](std::uint16_t length,
                        std::uint16_t offset) -> std::optional<std::span<const std::uint8_t>> {
        const std::size_t at = std::size_t{storageOffset} + offset;
        if (!r.has(at, length)) return std::nullopt;
        return r.bytes(at, length);
    };

    ByteWriter records;
    NameStrings strings;
    std::size_t kept = 0;
    bool windowsFamily = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = nameHeaderBytes + i * nameRecordBytes;
        const std::uint16_t platform = r.u16be(at);
        const std::uint16_t encoding = r.u16be(at + 2);
        const std::uint16_t language = r.u16be(at + 4);
        const std::uint16_t nameId = r.u16be(at + 6);
        const std::uint16_t length = r.u16be(at + 8);
        const std::uint16_t offset = r.u16be(at + 10);
        const auto bytes = original(length, offset);
        if (!bytes) return std::nullopt;
        std::optional<std::uint16_t> placed;
        std::size_t newLength = length;
        if (isFindingName(nameId)) {
            const Storage storage = storageOf(platform, encoding);
            if (storage == Storage::dropped) continue;
            const bool wide = storage == Storage::utf16;
            placed = wide ? strings.place(newUtf16Key, utf16) : strings.place(newBytesKey, ascii);
            newLength = wide ? utf16.size() : ascii.size();
            if (platform == windowsPlatform && nameId == familyNameId) windowsFamily = true;
        } else {
            placed = strings.place(std::size_t{storageOffset} + offset, *bytes);
        }
        if (!placed) return std::nullopt;
        records.u16be(platform);
        records.u16be(encoding);
        records.u16be(language);
        records.u16be(nameId);
        records.u16be(static_cast<std::uint16_t>(newLength));
        records.u16be(*placed);
        ++kept;
    }
    if (!windowsFamily) return std::nullopt;

    ByteWriter langTags;
    for (std::size_t i = 0; i < langTagCount; ++i) {
        const std::size_t at = recordsEnd + 2 + i * langTagRecordBytes;
        const std::uint16_t length = r.u16be(at);
        const std::uint16_t offset = r.u16be(at + 2);
        const auto bytes = original(length, offset);
        if (!bytes) return std::nullopt;
        const auto placed = strings.place(std::size_t{storageOffset} + offset, *bytes);
        if (!placed) return std::nullopt;
        langTags.u16be(length);
        langTags.u16be(*placed);
    }
    if (!r.ok()) return std::nullopt;

    const std::size_t headerBytes =
        nameHeaderBytes + records.size() + (format == 1 ? 2 + langTags.size() : 0);
    if (headerBytes > 0xFFFF) return std::nullopt;
    ByteWriter out;
    out.u16be(format);
    out.u16be(static_cast<std::uint16_t>(kept));
    out.u16be(static_cast<std::uint16_t>(headerBytes));
    out.raw(records.bytes());
    if (format == 1) {
        out.u16be(static_cast<std::uint16_t>(langTagCount));
        out.raw(langTags.bytes());
    }
    out.raw(strings.storage());
    return std::move(out.bytes());
}

// The sum of a table's 32-bit big-endian words, the last one padded with zeros.
std::uint32_t checksum(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k)
            word = word << 8 | (i + k < bytes.size() ? bytes[i + k] : 0u);
        sum += word;
    }
    return sum;
}

// The table records of the directory at `offset`, sorted by tag; nothing when the directory or a
// table lies outside the file, a tag comes twice, or two tables (or a table and the directory)
// share bytes.
std::optional<std::vector<TableRecord>> readDirectory(ByteReader& r, std::size_t offset,
                                                      std::uint16_t count) {
    const std::size_t directoryBytes = sfntHeaderBytes + std::size_t{count} * tableRecordBytes;
    if (!r.has(offset, directoryBytes)) return std::nullopt;
    std::vector<TableRecord> tables(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = offset + sfntHeaderBytes + i * tableRecordBytes;
        tables[i] = {r.u32be(at), r.u32be(at + 8), r.u32be(at + 12)};
        if (!r.has(tables[i].offset, tables[i].length)) return std::nullopt;
    }
    if (!r.ok()) return std::nullopt;

    std::sort(tables.begin(), tables.end(),
              [](const TableRecord& a, const TableRecord& b) { return a.tag < b.tag; });
    for (std::size_t i = 1; i < tables.size(); ++i)
        if (tables[i].tag == tables[i - 1].tag) return std::nullopt;

    std::vector<std::pair<std::size_t, std::size_t>> spans{{offset, offset + directoryBytes}};
    for (const TableRecord& t : tables)
        if (t.length > 0) spans.emplace_back(t.offset, std::size_t{t.offset} + t.length);
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i)
        if (spans[i].first < spans[i - 1].second) return std::nullopt;
    return tables;
}

} // namespace

std::vector<std::uint8_t> renameSfnt(std::span<const std::uint8_t> file, std::size_t offset,
                                     std::string_view name) {
    ByteReader r(file);
    const std::uint32_t version = r.u32be(offset);
    const std::uint16_t count = r.u16be(offset + 4);
    if (!r.ok() || count == 0) return {};
    if (version != trueTypeVersion && version != appleTrueTypeVersion && version != cffVersion) return {};
    const std::optional<std::vector<TableRecord>> tables = readDirectory(r, offset, count);
    if (!tables) return {};

    const auto findTable = [&](std::uint32_t tag) {
        return std::find_if(tables->begin(), tables->end(),
                            [tag](const TableRecord& t) { return t.tag == tag; });
    };
    const auto nameTable = findTable(tagOf("name"));
    const auto headTable = findTable(tagOf("head"));
    if (nameTable == tables->end() || headTable == tables->end()) return {};
    if (headTable->length < checkSumAdjustmentOffset + 4) return {};
    const std::optional<std::vector<std::uint8_t>> newName =
        renamedNameTable(r.bytes(nameTable->offset, nameTable->length), name);
    if (!newName || newName->size() > 0xFFFFFFFFu) return {};

    // The new file's size, checked against the 32-bit offsets before anything is allocated for it;
    // the tables do not overlap, so it stays within the input's size and the new name table's.
    const auto padded = [](std::size_t n) { return (n + 3) / 4 * 4; };
    std::uint64_t total = sfntHeaderBytes + std::uint64_t{count} * tableRecordBytes;
    for (const TableRecord& t : *tables)
        total += padded(t.tag == nameTable->tag ? newName->size() : t.length);
    if (total > 0xFFFFFFFFu) return {};

    std::uint16_t entrySelector = 0;
    while ((2u << entrySelector) <= count)
        ++entrySelector;
    const auto searchRange = static_cast<std::uint16_t>(16u << entrySelector);

    ByteWriter out;
    out.bytes().reserve(static_cast<std::size_t>(total));
    out.u32be(version);
    out.u16be(count);
    out.u16be(searchRange);
    out.u16be(entrySelector);
    out.u16be(static_cast<std::uint16_t>(count * tableRecordBytes - searchRange));
    out.zeros(std::size_t{count} * tableRecordBytes);
    std::size_t headAt = 0;
    for (std::size_t i = 0; i < tables->size(); ++i) {
        const TableRecord& t = (*tables)[i];
        const std::span<const std::uint8_t> bytes =
            t.tag == nameTable->tag ? std::span<const std::uint8_t>(*newName) : r.bytes(t.offset, t.length);
        const std::size_t at = out.size();
        out.raw(bytes);
        if (t.tag == headTable->tag) {
            headAt = at;
            out.putU32be(at + checkSumAdjustmentOffset, 0);
        }
        const std::uint32_t sum = checksum(std::span(out.bytes()).subspan(at));
        out.alignTo(4);
        const std::size_t record = sfntHeaderBytes + i * tableRecordBytes;
        out.putU32be(record, t.tag);
        out.putU32be(record + 4, sum);
        out.putU32be(record + 8, static_cast<std::uint32_t>(at));
        out.putU32be(record + 12, static_cast<std::uint32_t>(bytes.size()));
    }
    if (!r.ok()) return {};
    out.putU32be(headAt + checkSumAdjustmentOffset, fileChecksumTarget - checksum(out.bytes()));
    return std::move(out.bytes());
}

std::vector<std::uint8_t> renameCollectionFace(std::span<const std::uint8_t> file, std::uint32_t face,
                                               std::string_view name) {
    // "ttcf", version 1.0 or 2.0, the number of faces, then each face's table directory offset.
    ByteReader r(file);
    const std::uint32_t version = r.u32be(4);
    const std::uint32_t faceCount = r.u32be(8);
    if (!r.ok() || (version != 0x00010000 && version != 0x00020000) || face >= faceCount) return {};
    if (face > (file.size() - 12) / 4) return {}; // past the offsets, and past overflowing them
    const std::uint32_t offset = r.u32be(12 + std::size_t{face} * 4);
    if (!r.ok()) return {};
    return renameSfnt(file, offset, name);
}

} // namespace glyvora::fontfile
