// Face names of sfnt fonts: TrueType and CFF outlines, alone or in a collection.
//
// The reader takes the table directory (face_tables.h), which checks that the font has what GDI
// needs to load it and that no table runs past the end of the file, then reads the name table's
// records and one string.
#include "fontfile/byte_reader.h"
#include "fontfile/face_name.h"
#include "fontfile/face_name_readers.h"
#include "fontfile/face_tables.h"
#include "fontfile/sfnt_tables.h"
#include "platform/codepage_legacy.h"

#include <algorithm>

namespace glyvora::fontfile {

namespace {

// The first read of the name table: enough for the header, a few dozen records and often the
// strings, so that most fonts need no second read before the string.
constexpr std::size_t nameFirstRead = 2048;

// How the strings of a Windows-platform record are stored: UTF-16 big-endian, or double-byte codes
// of a legacy code page in 16-bit big-endian units.
struct Encoding {
    bool known = false;
    unsigned codePage = 0; // 0: UTF-16
};

Encoding windowsEncoding(std::uint16_t encodingId) {
    switch (encodingId) {
    case 0:  // symbol
    case 1:  // Unicode BMP
    case 10: // Unicode full repertoire
        return {true, 0};
    case 2: // Shift-JIS
        return {true, 932};
    case 3: // PRC (GB 2312 / GBK)
        return {true, 936};
    case 4: // Big5
        return {true, 950};
    case 5: // Wansung
        return {true, 949};
    case 6: // Johab
        return {true, 1361};
    default:
        return {};
    }
}

std::u16string decodeName(std::span<const std::uint8_t> bytes, const Encoding& encoding) {
    ByteReader r(bytes);
    const std::size_t units = bytes.size() / 2;
    std::u16string name;
    if (encoding.codePage == 0) {
        name.reserve(units);
        for (std::size_t i = 0; i < units; ++i) {
            const std::uint16_t unit = r.u16be(2 * i);
            if (unit == 0) break;
            name.push_back(static_cast<char16_t>(unit));
        }
        return name;
    }
    // Legacy encodings keep a double-byte character in one unit and a single-byte one in the low
    // byte of a unit; some fonts pack the bytes without padding instead. Dropping the zero bytes
    // reads both the same.
    std::string multibyte;
    std::size_t i = 0;
    for (; i < units; ++i) {
        const std::uint16_t unit = r.u16be(2 * i);
        if (unit == 0) break;
        if (unit >> 8) multibyte.push_back(static_cast<char>(unit >> 8));
        if (unit & 0xFF) multibyte.push_back(static_cast<char>(unit & 0xFF));
    }
    if (i == units && bytes.size() % 2 == 1 && bytes.back() != 0)
        multibyte.push_back(static_cast<char>(bytes.back()));
    return codePageToUtf16(encoding.codePage, multibyte);
}

// The family name from the name table: the Windows family record in the user's language, else the
// US English one, else the first Windows family record of an encoding GDI reads.
std::u16string familyName(FontBytes& bytes, const SfntTable& name, std::uint16_t language) {
    if (name.length < nameHeaderBytes) return std::u16string();
    const std::size_t firstLength =
        static_cast<std::size_t>(std::min<std::uint64_t>(name.length, nameFirstRead));
    auto window = bytes.read(name.offset, firstLength);
    if (!window) return std::u16string();
    ByteReader header(*window);
    const std::uint16_t count = header.u16be(2);
    const std::uint16_t storage = header.u16be(4);
    const std::size_t recordsLength = nameHeaderBytes + std::size_t{count} * nameRecordBytes;
    if (recordsLength > name.length) return std::u16string();
    if (recordsLength > window->size()) {
        window = bytes.read(name.offset, recordsLength);
        if (!window) return std::u16string();
    }

    ByteReader records(*window);
    enum Rank { none, otherLanguage, english, userLanguage };
    Rank best = none;
    Encoding bestEncoding;
    std::uint64_t stringOffset = 0;
    std::uint64_t stringLength = 0;
    for (std::size_t i = 0; i < count && best != userLanguage; ++i) {
        const std::size_t at = nameHeaderBytes + i * nameRecordBytes;
        const std::uint16_t platform = records.u16be(at);
        const std::uint16_t encodingId = records.u16be(at + 2);
        const std::uint16_t recordLanguage = records.u16be(at + 4);
        const std::uint16_t nameId = records.u16be(at + 6);
        if (platform != windowsPlatform || nameId != familyNameId) continue;
        const Encoding encoding = windowsEncoding(encodingId);
        if (!encoding.known) continue;
        const Rank rank = recordLanguage == language    ? userLanguage
                          : recordLanguage == usEnglish ? english
                                                        : otherLanguage;
        if (rank <= best) continue;
        best = rank;
        bestEncoding = encoding;
        stringLength = records.u16be(at + 8);
        stringOffset = std::uint64_t{storage} + records.u16be(at + 10);
    }
    if (!records.ok() || best == none) return std::u16string();
    if (stringOffset > name.length || stringLength > name.length - stringOffset) return std::u16string();

    const auto length = static_cast<std::size_t>(stringLength);
    if (stringOffset <= window->size() && length <= window->size() - stringOffset)
        return decodeName(window->subspan(static_cast<std::size_t>(stringOffset), length), bestEncoding);
    const auto string = bytes.read(name.offset + stringOffset, length);
    if (!string) return std::u16string();
    return decodeName(*string, bestEncoding);
}

} // namespace

std::u16string sfntFaceName(FontBytes& bytes, std::uint64_t offset, std::uint16_t language) {
    const std::optional<SfntDirectory> directory = readSfntDirectory(bytes, offset);
    if (!directory || !directory->loadable()) return std::u16string();
    return familyName(bytes, directory->name, language);
}

std::u16string collectionFaceName(FontBytes& bytes, std::uint16_t language) {
    const std::optional<std::uint64_t> firstFace = sfntFaceOffset(bytes, 0);
    if (!firstFace) return std::u16string();
    return sfntFaceName(bytes, *firstFace, language);
}

} // namespace glyvora::fontfile
