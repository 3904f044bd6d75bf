#include "forms/tree_model.h"

namespace glyvora {

int TreeModel::indexOf(ItemKey key) const {
    for (int i = 0; i < count(); ++i)
        if (items_[i].key == key) return i;
    return -1;
}

int TreeModel::parentOf(int index) const {
    if (!valid(index)) return -1;
    const int level = items_[index].level;
    for (int i = index - 1; i >= 0; --i)
        if (items_[i].level < level) return i;
    return -1;
}

bool TreeModel::hasChildren(int index) const {
    return valid(index) && index + 1 < count() && items_[index + 1].level > items_[index].level;
}

int TreeModel::subtreeEnd(int index) const {
    if (!valid(index)) return index;
    int end = index + 1;
    while (end < count() && items_[end].level > items_[index].level)
        ++end;
    return end;
}

// Keys only grow: four billion items would have to be created before one comes round again.
ItemKey TreeModel::nextKey() {
    if (++lastKey_ == 0) ++lastKey_;
    return lastKey_;
}

int TreeModel::append(int parent, TreeItem item) {
    item.key = nextKey();
    int at;
    if (valid(parent)) {
        item.level = items_[parent].level + 1;
        at = subtreeEnd(parent);
    } else {
        item.level = 1;
        at = count();
    }
    items_.insert(items_.begin() + at, std::move(item));
    return at;
}

int TreeModel::appendAtLevel(int level, TreeItem item) {
    const int deepest = items_.empty() ? 1 : items_.back().level + 1;
    item.key = nextKey();
    item.level = level < 1 ? 1 : level > deepest ? deepest : level;
    items_.push_back(std::move(item));
    return count() - 1;
}

void TreeModel::erase(int index) {
    if (!valid(index)) return;
    const int end = subtreeEnd(index);
    for (int i = index; i < end; ++i)
        if (items_[i].key == selected) selected = 0;
    items_.erase(items_.begin() + index, items_.begin() + end);
}

void TreeModel::clear() {
    items_.clear();
    selected = 0;
}

} // namespace glyvora
