#include "forms/headless/headless_backend.h"

#include "platform/clock.h"

namespace glyvora::headless {

namespace {

int indexOfKey(const std::vector<ShownItem>& items, ItemKey key) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].key == key) return static_cast<int>(i);
    return -1;
}

int subtreeEnd(const std::vector<ShownItem>& items, int index) {
    int end = index + 1;
    while (end < static_cast<int>(items.size()) && items[end].level > items[index].level)
        ++end;
    return end;
}

const MenuEntry* findEntry(const std::vector<MenuEntry>& entries, UnitId unit) {
    for (const MenuEntry& e : entries) {
        if (e.unit == unit) return &e;
        if (const MenuEntry* inner = findEntry(e.children, unit)) return inner;
    }
    return nullptr;
}

} // namespace

HeadlessBackend::HeadlessBackend() {
    guiFont.height = -12;
    guiFont.weight = 400;
    guiFont.charset = 134;
    guiFont.faceName = "宋体";
}

HeadlessBackend::~HeadlessBackend() = default;

Window* HeadlessBackend::findWindow(WindowId window) {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

Control* HeadlessBackend::findControl(WindowId window, UnitId unit) {
    Window* w = findWindow(window);
    if (!w) return nullptr;
    const auto it = w->controls.find(unit);
    return it == w->controls.end() ? nullptr : &it->second;
}

const Window* HeadlessBackend::window(WindowId window) const {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

const Control* HeadlessBackend::control(WindowId window, UnitId unit) const {
    const Window* w = this->window(window);
    if (!w) return nullptr;
    const auto it = w->controls.find(unit);
    return it == w->controls.end() ? nullptr : &it->second;
}

Control* HeadlessBackend::reachable(WindowId window, UnitId unit, UnitType type) {
    Window* w = findWindow(window);
    Control* c = findControl(window, unit);
    if (!w || !c || !w->visible || !c->visible || c->disabled || c->design->type != type) return nullptr;
    return c;
}

Control* HeadlessBackend::reachableTree(WindowId window, UnitId unit) {
    return reachable(window, unit, UnitType::TreeBox);
}

void HeadlessBackend::settle() {
    if (dispatching_ == 0) processPending();
}

// ---- the user ----

bool HeadlessBackend::click(WindowId window, UnitId unit) {
    Control* c = findControl(window, unit);
    if (!c) return false;
    if (c->design->type == UnitType::CheckBox) {
        if (!reachable(window, unit, UnitType::CheckBox)) return false;
        c->checkState = c->checkState == 1 ? 0 : 1;
    } else if (!reachable(window, unit, UnitType::Button)) {
        return false;
    }
    if (sink_) sink_->onClicked(window, unit);
    settle();
    return true;
}

bool HeadlessBackend::doubleClick(WindowId window, UnitId unit) {
    // A double click on a check box is its first click followed by a second one the control
    // reports as a double click: the state changes twice, the event comes twice.
    if (!reachable(window, unit, UnitType::CheckBox)) return false;
    return click(window, unit) && click(window, unit);
}

bool HeadlessBackend::mouse(WindowId window, UnitId unit, int event, int x, int y, int keys) {
    Window* w = findWindow(window);
    Control* c = findControl(window, unit);
    if (!w || !c || !w->visible || !c->visible) return false;
    const bool delivered = sink_ ? sink_->onMouse(window, unit, event, x, y, keys) : true;
    settle();
    return delivered;
}

bool HeadlessBackend::wheel(WindowId window, UnitId unit, int notches) {
    constexpr int kNotch = 120;
    Window* w = findWindow(window);
    if (!w || !w->visible || w->minimised) return false;
    if (unit != w->design->windowUnit) {
        Control* c = findControl(window, unit);
        if (!c || !c->visible) return false;
        if (c->design->type == UnitType::TreeBox || c->design->type == UnitType::ComboBox) return true;
    }
    if (sink_) sink_->onWheel(window, unit, notches * kNotch);
    settle();
    return true;
}

bool HeadlessBackend::pressKey(WindowId window, int key) {
    Window* w = findWindow(window);
    if (!w || !w->visible || w->minimised) return false;
    const UnitId focused = findControl(window, w->focus) ? w->focus : w->design->windowUnit;
    if (sink_) sink_->onNavigationKey(window, focused, key);
    settle();
    return true;
}

bool HeadlessBackend::focus(WindowId window, UnitId unit) {
    Window* w = findWindow(window);
    Control* c = findControl(window, unit);
    if (!w || !c || !c->visible || c->disabled) return false;
    if (w->focus == unit) return true;
    const UnitId previous = w->focus;
    w->focus = unit;
    // A tree's in-place edit ends when the focus goes elsewhere, keeping what was typed, as Enter
    // does.
    if (Control* tree = findControl(window, previous); tree && tree->editing) {
        const ItemKey key = tree->editing;
        const Text typed = tree->editText;
        tree->editing = 0;
        const bool accepted = sink_ ? sink_->onTreeEndEdit(window, previous, key, typed) : true;
        if (Control* again = findControl(window, previous); again && accepted) {
            const int index = indexOfKey(again->items, key);
            if (index >= 0) again->items[index].text = typed;
        }
    }
    if (sink_ && previous) sink_->onFocus(window, previous, false);
    if (sink_) sink_->onFocus(window, unit, true);
    settle();
    return true;
}

bool HeadlessBackend::type(WindowId window, UnitId unit, const Text& text) {
    Control* c = reachable(window, unit, UnitType::EditBox);
    if (!c) return false;
    c->text = text;
    if (sink_) sink_->onEditChanged(window, unit);
    settle();
    return true;
}

bool HeadlessBackend::chooseComboItem(WindowId window, UnitId unit, int index) {
    Control* c = reachable(window, unit, UnitType::ComboBox);
    if (!c || index < 0 || index >= static_cast<int>(c->comboItems.size())) return false;
    c->selection = index;
    if (sink_) sink_->onComboChosen(window, unit);
    settle();
    return true;
}

bool HeadlessBackend::openColourPicker(WindowId window, UnitId unit) {
    if (!reachable(window, unit, UnitType::ColorPicker)) return false;
    if (sink_) sink_->onColourPickerOpened(window, unit);
    settle();
    return true;
}

bool HeadlessBackend::selectTreeItem(WindowId window, UnitId unit, int index, bool byKeyboard) {
    Control* c = reachableTree(window, unit);
    if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return false;
    const ItemKey key = c->items[index].key;
    if (c->selected != key) {
        c->selected = key;
        if (sink_)
            sink_->onTreeSelectionChanged(window, unit, key,
                                          byKeyboard ? selectionCause::keyboard : selectionCause::mouse);
    }
    settle();
    return true;
}

bool HeadlessBackend::rightClickTree(WindowId window, UnitId unit, int index) {
    Control* c = reachableTree(window, unit);
    if (!c || index >= static_cast<int>(c->items.size())) return false;
    const ItemKey key = index < 0 ? 0 : c->items[index].key;
    if (sink_) sink_->onTreeRightClick(window, unit, key);
    settle();
    return true;
}

bool HeadlessBackend::setTreeItemExpanded(WindowId window, UnitId unit, int index, bool expanded) {
    Control* c = reachableTree(window, unit);
    if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return false;
    ShownItem& item = c->items[index];
    if (item.expanded == expanded) return true;
    item.expanded = expanded;
    const ItemKey key = item.key;
    if (sink_) sink_->onTreeExpandedChanged(window, unit, key, expanded);
    // Collapsing an item that holds the selection moves the selection to it, as a tree view does.
    if (!expanded) {
        c = findControl(window, unit);
        const int selected = c ? indexOfKey(c->items, c->selected) : -1;
        const int at = c ? indexOfKey(c->items, key) : -1;
        if (at >= 0 && selected > at && selected < subtreeEnd(c->items, at)) {
            c->selected = key;
            if (sink_) sink_->onTreeSelectionChanged(window, unit, key, selectionCause::mouse);
        }
    }
    settle();
    return true;
}

bool HeadlessBackend::startEdit(WindowId window, UnitId unit, Control& tree, ItemKey key) {
    if (tree.editing) return false;
    const bool allowed = sink_ ? sink_->onTreeBeginEdit(window, unit, key) : true;
    Control* c = findControl(window, unit);
    if (!allowed || !c) return false;
    const int index = indexOfKey(c->items, key);
    if (index < 0) return false;
    c->editing = key;
    c->editText = c->items[index].text;
    return true;
}

bool HeadlessBackend::beginTreeEdit(WindowId window, UnitId unit, int index) {
    Control* c = reachableTree(window, unit);
    if (!c || !c->design->tree.editLabels || index < 0 || index >= static_cast<int>(c->items.size()))
        return false;
    const bool started = startEdit(window, unit, *c, c->items[index].key);
    settle();
    return started;
}

bool HeadlessBackend::endTreeEdit(WindowId window, UnitId unit, const std::optional<Text>& text) {
    Control* c = findControl(window, unit);
    if (!c || !c->editing) return false; // no edit in progress: nothing ends
    const ItemKey key = c->editing;
    c->editing = 0;
    const bool accepted = sink_ ? sink_->onTreeEndEdit(window, unit, key, text) : true;
    if (accepted && text) {
        if (Control* again = findControl(window, unit)) {
            const int index = indexOfKey(again->items, key);
            if (index >= 0) again->items[index].text = *text;
        }
    }
    settle();
    return true;
}

bool HeadlessBackend::tray(WindowId window, TrayMouse mouse) {
    if (!trayIcons.count(window)) return false;
    if (sink_) sink_->onTray(window, mouse);
    settle();
    return true;
}

bool HeadlessBackend::closeThroughFrame(WindowId window) {
    Window* w = findWindow(window);
    // A window without the close entry of its system menu cannot be closed through its frame.
    if (!w || !w->visible || !w->design->windowUnitTemplate().window.closeCommand) return false;
    if (sink_) sink_->onCloseRequest(window);
    settle();
    return true;
}

void HeadlessBackend::minimise(WindowId window) {
    if (Window* w = findWindow(window)) w->minimised = true;
}

void HeadlessBackend::later(std::function<void()> action) {
    queue_.emplace_back(std::move(action));
}

// ---- windows and controls ----

bool HeadlessBackend::createWindow(const WindowTemplate& design, const Rect& outer,
                                   std::optional<WindowId> owner) {
    Window& w = windows_[design.window];
    w = Window{};
    w.design = &design;
    w.rect = outer;
    w.owner = owner;
    return true;
}

bool HeadlessBackend::createControl(WindowId window, const UnitTemplate& unit) {
    Window* w = findWindow(window);
    if (!w || (refuseControl && refuseControl(unit))) return false;
    Control& c = w->controls[unit.id];
    c.design = &unit;
    c.rect = {unit.left, unit.top, unit.width, unit.height};
    c.visible = unit.visible;
    c.disabled = unit.disabled;
    c.text = unit.caption;
    c.comboItems = unit.items;
    c.font = unit.font;
    c.textColour = unit.textColour;
    c.backColour = unit.backColour;
    c.minimum = unit.minimum;
    c.maximum = unit.maximum;
    c.position = unit.position;
    c.colour = unit.colour;
    return true;
}

void HeadlessBackend::showWindow(WindowId window) {
    if (Window* w = findWindow(window)) w->visible = true;
}

void HeadlessBackend::destroyWindow(WindowId window) {
    windows_.erase(window);
    trayIcons.erase(window);
}

void HeadlessBackend::activateWindow(WindowId window) {
    if (Window* w = findWindow(window)) {
        w->minimised = false;
        ++w->activations;
    }
}

void HeadlessBackend::setAlwaysOnTop(WindowId window, bool onTop) {
    if (Window* w = findWindow(window)) w->alwaysOnTop = onTop;
}

Rect HeadlessBackend::rect(WindowId window, UnitId unit) {
    Window* w = findWindow(window);
    if (!w) return {};
    if (w->design->windowUnit == unit) return w->rect;
    Control* c = findControl(window, unit);
    return c ? c->rect : Rect{};
}

void HeadlessBackend::setRect(WindowId window, UnitId unit, const Rect& rect) {
    Window* w = findWindow(window);
    if (!w) return;
    if (w->design->windowUnit == unit)
        w->rect = rect;
    else if (Control* c = findControl(window, unit))
        c->rect = rect;
}

void HeadlessBackend::setVisible(WindowId window, UnitId unit, bool visible) {
    Window* w = findWindow(window);
    if (!w) return;
    if (w->design->windowUnit == unit)
        w->visible = visible;
    else if (Control* c = findControl(window, unit))
        c->visible = visible;
}

void HeadlessBackend::setDisabled(WindowId window, UnitId unit, bool disabled) {
    if (Control* c = findControl(window, unit)) c->disabled = disabled;
}

Text HeadlessBackend::text(WindowId window, UnitId unit) {
    Control* c = findControl(window, unit);
    return c ? c->text : Text();
}

void HeadlessBackend::setText(WindowId window, UnitId unit, const Text& text) {
    if (Control* c = findControl(window, unit)) c->text = text;
}

void HeadlessBackend::setFont(WindowId window, UnitId unit, const UnitFont& font) {
    if (Control* c = findControl(window, unit)) c->font = font;
}

void HeadlessBackend::setFontFile(WindowId window, UnitId unit, const Text& path) {
    if (Control* c = findControl(window, unit)) c->fontFile = path;
}

void HeadlessBackend::setColours(WindowId window, UnitId unit, std::optional<Colour> text,
                                 std::optional<Colour> back) {
    if (Control* c = findControl(window, unit)) {
        c->textColour = text;
        c->backColour = back;
    }
}

void HeadlessBackend::setHint(WindowId window, UnitId unit, const Text& hint) {
    if (Control* c = findControl(window, unit)) c->hint = hint;
}

int HeadlessBackend::checkState(WindowId window, UnitId unit) {
    Control* c = findControl(window, unit);
    return c ? c->checkState : 0;
}

void HeadlessBackend::setCheckState(WindowId window, UnitId unit, int state) {
    if (Control* c = findControl(window, unit)) c->checkState = state;
}

int HeadlessBackend::comboSelection(WindowId window, UnitId unit) {
    Control* c = findControl(window, unit);
    return c ? c->selection : -1;
}

void HeadlessBackend::setComboSelection(WindowId window, UnitId unit, int index) {
    if (Control* c = findControl(window, unit)) c->selection = index;
}

void HeadlessBackend::setProgress(WindowId window, UnitId unit, int minimum, int maximum, int position) {
    if (Control* c = findControl(window, unit)) {
        c->minimum = minimum;
        c->maximum = maximum;
        c->position = position;
    }
}

Colour HeadlessBackend::pickerColour(WindowId window, UnitId unit) {
    Control* c = findControl(window, unit);
    return c ? c->colour : 0;
}

void HeadlessBackend::setPickerColour(WindowId window, UnitId unit, Colour colour) {
    if (Control* c = findControl(window, unit)) c->colour = colour;
}

// ---- the tree mirror ----

void HeadlessBackend::treeClear(WindowId window, UnitId unit) {
    Control* c = findControl(window, unit);
    if (!c) return;
    const ItemKey editing = c->editing;
    c->items.clear();
    c->selected = 0;
    c->editing = 0;
    if (editing && sink_) sink_->onTreeEndEdit(window, unit, editing, std::nullopt);
}

void HeadlessBackend::treeAppend(WindowId window, UnitId unit, const TreeItem& item, ItemKey parent) {
    Control* c = findControl(window, unit);
    if (!c) return;
    ShownItem shown;
    shown.key = item.key;
    shown.text = item.text;
    shown.image = item.image;
    shown.selectedImage = item.selectedImage;
    shown.bold = item.bold;
    shown.stateImage = item.stateImage;
    const int p = parent ? indexOfKey(c->items, parent) : -1;
    if (p < 0) {
        c->items.push_back(shown);
        return;
    }
    shown.level = c->items[p].level + 1;
    c->items.insert(c->items.begin() + subtreeEnd(c->items, p), shown);
}

void HeadlessBackend::treeUpdate(WindowId window, UnitId unit, const TreeItem& item) {
    Control* c = findControl(window, unit);
    if (!c) return;
    const int i = indexOfKey(c->items, item.key);
    if (i < 0) return;
    ShownItem& shown = c->items[i];
    shown.text = item.text;
    shown.image = item.image;
    shown.selectedImage = item.selectedImage;
    shown.bold = item.bold;
    shown.stateImage = item.stateImage;
}

void HeadlessBackend::treeDelete(WindowId window, UnitId unit, ItemKey key) {
    Control* c = findControl(window, unit);
    if (!c) return;
    const int i = indexOfKey(c->items, key);
    if (i < 0) return;
    const int end = subtreeEnd(c->items, i);
    bool editingGoes = false;
    for (int k = i; k < end; ++k) {
        if (c->items[k].key == c->selected) c->selected = 0;
        if (c->items[k].key == c->editing) editingGoes = true;
    }
    c->items.erase(c->items.begin() + i, c->items.begin() + end);
    if (editingGoes) {
        const ItemKey editing = c->editing;
        c->editing = 0;
        if (sink_) sink_->onTreeEndEdit(window, unit, editing, std::nullopt);
    }
}

void HeadlessBackend::treeSetExpanded(WindowId window, UnitId unit, ItemKey key, bool expanded) {
    Control* c = findControl(window, unit);
    if (!c) return;
    const int i = indexOfKey(c->items, key);
    if (i >= 0) c->items[i].expanded = expanded;
}

void HeadlessBackend::treeSelect(WindowId window, UnitId unit, ItemKey key) {
    if (Control* c = findControl(window, unit)) c->selected = indexOfKey(c->items, key) >= 0 ? key : 0;
}

void HeadlessBackend::treeEditLabel(WindowId window, UnitId unit, ItemKey key) {
    Window* w = findWindow(window);
    Control* c = findControl(window, unit);
    if (!w || !c || indexOfKey(c->items, key) < 0) return;
    w->focus = unit;
    startEdit(window, unit, *c, key);
}

// ---- dialogs ----

int HeadlessBackend::messageBox(const MessageBoxRequest& request) {
    if (onMessageBox) onMessageBox(request);
    int button = closingButton(request.flags);
    script_.open(request, button);
    return button;
}

std::optional<Text> HeadlessBackend::inputBox(const InputBoxRequest& request) {
    std::optional<Text> answer;
    script_.open(request, answer);
    return answer;
}

Text HeadlessBackend::browseForFolder(const FolderPickerRequest& request) {
    Text answer;
    script_.open(request, answer);
    return answer;
}

std::optional<Colour> HeadlessBackend::chooseColour(const ColourChoiceRequest& request) {
    std::optional<Colour> answer;
    script_.open(request, answer);
    return answer;
}

unsigned HeadlessBackend::trackPopupMenu(const PopupMenuRequest& request) {
    UnitId item = 0;
    const MenuEntry* entry = nullptr;
    const bool chosen = script_.open(request, item, [&](UnitId unit) {
        entry = findEntry(request.entries, unit);
        return entry && !entry->disabled && entry->command;
    });
    return chosen && entry ? entry->command : 0;
}

// ---- services ----

void HeadlessBackend::setTrayIcon(WindowId window, const std::optional<TrayIconRequest>& icon) {
    if (icon)
        trayIcons[window] = *icon;
    else
        trayIcons.erase(window);
}

bool HeadlessBackend::setClipboardText(const Text& text) {
    if (clipboardFails) return false;
    clipboard = text;
    return true;
}

bool HeadlessBackend::runCommandLine(const Text& commandLine, int) {
    commandLines.push_back(commandLine);
    return true;
}

// ---- the message queue ----

void HeadlessBackend::post(WindowId window, const PostedMessage& message) {
    queue_.emplace_back(Posted{window, message});
}

void HeadlessBackend::processPending() {
    ++dispatching_;
    while (!queue_.empty()) {
        Queued next = std::move(queue_.front());
        queue_.pop_front();
        if (auto* posted = std::get_if<Posted>(&next)) {
            if (findWindow(posted->window) && sink_) sink_->onPosted(posted->window, posted->message);
        } else {
            std::get<std::function<void()>>(next)();
        }
    }
    --dispatching_;
}

bool HeadlessBackend::waitForMessages(std::optional<std::uint32_t> timeoutMs) {
    if (!queue_.empty()) return true;
    if (!timeoutMs) return false;
    clock().sleep(*timeoutMs);
    return true;
}

} // namespace glyvora::headless
