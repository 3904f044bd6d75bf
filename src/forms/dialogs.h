#pragma once
// What the layer asks a backend to show in its modal dialogs, and the portable rules behind them:
// the input box layouts, the message box flags and answers, the tray tip cut, the icon check.

#include "forms/ids.h"
#include "forms/menu.h"
#include "platform/types.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace glyvora {

// The owner of a dialog: a window of the layer, a raw window handle given by the caller, or none.
struct DialogOwner {
    std::optional<WindowId> window;
    std::intptr_t handle = 0;
    bool none() const { return !window && handle == 0; }
    friend bool operator==(const DialogOwner&, const DialogOwner&) = default;
};

// Message box flags the layer looks at.
inline constexpr unsigned kMessageBoxOk = 0x0;
inline constexpr unsigned kMessageBoxYesNo = 0x4;
inline constexpr unsigned kMessageBoxErrorIcon = 0x10;
inline constexpr unsigned kMessageBoxSystemModal = 0x1000;
inline constexpr unsigned kMessageBoxTaskModal = 0x2000;

// The button that closed a message box, numbered as the system numbers them (1 OK .. 7 No); the
// command's result is one less (0 OK, 1 Cancel, 2 Abort, 3 Retry, 4 Ignore, 5 Yes, 6 No).
namespace dialogButton {
inline constexpr int ok = 1;
inline constexpr int cancel = 2;
inline constexpr int abort = 3;
inline constexpr int retry = 4;
inline constexpr int ignore = 5;
inline constexpr int yes = 6;
inline constexpr int no = 7;
} // namespace dialogButton

struct MessageBoxRequest {
    Text text;
    Text title;
    unsigned flags = 0; // task-modal already added unless system-modal was asked for
    DialogOwner owner;
};

// Adds task-modal to the flags unless system-modal is among them.
unsigned messageBoxFlags(unsigned flags);
// The command's result for the button that closed the box; -1 when the box could not be shown.
int messageBoxResult(int button);

// A rectangle in dialog units.
struct DialogRect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const DialogRect&, const DialogRect&) = default;
};

// The two input box layouts: with a prompt (a framed prompt area above the edit line) and without.
struct InputBoxLayout {
    int width = 0, height = 0;
    bool hasPrompt = false;
    DialogRect prompt; // the framed area holding the prompt text; empty without a prompt
    DialogRect edit;
    DialogRect okButton; // the default button
    DialogRect cancelButton;
};
InputBoxLayout inputBoxLayout(bool withPrompt);

struct InputBoxRequest {
    Text caption; // "请输入：" unless a title was given
    Text prompt;
    Text initial;        // shown all selected
    int inputMode = 1;   // 1..4, handed to the edit line
    bool masked = false; // mode 4: characters shown as placeholders
    Text okText;         // "确认输入(&O)"
    Text cancelText;     // "取消(&C)"
    InputBoxLayout layout;
    DialogOwner owner;
};
// The request for the given arguments: mode clamped to 1..4, caption, layout and button texts.
InputBoxRequest makeInputBoxRequest(const Text& prompt, const Text& title, const Text& initial, int inputMode,
                                    DialogOwner owner);

// The shell's folder picker.
inline constexpr unsigned kFolderEditBox = 0x10;
inline constexpr unsigned kFolderNewStyle = 0x40;
inline constexpr unsigned kFolderIncludeFiles = 0x4000;
struct FolderPickerRequest {
    Text title;
    Text initialPath; // pre-selected when the dialog opens
    unsigned flags = kFolderEditBox | kFolderNewStyle;
};

// The colour choice a ColorPicker opens.
struct ColourChoiceRequest {
    WindowId window = 0;
    UnitId picker = 0;
    Colour initial = 0;
};

// A popup menu tracked at the mouse position moved by the offsets, right-aligned; the window is
// brought to the foreground first.
struct PopupMenuRequest {
    WindowId owner = 0;
    UnitId menu = 0;
    std::vector<MenuEntry> entries;
    int offsetX = -5;
    int offsetY = -5;
    bool rightAligned = true;
};

// The notification-area icon of a window.
inline constexpr unsigned kTrayIconId = 100;
inline constexpr std::size_t kTrayTipBytes = 62;
struct TrayIconRequest {
    WindowId window = 0;
    unsigned iconId = kTrayIconId;
    ByteSet icon; // the contents of an icon file
    Text tip;
};
// The tip's first 62 bytes, without a lead byte whose trail byte was cut off.
Text cutTrayTip(const Text& tip);
// Whether the bytes are an icon file with at least one image inside them.
bool isUsableIcon(const ByteSet& icon);

// The command line of a control panel item; empty for an item that opens nothing.
Text controlPanelCommandLine(int item);
inline constexpr int kShowNormal = 5;

} // namespace glyvora
