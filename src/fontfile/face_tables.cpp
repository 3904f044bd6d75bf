#include "fontfile/face_tables.h"

#include "fontfile/byte_reader.h"
#include "fontfile/sfnt_tables.h"

#include <utility>

namespace glyvora::fontfile {

namespace {

constexpr std::uint32_t collectionVersion = tagOf("ttcf");
constexpr std::size_t collectionHeaderBytes = 12;

std::optional<std::vector<std::uint8_t>> tableBytes(FontBytes& bytes, const SfntTable& table) {
    if (table.length > FontBytes::maxRead) return std::nullopt;
    const auto read = bytes.read(table.offset, static_cast<std::size_t>(table.length));
    if (!read) return std::nullopt;
    return std::vector<std::uint8_t>(read->begin(), read->end());
}

} // namespace

bool SfntDirectory::loadable() const {
    const bool outlines = (glyf.present && loca.present) || cff.present;
    return head.present && hhea.present && maxp.present && cmap.present && name.present && outlines;
}

std::optional<SfntDirectory> readSfntDirectory(FontBytes& bytes, std::uint64_t offset) {
    const auto header = bytes.read(offset, sfntHeaderBytes);
    if (!header) return std::nullopt;
    ByteReader h(*header);
    const std::uint32_t version = h.u32be(0);
    const std::uint16_t tableCount = h.u16be(4);
    if ((version != trueTypeVersion && version != cffVersion) || tableCount == 0) return std::nullopt;

    const auto records = bytes.read(offset + sfntHeaderBytes, std::size_t{tableCount} * tableRecordBytes);
    if (!records) return std::nullopt;
    ByteReader d(*records);
    SfntDirectory directory;
    const std::pair<std::uint32_t, SfntTable*> wanted[] = {
        {tagOf("name"), &directory.name}, {tagOf("head"), &directory.head}, {tagOf("hhea"), &directory.hhea},
        {tagOf("maxp"), &directory.maxp}, {tagOf("cmap"), &directory.cmap}, {tagOf("glyf"), &directory.glyf},
        {tagOf("loca"), &directory.loca}, {tagOf("CFF "), &directory.cff}};
    const std::uint64_t fileSize = bytes.size();
    for (std::size_t i = 0; i < tableCount; ++i) {
        const std::size_t at = i * tableRecordBytes;
        const std::uint32_t tag = d.u32be(at);
        const SfntTable table{d.u32be(at + 8), d.u32be(at + 12), true};
        if (table.offset > fileSize || table.length > fileSize - table.offset) return std::nullopt;
        for (const auto& [wantedTag, into] : wanted)
            if (tag == wantedTag) *into = table;
    }
    if (!d.ok()) return std::nullopt;
    return directory;
}

std::optional<std::uint64_t> sfntFaceOffset(FontBytes& bytes, std::uint32_t face) {
    // One read: a collection's "ttcf", version 1.0 or 2.0, the number of faces, then each face's
    // table directory offset up to the one asked for. A loadable sfnt font is longer than that
    // for its only face: its header and at least one table record.
    const std::uint64_t wanted = collectionHeaderBytes + (std::uint64_t{face} + 1) * 4;
    if (wanted > FontBytes::maxRead) return std::nullopt;
    const auto header = bytes.read(0, static_cast<std::size_t>(wanted));
    if (!header) return std::nullopt;
    ByteReader h(*header);
    const std::uint32_t signature = h.u32be(0);
    if (signature == trueTypeVersion || signature == cffVersion)
        return face == 0 ? std::optional<std::uint64_t>(0) : std::nullopt;
    if (signature != collectionVersion) return std::nullopt;
    const std::uint32_t version = h.u32be(4);
    const std::uint32_t faceCount = h.u32be(8);
    if ((version != 0x00010000 && version != 0x00020000) || face >= faceCount) return std::nullopt;
    return h.u32be(collectionHeaderBytes + std::size_t{face} * 4);
}

std::optional<FaceTables> faceTablesOf(FontBytes& bytes, std::uint32_t face) {
    const std::optional<std::uint64_t> offset = sfntFaceOffset(bytes, face);
    if (!offset) return std::nullopt;
    const std::optional<SfntDirectory> directory = readSfntDirectory(bytes, *offset);
    if (!directory || !directory->loadable()) return std::nullopt;
    std::optional<std::vector<std::uint8_t>> name = tableBytes(bytes, directory->name);
    std::optional<std::vector<std::uint8_t>> head = tableBytes(bytes, directory->head);
    if (!name || !head) return std::nullopt;
    return FaceTables{std::move(*name), std::move(*head)};
}

} // namespace glyvora::fontfile
