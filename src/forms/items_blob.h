#pragma once
// The items blob: every item of a TreeBox in pre-order, one record each, with no header, count or
// trailer. It is also the content of the tree file, so it is read as untrusted input.
//
// One record: the text bytes and a zero byte, then five little-endian 32-bit fields: image,
// selected image, value, flags (bit 0 bold, bit 1 expanded, bits 28-31 state image) and depth
// (1 for a top-level item).

#include "forms/tree_model.h"
#include "platform/types.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace glyvora {

struct ItemRecord {
    Text text;
    std::int32_t image = 0;
    std::int32_t selectedImage = 0;
    std::int32_t value = 0;
    std::uint32_t flags = 0;
    std::int32_t depth = 1;
};

inline constexpr std::uint32_t kItemBold = 0x1;
inline constexpr std::uint32_t kItemExpanded = 0x2;
inline constexpr int kStateImageShift = 28;

struct ParsedItems {
    std::vector<ItemRecord> records;
    // False when the blob ends inside a record (a text without its zero byte, or fewer than the
    // 20 bytes of fields); the records before it are kept.
    bool complete = true;
};

ParsedItems parseItemsBlob(const std::uint8_t* data, std::size_t size);

// Rebuilds `model` from the records: the first record fixes the current depth; a record of the
// same depth is the next sibling of the item before it, a deeper one (by any amount) the first
// child of the item just appended, opening one level; a shallower one closes levels until its
// depth is reached: it becomes the next child of the last open item shallower than itself (a
// top-level item when there is none), and its depth is the current depth from then on. Bold, values,
// images and expanded flags are taken as they stand; flag bits other than bold, expanded and the
// state image are dropped. The selection is cleared.
void rebuildItems(TreeModel& model, const std::vector<ItemRecord>& records);

// Every item of the model as a blob; the depth written is the item's level.
ByteSet serialiseItems(const TreeModel& model);

} // namespace glyvora
