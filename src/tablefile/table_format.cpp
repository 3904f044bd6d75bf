#include "tablefile/table_format.h"

#include "platform/gbk.h"

#include <initializer_list>

namespace glyvora::table {

namespace {

// One of the application's two empty tables. The names are GBK bytes, written out as numbers so
// that the image does not depend on how the compiler encodes literals.
constexpr std::array<std::uint8_t, kEmptyImageSize>
emptyImage(std::initializer_list<std::uint8_t> creationTime, std::initializer_list<std::uint8_t> name1,
           std::initializer_list<std::uint8_t> name2) {
    std::array<std::uint8_t, kEmptyImageSize> image{};
    auto put32 = [&image](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            image[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    auto putBytes = [&image](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        for (std::uint8_t b : bytes)
            image[at++] = b;
    };
    putBytes(0, {'Q', 'T', 'B', 'L'});
    put32(4, kVersion);
    putBytes(8, creationTime);
    put32(16, 0);   // record count
    put32(20, 1);   // next record ID
    put32(24, 304); // record size
    put32(112, 2);  // field count
    // Field 1 at 116: text of 100 bytes at offset 4; field 2 at 188: text of 200 bytes at offset 104.
    putBytes(116, name1);
    put32(136, static_cast<std::uint32_t>(FieldType::Text));
    put32(140, 4);
    put32(144, static_cast<std::uint32_t>(kNameFieldWidth));
    putBytes(188, name2);
    put32(208, static_cast<std::uint32_t>(FieldType::Text));
    put32(212, 104);
    put32(216, static_cast<std::uint32_t>(kPathFieldWidth));
    return image;
}

// Position just after the last "\" that is a character of its own (the second byte of a GBK
// character may be 0x5C), or 0.
std::size_t lastComponentStart(const Text& path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); i += gbk::charLength(path, i))
        if (path[i] == '\\') start = i + 1;
    return start;
}

} // namespace

// Created 2016-11-08 14:00:52; 目录名称, 目录地址.
const std::array<std::uint8_t, kEmptyImageSize> kEmptyFolderTable = emptyImage(
    {0x6B, 0xD7, 0x98, 0xAF, 0x52, 0xD7, 0xE4, 0x40}, {0xC4, 0xBF, 0xC2, 0xBC, 0xC3, 0xFB, 0xB3, 0xC6},
    {0xC4, 0xBF, 0xC2, 0xBC, 0xB5, 0xD8, 0xD6, 0xB7});

// Created 2016-11-12 13:24:18; 集名称, 字体地址.
const std::array<std::uint8_t, kEmptyImageSize> kEmptySetTable =
    emptyImage({0xF9, 0xC5, 0x92, 0xDF, 0xD1, 0xD7, 0xE4, 0x40}, {0xBC, 0xAF, 0xC3, 0xFB, 0xB3, 0xC6},
               {0xD7, 0xD6, 0xCC, 0xE5, 0xB5, 0xD8, 0xD6, 0xB7});

Header parseHeader(const std::uint8_t* bytes) {
    Header h;
    std::memcpy(h.bytes.data(), bytes, kHeaderSize);
    ByteReader r(bytes, kHeaderSize);
    h.magicOk = std::memcmp(bytes, "QTBL", 4) == 0;
    h.version = r.int32(4);
    h.creationTime = r.float64(8);
    h.recordCount = r.int32(16);
    h.nextRecordId = r.int32(20);
    h.recordSize = r.int32(24);
    return h;
}

int checkHeader(const Header& h) {
    if (!h.magicOk) return -22;
    if (h.recordSize <= 0 || h.recordCount < 0 || h.nextRecordId < 1) return -22;
    if (h.version > kVersion) return -23;
    return 0;
}

FieldDescriptor parseDescriptor(const std::uint8_t* bytes) {
    FieldDescriptor f;
    ByteReader r(bytes, kDescriptorSize);
    std::size_t length = 0;
    while (length < kNameBytes && bytes[length] != 0)
        ++length;
    f.name.assign(reinterpret_cast<const char*>(bytes), length);
    f.nameTerminated = length <= kMaxNameLength;
    f.type = r.int32(20);
    f.offset = r.int32(24);
    f.width = r.int32(28);
    return f;
}

std::int64_t storedSize(const FieldDescriptor& field) {
    switch (static_cast<FieldType>(field.type)) {
    case FieldType::Byte:
    case FieldType::Boolean:
        return 1;
    case FieldType::Short:
        return 2;
    case FieldType::Integer:
    case FieldType::Float:
    case FieldType::Subprogram:
    case FieldType::ByteSet:
    case FieldType::Memo:
        return 4;
    case FieldType::Long:
    case FieldType::Double:
    case FieldType::DateTime:
        return 8;
    case FieldType::Text:
        return field.width;
    }
    return 0;
}

int checkDescriptor(const FieldDescriptor& field, std::int32_t recordSize) {
    if (!field.nameTerminated) return -22;
    if (field.offset < 0) return -22;
    if (field.type < 1 || field.type > 12) return -22;
    if (field.type == static_cast<std::int32_t>(FieldType::Text) && field.width < 1) return -22;
    if (field.type == static_cast<std::int32_t>(FieldType::ByteSet) ||
        field.type == static_cast<std::int32_t>(FieldType::Memo))
        return -22;
    if (field.offset < 4 || static_cast<std::int64_t>(field.offset) + storedSize(field) > recordSize)
        return -22;
    return 0;
}

Text withDefaultExtension(const Text& name) {
    const std::size_t start = lastComponentStart(name);
    const std::size_t dot = name.find('.', start);
    if (dot == Text::npos) return name + ".QTB";
    if (name.back() == '.') return name + "QTB";
    return name;
}

Text baseName(const Text& path) {
    const Text last = path.substr(lastComponentStart(path));
    const std::size_t dot = last.rfind('.');
    return dot == Text::npos ? last : last.substr(0, dot);
}

bool isFullPath(const Text& path) {
    auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (!path.empty() && separator(path[0])) return true;
    const bool drive =
        path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive && path[1] == ':' && separator(path[2]);
}

} // namespace glyvora::table
