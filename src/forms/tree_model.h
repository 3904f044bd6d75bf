#pragma once
// The items of a TreeBox unit.
//
// Where the items live: this model is the truth for every item field and for the tree's shape;
// the backend's control is a mirror the layer keeps in step with it (each item carries a key the
// backend maps to its own item handle). What the user changes on the control (the selection, the
// text accepted at the end of an in-place edit, an item expanded or collapsed by hand) reaches
// the layer as a notification and is written into the model, so the pre-order indexes, the items
// blob and the expanded flags it saves never depend on what a particular control keeps (a system
// tree view, for one, drops the expanded state of an item without children).
//
// Items are kept as one vector in pre-order with the level of each item: an item's subtree is the
// run of items after it with a deeper level, so the item index is the vector position, and no
// walk over the tree needs recursion (a tree file may hold a very deep chain).

#include "platform/types.h"

#include <cstdint>
#include <vector>

namespace glyvora {

// Identity of an item for as long as it exists; never 0.
using ItemKey = std::uint32_t;

struct TreeItem {
    ItemKey key = 0;
    int level = 1; // 1 for a top-level item
    Text text;
    std::int32_t image = 0;
    std::int32_t selectedImage = 0;
    std::int32_t value = 0;
    bool bold = false;
    bool expanded = false;
    std::uint8_t stateImage = 0; // 0..15
};

class TreeModel {
public:
    int count() const { return static_cast<int>(items_.size()); }
    const std::vector<TreeItem>& items() const { return items_; }
    bool valid(int index) const { return index >= 0 && index < count(); }
    // Null for an index that names no item.
    const TreeItem* at(int index) const { return valid(index) ? &items_[index] : nullptr; }
    TreeItem* at(int index) { return valid(index) ? &items_[index] : nullptr; }

    int indexOf(ItemKey key) const;
    // -1 for a top-level item or an index that names no item.
    int parentOf(int index) const;
    bool hasChildren(int index) const;
    // One past the last item of the subtree of `index`.
    int subtreeEnd(int index) const;

    // Appends an item as the last child of `parent` (a top-level item when `parent` names no item)
    // and returns its index. The key and level of `item` are assigned here.
    int append(int parent, TreeItem item);
    // Appends an item at the end of the pre-order at `level` (1 .. the last item's level + 1); used
    // when rebuilding from a blob.
    int appendAtLevel(int level, TreeItem item);
    // Removes the item and its subtree.
    void erase(int index);
    void clear();

    // The selected item, 0 when none.
    ItemKey selected = 0;
    int selectedIndex() const { return selected ? indexOf(selected) : -1; }

private:
    ItemKey nextKey();
    std::vector<TreeItem> items_;
    ItemKey lastKey_ = 0;
};

} // namespace glyvora
