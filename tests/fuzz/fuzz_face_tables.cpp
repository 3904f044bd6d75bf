// The face tables of untrusted font bytes, and the renamed copy made from the same face. Any input
// gives nothing or tables that are runs of its own bytes; a face whose tables are read and which
// the rewriter takes gives a copy whose tables are read again, whose head table is the original's
// but for its checksum adjustment, and whose face name is the new one.
#include "fontfile/face_name.h"
#include "fontfile/face_tables.h"
#include "fontfile/font_rename.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace {

using glyvora::fontfile::FaceTables;
using glyvora::fontfile::MemoryFontBytes;

std::optional<FaceTables> tablesOf(std::span<const std::uint8_t> font, std::uint32_t face) {
    MemoryFontBytes bytes(font);
    return glyvora::fontfile::faceTablesOf(bytes, face);
}

// Traps unless `table` is a run of `font` lying inside it.
void checkInside(std::span<const std::uint8_t> font, const std::vector<std::uint8_t>& table) {
    if (table.size() > font.size()) __builtin_trap();
    if (!table.empty() && std::search(font.begin(), font.end(), table.begin(), table.end()) == font.end())
        __builtin_trap();
}

std::vector<std::uint8_t> withoutAdjustment(std::vector<std::uint8_t> head) {
    if (head.size() >= 12) std::fill(head.begin() + 8, head.begin() + 12, 0);
    return head;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    MemoryFontBytes inputBytes(input);
    const bool named = !glyvora::fontfile::readFaceName(inputBytes, 0x0409).empty();
    for (std::uint32_t face : {0u, 1u, 0xFFFFFFFFu}) {
        const std::optional<FaceTables> tables = tablesOf(input, face);
        if (!tables) continue;
        checkInside(input, tables->name);
        checkInside(input, tables->head);

        const std::string name = glyvora::fontfile::privateFaceName(0xFACE0000u + face);
        const std::vector<std::uint8_t> copy = glyvora::fontfile::renameFont(input, name, face);
        if (copy.empty()) continue;
        const std::optional<FaceTables> copied = tablesOf(copy, 0);
        if (!copied) __builtin_trap();
        if (withoutAdjustment(copied->head) != withoutAdjustment(tables->head)) __builtin_trap();
        MemoryFontBytes copyBytes(copy);
        const std::u16string face16 = glyvora::fontfile::readFaceName(copyBytes, 0x0409);
        if (face == 0 && named && face16 != std::u16string(name.begin(), name.end())) __builtin_trap();
    }
    return 0;
}
