#pragma once
// The Win32 backend: every window of a template is a top-level window of the program's class,
// every unit a real control (STATIC, BUTTON, EDIT, COMBOBOX, the progress bar, the comctl32 tree
// view, and a small colour swatch of our own), the dialogs and window services are the system's.
//
// Every window and control is a Unicode window and the message loop is a Unicode loop, so that a
// typed Chinese character arrives as one character (an ANSI control gets it as two bytes it does
// not join). The program's texts stay GBK: they are converted where they cross (wide_text.h).
// The message boxes, the folder picker, the colour choice, the clipboard, the tray tip and command
// lines remain the system's ANSI calls, whose conversions give what the program expects there.
// A unit's hint text is a tool of one tooltip control per window.
//
// The layer counts in pixels of a 96-DPI screen (dpi_win32.h); each window is laid out at its
// monitor's DPI, every place, size and font height converted where it crosses, and laid out again
// when the system moves it to a monitor of another DPI. At 96 DPI the two kinds of pixels are one.
// The mouse wheel reaches the control under the cursor: a tree or combo box scrolls itself, over
// anything else the turn is reported to the layer. Page Up / Page Down / Home / End are offered to
// the layer before the focused control sees them, and kept from it when the layer takes them.
//
// Each control is subclassed so that its mouse and focus messages reach the layer before the
// control sees them; the parent's window procedure turns the controls' notifications into what
// the user did. The notifications our own calls cause (EN_CHANGE after SetWindowText, the focus
// moving when a control is hidden or disabled) are dropped: `quiet_` is above zero while they run.
//
// Posted layer messages travel as one private message whose wParam names an entry the backend
// keeps; entries of a window go with the window, so a message that arrives after its window was
// destroyed finds nothing and is dropped.

#include "forms/backend.h"
#include "forms/win32/dialogs_win32.h"
#include "forms/win32/font_binding_win32.h"
#include "forms/win32/tree_view_win32.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <windows.h>

namespace glyvora::win32 {

// The private message that carries a posted layer message (wParam: the entry's number).
inline constexpr UINT kPostedMessage = WM_APP + 0x21;

class Win32Backend final : public Backend {
public:
    Win32Backend();
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    // Told of every dialog and popup menu right before it is shown; null: nobody.
    void setDialogWatcher(DialogWatcher* watcher) { watcher_ = watcher; }

    // ---- for the user driver and the backend's own tests ----
    HWND windowHandle(WindowId window) const;
    HWND controlHandle(WindowId window, UnitId unit) const;
    // The type of a live control; none when there is no such control.
    std::optional<UnitType> controlType(WindowId window, UnitId unit) const;
    // The font file a label was last given, and what its font shown was created from: the face
    // name the layer asked for and, where that is a private copy's, the copy's name.
    Text fontFileOf(WindowId window, UnitId unit) const;
    FontBinding fontBindingOf(WindowId window, UnitId unit) const;
    // The private copies of font files loaded for labels.
    std::size_t privateCopiesLoaded() const { return fonts_.copiesLoaded(); }
    // The tooltip control that shows the window's hint texts; null until a hint has been set.
    HWND hintHandle(WindowId window) const;
    // The icon the backend last put in the notification area for the window.
    std::optional<TrayIconRequest> trayIcon(WindowId window) const;
    // How many mouse messages a handler has swallowed so far.
    int swallowedMouseMessages() const { return swallowed_; }
    // Above zero while processPending runs.
    int dispatchDepth() const { return dispatching_; }
    // The posted layer messages not yet delivered nor dropped.
    std::size_t pendingPostedMessages() const { return posted_.size(); }

    // ---- Backend ----
    void attach(BackendSink* sink) override { sink_ = sink; }
    ScreenInfo screen() override;
    UnitFont defaultGuiFont() override;
    bool createWindow(const WindowTemplate& window, const Rect& outer,
                      std::optional<WindowId> owner) override;
    bool createControl(WindowId window, const UnitTemplate& unit) override;
    void showWindow(WindowId window) override;
    void destroyWindow(WindowId window) override;
    void activateWindow(WindowId window) override;
    void setAlwaysOnTop(WindowId window, bool onTop) override;
    Rect rect(WindowId window, UnitId unit) override;
    void setRect(WindowId window, UnitId unit, const Rect& rect) override;
    void setVisible(WindowId window, UnitId unit, bool visible) override;
    void setDisabled(WindowId window, UnitId unit, bool disabled) override;
    Text text(WindowId window, UnitId unit) override;
    void setText(WindowId window, UnitId unit, const Text& text) override;
    void setFont(WindowId window, UnitId unit, const UnitFont& font) override;
    void setFontFile(WindowId window, UnitId unit, const Text& path) override;
    void setFontFileSource(FontFileSource* source) override { fonts_.setSource(source); }
    void setColours(WindowId window, UnitId unit, std::optional<Colour> text,
                    std::optional<Colour> back) override;
    int checkState(WindowId window, UnitId unit) override;
    void setCheckState(WindowId window, UnitId unit, int state) override;
    int comboSelection(WindowId window, UnitId unit) override;
    void setComboSelection(WindowId window, UnitId unit, int index) override;
    void setProgress(WindowId window, UnitId unit, int minimum, int maximum, int position) override;
    Colour pickerColour(WindowId window, UnitId unit) override;
    void setPickerColour(WindowId window, UnitId unit, Colour colour) override;
    void setHint(WindowId window, UnitId unit, const Text& hint) override;
    void treeClear(WindowId window, UnitId unit) override;
    void treeAppend(WindowId window, UnitId unit, const TreeItem& item, ItemKey parent) override;
    void treeUpdate(WindowId window, UnitId unit, const TreeItem& item) override;
    void treeDelete(WindowId window, UnitId unit, ItemKey key) override;
    void treeSetExpanded(WindowId window, UnitId unit, ItemKey key, bool expanded) override;
    void treeSelect(WindowId window, UnitId unit, ItemKey key) override;
    void treeEditLabel(WindowId window, UnitId unit, ItemKey key) override;
    int messageBox(const MessageBoxRequest& request) override;
    std::optional<Text> inputBox(const InputBoxRequest& request) override;
    Text browseForFolder(const FolderPickerRequest& request) override;
    std::optional<Colour> chooseColour(const ColourChoiceRequest& request) override;
    unsigned trackPopupMenu(const PopupMenuRequest& request) override;
    void setTrayIcon(WindowId window, const std::optional<TrayIconRequest>& icon) override;
    bool setClipboardText(const Text& text) override;
    bool runCommandLine(const Text& commandLine, int showCommand) override;
    const std::vector<Text>& commandLinesRun() const { return commandLinesRun_; }
    void post(WindowId window, const PostedMessage& message) override;
    void processPending() override;
    bool waitForMessages(std::optional<std::uint32_t> timeoutMs) override;

    // The window procedures of the program's windows and of the subclassed controls.
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK controlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK pickerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

private:
    struct Control {
        Win32Backend* backend = nullptr;
        WindowId window = 0;
        UnitId unit = 0;
        UnitType type = UnitType::Label;
        HWND hwnd = nullptr;
        WNDPROC previousProc = nullptr;
        HFONT font = nullptr;              // ours to delete; null while the stock GUI font is shown
        std::optional<UnitFont> layerFont; // as the layer gave it, for a new DPI
        Text fontFile;                     // the file a label's font comes from
        FontBinding fontBinding;           // what the font shown was created from
        std::optional<Colour> textColour, backColour;
        HBRUSH backBrush = nullptr;
        Colour pickerColour = 0;
        bool hinted = false; // registered as a tool of the window's tooltip control
        int progressMinimum = 0, progressMaximum = 0, progressShown = 0; // as the bar was last told
        std::unique_ptr<TreeView> tree;
    };
    struct Window {
        Win32Backend* backend = nullptr;
        WindowId id = 0;
        const WindowTemplate* design = nullptr;
        HWND hwnd = nullptr;
        HWND hints = nullptr; // the tooltip control of the units' hint texts, made on first use
        int dpi = 96;         // what the window and its controls are laid out at
        bool dying = false;   // DestroyWindow is running: nothing it causes is reported
        std::map<UnitId, std::unique_ptr<Control>> controls;
        int nextControlId = 100;
    };
    struct Posted {
        WindowId window = 0;
        PostedMessage message;
    };

    Window* findWindow(WindowId window) const;
    Window* windowOf(HWND hwnd) const;
    Control* findControl(WindowId window, UnitId unit) const;
    // The window procedure of one of our top-level windows.
    LRESULT handleWindowMessage(Window& w, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void relayToHints(const Control& c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handleControlMessage(Control& c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void handleCommand(Window& w, WPARAM wp, LPARAM lp);
    std::optional<LRESULT> handleColour(Window& w, HDC dc, HWND control);
    bool reporting(WindowId window) const;
    // The owner window of a dialog: the layer's window, a raw handle, or the active window.
    HWND ownerOf(const DialogOwner& owner) const;
    HWND ownerOf(WindowId window) const;
    // Shows the layer's font (none: the system's GUI font) at `dpi`.
    void applyFont(Control& c, const std::optional<UnitFont>& font, int dpi);
    // Places a control at `rect` in the layer's units.
    void placeControl(Control& c, const Rect& rect, int dpi);
    // Lays the window and its controls out again at `dpi`, the window at `outer` (pixels).
    void changeDpi(Window& w, int dpi, const RECT& outer);
    // The program's window whose top-level handle this is; null for any other.
    Window* topWindow(HWND hwnd) const;
    // The control this handle is, or a child of (a tree's label edit); null when none.
    Control* controlOf(HWND hwnd) const;
    // The wheel and the navigation keys, taken from the queue before they are dispatched: the
    // wheel goes by the cursor's position, not by the focus the system hands it to. True: the
    // message is done with.
    bool routeWheel(MSG& msg);
    bool routeNavigationKey(const MSG& msg);
    // A combo box's closed height follows its selection field; the field is sized so the closed
    // box is `height` pixels high.
    void fitComboHeight(HWND combo, int height);

    BackendSink* sink_ = nullptr;
    DialogWatcher* watcher_ = nullptr;
    FontBinder fonts_; // before the windows: their fonts go first, then the copies they were made from
    std::map<WindowId, std::unique_ptr<Window>> windows_;
    std::map<std::uint32_t, Posted> posted_;
    std::uint32_t lastPosted_ = 0;
    std::map<WindowId, TrayIconRequest> trayRequests_;
    std::vector<Text> commandLinesRun_;
    TrayIcons tray_;
    HWND utility_ = nullptr; // message-only window: the clipboard's owner when no window is open
    int quiet_ = 0;
    int dispatching_ = 0;
    int swallowed_ = 0;
};

} // namespace glyvora::win32
