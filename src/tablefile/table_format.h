#pragma once
// The table file: a 112-byte header, the field count, 72-byte field descriptors, then fixed-size
// records, each starting with its 4-byte record ID (negated when the record is marked deleted).
// All integers are little-endian. This file holds the layout, the parsing of the header and the
// descriptors through one bounded reader, the default extension rule, and the two empty tables the
// application writes at start-up.

#include "platform/types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace glyvora::table {

inline constexpr std::size_t kHeaderSize = 112;
inline constexpr std::uint64_t kFieldCountOffset = 112;
inline constexpr std::uint64_t kDescriptorsOffset = 116;
inline constexpr std::size_t kDescriptorSize = 72;
inline constexpr std::size_t kNameBytes = 20;
inline constexpr std::size_t kMaxNameLength = 16; // the terminating NUL lies within the first 17 bytes
inline constexpr std::uint64_t kRecordCountOffset = 16;
inline constexpr std::uint64_t kNextIdOffset = 20;
inline constexpr std::int32_t kVersion = 0x00010000;
inline constexpr std::size_t kEmptyImageSize = 260;

enum class FieldType : std::int32_t {
    Byte = 1,
    Short = 2,
    Integer = 3,
    Long = 4,
    Float = 5,
    Double = 6,
    Boolean = 7,
    DateTime = 8,
    Subprogram = 9,
    Text = 10,
    ByteSet = 11, // a reference into the auxiliary file
    Memo = 12,    // a reference into the auxiliary file
};

// Automation dates are kept between the years 100 and 9999.
inline constexpr double kMinDate = -657434;
inline constexpr double kMaxDate = 2958465;

// Reads little-endian integers out of a byte span. Every read is checked against the span's end
// (as `offset > size - n`, which cannot overflow) and a failed read sets a sticky flag.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::int32_t int32(std::size_t offset) {
        std::uint8_t b[4] = {};
        bytes(offset, b, 4);
        return static_cast<std::int32_t>(
            static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
            static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
    }
    double float64(std::size_t offset) {
        std::uint8_t b[8] = {};
        bytes(offset, b, 8);
        double d;
        std::memcpy(&d, b, 8);
        return d;
    }
    void bytes(std::size_t offset, void* out, std::size_t n) {
        if (size_ < n || offset > size_ - n) {
            failed_ = true;
            std::memset(out, 0, n);
            return;
        }
        std::memcpy(out, data_ + offset, n);
    }
    bool failed() const { return failed_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    bool failed_ = false;
};

inline void putInt32(std::uint8_t* out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    out[0] = static_cast<std::uint8_t>(v);
    out[1] = static_cast<std::uint8_t>(v >> 8);
    out[2] = static_cast<std::uint8_t>(v >> 16);
    out[3] = static_cast<std::uint8_t>(v >> 24);
}

inline std::int32_t getInt32(const std::uint8_t* in) {
    return ByteReader(in, 4).int32(0);
}

struct Header {
    std::array<std::uint8_t, kHeaderSize> bytes{};
    std::int32_t version = 0;
    double creationTime = 0;
    std::int32_t recordCount = 0;
    std::int32_t nextRecordId = 0;
    std::int32_t recordSize = 0;
    bool magicOk = false;
};

// Splits 112 header bytes into their fields; checks nothing.
Header parseHeader(const std::uint8_t* bytes);

// 0 when the header may be opened, else the open's error code: -22 for a bad magic, record size,
// record count or next record ID, then -23 for a version that is too new.
int checkHeader(const Header& header);

struct FieldDescriptor {
    Text name;                   // the bytes before the first NUL of the 20 name bytes
    bool nameTerminated = false; // a NUL lies within the first 17 name bytes
    std::int32_t type = 0;
    std::int32_t offset = 0;
    std::int32_t width = 0;
};

// Splits 72 descriptor bytes into their fields; checks nothing.
FieldDescriptor parseDescriptor(const std::uint8_t* bytes);

// Bytes the field takes in a record: the width for a text field, else the size of its type.
std::int64_t storedSize(const FieldDescriptor& field);

// 0 when the field may be used in a table of the given record size, else -22. Besides the name,
// the type code and a text field's width, the field must lie inside the record after the record
// ID: a field reaching into the ID or into the next record would corrupt them when written. Fields
// kept in the auxiliary file (types 11 and 12) are refused: the engine has no auxiliary file.
int checkDescriptor(const FieldDescriptor& field, std::int32_t recordSize);

inline std::uint64_t dataStart(std::int32_t fieldCount) {
    return kDescriptorsOffset + kDescriptorSize * static_cast<std::uint64_t>(fieldCount);
}

// "QTB" is added to a name whose last component has no dot ("." and "QTB") or ends in a dot.
Text withDefaultExtension(const Text& name);

// The part of a path after the last "\" without its last extension.
Text baseName(const Text& path);

// A path that names its place without the current directory: it starts at a root ("\" or "/",
// a UNC name among them) or at a drive ("C:\", "C:/").
bool isFullPath(const Text& path);

// Widths of the two text fields of the folder table and the set table: a name, then a path. A
// longer text is stored cut.
inline constexpr std::size_t kNameFieldWidth = 100;
inline constexpr std::size_t kPathFieldWidth = 200;

// The empty folder table (fields 目录名称 and 目录地址) and the empty set table (集名称 and
// 字体地址): the name and the path field, records of 304 bytes, no records.
extern const std::array<std::uint8_t, kEmptyImageSize> kEmptyFolderTable;
extern const std::array<std::uint8_t, kEmptyImageSize> kEmptySetTable;

inline ByteSet emptyFolderTableImage() {
    return ByteSet(kEmptyFolderTable.begin(), kEmptyFolderTable.end());
}
inline ByteSet emptySetTableImage() {
    return ByteSet(kEmptySetTable.begin(), kEmptySetTable.end());
}

} // namespace glyvora::table
