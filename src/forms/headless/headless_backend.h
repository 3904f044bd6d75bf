#pragma once
// The headless backend: windows, controls, the message queue, the dialogs and the window services
// all in memory. A test acts on it as the user would (click, type, choose, select, right-click,
// edit a tree label, use the tray icon, close a window through its frame), answers the modal
// dialogs from a script it sets up beforehand, and reads back what the screen, the dialogs, the
// clipboard and the tray show.
//
// User actions taken outside the message loop are handled at once, followed by one turn of the
// loop (the posted messages they caused are delivered); actions queued with later() run when the
// program next processes its messages (ProcessEvents, Delay), so that waiting handlers can be
// driven step by step. Waiting sleeps on the clock of platform/clock.h; a test's clock decides
// how long that takes.

#include "forms/backend.h"
#include "forms/scripted_dialogs.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <variant>
#include <vector>

namespace glyvora::headless {

// One TreeBox item as the control shows it.
struct ShownItem {
    ItemKey key = 0;
    int level = 1;
    Text text;
    std::int32_t image = 0;
    std::int32_t selectedImage = 0;
    bool bold = false;
    bool expanded = false;
    std::uint8_t stateImage = 0;
};

struct Control {
    const UnitTemplate* design = nullptr;
    Rect rect;
    bool visible = true;
    bool disabled = false;
    Text text;
    std::optional<UnitFont> font;
    Text fontFile; // as the layer gave it
    std::optional<Colour> textColour, backColour;
    int checkState = 0;
    std::vector<Text> comboItems;
    int selection = -1;
    int minimum = 0, maximum = 0, position = 0;
    Colour colour = 0;
    std::vector<ShownItem> items; // pre-order
    ItemKey selected = 0;
    ItemKey editing = 0; // the item whose label is being edited
    Text editText;
    Text hint;
};

struct Window {
    const WindowTemplate* design = nullptr;
    Rect rect;
    bool visible = false;
    bool alwaysOnTop = false;
    bool minimised = false;
    int activations = 0;
    std::optional<WindowId> owner;
    std::map<UnitId, Control> controls;
    UnitId focus = 0;
};

class HeadlessBackend final : public Backend {
public:
    HeadlessBackend();
    ~HeadlessBackend() override;

    ScreenInfo screenInfo;
    UnitFont guiFont;

    // ---- the user ----
    // Each answers false when the user could not do it (no such control or item, disabled, hidden).
    bool click(WindowId window, UnitId unit);
    bool doubleClick(WindowId window, UnitId unit);
    // Mouse events -1 .. -6 on a control; false when the handler swallowed the message.
    bool mouse(WindowId window, UnitId unit, int event, int x, int y, int keys);
    bool focus(WindowId window, UnitId unit);
    // The wheel turned by whole notches (below zero towards the user) with the mouse resting on a
    // control, or on the window's own area when `unit` is the window unit. A tree or combo box
    // scrolls itself; nothing is reported for it.
    bool wheel(WindowId window, UnitId unit, int notches);
    // A navigation key (navigationKey) pressed and released, into the control with the focus.
    bool pressKey(WindowId window, int key);
    // Replaces the content as a paste over the whole text does (one change).
    bool type(WindowId window, UnitId unit, const Text& text);
    bool chooseComboItem(WindowId window, UnitId unit, int index);
    bool openColourPicker(WindowId window, UnitId unit);
    bool selectTreeItem(WindowId window, UnitId unit, int index, bool byKeyboard);
    // index -1: a right click on empty space.
    bool rightClickTree(WindowId window, UnitId unit, int index);
    bool setTreeItemExpanded(WindowId window, UnitId unit, int index, bool expanded);
    // Starts an in-place edit as a slow second click or the edit key does.
    bool beginTreeEdit(WindowId window, UnitId unit, int index);
    // Ends the edit in progress with Enter after typing `text`, or with Esc (none).
    bool endTreeEdit(WindowId window, UnitId unit, const std::optional<Text>& text);
    bool tray(WindowId window, TrayMouse mouse);
    bool closeThroughFrame(WindowId window);
    void minimise(WindowId window);
    void later(std::function<void()> action);

    // ---- dialog scripts: answers taken in order, one queue per kind ----
    ScriptedDialogs& script() { return script_; }
    const std::vector<ShownDialog>& dialogs() const { return script_.shown(); }
    int unansweredDialogs() const { return script_.unanswered(); }
    // Called for every message box, before it is answered (a test of the fatal box prints it).
    std::function<void(const MessageBoxRequest&)> onMessageBox;

    // ---- what the screen and the services show ----
    const Window* window(WindowId window) const;
    const Control* control(WindowId window, UnitId unit) const;
    std::optional<Text> clipboard;
    bool clipboardFails = false;
    std::map<WindowId, TrayIconRequest> trayIcons;
    std::vector<Text> commandLines;
    std::size_t pendingMessages() const { return queue_.size(); }
    // Controls of which this answers true are not created (a test of a failed creation).
    std::function<bool(const UnitTemplate&)> refuseControl;

    // ---- Backend ----
    void attach(BackendSink* sink) override { sink_ = sink; }
    ScreenInfo screen() override { return screenInfo; }
    UnitFont defaultGuiFont() override { return guiFont; }
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
    void setFontFileSource(FontFileSource*) override {}
    void setHint(WindowId window, UnitId unit, const Text& hint) override;
    void setColours(WindowId window, UnitId unit, std::optional<Colour> text,
                    std::optional<Colour> back) override;
    int checkState(WindowId window, UnitId unit) override;
    void setCheckState(WindowId window, UnitId unit, int state) override;
    int comboSelection(WindowId window, UnitId unit) override;
    void setComboSelection(WindowId window, UnitId unit, int index) override;
    void setProgress(WindowId window, UnitId unit, int minimum, int maximum, int position) override;
    Colour pickerColour(WindowId window, UnitId unit) override;
    void setPickerColour(WindowId window, UnitId unit, Colour colour) override;
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
    void post(WindowId window, const PostedMessage& message) override;
    void processPending() override;
    bool waitForMessages(std::optional<std::uint32_t> timeoutMs) override;

private:
    struct Posted {
        WindowId window;
        PostedMessage message;
    };
    using Queued = std::variant<Posted, std::function<void()>>;

    Window* findWindow(WindowId window);
    Control* findControl(WindowId window, UnitId unit);
    // A control the user can reach: it exists, its window is shown, and it is visible and enabled.
    Control* reachable(WindowId window, UnitId unit, UnitType type);
    Control* reachableTree(WindowId window, UnitId unit);
    // After an action taken outside the message loop: one turn of the loop.
    void settle();
    bool startEdit(WindowId window, UnitId unit, Control& tree, ItemKey key);

    BackendSink* sink_ = nullptr;
    std::map<WindowId, Window> windows_;
    std::deque<Queued> queue_;
    int dispatching_ = 0;
    ScriptedDialogs script_;
};

} // namespace glyvora::headless
