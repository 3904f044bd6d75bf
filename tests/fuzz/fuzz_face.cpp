// Face names from untrusted font bytes: sfnt fonts, collections, .fon and .fnt files.
#include "fontfile/face_name.h"
#include "platform/codepage.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    glyvora::fontfile::MemoryFontBytes bytes(std::span<const std::uint8_t>(data, size));
    for (std::uint16_t language : {std::uint16_t{0x0804}, std::uint16_t{0x0409}}) {
        const std::u16string name = glyvora::fontfile::readFaceName(bytes, language);
        if (name.size() > glyvora::fontfile::maxFaceNameUnits) __builtin_trap();
        if (name.find(u'\0') != std::u16string::npos) __builtin_trap();
        glyvora::utf16ToAnsi(name);
    }
    return 0;
}
