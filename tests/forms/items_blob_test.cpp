// The items blob read as the untrusted tree file: bounded parsing, the rebuild rules, the round trip.
#include "forms/items_blob.h"

#include <gtest/gtest.h>

namespace glyvora {
namespace {

void putRecord(ByteSet& blob, const Text& text, std::uint32_t flags, std::int32_t depth,
               std::int32_t value = 0) {
    blob.insert(blob.end(), text.begin(), text.end());
    blob.push_back(0);
    for (std::uint32_t v :
         {0u, 0u, static_cast<std::uint32_t>(value), flags, static_cast<std::uint32_t>(depth)})
        for (int i = 0; i < 4; ++i)
            blob.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<int> levels(const TreeModel& model) {
    std::vector<int> out;
    for (const TreeItem& item : model.items())
        out.push_back(item.level);
    return out;
}

TreeModel rebuilt(const ByteSet& blob) {
    TreeModel model;
    rebuildItems(model, parseItemsBlob(blob.data(), blob.size()).records);
    return model;
}

TEST(ItemsBlob, emptyBlobIsAnEmptyTreeAndAnEmptyTreeAnEmptyBlob) {
    const ParsedItems parsed = parseItemsBlob(nullptr, 0);
    EXPECT_TRUE(parsed.records.empty());
    EXPECT_TRUE(parsed.complete);
    EXPECT_TRUE(serialiseItems(TreeModel()).empty());
}

TEST(ItemsBlob, aRecordIsTheTextItsZeroAndFiveLittleEndianFields) {
    const ByteSet blob = {
        'A',  0,                // text "A"
        1,    0,    0,    0,    // image 1
        2,    0,    0,    0,    // selected image 2
        0xFF, 0xFF, 0xFF, 0xFF, // value -1
        0x03, 0,    0,    0x50, // bold, expanded, state image 5
        1,    0,    0,    0,    // depth 1
    };
    const TreeModel model = rebuilt(blob);
    ASSERT_EQ(model.count(), 1);
    const TreeItem& item = *model.at(0);
    EXPECT_EQ(item.text, "A");
    EXPECT_EQ(item.image, 1);
    EXPECT_EQ(item.selectedImage, 2);
    EXPECT_EQ(item.value, -1);
    EXPECT_TRUE(item.bold);
    EXPECT_TRUE(item.expanded);
    EXPECT_EQ(item.stateImage, 5);
    EXPECT_EQ(serialiseItems(model), blob);
}

TEST(ItemsBlob, truncatedRecordsAreDroppedAndTheCompleteOnesKept) {
    ByteSet blob;
    putRecord(blob, "first", 0, 1);
    const std::size_t whole = blob.size();
    putRecord(blob, "second", 0, 1);
    for (std::size_t cut = whole; cut < blob.size(); ++cut) {
        const ParsedItems parsed = parseItemsBlob(blob.data(), cut);
        EXPECT_EQ(parsed.records.size(), 1u) << cut;
        EXPECT_EQ(parsed.complete, cut == whole) << cut;
    }
    const ByteSet noZero = {'a', 'b', 'c'};
    EXPECT_TRUE(parseItemsBlob(noZero.data(), noZero.size()).records.empty());
}

TEST(ItemsBlob, deeperRecordsOpenOneLevelAndShallowerOnesCloseLevels) {
    ByteSet blob;
    putRecord(blob, "a", 0, 1);
    putRecord(blob, "a1", 0, 2);
    putRecord(blob, "a1x", 0, 3);
    putRecord(blob, "a2", 0, 2);
    putRecord(blob, "b", 0, 1);
    putRecord(blob, "b1", 0, 5); // deeper by more than one: still the first child of b
    putRecord(blob, "b2", 0, 5);
    putRecord(blob, "c", 0, 1);
    const TreeModel model = rebuilt(blob);
    EXPECT_EQ(levels(model), (std::vector<int>{1, 2, 3, 2, 1, 2, 2, 1}));
    EXPECT_EQ(model.parentOf(6), 4);
}

TEST(ItemsBlob, aShallowerRecordBetweenTwoOpenDepthsStaysUnderTheLastShallowerItem) {
    // A tree file written elsewhere with gaps in its depths: a2 is deeper than a and shallower
    // than a1, so it is a's child next to a1, and a3 of the same depth is its sibling.
    ByteSet blob;
    putRecord(blob, "a", 0, 1);
    putRecord(blob, "a1", 0, 3);
    putRecord(blob, "a2", 0, 2);
    putRecord(blob, "a3", 0, 2);
    putRecord(blob, "a3x", 0, 3);
    putRecord(blob, "b", 0, 1);
    const TreeModel model = rebuilt(blob);
    EXPECT_EQ(levels(model), (std::vector<int>{1, 2, 2, 2, 3, 1}));
    EXPECT_EQ(model.parentOf(3), 0);
    EXPECT_EQ(model.parentOf(4), 3);
}

TEST(ItemsBlob, aFirstRecordOfDepthTwoAndItsFollowersBecomeTopLevelItems) {
    ByteSet blob;
    putRecord(blob, "a", 0, 2);
    putRecord(blob, "b", 0, 2);
    putRecord(blob, "b1", 0, 3);
    putRecord(blob, "c", 0, 1); // shallower than the first: top level, and the new top depth
    putRecord(blob, "c1", 0, 2);
    EXPECT_EQ(levels(rebuilt(blob)), (std::vector<int>{1, 1, 2, 1, 2}));
}

TEST(ItemsBlob, depthsOfAnyValueBuildAConsistentTree) {
    ByteSet blob;
    putRecord(blob, "a", 0, -7);
    putRecord(blob, "b", 0, 0x7FFFFFFF);
    putRecord(blob, "c", 0, static_cast<std::int32_t>(0x80000000));
    putRecord(blob, "d", 0, 0x7FFFFFFF);
    const TreeModel model = rebuilt(blob);
    EXPECT_EQ(levels(model), (std::vector<int>{1, 2, 1, 2}));
    // Written back, the depths are the levels.
    EXPECT_EQ(levels(rebuilt(serialiseItems(model))), (std::vector<int>{1, 2, 1, 2}));
}

TEST(ItemsBlob, unknownFlagBitsAreDroppedAndKnownOnesKept) {
    ByteSet blob;
    putRecord(blob, "a", 0xF000FFFFu, 1);
    const TreeModel model = rebuilt(blob);
    ByteSet expected;
    putRecord(expected, "a", 0xF0000003u, 1);
    EXPECT_EQ(serialiseItems(model), expected);
}

TEST(ItemsBlob, aWellFormedTreeComesBackByteForByte) {
    ByteSet blob;
    putRecord(blob, "\xBC\xAF", kItemBold, 1); // a GBK text
    putRecord(blob, "", kItemExpanded, 2, 42);
    putRecord(blob, "x", 0, 3, -9);
    putRecord(blob, "y", kItemBold | kItemExpanded, 1);
    EXPECT_EQ(serialiseItems(rebuilt(blob)), blob);
}

TEST(TreeModel, appendEraseAndParentsFollowThePreOrder) {
    TreeModel model;
    const int a = model.append(-1, TreeItem{});
    const int b = model.append(-1, TreeItem{});
    EXPECT_EQ(model.append(a, TreeItem{}), 1); // the child of a comes before b
    EXPECT_EQ(model.append(a, TreeItem{}), 2);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(model.parentOf(2), 0);
    EXPECT_EQ(model.subtreeEnd(0), 3);
    model.selected = model.at(2)->key;
    model.erase(0);
    EXPECT_EQ(model.count(), 1);
    EXPECT_EQ(model.selected, 0u);
    EXPECT_EQ(model.selectedIndex(), -1);
}

} // namespace
} // namespace glyvora
