#include "forms/commands.h"

#include "forms/form_layer.h"
#include "forms/values.h"
#include "platform/files.h"

#include <algorithm>

namespace glyvora {

namespace {

FormLayer& layer() {
    return FormLayer::current();
}

Text optionalText(const Value& v) {
    return v.omitted() ? Text() : valueToText(v);
}

bool inputBox(const Value& prompt, const Value& title, const Value& initial, const Value& inputMode,
              OwnerArg owner, Text& entered) {
    const int mode = inputMode.omitted() ? 1 : valueToInt(inputMode);
    const InputBoxRequest request = makeInputBoxRequest(optionalText(prompt), optionalText(title),
                                                        optionalText(initial), mode, owner.owner);
    const std::optional<Text> answer = layer().backend().inputBox(request);
    if (!answer) return false;
    entered = *answer;
    return true;
}

} // namespace

Value readProperty(WindowId window, UnitId unit, int property, int subField) {
    return layer().readProperty(window, unit, property, subField);
}

void writeProperty(WindowId window, UnitId unit, int property, const Value& value, int subField) {
    layer().writeProperty(window, unit, property, subField, value);
}

int ShowMessageBox(const Value& message, const Value& flags, const Value& title, OwnerArg owner) {
    MessageBoxRequest request;
    request.text = valueToText(message);
    request.flags = messageBoxFlags(static_cast<unsigned>(valueToInt(flags)));
    request.title = optionalText(title);
    if (request.title.empty()) request.title = "信息：";
    request.owner = owner.owner;
    return messageBoxResult(layer().backend().messageBox(request));
}

bool InputBox(const Value& prompt, const Value& title, const Value& initial, Text& variable,
              const Value& inputMode, OwnerArg owner) {
    Text entered;
    if (!inputBox(prompt, title, initial, inputMode, owner, entered)) return false;
    variable = entered;
    return true;
}

bool InputBox(const Value& prompt, const Value& title, const Value& initial, double& variable,
              const Value& inputMode, OwnerArg owner) {
    Text entered;
    if (!inputBox(prompt, title, initial, inputMode, owner, entered)) return false;
    variable = textToNumber(entered);
    return true;
}

bool LoadWindow(WindowRef window, std::optional<WindowRef> owner, const Value& modal) {
    // A modal load is handled as a modeless one: the application never asks for it.
    (void)modal;
    std::optional<WindowId> ownerId;
    if (owner) ownerId = owner->window;
    return layer().loadWindow(window.window, ownerId);
}

void CloseWindowUnit(WindowRef window, const Value&) {
    layer().closeWindow(window.window);
}

void PopupMenu(WindowRef window, MenuItemRef menu) {
    if (menu.window != window.window) return;
    layer().popupMenu(window.window, menu.unit);
}

void SetUnitHint(WindowId window, UnitId unit, const Text& hint) {
    layer().setUnitHint(window, unit, hint);
}

void SetTrayIcon(WindowRef window, const Value& icon, const Value& tip) {
    ByteSet bytes;
    if (icon.holds<ByteSet>()) {
        bytes = icon.as<ByteSet>();
    } else if (icon.holds<Text>() && !icon.as<Text>().empty()) {
        if (auto file = readWholeFile(icon.as<Text>())) bytes = std::move(*file);
    }
    layer().setTrayIcon(window.window, bytes, optionalText(tip));
}

Text ShowFolderPicker(const Text& title, const Text& initialPath, unsigned flags) {
    FolderPickerRequest request;
    request.title = title;
    request.initialPath = initialPath;
    request.flags = flags;
    return layer().backend().browseForFolder(request);
}

bool SetClipboardText(const Text& text) {
    return layer().backend().setClipboardText(text);
}

void ProcessEvents() {
    layer().processEvents();
}

void Delay(int milliseconds) {
    layer().delay(milliseconds);
}

void OpenControlPanelItem(int item, const Value&) {
    const Text commandLine = controlPanelCommandLine(item);
    if (!commandLine.empty()) layer().backend().runCommandLine(commandLine, kShowNormal);
}

// ---- TreeBox methods ----

int ItemCount(const TreeBoxRef& tree) {
    return layer().tree(tree).count();
}

int ItemLevel(const TreeBoxRef& tree, int index) {
    const TreeItem* item = layer().tree(tree).at(index);
    return item ? item->level : 0;
}

Text ItemText(const TreeBoxRef& tree, int index) {
    const TreeItem* item = layer().tree(tree).at(index);
    return item ? item->text : Text();
}

int ItemImage(const TreeBoxRef& tree, int index) {
    const TreeItem* item = layer().tree(tree).at(index);
    return item ? item->image : -1;
}

int ItemSelectedImage(const TreeBoxRef& tree, int index) {
    const TreeItem* item = layer().tree(tree).at(index);
    return item ? item->selectedImage : -1;
}

int ItemValue(const TreeBoxRef& tree, int index) {
    const TreeItem* item = layer().tree(tree).at(index);
    return item ? item->value : 0;
}

namespace {

template <typename Change>
bool changeItem(const TreeBoxRef& tree, int index, Change change) {
    TreeItem* item = layer().tree(tree).at(index);
    if (!item) return false;
    change(*item);
    layer().updateTreeItem(tree, index);
    return true;
}

int imageArgument(const Value& v) {
    return v.omitted() ? 0 : std::max(0, valueToInt(v));
}

std::uint8_t stateImageOf(const Value& checkState) {
    if (checkState.omitted()) return 0;
    return static_cast<std::uint8_t>(std::clamp(valueToInt(checkState) + 1, 0, 15));
}

const Value& elementOrLast(const std::vector<Value>& list, std::size_t i) {
    static const Value omitted;
    if (list.empty()) return omitted;
    return list[std::min(i, list.size() - 1)];
}

} // namespace

bool SetItemText(const TreeBoxRef& tree, int index, const Text& text) {
    return changeItem(tree, index, [&](TreeItem& item) { item.text = text; });
}

bool SetItemImage(const TreeBoxRef& tree, int index, int image) {
    return changeItem(tree, index, [&](TreeItem& item) { item.image = image; });
}

bool SetItemSelectedImage(const TreeBoxRef& tree, int index, int image) {
    return changeItem(tree, index, [&](TreeItem& item) { item.selectedImage = image; });
}

bool SetItemValue(const TreeBoxRef& tree, int index, const Value& value) {
    return changeItem(tree, index, [&](TreeItem& item) { item.value = valueToInt(value); });
}

bool SetItemBold(const TreeBoxRef& tree, int index) {
    return changeItem(tree, index, [](TreeItem& item) { item.bold = true; });
}

bool ClearItemBold(const TreeBoxRef& tree, int index) {
    return changeItem(tree, index, [](TreeItem& item) { item.bold = false; });
}

bool IsItemBold(const TreeBoxRef& tree, int index) {
    const TreeItem* item = layer().tree(tree).at(index);
    return item && item->bold;
}

bool ExpandItem(const TreeBoxRef& tree, int index) {
    return layer().expandTreeItem(tree, index);
}

void EditItemText(const TreeBoxRef& tree, int index) {
    layer().editTreeItem(tree, index);
}

int AddItem(const TreeBoxRef& tree, const Value& parent, const Text& text, const Value& image,
            const Value& selectedImage, const Value& value, const Value& bold, const Value& checkState) {
    TreeItem item;
    item.text = text;
    item.image = imageArgument(image);
    item.selectedImage = selectedImage.omitted() ? item.image : valueToInt(selectedImage);
    item.value = value.omitted() ? 0 : valueToInt(value);
    item.bold = !bold.omitted() && valueToInt(bold) == 1;
    item.stateImage = stateImageOf(checkState);
    const int parentIndex = parent.omitted() ? -1 : valueToInt(parent);
    return layer().appendTreeItem(tree, parentIndex, std::move(item));
}

int AddItem(const TreeBoxRef& tree, const Value& parent, const std::vector<Text>& texts,
            const std::vector<Value>& images, const std::vector<Value>& selectedImages,
            const std::vector<Value>& values, const std::vector<Value>& bolds,
            const std::vector<Value>& checkStates) {
    layer().tree(tree);
    for (std::size_t i = 0; i < texts.size(); ++i)
        AddItem(tree, parent, texts[i], elementOrLast(images, i), elementOrLast(selectedImages, i),
                elementOrLast(values, i), elementOrLast(bolds, i), elementOrLast(checkStates, i));
    return 0;
}

bool DeleteItem(const TreeBoxRef& tree, int index) {
    return layer().deleteTreeItem(tree, index);
}

int ParentItem(const TreeBoxRef& tree, int index) {
    return layer().tree(tree).parentOf(index);
}

bool HasChildren(const TreeBoxRef& tree, int index) {
    return layer().tree(tree).hasChildren(index);
}

} // namespace glyvora
