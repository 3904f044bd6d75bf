// The walk over a .fon's resource table that both its face-name reader and its renamer take.
#include "fontfile/fnt_format.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace glyvora::fontfile {
namespace {

using Block = std::tuple<std::uint16_t, std::uint16_t, std::size_t>; // type, count, first entry

// An alignment shift, then a type block (type, count, reserved dword) with `count` empty entries
// for each given type.
std::vector<std::uint8_t> table(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& blocks) {
    std::vector<std::uint8_t> out = {4, 0};
    for (const auto& [type, count] : blocks) {
        const std::uint8_t head[] = {static_cast<std::uint8_t>(type & 0xFF),
                                     static_cast<std::uint8_t>(type >> 8),
                                     static_cast<std::uint8_t>(count & 0xFF),
                                     static_cast<std::uint8_t>(count >> 8),
                                     0,
                                     0,
                                     0,
                                     0};
        out.insert(out.end(), std::begin(head), std::end(head));
        out.insert(out.end(), std::size_t{count} * resourceNameInfoBytes, 0);
    }
    return out;
}

std::vector<Block> walk(const std::vector<std::uint8_t>& bytes, std::size_t stopAfter = 100) {
    ByteReader r(bytes);
    std::vector<Block> seen;
    walkResourceTypes(r, [&](std::uint16_t type, std::uint16_t count, std::size_t at) {
        seen.emplace_back(type, count, at);
        return seen.size() < stopAfter;
    });
    return seen;
}

TEST(ResourceTable, blocksComeInOrderEachPastTheEntriesOfTheLastUntilAZeroType) {
    const auto bytes = table({{0x8007, 1}, {0x8001, 0}, {0x8008, 2}, {0, 0}, {0x8008, 1}});
    const std::vector<Block> expected = {{0x8007, 1, 10}, {0x8001, 0, 30}, {0x8008, 2, 38}};
    EXPECT_EQ(walk(bytes), expected);
    EXPECT_EQ(walk(bytes, 2), std::vector<Block>(expected.begin(), expected.begin() + 2));
}

TEST(ResourceTable, theTablesEndStopsTheWalkWhereNoZeroTypeComes) {
    auto bytes = table({{0x8008, 1}, {0x8007, 1}});
    EXPECT_EQ(walk(bytes).size(), 2u);
    // A type block cut short is not read; one whose entries run past the end is still given, for the
    // caller to refuse.
    bytes.resize(2 + 8 + 12 + 5);
    EXPECT_EQ(walk(bytes), (std::vector<Block>{{0x8008, 1, 10}}));
    bytes.resize(2 + 8 + 12 + 8);
    EXPECT_EQ(walk(bytes), (std::vector<Block>{{0x8008, 1, 10}, {0x8007, 1, 30}}));
    EXPECT_TRUE(walk({4, 0}).empty());
    EXPECT_TRUE(walk({}).empty());
}

} // namespace
} // namespace glyvora::fontfile
