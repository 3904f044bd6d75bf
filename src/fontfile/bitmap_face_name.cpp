// Face names of bitmap and vector fonts in the Windows font format: a .fnt, or a .fon, which is a
// 16-bit (NE) executable holding .fnt fonts as FONT resources.
#include "fontfile/byte_reader.h"
#include "fontfile/face_name_readers.h"
#include "fontfile/fnt_format.h"
#include "platform/codepage.h"

#include <algorithm>

namespace glyvora::fontfile {

namespace {

// Face names end at their zero byte; more than this is no face name.
constexpr std::size_t maxFaceNameBytes = 256;

} // namespace

std::u16string bitmapFontFaceName(FontBytes& bytes, std::uint64_t offset, std::uint64_t length) {
    if (length < fntHeaderBytes) return std::u16string();
    const auto header = bytes.read(offset, fntHeaderBytes);
    if (!header) return std::u16string();
    ByteReader h(*header);
    const std::uint16_t version = h.u16le(0);
    const std::uint32_t fontSize = h.u32le(2);
    const std::uint32_t face = h.u32le(fntFaceOffset);
    if (version != 0x0200 && version != 0x0300) return std::u16string();
    if (fontSize < fntHeaderBytes || fontSize > length || face < fntHeaderBytes || face >= fontSize)
        return std::u16string();
    const std::size_t available =
        static_cast<std::size_t>(std::min<std::uint64_t>(fontSize - face, maxFaceNameBytes));
    const auto string = bytes.read(offset + face, available);
    if (!string) return std::u16string();
    const auto end = std::find(string->begin(), string->end(), std::uint8_t{0});
    if (end == string->end()) return std::u16string(); // no terminator: damaged
    // The face name is ANSI text, as the logical font's narrow face name is.
    return ansiToUtf16(std::string_view(reinterpret_cast<const char*>(string->data()),
                                        static_cast<std::size_t>(end - string->begin())));
}

std::optional<FontResource> firstFontResource(FontBytes& bytes) {
    const auto dosHeader = bytes.read(0, neHeaderOffsetField + 4);
    if (!dosHeader) return std::nullopt;
    const std::uint32_t neOffset = ByteReader(*dosHeader).u32le(neHeaderOffsetField);

    const auto neHeader = bytes.read(neOffset, neHeaderBytes);
    if (!neHeader) return std::nullopt;
    ByteReader ne(*neHeader);
    if (ne.u8(0) != 'N' || ne.u8(1) != 'E') return std::nullopt;
    // The resource table runs from its offset to the resident-name table that follows it.
    const std::uint16_t resourceTable = ne.u16le(0x24);
    const std::uint16_t residentNames = ne.u16le(0x26);
    if (residentNames <= resourceTable) return std::nullopt;

    const auto table =
        bytes.read(std::uint64_t{neOffset} + resourceTable, std::size_t{residentNames} - resourceTable);
    if (!table) return std::nullopt;
    ByteReader r(*table);
    const std::uint16_t alignShift = r.u16le(0);
    if (alignShift > 16) return std::nullopt;
    std::optional<FontResource> font;
    walkResourceTypes(r, [&](std::uint16_t type, std::uint16_t count, std::size_t at) {
        if (type != fontResourceType) return true;
        if (count == 0) return false;
        const std::uint64_t fontOffset = std::uint64_t{r.u16le(at)} << alignShift;
        const std::uint64_t fontLength = std::uint64_t{r.u16le(at + 2)} << alignShift;
        if (r.ok()) font = FontResource{fontOffset, std::min(fontLength, bytes.size())};
        return false;
    });
    return font;
}

std::u16string resourceFileFaceName(FontBytes& bytes) {
    const std::optional<FontResource> font = firstFontResource(bytes);
    if (!font) return std::u16string();
    return bitmapFontFaceName(bytes, font->offset, font->length);
}

} // namespace glyvora::fontfile
