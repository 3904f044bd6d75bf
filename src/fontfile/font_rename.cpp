#include "fontfile/font_rename.h"

#include "fontfile/byte_reader.h"
#include "fontfile/font_rename_writers.h"

namespace glyvora::fontfile {

namespace {

constexpr std::uint32_t trueTypeVersion = 0x00010000;
constexpr std::uint32_t appleTrueTypeVersion = 0x74727565; // "true"
constexpr std::uint32_t cffVersion = 0x4F54544F;           // "OTTO"
constexpr std::uint32_t collectionVersion = 0x74746366;    // "ttcf"

bool isAsciiLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

bool isPrivateFaceName(std::string_view name) {
    if (name.empty() || name.size() > maxPrivateNameLength) return false;
    for (char c : name)
        if (!isAsciiLetterOrDigit(c)) return false;
    return true;
}

std::string privateFaceName(std::uint32_t serial) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string name = "Glyvora";
    for (int shift = 28; shift >= 0; shift -= 4)
        name.push_back(digits[(serial >> shift) & 0xF]);
    return name;
}

std::vector<std::uint8_t> renameFont(std::span<const std::uint8_t> font, std::string_view name,
                                     std::uint32_t face) {
    if (!isPrivateFaceName(name)) return {};
    ByteReader r(font);
    const std::uint32_t signature = r.u32be(0);
    if (!r.ok()) return {};
    if (signature == trueTypeVersion || signature == appleTrueTypeVersion || signature == cffVersion)
        return face == 0 ? renameSfnt(font, 0, name) : std::vector<std::uint8_t>();
    if (signature == collectionVersion) return renameCollectionFace(font, face, name);
    if (face != 0) return {};
    if (r.u8(0) == 'M' && r.u8(1) == 'Z') return renameResourceFile(font, name);
    const std::uint16_t version = r.u16le(0);
    if (version == 0x0200 || version == 0x0300) return renameBitmapFont(font, name);
    return {};
}

} // namespace glyvora::fontfile
