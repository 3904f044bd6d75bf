// Renamed copies of untrusted font bytes. Any input is refused or gives a font that is sound: an
// sfnt's tables all lie inside it, aligned, with valid checksums; the face-name reader finds the new
// name in it whenever it finds a name at all, and always when it found one in the input; and the
// copy can itself be renamed again.
#include "fontfile/byte_reader.h"
#include "fontfile/face_name.h"
#include "fontfile/font_rename.h"

#include <cstdint>
#include <span>
#include <string>

namespace {

using glyvora::fontfile::ByteReader;
using glyvora::fontfile::MemoryFontBytes;

std::u16string faceNameOf(std::span<const std::uint8_t> font) {
    MemoryFontBytes bytes(font);
    return glyvora::fontfile::readFaceName(bytes, 0x0409);
}

std::uint32_t sumOfWords(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k)
            word = word << 8 | (i + k < bytes.size() ? bytes[i + k] : 0u);
        sum += word;
    }
    return sum;
}

// Traps unless every table of the sfnt `font` lies inside it, starts on a four-byte boundary, comes
// in tag order and has the checksum its record gives, and the whole file sums to the head table's
// target.
void checkSfnt(std::span<const std::uint8_t> font) {
    ByteReader r(font);
    const std::uint16_t count = r.u16be(4);
    if (!r.ok() || count == 0 || font.size() % 4 != 0) __builtin_trap();
    std::uint32_t lastTag = 0;
    bool head = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 12 + 16 * i;
        const std::uint32_t tag = r.u32be(at);
        const std::uint32_t sum = r.u32be(at + 4);
        const std::uint32_t offset = r.u32be(at + 8);
        const std::uint32_t length = r.u32be(at + 12);
        if (!r.ok() || !r.has(offset, length) || offset % 4 != 0 || offset < 12 + 16u * count)
            __builtin_trap();
        if (i > 0 && tag <= lastTag) __builtin_trap();
        lastTag = tag;
        std::uint32_t expected = sumOfWords(font.subspan(offset, length));
        if (tag == 0x68656164) { // head: the adjustment is left out of its own checksum
            head = true;
            expected -= r.u32be(offset + 8);
        }
        if (sum != expected) __builtin_trap();
    }
    if (!head || sumOfWords(font) != 0xB1B0AFBA) __builtin_trap();
}

bool isSfnt(std::span<const std::uint8_t> font) {
    ByteReader r(font);
    const std::uint32_t version = r.u32be(0);
    return r.ok() && (version == 0x00010000 || version == 0x74727565 || version == 0x4F54544F);
}

void checkRenamed(std::span<const std::uint8_t> input, std::span<const std::uint8_t> font,
                  const std::string& name, bool inputNamed) {
    if (font.size() > 64 * input.size() + 65536) __builtin_trap();
    if (isSfnt(font)) checkSfnt(font);
    const std::u16string face = faceNameOf(font);
    const std::u16string expected(name.begin(), name.end());
    if (!face.empty() && face != expected) __builtin_trap();
    if (inputNamed && face != expected) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const bool inputNamed = !faceNameOf(input).empty();
    for (std::uint32_t face : {0u, 1u}) {
        const std::string name = glyvora::fontfile::privateFaceName(0xF1A2B3C4u + face);
        const std::vector<std::uint8_t> renamed = glyvora::fontfile::renameFont(input, name, face);
        if (renamed.empty()) continue;
        // The reader reads a collection's first face, so only that one is known to have a name.
        checkRenamed(input, renamed, name, inputNamed && face == 0);

        const std::string again = glyvora::fontfile::privateFaceName(face);
        const std::vector<std::uint8_t> twice = glyvora::fontfile::renameFont(renamed, again);
        if (twice.empty()) __builtin_trap();
        checkRenamed(renamed, twice, again, !faceNameOf(renamed).empty());
    }
    return 0;
}
