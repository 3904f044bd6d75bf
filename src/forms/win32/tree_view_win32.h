#pragma once
// A TreeBox on the comctl32 tree view: the mirror of the layer's tree model (each item's key kept
// as the item's lParam), and the translation of the control's notifications into what the user did.
// Notifications caused by the backend's own calls are not reported.

#include "forms/backend.h"

#include <map>
#include <optional>

// <windows.h> first: <commctrl.h> relies on its types.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace glyvora::win32 {

class TreeView {
public:
    // Creates the control as a child of `parent` with the template's styles (buttons, lines,
    // lines at root, label editing, selection always shown, border), its item height (odd heights
    // kept), the given control id, hidden or shown and enabled or not as the template says,
    // placed and sized at `dpi`. `sink` points at the backend's sink, which may change after
    // creation.
    TreeView(HWND parent, int controlId, const UnitTemplate& design, int dpi, WindowId window,
             BackendSink* const* sink);
    ~TreeView();
    TreeView(const TreeView&) = delete;
    TreeView& operator=(const TreeView&) = delete;

    HWND handle() const { return hwnd_; }
    bool created() const { return hwnd_ != nullptr; }

    // The template's item height at `dpi` (the control's place is the backend's to set).
    void setDpi(int dpi);

    // Text and background colours; none: the system's.
    void setColours(std::optional<Colour> text, std::optional<Colour> back);

    void clear();
    void append(const TreeItem& item, ItemKey parent);
    void update(const TreeItem& item);
    void remove(ItemKey key);
    void setExpanded(ItemKey key, bool expanded);
    void select(ItemKey key); // 0: none
    // Gives the control the focus and starts an in-place edit (begin reported, may be vetoed).
    void editLabel(ItemKey key);

    // A WM_NOTIFY from this control, forwarded by the parent's window procedure; the result to
    // return when it was handled.
    std::optional<LRESULT> onNotify(const NMHDR& header);

    HTREEITEM itemOf(ItemKey key) const;
    ItemKey keyOf(HTREEITEM item) const;
    bool editing() const { return editing_ != 0; }

private:
    // Holds quiet_ up while the backend's own calls run.
    class Quiet {
    public:
        explicit Quiet(TreeView& tree) : tree_(tree) { ++tree_.quiet_; }
        ~Quiet() { --tree_.quiet_; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        TreeView& tree_;
    };

    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    BackendSink* sink() const { return sink_ ? *sink_ : nullptr; }
    HTREEITEM caret() const;
    // Ends the edit in progress as cancelled (reported with no text) when its item is `root` or
    // lies below it; null: whatever the item.
    void cancelEditUnder(HTREEITEM root);
    void forgetSubtree(HTREEITEM root);
    std::optional<LRESULT> onBeginEdit(HTREEITEM item);
    std::optional<LRESULT> onEndEdit(HTREEITEM item, const std::optional<Text>& text);

    HWND hwnd_ = nullptr;
    WindowId window_ = 0;
    UnitId unit_ = 0;
    int itemHeight_ = 0; // the template's, in the layer's units; 0: the control's own
    BackendSink* const* sink_ = nullptr;
    std::map<ItemKey, HTREEITEM> items_;
    ItemKey editing_ = 0;
    ItemKey selected_ = 0; // the selection as the layer knows it
    int quiet_ = 0;        // > 0 while the backend's own calls run: their notifications are not reported
    bool closing_ = false;
};

} // namespace glyvora::win32
