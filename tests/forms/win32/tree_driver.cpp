#include "tree_driver.h"

#include "forms/win32/wide_text.h"

#include <cstring>

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace glyvora::testing::win32 {

namespace {

HTREEITEM next(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

struct Walked {
    HTREEITEM item = nullptr;
    int level = 1;
};

// Every item in pre-order, collapsed ones included, as the layer numbers them.
std::vector<Walked> preOrder(HWND tree) {
    std::vector<Walked> out;
    HTREEITEM item = next(tree, TVGN_ROOT, nullptr);
    int level = 1;
    while (item) {
        out.push_back({item, level});
        if (HTREEITEM child = next(tree, TVGN_CHILD, item)) {
            item = child;
            ++level;
            continue;
        }
        while (item && !next(tree, TVGN_NEXT, item)) {
            item = next(tree, TVGN_PARENT, item);
            --level;
        }
        if (item) item = next(tree, TVGN_NEXT, item);
    }
    return out;
}

HTREEITEM itemAt(HWND tree, int index) {
    const std::vector<Walked> items = preOrder(tree);
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index].item : nullptr;
}

HTREEITEM caret(HWND tree) {
    return next(tree, TVGN_CARET, nullptr);
}

// Dispatches what is waiting, so that the notifications of an action have been handled.
void pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(0);
    }
}

std::optional<RECT> itemRect(HWND tree, HTREEITEM item, bool textOnly) {
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item); // the item goes in, its rectangle comes out
    if (!SendMessageA(tree, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&rect))) return std::nullopt;
    return rect;
}

LPARAM at(POINT pt) {
    return MAKELPARAM(pt.x, pt.y);
}

// A click of the left button at client coordinates, as the mouse gives it: the control's own
// tracking of the press takes the release from the queue.
void leftClick(HWND tree, POINT pt) {
    POINT screen = pt;
    ClientToScreen(tree, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at(pt));
    PostMessageA(tree, WM_LBUTTONUP, 0, at(pt));
    pump();
}

POINT centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Brings the item into view, as a user opens its parents and scrolls to it.
void reveal(HWND tree, HTREEITEM item) {
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    pump();
}

void key(HWND target, UINT vk) {
    SendMessageA(target, WM_KEYDOWN, vk, 1);
    SendMessageA(target, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
    pump();
}

// The one key that moves the caret straight to `target`, 0 when none does.
UINT keyTowards(HWND tree, HTREEITEM from, HTREEITEM target) {
    if (target == next(tree, TVGN_ROOT, nullptr)) return VK_HOME;
    if (!from) return 0;
    if (target == next(tree, TVGN_NEXTVISIBLE, from)) return VK_DOWN;
    if (target == next(tree, TVGN_PREVIOUSVISIBLE, from)) return VK_UP;
    if (target == next(tree, TVGN_LASTVISIBLE, nullptr)) return VK_END;
    return 0;
}

Text itemText(HWND tree, HTREEITEM item, UINT& state) {
    // Long texts: grow the buffer until the text fits.
    for (std::size_t size = 1024;; size *= 4) {
        std::vector<wchar_t> buffer(size, L'\0');
        TVITEMW tv{};
        tv.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE;
        tv.hItem = item;
        tv.stateMask = TVIS_BOLD | TVIS_EXPANDED;
        tv.pszText = buffer.data();
        tv.cchTextMax = static_cast<int>(size);
        if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return {};
        state = tv.state;
        const std::size_t units = wcsnlen(buffer.data(), size);
        if (units + 1 < size || size >= (1u << 24))
            return glyvora::win32::narrow(buffer.data(), static_cast<int>(units));
    }
}

} // namespace

bool selectTreeItem(HWND tree, int index, bool byKeyboard) {
    HTREEITEM item = itemAt(tree, index);
    if (!item) return false;
    // Choosing the item already selected changes nothing (and a click on it would start an edit).
    if (caret(tree) == item) return true;
    reveal(tree, item);
    if (!byKeyboard) {
        const std::optional<RECT> rect = itemRect(tree, item, true);
        if (!rect) return false;
        leftClick(tree, centre(*rect));
        return caret(tree) == item;
    }
    SetFocus(tree);
    pump();
    if (const UINT vk = keyTowards(tree, caret(tree), item)) {
        key(tree, vk);
        return caret(tree) == item;
    }
    // No single key reaches it: step through the items in between, as a user holding an arrow
    // key does (each step is a selection of its own).
    const int from = shownTreeSelection(tree);
    const UINT vk = from < index ? VK_DOWN : VK_UP;
    for (int steps = 0; steps < static_cast<int>(preOrder(tree).size()) && caret(tree) != item; ++steps)
        key(tree, vk);
    return caret(tree) == item;
}

bool rightClickTree(HWND tree, int index) {
    POINT pt{};
    if (index >= 0) {
        HTREEITEM item = itemAt(tree, index);
        if (!item) return false;
        reveal(tree, item);
        const std::optional<RECT> rect = itemRect(tree, item, true);
        if (!rect) return false;
        pt = centre(*rect);
    } else {
        if (index != -1) return false;
        // Below the last item shown, in the middle of the space left.
        RECT client{};
        GetClientRect(tree, &client);
        int top = client.top;
        if (HTREEITEM last = next(tree, TVGN_LASTVISIBLE, nullptr))
            if (const std::optional<RECT> rect = itemRect(tree, last, false)) top = rect->bottom;
        if (top >= client.bottom - 1) return false; // no empty space to click
        pt = {(client.left + client.right) / 2, (top + client.bottom) / 2};
    }
    POINT screen = pt;
    ClientToScreen(tree, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, at(pt));
    PostMessageA(tree, WM_RBUTTONUP, 0, at(pt));
    pump();
    return true;
}

bool setTreeItemExpanded(HWND tree, int index, bool expanded) {
    HTREEITEM item = itemAt(tree, index);
    if (!item) return false;
    const bool now = (SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
                      TVIS_EXPANDED) != 0;
    if (now == expanded) return true;
    // Without children there is no button to press and nothing opens.
    if (!next(tree, TVGN_CHILD, item)) return true;
    reveal(tree, item);
    const std::optional<RECT> row = itemRect(tree, item, false);
    const std::optional<RECT> label = itemRect(tree, item, true);
    if (!row || !label) return false;
    // The expand button sits left of the label; find it by hit-testing along the row.
    const int y = (row->top + row->bottom) / 2;
    for (int x = label->left - 1; x >= row->left; --x) {
        TVHITTESTINFO hit{};
        hit.pt = {x, y};
        SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.hItem == item && (hit.flags & TVHT_ONITEMBUTTON)) {
            leftClick(tree, hit.pt);
            return true;
        }
    }
    // No buttons: a double click on the label opens or closes the item.
    const POINT pt = centre(*label);
    PostMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at(pt));
    PostMessageA(tree, WM_LBUTTONUP, 0, at(pt));
    pump();
    return true;
}

bool beginTreeEdit(HWND tree, int index) {
    HTREEITEM item = itemAt(tree, index);
    if (!item || treeEditing(tree)) return false;
    reveal(tree, item);
    const HWND edit =
        reinterpret_cast<HWND>(SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item)));
    pump();
    return edit != nullptr && treeEditing(tree);
}

bool endTreeEdit(HWND tree, const std::optional<Text>& text) {
    const HWND edit = reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
    if (!edit) return false;
    if (text) glyvora::win32::setWindowTextOf(edit, *text);
    PostMessageA(edit, WM_KEYDOWN, text ? VK_RETURN : VK_ESCAPE, 1);
    for (int round = 0; round < 50 && treeEditing(tree); ++round) {
        pump();
        if (treeEditing(tree)) Sleep(1);
    }
    pump();
    return true;
}

std::vector<ShownTreeItem> shownTree(HWND tree) {
    std::vector<ShownTreeItem> out;
    for (const Walked& walked : preOrder(tree)) {
        UINT state = 0;
        ShownTreeItem shown;
        shown.level = walked.level;
        shown.text = itemText(tree, walked.item, state);
        shown.bold = (state & TVIS_BOLD) != 0;
        shown.expanded = (state & TVIS_EXPANDED) != 0;
        out.push_back(std::move(shown));
    }
    return out;
}

int shownTreeSelection(HWND tree) {
    HTREEITEM selected = caret(tree);
    if (!selected) return -1;
    const std::vector<Walked> items = preOrder(tree);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].item == selected) return static_cast<int>(i);
    return -1;
}

bool treeEditing(HWND tree) {
    return SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0) != 0;
}

} // namespace glyvora::testing::win32
