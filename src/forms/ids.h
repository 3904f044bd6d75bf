#pragma once
// The addresses of the user interface: window ids, unit ids, unit types, event numbers, property
// indexes and font sub-fields. Everything the application says to the form layer is one of these.

#include <cstdint>

namespace glyvora {

using WindowId = std::uint32_t;
using UnitId = std::uint32_t;
// 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

// The type word of a unit.
enum class UnitType : std::uint32_t {
    Window = 0x10001,
    Menu = 0x10003,
    EditBox = 0x10005,
    Label = 0x1000a,
    Button = 0x1000b,
    CheckBox = 0x1000c,
    ComboBox = 0x1000e,
    ProcessBar = 0x10013,
    ColorPicker = 0x1001c,
    TreeBox = 0x20001,
};

// A window reference names a window by its id.
struct WindowRef {
    WindowId window = 0;
    friend bool operator==(const WindowRef&, const WindowRef&) = default;
};

// A unit reference: a menu item reference or a TreeBox reference.
struct UnitRef {
    WindowId window = 0;
    UnitId unit = 0;
    friend bool operator==(const UnitRef&, const UnitRef&) = default;
    friend bool operator<(const UnitRef& a, const UnitRef& b) {
        return a.window != b.window ? a.window < b.window : a.unit < b.unit;
    }
};
using MenuItemRef = UnitRef;
using TreeBoxRef = UnitRef;

// Event numbers. Events common to all controls are below zero, each type's own from zero.
namespace event {
inline constexpr int leftDown = -1;
inline constexpr int leftUp = -2;
inline constexpr int leftDoubleClick = -3;
inline constexpr int rightDown = -4;
inline constexpr int rightUp = -5;
inline constexpr int mouseMove = -6;
inline constexpr int gotFocus = -7;
inline constexpr int lostFocus = -8;
// The mouse wheel turned over a control that does not scroll itself (or over the window's own
// area: the window unit). Arg 0: whole notches, below zero towards the user.
inline constexpr int wheel = -9;

inline constexpr int created = 0;  // window: all units exist, before the first show
inline constexpr int trayIcon = 9; // window: 1 left up, 2 left double click, 3 right up / menu key
// Window: Page Up, Page Down, Home or End pressed while the keyboard focus is on the window or on a
// control that has no use for the key (edit boxes, combo boxes and trees keep theirs). Arg 0 the
// key (navigationKey), arg 1 the unit with the focus.
inline constexpr int navigationKey = 10;
inline constexpr int clicked = 0;          // menu item, Button, CheckBox
inline constexpr int chosen = 0;           // ComboBox (posted), ColorPicker
inline constexpr int changed = 0;          // EditBox: typing or writing property 8
inline constexpr int selectionChanged = 0; // TreeBox: 0 keyboard, 1 mouse, 2 otherwise
inline constexpr int beginLabelEdit = 2;   // TreeBox: item index; false: the edit does not start
inline constexpr int endLabelEdit = 3;     // TreeBox: item index; false: the old label stays
inline constexpr int itemRightClick = 6;   // TreeBox
} // namespace event

// Arguments of TreeBox event 0.
namespace selectionCause {
inline constexpr int keyboard = 0;
inline constexpr int mouse = 1;
inline constexpr int other = 2;
} // namespace selectionCause

// Arg 0 of window event 10.
namespace navigationKey {
inline constexpr int pageUp = 1;
inline constexpr int pageDown = 2;
inline constexpr int home = 3;
inline constexpr int end = 4;
} // namespace navigationKey

// Arguments of window event 9.
namespace trayArgument {
inline constexpr int leftUp = 1;
inline constexpr int leftDoubleClick = 2;
inline constexpr int rightUp = 3;
} // namespace trayArgument

// Key state of the mouse events.
namespace keyState {
inline constexpr int ctrl = 1;
inline constexpr int shift = 2;
inline constexpr int alt = 4;
} // namespace keyState

// Property indexes. 0..7 are common to every control type and the window unit.
namespace prop {
inline constexpr int left = 0;
inline constexpr int top = 1;
inline constexpr int width = 2;
inline constexpr int height = 3;
inline constexpr int tag = 4;
inline constexpr int visible = 5;
inline constexpr int disabled = 6;
inline constexpr int mousePointer = 7;

inline constexpr int alwaysOnTop = 29; // window

inline constexpr int content = 8;     // EditBox
inline constexpr int caption = 8;     // Label
inline constexpr int font = 15;       // Label
inline constexpr int textColour = 16; // Label
inline constexpr int backColour = 17; // Label
// Label: the font file its face comes from (text, a full path; empty: none). Written before the
// face name, so the label draws that file's own glyphs even where other fonts share its face name.
inline constexpr int fontFile = 30;
inline constexpr int checked = 18;        // CheckBox
inline constexpr int selection = 19;      // ComboBox
inline constexpr int maximum = 12;        // ProcessBar
inline constexpr int position = 13;       // ProcessBar
inline constexpr int colour = 8;          // ColorPicker
inline constexpr int treeTextColour = 9;  // TreeBox
inline constexpr int treeBackColour = 10; // TreeBox
inline constexpr int selectedItem = 16;   // TreeBox
inline constexpr int allItems = 20;       // TreeBox: the items blob

// Menu items have their own four.
inline constexpr int menuCaption = 0;
inline constexpr int menuChecked = 1;
inline constexpr int menuDisabled = 2;
inline constexpr int menuVisible = 3;
} // namespace prop

// Sub-fields of a font property; -1 addresses a property as a whole.
namespace fontField {
inline constexpr int whole = -1;
inline constexpr int escapement = 0;
inline constexpr int bold = 1;
inline constexpr int italic = 2;
inline constexpr int underline = 3;
inline constexpr int strikeOut = 4;
inline constexpr int points = 5;
inline constexpr int faceName = 6;
} // namespace fontField

} // namespace glyvora
