#pragma once
// The interface between the portable form layer and a backend that puts units on screen: the
// headless backend (everything in memory, driven by tests) and the Win32 backend (real controls).
//
// The layer keeps every portable rule: clamps, font sub-fields, item indexes and the items blob,
// menu building and command numbers, event numbers and vetoes, posting, the fatal messages. A
// backend only translates:
//
// - Layer to backend (the calls below): create and destroy windows and controls from their
//   templates, mirror property values onto the live controls, read back what the user can change
//   (edit text, check state, combo selection, colour picker colour, window position and size),
//   mirror the TreeBox items the layer's model holds, show the modal dialogs, run the message
//   queue, and the window services (tray icon, clipboard, command lines).
// - Backend to layer (BackendSink): what the user did, translated from the platform's messages.
//   A backend reports only what the user did: everything the layer does through this interface
//   raises no notification (the layer raises the events of its own writes itself; a Win32 backend
//   therefore ignores the notifications its own calls cause). The one exception is the in-place
//   label edit: its begin and end are reported however the edit was started, so that the veto of
//   the begin-edit event also applies to an edit the layer asks for.
//
// Units are addressed by (window id, unit id): a window template is open at most once at a time.
// The window unit is addressed by its own unit id.

#include "forms/dialogs.h"
#include "forms/font.h"
#include "forms/font_files.h"
#include "forms/ids.h"
#include "forms/templates.h"
#include "forms/tree_model.h"
#include "platform/types.h"

#include <cstdint>
#include <optional>

namespace glyvora {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct ScreenInfo {
    int width = 1024;
    int height = 768;
    int dpiY = 96; // vertical dots per inch of the units the layer counts in
};

// A mouse message on a tray icon, before the layer turns it into event 9.
enum class TrayMouse {
    Move,
    LeftDown,
    LeftUp,
    LeftDoubleClick,
    RightDown,
    RightUp,
    ContextMenuKey,
    MiddleUp
};

// A message the layer posts to one of its windows; the backend hands it back through onPosted when
// its message queue reaches it, and drops it when the window has been destroyed meanwhile.
struct PostedMessage {
    enum class Kind { CloseWindow, ComboChosen, MenuCommand };
    Kind kind = Kind::CloseWindow;
    std::uint32_t instance = 0; // which opening of the window it was posted to
    UnitId unit = 0;            // ComboChosen
    unsigned command = 0;       // MenuCommand
};

// What the user did, reported by the backend.
class BackendSink {
public:
    virtual ~BackendSink() = default;
    // Mouse events -1 .. -6 on a control, before the control's own processing: client
    // coordinates and key state (1 Ctrl, 2 Shift, 4 Alt). False: the message is swallowed.
    virtual bool onMouse(WindowId window, UnitId unit, int event, int x, int y, int keys) = 0;
    virtual void onFocus(WindowId window, UnitId unit, bool gained) = 0;
    // The wheel turned with the mouse over `unit` (the window unit: over no control), whichever
    // control has the focus; delta as the system counts it, 120 a notch, below zero towards the
    // user. Tree and combo boxes scroll themselves and are not reported.
    virtual void onWheel(WindowId window, UnitId unit, int delta) = 0;
    // A navigation key (navigationKey) pressed while `unit` has the keyboard focus (the window
    // unit: the window itself). True: the key is taken and the control does not see it.
    virtual bool onNavigationKey(WindowId window, UnitId unit, int key) = 0;
    // A Button was clicked, or a CheckBox clicked or double-clicked (its state already changed).
    virtual void onClicked(WindowId window, UnitId unit) = 0;
    // The user changed the text of an EditBox.
    virtual void onEditChanged(WindowId window, UnitId unit) = 0;
    // The user confirmed a choice in a ComboBox list (its selection already changed).
    virtual void onComboChosen(WindowId window, UnitId unit) = 0;
    // The user asked a ColorPicker for a colour choice; the layer opens it (chooseColour).
    virtual void onColourPickerOpened(WindowId window, UnitId unit) = 0;
    virtual void onTray(WindowId window, TrayMouse mouse) = 0;
    // The user closed a window through its frame (close button, system menu, Alt+F4).
    virtual void onCloseRequest(WindowId window) = 0;
    virtual void onPosted(WindowId window, const PostedMessage& message) = 0;
    // A command number reached a window (a menu choice).
    virtual void onMenuCommand(WindowId window, unsigned command) = 0;

    // TreeBox: the user moved the selection (cause: 0 keyboard, 1 mouse, 2 otherwise); key 0 when
    // nothing is selected any more.
    virtual void onTreeSelectionChanged(WindowId window, UnitId unit, ItemKey key, int cause) = 0;
    // An in-place edit of the item is about to begin; false: it does not start.
    virtual bool onTreeBeginEdit(WindowId window, UnitId unit, ItemKey key) = 0;
    // The edit has ended with the typed text, or with none (Esc). True: the control shows the
    // text as the item's label; false: the old label stays.
    virtual bool onTreeEndEdit(WindowId window, UnitId unit, ItemKey key,
                               const std::optional<Text>& text) = 0;
    // The user expanded or collapsed an item.
    virtual void onTreeExpandedChanged(WindowId window, UnitId unit, ItemKey key, bool expanded) = 0;
    // Right click in the tree on the item under the cursor, key 0 on empty space.
    virtual void onTreeRightClick(WindowId window, UnitId unit, ItemKey key) = 0;
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual void attach(BackendSink* sink) = 0;
    virtual ScreenInfo screen() = 0;
    // The font a unit without a font of its own shows (the system's default GUI font).
    virtual UnitFont defaultGuiFont() = 0;

    // Windows. createWindow makes the top-level window of the template hidden, at `outer` (screen
    // position, outer size), owned by `owner`, with the template's frame (minimise and maximise
    // buttons, close entry of the system menu). Controls follow one by one in template order, each
    // from its template's design values (caption, items, font, colours, styles, range, colour);
    // menu units have no control. destroyWindow destroys the window with its controls.
    virtual bool createWindow(const WindowTemplate& window, const Rect& outer,
                              std::optional<WindowId> owner) = 0;
    virtual bool createControl(WindowId window, const UnitTemplate& unit) = 0;
    virtual void showWindow(WindowId window) = 0;
    virtual void destroyWindow(WindowId window) = 0;
    // Restored when minimised, otherwise activated.
    virtual void activateWindow(WindowId window) = 0;
    // Into or out of the top-most band, without moving, sizing or activating the window.
    virtual void setAlwaysOnTop(WindowId window, bool onTop) = 0;

    // Common properties of live units (the window unit included). The layer keeps the position
    // and size of every control itself and asks rect() only for a window unit, whose position and
    // outer size the user can change.
    virtual Rect rect(WindowId window, UnitId unit) = 0;
    virtual void setRect(WindowId window, UnitId unit, const Rect& rect) = 0;
    virtual void setVisible(WindowId window, UnitId unit, bool visible) = 0;
    virtual void setDisabled(WindowId window, UnitId unit, bool disabled) = 0;

    // Caption of a label, button, check box or window; content of an edit box.
    virtual Text text(WindowId window, UnitId unit) = 0;
    virtual void setText(WindowId window, UnitId unit, const Text& text) = 0;
    virtual void setFont(WindowId window, UnitId unit, const UnitFont& font) = 0;
    // The font file a label's font comes from (empty: none). A backend that draws labels by file
    // (font_files.h) shows the label's font again from it; the others only keep it.
    virtual void setFontFile(WindowId window, UnitId unit, const Text& path) = 0;
    // What the backend may learn about font files; null: nothing. The source outlives the windows.
    virtual void setFontFileSource(FontFileSource* source) = 0;
    // Text and background colour of a label or tree box; none: the system's colour.
    virtual void setColours(WindowId window, UnitId unit, std::optional<Colour> text,
                            std::optional<Colour> back) = 0;
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual int checkState(WindowId window, UnitId unit) = 0;
    virtual void setCheckState(WindowId window, UnitId unit, int state) = 0;
    // -1: no selection.
    virtual int comboSelection(WindowId window, UnitId unit) = 0;
    virtual void setComboSelection(WindowId window, UnitId unit, int index) = 0;
    virtual void setProgress(WindowId window, UnitId unit, int minimum, int maximum, int position) = 0;
    virtual Colour pickerColour(WindowId window, UnitId unit) = 0;
    virtual void setPickerColour(WindowId window, UnitId unit, Colour colour) = 0;
    // The hint text (tooltip) of a control, shown while the mouse rests on it; empty: none. A line
    // break in it starts a new line of the tip.
    virtual void setHint(WindowId window, UnitId unit, const Text& hint) = 0;

    // TreeBox mirror. Items are always appended as the last child of `parent` (0: top level);
    // deleting an item deletes its subtree; an update rewrites text, images, bold and state image.
    virtual void treeClear(WindowId window, UnitId unit) = 0;
    virtual void treeAppend(WindowId window, UnitId unit, const TreeItem& item, ItemKey parent) = 0;
    virtual void treeUpdate(WindowId window, UnitId unit, const TreeItem& item) = 0;
    virtual void treeDelete(WindowId window, UnitId unit, ItemKey key) = 0;
    virtual void treeSetExpanded(WindowId window, UnitId unit, ItemKey key, bool expanded) = 0;
    // 0: no selection.
    virtual void treeSelect(WindowId window, UnitId unit, ItemKey key) = 0;
    // Gives the tree the keyboard focus and starts an in-place edit of the item (reported through
    // onTreeBeginEdit, which may veto it).
    virtual void treeEditLabel(WindowId window, UnitId unit, ItemKey key) = 0;

    // Modal dialogs. messageBox answers the button (dialogButton), 0 when it could not be shown;
    // inputBox the text on OK, none on Cancel or close; browseForFolder the chosen path, empty when
    // cancelled; chooseColour the colour chosen, none when cancelled; trackPopupMenu the command
    // number of the chosen item, 0 when the menu was dismissed.
    virtual int messageBox(const MessageBoxRequest& request) = 0;
    virtual std::optional<Text> inputBox(const InputBoxRequest& request) = 0;
    virtual Text browseForFolder(const FolderPickerRequest& request) = 0;
    virtual std::optional<Colour> chooseColour(const ColourChoiceRequest& request) = 0;
    virtual unsigned trackPopupMenu(const PopupMenuRequest& request) = 0;

    // Services. A tray icon request replaces the window's icon; none removes it.
    virtual void setTrayIcon(WindowId window, const std::optional<TrayIconRequest>& icon) = 0;
    virtual bool setClipboardText(const Text& text) = 0;
    virtual bool runCommandLine(const Text& commandLine, int showCommand) = 0;

    // The message queue. processPending dispatches every message waiting (user input, posted
    // messages) and returns; waitForMessages blocks until a message may be waiting or the timeout
    // (none: no limit) has passed on the clock of platform/clock.h, and answers false when no
    // message can ever come (the headless backend with nothing queued, or the end of the program).
    virtual void post(WindowId window, const PostedMessage& message) = 0;
    virtual void processPending() = 0;
    virtual bool waitForMessages(std::optional<std::uint32_t> timeoutMs) = 0;
};

} // namespace glyvora
