#pragma once
// The commands of the user interface: dialogs and windows, the clipboard, the message loop, the
// control panel, the TreeBox methods, and property access by number. They act on the current form
// layer (FormLayer::current()) and report failure through their results.

#include "commands/value.h"
#include "forms/dialogs.h"
#include "forms/ids.h"
#include "platform/types.h"

#include <cstdint>
#include <vector>

namespace glyvora {

// The owner argument of a dialog: omitted, a window reference or a raw window handle.
struct OwnerArg {
    OwnerArg() = default;
    OwnerArg(WindowRef window) { owner.window = window.window; }
    static OwnerArg handle(std::intptr_t h) {
        OwnerArg a;
        a.owner.handle = h;
        return a;
    }
    DialogOwner owner;
};

// Properties.
Value readProperty(WindowId window, UnitId unit, int property, int subField = -1);
void writeProperty(WindowId window, UnitId unit, int property, const Value& value, int subField = -1);

// Dialog and window commands.
int ShowMessageBox(const Value& message, const Value& flags, const Value& title = Value(),
                   OwnerArg owner = {});
bool InputBox(const Value& prompt, const Value& title, const Value& initial, Text& variable,
              const Value& inputMode = Value(), OwnerArg owner = {});
bool InputBox(const Value& prompt, const Value& title, const Value& initial, double& variable,
              const Value& inputMode = Value(), OwnerArg owner = {});
bool LoadWindow(WindowRef window, std::optional<WindowRef> owner = std::nullopt,
                const Value& modal = Value());
void CloseWindowUnit(WindowRef window, const Value& unused = Value());
void PopupMenu(WindowRef window, MenuItemRef menu);
// The icon is an icon file's contents (a byte set) or its path (a text).
void SetTrayIcon(WindowRef window, const Value& icon, const Value& tip = Value());
// The shell's folder picker; the chosen folder, empty when cancelled.
Text ShowFolderPicker(const Text& title, const Text& initialPath, unsigned flags);

bool SetClipboardText(const Text& text);

// The hint text (tooltip) the unit's control shows under the mouse; an empty text removes it.
void SetUnitHint(WindowId window, UnitId unit, const Text& hint);

// System commands.
void ProcessEvents();
void Delay(int milliseconds);
void OpenControlPanelItem(int item, const Value& unused = Value());

// TreeBox methods. An index is the item's position in a pre-order walk over all items; one that
// names no item gives the stated default and changes nothing.
int ItemCount(const TreeBoxRef& tree);
int ItemLevel(const TreeBoxRef& tree, int index);         // 0
Text ItemText(const TreeBoxRef& tree, int index);         // empty
int ItemImage(const TreeBoxRef& tree, int index);         // -1
int ItemSelectedImage(const TreeBoxRef& tree, int index); // -1
int ItemValue(const TreeBoxRef& tree, int index);         // 0
bool SetItemText(const TreeBoxRef& tree, int index, const Text& text);
bool SetItemImage(const TreeBoxRef& tree, int index, int image);
bool SetItemSelectedImage(const TreeBoxRef& tree, int index, int image);
bool SetItemValue(const TreeBoxRef& tree, int index, const Value& value = Value());
bool SetItemBold(const TreeBoxRef& tree, int index);
bool ClearItemBold(const TreeBoxRef& tree, int index);
bool IsItemBold(const TreeBoxRef& tree, int index);
bool ExpandItem(const TreeBoxRef& tree, int index);
void EditItemText(const TreeBoxRef& tree, int index);
// Adds the item as the last child of the parent, or as the last top-level item when the parent is
// omitted or names no item; returns its index.
int AddItem(const TreeBoxRef& tree, const Value& parent, const Text& text, const Value& image = Value(),
            const Value& selectedImage = Value(), const Value& value = Value(), const Value& bold = Value(),
            const Value& checkState = Value());
// One item per text, the other arguments taken element by element, the last element repeating (an
// empty list: the default); yields 0.
int AddItem(const TreeBoxRef& tree, const Value& parent, const std::vector<Text>& texts,
            const std::vector<Value>& images = {}, const std::vector<Value>& selectedImages = {},
            const std::vector<Value>& values = {}, const std::vector<Value>& bolds = {},
            const std::vector<Value>& checkStates = {});
bool DeleteItem(const TreeBoxRef& tree, int index);
int ParentItem(const TreeBoxRef& tree, int index); // -1
bool HasChildren(const TreeBoxRef& tree, int index);

} // namespace glyvora
