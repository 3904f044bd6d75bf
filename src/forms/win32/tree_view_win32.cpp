#include "forms/win32/tree_view_win32.h"

#include "forms/win32/dpi_win32.h"
#include "forms/win32/wide_text.h"

#include <vector>

namespace glyvora::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 0x7472; // "tr"

DWORD exStyleOf(const TreeDesign& tree) {
    // 1 a plain line, 2 a thin raised edge, 3 and up the sunken edge of an input field.
    if (tree.borderStyle >= 3) return WS_EX_CLIENTEDGE;
    if (tree.borderStyle == 2) return WS_EX_STATICEDGE;
    return 0;
}

DWORD styleOf(const UnitTemplate& design) {
    const TreeDesign& tree = design.tree;
    // Without TVS_NONEVENHEIGHT the control rounds an odd item height down to an even one.
    DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | TVS_NONEVENHEIGHT;
    if (tree.borderStyle == 1) style |= WS_BORDER;
    if (tree.hasButtons) style |= TVS_HASBUTTONS;
    if (tree.hasLines) style |= TVS_HASLINES;
    if (tree.linesAtRoot) style |= TVS_LINESATROOT;
    if (tree.editLabels) style |= TVS_EDITLABELS;
    if (tree.showSelectionAlways) style |= TVS_SHOWSELALWAYS;
    if (tree.checkBoxes) style |= TVS_CHECKBOXES;
    if (design.visible) style |= WS_VISIBLE;
    if (design.disabled) style |= WS_DISABLED;
    return style;
}

int causeOf(UINT action) {
    if (action == TVC_BYKEYBOARD) return selectionCause::keyboard;
    if (action == TVC_BYMOUSE) return selectionCause::mouse;
    return selectionCause::other;
}

// Fills the fields an append and an update write: text, images, bold and state image. `text` is
// the item's text widened, and must outlive the message that takes the fields.
void fillItem(TVITEMW& tv, const TreeItem& item, std::wstring& text) {
    text = widen(item.text);
    tv.mask |= TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    tv.pszText = text.data();
    tv.iImage = item.image;
    tv.iSelectedImage = item.selectedImage;
    tv.stateMask = TVIS_BOLD | TVIS_STATEIMAGEMASK;
    tv.state = (item.bold ? TVIS_BOLD : 0) | INDEXTOSTATEIMAGEMASK(item.stateImage & 0xF);
}

} // namespace

TreeView::TreeView(HWND parent, int controlId, const UnitTemplate& design, int dpi, WindowId window,
                   BackendSink* const* sink)
    : window_(window), unit_(design.id), itemHeight_(design.tree.itemHeight), sink_(sink) {
    const Rect placed = toPixels(Rect{design.left, design.top, design.width, design.height}, dpi);
    hwnd_ = CreateWindowExW(exStyleOf(design.tree), WC_TREEVIEWW, L"", styleOf(design), placed.left,
                            placed.top, placed.width, placed.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return;
    SetWindowSubclass(hwnd_, subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    // Unicode notifications whatever the parent is: an ANSI parent would otherwise get the edited
    // label in the system's code page, and the tree would take its new text back from that.
    SendMessageW(hwnd_, TVM_SETUNICODEFORMAT, TRUE, 0);
    setDpi(dpi);
    setColours(design.textColour, design.backColour);
}

void TreeView::setDpi(int dpi) {
    if (hwnd_ && itemHeight_ > 0) SendMessageW(hwnd_, TVM_SETITEMHEIGHT, toPixels(itemHeight_, dpi), 0);
}

TreeView::~TreeView() {
    // Whatever the control sends while it goes (ends of an edit, deleted items) is not the user's.
    closing_ = true;
    if (!hwnd_ || !IsWindow(hwnd_)) return;
    RemoveWindowSubclass(hwnd_, subclassProc, kSubclassId);
    DestroyWindow(hwnd_);
}

LRESULT CALLBACK TreeView::subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
    TreeView& tree = *reinterpret_cast<TreeView*>(self);
    if (message == WM_SETFOCUS && !tree.closing_) {
        // A tree view that gets the focus with nothing selected selects its first visible item on
        // its own. Getting the focus selects nothing here: the selection stays as the layer knows it.
        const bool none = tree.caret() == nullptr;
        Quiet quiet(tree);
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        if (none && tree.caret()) SendMessageW(hwnd, TVM_SELECTITEM, TVGN_CARET, 0);
        return result;
    }
    // Destroyed with its window: an edit in progress then ends with the edit window, and that
    // is not the user confirming it.
    if (message == WM_DESTROY) tree.closing_ = true;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, subclassProc, kSubclassId);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

HTREEITEM TreeView::caret() const {
    return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

HTREEITEM TreeView::itemOf(ItemKey key) const {
    const auto it = items_.find(key);
    return it == items_.end() ? nullptr : it->second;
}

ItemKey TreeView::keyOf(HTREEITEM item) const {
    if (!item || !hwnd_) return 0;
    TVITEMW tv{};
    tv.mask = TVIF_HANDLE | TVIF_PARAM;
    tv.hItem = item;
    if (!SendMessageW(hwnd_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return 0;
    const ItemKey key = static_cast<ItemKey>(tv.lParam);
    // A handle the mirror does not hold (or holds under another key) names no item of the layer.
    return itemOf(key) == item ? key : 0;
}

void TreeView::setColours(std::optional<Colour> text, std::optional<Colour> back) {
    if (!hwnd_) return;
    Quiet quiet(*this);
    SendMessageW(hwnd_, TVM_SETTEXTCOLOR, 0,
                 text ? static_cast<LPARAM>(*text) : static_cast<LPARAM>(CLR_DEFAULT));
    SendMessageW(hwnd_, TVM_SETBKCOLOR, 0,
                 back ? static_cast<LPARAM>(*back) : static_cast<LPARAM>(CLR_DEFAULT));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TreeView::cancelEditUnder(HTREEITEM root) {
    if (!editing_) return;
    HTREEITEM edited = itemOf(editing_);
    if (root) {
        HTREEITEM up = edited;
        while (up && up != root)
            up = reinterpret_cast<HTREEITEM>(
                SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(up)));
        if (!up) return;
    }
    // The end of the edit is reported (with no text) however it ends, and the control gets to
    // close its edit window before the item goes, so that it never writes to a deleted item.
    // onEndEdit clears editing_ first, so the second end Wine sends is ignored.
    SendMessageW(hwnd_, TVM_ENDEDITLABELNOW, TRUE, 0);
    if (editing_) onEndEdit(edited, std::nullopt);
}

void TreeView::forgetSubtree(HTREEITEM root) {
    // Iterative: a tree file may hold a very deep chain.
    std::vector<HTREEITEM> pending{root};
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        if (const ItemKey key = keyOf(item)) {
            items_.erase(key);
            if (key == selected_) selected_ = 0;
        }
        for (auto child = reinterpret_cast<HTREEITEM>(
                 SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
             child; child = reinterpret_cast<HTREEITEM>(
                        SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
            pending.push_back(child);
    }
}

void TreeView::clear() {
    if (!hwnd_) return;
    cancelEditUnder(nullptr);
    Quiet quiet(*this);
    SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    items_.clear();
    selected_ = 0;
}

void TreeView::append(const TreeItem& item, ItemKey parent) {
    if (!hwnd_ || item.key == 0 || items_.count(item.key)) return;
    TVINSERTSTRUCTW insert{};
    // A parent the mirror does not hold gives a top-level item, as in the model.
    HTREEITEM under = parent ? itemOf(parent) : nullptr;
    insert.hParent = under ? under : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_PARAM;
    insert.item.lParam = static_cast<LPARAM>(item.key);
    std::wstring text;
    fillItem(insert.item, item, text);
    Quiet quiet(*this);
    const auto handle = reinterpret_cast<HTREEITEM>(
        SendMessageW(hwnd_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (handle) items_[item.key] = handle;
}

void TreeView::update(const TreeItem& item) {
    HTREEITEM handle = itemOf(item.key);
    if (!handle) return;
    TVITEMW tv{};
    tv.mask = TVIF_HANDLE;
    tv.hItem = handle;
    std::wstring text;
    fillItem(tv, item, text);
    Quiet quiet(*this);
    SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

void TreeView::remove(ItemKey key) {
    HTREEITEM handle = itemOf(key);
    if (!handle) return;
    cancelEditUnder(handle);
    // The end of the edit may have changed the tree: look the item up again.
    handle = itemOf(key);
    if (!handle) return;
    const ItemKey selectedBefore = selected_;
    forgetSubtree(handle);
    Quiet quiet(*this);
    SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(handle));
    // The control moves a deleted selection to a neighbour of its own; the layer decides which
    // item is selected next and says so.
    if (selectedBefore && !selected_) SendMessageW(hwnd_, TVM_SELECTITEM, TVGN_CARET, 0);
}

void TreeView::setExpanded(ItemKey key, bool expanded) {
    HTREEITEM handle = itemOf(key);
    if (!handle) return;
    Quiet quiet(*this);
    const bool hasChildren =
        SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(handle)) != 0;
    if (hasChildren) {
        SendMessageW(hwnd_, TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE,
                     reinterpret_cast<LPARAM>(handle));
        return;
    }
    // An item without children cannot be expanded; keeping the state lets the children appended
    // later show at once, as the model has them.
    TVITEMW tv{};
    tv.mask = TVIF_HANDLE | TVIF_STATE;
    tv.hItem = handle;
    tv.stateMask = TVIS_EXPANDED;
    tv.state = expanded ? TVIS_EXPANDED : 0;
    SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

void TreeView::select(ItemKey key) {
    if (!hwnd_) return;
    HTREEITEM handle = itemOf(key);
    selected_ = handle ? key : 0;
    Quiet quiet(*this);
    SendMessageW(hwnd_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle));
}

void TreeView::editLabel(ItemKey key) {
    HTREEITEM handle = itemOf(key);
    if (!handle || editing_) return;
    {
        Quiet quiet(*this);
        SetFocus(hwnd_);
    }
    const HWND edit =
        reinterpret_cast<HWND>(SendMessageW(hwnd_, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(handle)));
    // A begin that was allowed but gave no edit window still ends, so that a handler waiting for
    // the end of the edit does not wait for ever.
    if (!edit && editing_) onEndEdit(itemOf(editing_), std::nullopt);
}

std::optional<LRESULT> TreeView::onBeginEdit(HTREEITEM item) {
    const ItemKey key = keyOf(item);
    // An edit of an item the layer does not know, or a second edit, does not start.
    if (!key || editing_) return TRUE;
    BackendSink* s = sink();
    // The handler may pump messages: what the user does meanwhile is reported.
    const int quiet = quiet_;
    quiet_ = 0;
    const bool allowed = s ? s->onTreeBeginEdit(window_, unit_, key) : true;
    quiet_ = quiet;
    if (!allowed || itemOf(key) != item) return TRUE;
    editing_ = key;
    return FALSE;
}

std::optional<LRESULT> TreeView::onEndEdit(HTREEITEM item, const std::optional<Text>& text) {
    // Wine sends the end twice for TVM_ENDEDITLABELNOW; only the first ends the edit.
    if (!editing_) return FALSE;
    const ItemKey key = editing_;
    editing_ = 0;
    BackendSink* s = sink();
    const int quiet = quiet_;
    quiet_ = 0;
    const bool accepted = s ? s->onTreeEndEdit(window_, unit_, key, text) : true;
    quiet_ = quiet;
    // The handler may have deleted the item: the control must not write the text into it then.
    if (!accepted || !text || itemOf(key) != item || !item) return FALSE;
    return TRUE;
}

std::optional<LRESULT> TreeView::onNotify(const NMHDR& header) {
    if (closing_ || header.hwndFrom != hwnd_) return std::nullopt;
    const auto& tree = reinterpret_cast<const NMTREEVIEWA&>(header);
    switch (header.code) {
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW: {
        const auto key = static_cast<ItemKey>(tree.itemOld.lParam);
        if (itemOf(key) == tree.itemOld.hItem) {
            items_.erase(key);
            if (key == selected_) selected_ = 0;
        }
        return 0;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        if (quiet_) return 0;
        const ItemKey key = keyOf(tree.itemNew.hItem);
        if (tree.itemNew.hItem && !key) return 0;
        selected_ = key;
        if (BackendSink* s = sink()) s->onTreeSelectionChanged(window_, unit_, key, causeOf(tree.action));
        return 0;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
        if (quiet_) return 0;
        const ItemKey key = keyOf(tree.itemNew.hItem);
        if (!key) return 0;
        const auto state = static_cast<UINT>(SendMessageW(
            hwnd_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(tree.itemNew.hItem), TVIS_EXPANDED));
        if (BackendSink* s = sink())
            s->onTreeExpandedChanged(window_, unit_, key, (state & TVIS_EXPANDED) != 0);
        return 0;
    }
    case NM_RCLICK: {
        // The item under the cursor where the button went down; the drop highlight is not kept
        // by every tree view.
        const DWORD at = GetMessagePos();
        TVHITTESTINFO hit{};
        hit.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        ScreenToClient(hwnd_, &hit.pt);
        SendMessageW(hwnd_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        const ItemKey key = (hit.flags & TVHT_ONITEM) ? keyOf(hit.hItem) : 0;
        if (BackendSink* s = sink()) s->onTreeRightClick(window_, unit_, key);
        return TRUE; // handled: no WM_CONTEXTMENU follows
    }
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW:
        return onBeginEdit(reinterpret_cast<const NMTVDISPINFOA&>(header).item.hItem);
    case TVN_ENDLABELEDITA: {
        const auto& info = reinterpret_cast<const NMTVDISPINFOA&>(header);
        std::optional<Text> text;
        // The one text that arrives in the system's own code page, not in GBK.
        if (info.item.pszText) text = narrow(systemWiden(info.item.pszText).c_str());
        return onEndEdit(info.item.hItem, text);
    }
    case TVN_ENDLABELEDITW: {
        const auto& info = reinterpret_cast<const NMTVDISPINFOW&>(header);
        std::optional<Text> text;
        if (info.item.pszText) text = narrow(info.item.pszText);
        return onEndEdit(info.item.hItem, text);
    }
    default:
        return std::nullopt;
    }
}

} // namespace glyvora::win32
