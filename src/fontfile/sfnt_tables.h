#pragma once
// What every reader and writer of sfnt fonts (TrueType and CFF outlines) agrees on: the version
// tags a font starts with and the sizes of the records that lead to its tables.

#include <cstddef>
#include <cstdint>

namespace glyvora::fontfile {

// A four-letter table or version tag as it stands in the file, big-endian.
constexpr std::uint32_t tagOf(const char (&s)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[2])) << 8 |
           static_cast<unsigned char>(s[3]);
}

inline constexpr std::uint32_t trueTypeVersion = 0x00010000;
inline constexpr std::uint32_t appleTrueTypeVersion = tagOf("true");
inline constexpr std::uint32_t cffVersion = tagOf("OTTO");

inline constexpr std::size_t sfntHeaderBytes = 12;
inline constexpr std::size_t tableRecordBytes = 16;
inline constexpr std::size_t nameHeaderBytes = 6;
inline constexpr std::size_t nameRecordBytes = 12;

// The name table's platforms, and the name ID of the family name.
inline constexpr std::uint16_t unicodePlatform = 0;
inline constexpr std::uint16_t macPlatform = 1;
inline constexpr std::uint16_t isoPlatform = 2;
inline constexpr std::uint16_t windowsPlatform = 3;
inline constexpr std::uint16_t familyNameId = 1;

} // namespace glyvora::fontfile
