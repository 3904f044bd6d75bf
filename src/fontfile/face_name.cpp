#include "fontfile/face_name.h"

#include "fontfile/byte_reader.h"
#include "fontfile/face_name_readers.h"
#include "platform/codepage.h"
#include "platform/font_resources.h"

namespace glyvora::fontfile {

namespace {

constexpr std::uint32_t trueTypeVersion = 0x00010000;
constexpr std::uint32_t cffVersion = 0x4F54544F;        // "OTTO"
constexpr std::uint32_t collectionVersion = 0x74746366; // "ttcf"

// The first words of a .fnt: its version, 2.0 or 3.0.
bool isBitmapFontVersion(std::uint16_t version) {
    return version == 0x0200 || version == 0x0300;
}

} // namespace

std::u16string readFaceName(FontBytes& bytes, std::uint16_t language) {
    const auto start = bytes.read(0, 4);
    if (!start) return std::u16string();
    ByteReader r(*start);
    const std::uint32_t signature = r.u32be(0);
    std::u16string name;
    if (signature == trueTypeVersion || signature == cffVersion) {
        name = sfntFaceName(bytes, 0, language);
    } else if (signature == collectionVersion) {
        name = collectionFaceName(bytes, language);
    } else if (r.u8(0) == 'M' && r.u8(1) == 'Z') {
        name = resourceFileFaceName(bytes);
    } else if (isBitmapFontVersion(r.u16le(0))) {
        name = bitmapFontFaceName(bytes, 0, bytes.size());
    }
    // A logical font keeps what comes before the first zero unit, and at most 31 units of it.
    const std::size_t zero = name.find(u'\0');
    if (zero != std::u16string::npos) name.resize(zero);
    if (name.size() > maxFaceNameUnits) name.resize(maxFaceNameUnits);
    return name;
}

Text faceNameOf(const Text& path) {
    std::u16string name;
    {
        OpenedFile opened = fileSystem().openForQuery(path);
        if (opened.file) {
            if (const std::optional<std::uint64_t> size = opened.file->size()) {
                FileFontBytes bytes(*opened.file, *size);
                name = readFaceName(bytes, fontNameLanguage());
            }
        }
    } // closed before the system opens the file for its own query
    if (name.empty()) return fontResources().queryFaceName(path);
    Text text = utf16ToAnsi(name);
    const std::size_t zero = text.find('\0');
    if (zero != Text::npos) text.resize(zero);
    return text;
}

} // namespace glyvora::fontfile
