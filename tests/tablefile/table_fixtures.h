#pragma once
// Table files built byte by byte from named fields, for tests.

#include "platform/types.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace glyvora::testing {

inline std::string le32(std::int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i));
    return s;
}

inline std::int32_t readLe32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return static_cast<std::int32_t>(v);
}

// prefix + the decimal number (appended rather than concatenated, which trips GCC 12's -Wrestrict).
inline std::string numbered(const char* prefix, long long n) {
    std::string s(prefix);
    s += std::to_string(n);
    return s;
}

struct FieldLayout {
    std::string name; // at most 20 bytes; longer names are cut, shorter ones NUL-padded
    std::int32_t type = 10;
    std::int32_t offset = 4;
    std::int32_t width = 0;
};

struct TableLayout {
    std::string magic = "QTBL";
    std::int32_t version = 0x00010000;
    std::int32_t recordCount = 0;
    std::int32_t nextRecordId = 1;
    std::int32_t recordSize = 304;
    std::vector<FieldLayout> fields;
    std::optional<std::int32_t> fieldCount; // default: the number of fields
};

// Header, field count and descriptors.
inline std::string tableHead(const TableLayout& t) {
    std::string out;
    out += t.magic.substr(0, 4);                                                    // magic
    out += le32(t.version);                                                         // version
    out += std::string(8, '\0');                                                    // creation time
    out += le32(t.recordCount);                                                     // record count
    out += le32(t.nextRecordId);                                                    // next record ID
    out += le32(t.recordSize);                                                      // record size
    out += std::string(84, '\0');                                                   // reserved
    out += le32(t.fieldCount.value_or(static_cast<std::int32_t>(t.fields.size()))); // field count
    for (const FieldLayout& f : t.fields) {
        std::string name = f.name.substr(0, 20);
        name.resize(20, '\0');
        out += name;                  // name
        out += le32(f.type);          // type
        out += le32(f.offset);        // offset in the record
        out += le32(f.width);         // width
        out += std::string(40, '\0'); // reserved
    }
    return out;
}

// The two text fields of the folder table.
inline TableLayout folderTableLayout(std::int32_t count = 0, std::int32_t nextId = 1) {
    TableLayout t;
    t.recordCount = count;
    t.nextRecordId = nextId;
    t.fields = {{"\xC4\xBF\xC2\xBC\xC3\xFB\xB3\xC6", 10, 4, 100},
                {"\xC4\xBF\xC2\xBC\xB5\xD8\xD6\xB7", 10, 104, 200}};
    return t;
}

// A 304-byte record of the folder or set table.
inline std::string pathRecord(std::int32_t id, const std::string& name, const std::string& path) {
    std::string r = le32(id);
    std::string n = name.substr(0, 100), p = path.substr(0, 200);
    n.resize(100, '\0');
    p.resize(200, '\0');
    return r + n + p;
}

} // namespace glyvora::testing
