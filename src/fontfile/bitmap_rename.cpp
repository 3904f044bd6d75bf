// Renamed copies of fonts in the Windows font format: a .fnt, or a .fon (a 16-bit NE executable
// whose FONT resources are .fnt fonts and whose FONTDIR resource lists them with their names).
//
// Nothing is rewritten in place: the new face name goes after the end of the .fnt, and a .fon's
// renamed fonts and font directory go after the end of the file, with the resource table pointing
// at them. Every other byte stays where it was, so offsets into the file elsewhere keep holding.
#include "fontfile/byte_reader.h"
#include "fontfile/byte_writer.h"
#include "fontfile/fnt_format.h"
#include "fontfile/font_rename_writers.h"

#include <algorithm>
#include <optional>

namespace glyvora::fontfile {

namespace {

// dfSize, the .fnt's size, in its header.
constexpr std::size_t fntSizeOffset = 2;

constexpr std::uint16_t fontDirectoryType = 0x8007; // RT_FONTDIR

// A font directory entry: the font's ordinal, its header up to dfFace and a reserved word, then
// its device name and face name, each ending at a zero byte.
constexpr std::size_t directoryEntryFixedBytes = 2 + 113;

// Resources sit at multiples of 1 << shift. Real files use small shifts; a larger one would pad
// every moved resource by a large block for nothing.
constexpr std::uint16_t maxAlignShift = 12;

// The .fnt of `length` bytes at `offset` of `r`, renamed; nothing when its header or face name is
// not sound.
std::optional<std::vector<std::uint8_t>> renamedFnt(ByteReader& r, std::size_t offset, std::size_t length,
                                                    std::string_view name) {
    if (length < fntHeaderBytes || !r.has(offset, length)) return std::nullopt;
    const std::uint16_t version = r.u16le(offset);
    const std::uint32_t fontSize = r.u32le(offset + fntSizeOffset);
    const std::uint32_t face = r.u32le(offset + fntFaceOffset);
    if (!r.ok() || (version != 0x0200 && version != 0x0300)) return std::nullopt;
    if (fontSize < fntHeaderBytes || fontSize > length || face < fntHeaderBytes || face >= fontSize)
        return std::nullopt;
    const std::span<const std::uint8_t> font = r.bytes(offset, fontSize);
    if (std::find(font.begin() + face, font.end(), std::uint8_t{0}) == font.end()) return std::nullopt;
    if (std::size_t{fontSize} + name.size() + 1 > 0xFFFFFFFFu) return std::nullopt;

    ByteWriter out;
    out.raw(font);
    for (char c : name)
        out.u8(static_cast<std::uint8_t>(c));
    out.u8(0);
    out.putU32le(fntSizeOffset, static_cast<std::uint32_t>(out.size()));
    out.putU32le(fntFaceOffset, fontSize);
    return std::move(out.bytes());
}

// The FONTDIR resource of `length` bytes at `offset` with every face name replaced; nothing when
// an entry runs past the resource.
std::optional<std::vector<std::uint8_t>> renamedFontDirectory(ByteReader& r, std::size_t offset,
                                                              std::size_t length, std::string_view name) {
    if (!r.has(offset, length)) return std::nullopt;
    ByteReader d(r.bytes(offset, length));
    const std::uint16_t count = d.u16le(0);
    if (!d.ok() || count > length / directoryEntryFixedBytes) return std::nullopt;
    const std::span<const std::uint8_t> all = r.bytes(offset, length);
    // The zero byte ending the string at `at`, or nothing.
    const auto stringEnd = [&](std::size_t at) -> std::optional<std::size_t> {
        if (at >= all.size()) return std::nullopt;
        const auto end = std::find(all.begin() + static_cast<std::ptrdiff_t>(at), all.end(), std::uint8_t{0});
        if (end == all.end()) return std::nullopt;
        return static_cast<std::size_t>(end - all.begin());
    };

    ByteWriter out;
    out.raw(all.first(2));
    std::size_t at = 2;
    for (std::size_t i = 0; i < count; ++i) {
        if (!d.has(at, directoryEntryFixedBytes)) return std::nullopt;
        const auto deviceEnd = stringEnd(at + directoryEntryFixedBytes);
        if (!deviceEnd) return std::nullopt;
        const auto faceEnd = stringEnd(*deviceEnd + 1);
        if (!faceEnd) return std::nullopt;
        out.raw(all.subspan(at, *deviceEnd + 1 - at));
        for (char c : name)
            out.u8(static_cast<std::uint8_t>(c));
        out.u8(0);
        at = *faceEnd + 1;
    }
    out.raw(all.subspan(at)); // whatever follows the entries
    return std::move(out.bytes());
}

// One resource of the resource table: where its name-info entry sits in the file, and its bytes.
struct Resource {
    std::uint16_t type = 0;
    std::size_t entry = 0;
    std::size_t offset = 0;
    std::size_t length = 0;
};

} // namespace

std::vector<std::uint8_t> renameBitmapFont(std::span<const std::uint8_t> file, std::string_view name) {
    ByteReader r(file);
    const auto renamed = renamedFnt(r, 0, file.size(), name);
    return renamed ? *renamed : std::vector<std::uint8_t>();
}

std::vector<std::uint8_t> renameResourceFile(std::span<const std::uint8_t> file, std::string_view name) {
    ByteReader r(file);
    const std::uint32_t neOffset = r.u32le(neHeaderOffsetField);
    if (!r.ok() || !r.has(neOffset, neHeaderBytes)) return {};
    if (r.u8(neOffset) != 'N' || r.u8(neOffset + 1) != 'E') return {};
    // The resource table runs from its offset to the resident-name table that follows it.
    const std::uint16_t resourceTable = r.u16le(neOffset + 0x24);
    const std::uint16_t residentNames = r.u16le(neOffset + 0x26);
    if (residentNames <= resourceTable) return {};
    const std::size_t tableAt = std::size_t{neOffset} + resourceTable;
    const std::size_t tableBytes = std::size_t{residentNames} - resourceTable;
    if (!r.has(tableAt, tableBytes)) return {};
    ByteReader t(r.bytes(tableAt, tableBytes));
    const std::uint16_t alignShift = t.u16le(0);
    if (!t.ok() || alignShift > maxAlignShift) return {};

    std::vector<Resource> resources;
    bool cut = false; // a type block whose entries run past the table
    walkResourceTypes(t, [&](std::uint16_t type, std::uint16_t count, std::size_t at) {
        if (!t.has(at, std::size_t{count} * resourceNameInfoBytes)) {
            cut = true;
            return false;
        }
        if (type != fontResourceType && type != fontDirectoryType) return true;
        for (std::size_t i = 0; i < count; ++i, at += resourceNameInfoBytes)
            resources.push_back({type, tableAt + at, std::size_t{t.u16le(at)} << alignShift,
                                 std::size_t{t.u16le(at + 2)} << alignShift});
        return true;
    });
    if (cut) return {};
    if (!t.ok() || std::none_of(resources.begin(), resources.end(),
                                [](const Resource& x) { return x.type == fontResourceType; }))
        return {};

    // Resources that share bytes would each be copied whole; they are a damaged file anyway.
    std::vector<Resource> byOffset = resources;
    std::sort(byOffset.begin(), byOffset.end(),
              [](const Resource& a, const Resource& b) { return a.offset < b.offset; });
    for (std::size_t i = 1; i < byOffset.size(); ++i)
        if (byOffset[i].offset < byOffset[i - 1].offset + byOffset[i - 1].length) return {};

    const std::size_t unit = std::size_t{1} << alignShift;
    ByteWriter out;
    out.raw(file);
    for (const Resource& resource : resources) {
        // A resource may claim a little more than the file holds when the file's padding was cut.
        const std::size_t length =
            resource.offset < file.size() ? std::min(resource.length, file.size() - resource.offset) : 0;
        const auto renamed = resource.type == fontResourceType
                                 ? renamedFnt(r, resource.offset, length, name)
                                 : renamedFontDirectory(r, resource.offset, length, name);
        if (!renamed) return {};
        out.alignTo(unit);
        const std::size_t newOffset = out.size() >> alignShift;
        const std::size_t newLength = (renamed->size() + unit - 1) >> alignShift;
        if (newOffset > 0xFFFF || newLength > 0xFFFF) return {};
        out.raw(*renamed);
        out.putU16le(resource.entry, static_cast<std::uint16_t>(newOffset));
        out.putU16le(resource.entry + 2, static_cast<std::uint16_t>(newLength));
    }
    out.alignTo(unit);
    return std::move(out.bytes());
}

} // namespace glyvora::fontfile
