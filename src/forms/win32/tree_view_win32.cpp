#include "forms/win32/tree_view_win32.h"

namespace glyvora::win32 {

TreeView::TreeView(HWND, int, const UnitTemplate&, WindowId window, BackendSink* const* sink)
    : window_(window), sink_(sink) {}
TreeView::~TreeView() = default;
void TreeView::setColours(std::optional<Colour>, std::optional<Colour>) {}
void TreeView::clear() {}
void TreeView::append(const TreeItem&, ItemKey) {}
void TreeView::update(const TreeItem&) {}
void TreeView::remove(ItemKey) {}
void TreeView::setExpanded(ItemKey, bool) {}
void TreeView::select(ItemKey) {}
void TreeView::editLabel(ItemKey) {}
std::optional<LRESULT> TreeView::onNotify(const NMHDR&) {
    return std::nullopt;
}
HTREEITEM TreeView::itemOf(ItemKey) const {
    return nullptr;
}
ItemKey TreeView::keyOf(HTREEITEM) const {
    return 0;
}

} // namespace glyvora::win32
