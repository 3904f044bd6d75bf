#pragma once
// What a form-layer test does as the user, and what it reads back from the screen and the
// dialogs. Every backend has a driver: the headless one acts on the in-memory controls; a Win32
// one sends the input and window messages a user's actions produce to the real controls and
// dialogs. The form-layer suite is written against this interface only.
//
// Actions answer false when the user could not take them (no such control or item, hidden,
// disabled). An action taken outside the message loop is handled before it returns, together with
// the messages it caused to be posted; later() runs an action when the program next processes its
// messages (inside ProcessEvents or Delay), as a user acting while a handler waits.

#include "forms/backend.h"
#include "forms/dialogs.h"
#include "forms/ids.h"
#include "forms/scripted_dialogs.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace glyvora::testing {

// The record of the dialogs shown is the scripted dialogs' own.
using glyvora::DialogKind;
using glyvora::ShownDialog;

// A TreeBox item as the control shows it, in pre-order.
struct ShownTreeItem {
    int level = 1;
    Text text;
    bool bold = false;
    bool expanded = false;
    friend bool operator==(const ShownTreeItem&, const ShownTreeItem&) = default;
};

struct ShownProgress {
    int minimum = 0, maximum = 0, position = 0;
    friend bool operator==(const ShownProgress&, const ShownProgress&) = default;
};

class UserDriver {
public:
    virtual ~UserDriver() = default;

    // Acting.
    virtual bool click(WindowId window, UnitId unit) = 0;       // a button or check box
    virtual bool doubleClick(WindowId window, UnitId unit) = 0; // a check box
    // Mouse events -1 .. -6 at client coordinates with a key state; false when swallowed.
    virtual bool mouse(WindowId window, UnitId unit, int event, int x, int y, int keys) = 0;
    // Moves the keyboard focus to a control (as a click into it or the Tab key does).
    virtual bool focus(WindowId window, UnitId unit) = 0;
    // The mouse wheel turned by whole notches (below zero towards the user) with the cursor resting
    // on a control, or on the window's own area when `unit` is the window unit; the focus stays
    // where it is.
    virtual bool wheel(WindowId window, UnitId unit, int notches) = 0;
    // A navigation key (navigationKey) pressed and released into whatever has the keyboard focus.
    virtual bool pressKey(WindowId window, int key) = 0;
    virtual bool type(WindowId window, UnitId unit, const Text& text) = 0; // replaces the content
    virtual bool chooseComboItem(WindowId window, UnitId unit, int index) = 0;
    virtual bool openColourPicker(WindowId window, UnitId unit) = 0;
    virtual bool selectTreeItem(WindowId window, UnitId unit, int index, bool byKeyboard) = 0;
    virtual bool rightClickTree(WindowId window, UnitId unit, int index) = 0; // -1: empty space
    virtual bool setTreeItemExpanded(WindowId window, UnitId unit, int index, bool expanded) = 0;
    virtual bool beginTreeEdit(WindowId window, UnitId unit, int index) = 0;
    virtual bool endTreeEdit(WindowId window, UnitId unit, const std::optional<Text>& text) = 0; // none: Esc
    virtual bool tray(WindowId window, TrayMouse mouse) = 0;
    virtual bool closeThroughFrame(WindowId window) = 0;
    virtual void minimise(WindowId window) = 0;
    virtual void later(std::function<void()> action) = 0;

    // Scripted answers, taken in order, one queue per kind of dialog.
    virtual void answerMessageBox(int button) = 0;             // dialogButton
    virtual void answerInputBox(std::optional<Text> text) = 0; // none: Cancel
    virtual void answerFolderPicker(Text path) = 0;            // empty: Cancel
    virtual void answerColourChoice(std::optional<Colour> colour) = 0;
    virtual void answerPopupMenu(UnitId item) = 0; // 0: dismiss the menu

    // Reading back.
    virtual std::vector<ShownDialog> dialogs() = 0;
    virtual int unansweredDialogs() = 0;
    virtual bool windowExists(WindowId window) = 0;
    virtual bool windowShown(WindowId window) = 0;
    virtual bool windowOnTop(WindowId window) = 0;
    virtual bool windowMinimised(WindowId window) = 0;
    virtual Rect windowRect(WindowId window) = 0;
    virtual Text shownText(WindowId window, UnitId unit) = 0; // caption or content
    // A control's position and size in its window's client area.
    virtual Rect shownRect(WindowId window, UnitId unit) = 0;
    // The list of a ComboBox, in order.
    virtual std::vector<Text> shownComboItems(WindowId window, UnitId unit) = 0;
    virtual int shownCheckState(WindowId window, UnitId unit) = 0;
    virtual int shownComboSelection(WindowId window, UnitId unit) = 0;
    virtual Colour shownPickerColour(WindowId window, UnitId unit) = 0;
    virtual ShownProgress shownProgress(WindowId window, UnitId unit) = 0;
    // A label's font as the user sees it: its face is the one asked for, also where the backend
    // draws it from a private copy of its file under a name of the copy's own.
    virtual std::optional<UnitFont> shownFont(WindowId window, UnitId unit) = 0;
    // The font file a label's font was given from (empty: none).
    virtual Text shownFontFile(WindowId window, UnitId unit) = 0;
    // The text of the tooltip the control shows under the mouse; empty when it shows none.
    virtual Text shownHint(WindowId window, UnitId unit) = 0;
    virtual std::vector<ShownTreeItem> shownTree(WindowId window, UnitId unit) = 0;
    virtual int shownTreeSelection(WindowId window, UnitId unit) = 0; // -1: none
    virtual bool treeEditing(WindowId window, UnitId unit) = 0;
    virtual std::optional<Text> clipboardText() = 0;
    // The command lines the program has started, in order.
    virtual std::vector<Text> commandLinesRun() = 0;
    virtual std::optional<TrayIconRequest> trayIcon(WindowId window) = 0;
};

// A backend and its driver, as the suite is instantiated with them.
struct BackendKit {
    const char* name;
    std::function<std::unique_ptr<Backend>()> makeBackend;
    std::function<std::unique_ptr<UserDriver>(Backend&)> makeDriver;
};

const BackendKit& headlessKit();

} // namespace glyvora::testing
