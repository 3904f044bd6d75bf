#include "forms/form_layer.h"

#include "forms/items_blob.h"
#include "forms/values.h"
#include "platform/clock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace glyvora {

namespace {

FormLayer* currentLayer = nullptr;

constexpr int kMaxExtent = 32627;
constexpr int kMaxProgress = 32767;

// Texts of items end at their first zero byte, as the blob stores them.
Text itemText(const Text& text) {
    return text.substr(0, text.find('\0'));
}

} // namespace

Text windowNotLoadedMessage() {
    return "未载入欲访问窗口组件所在的窗口";
}
Text controlNotLoadedMessage() {
    return "指定窗口尚未载入";
}

FormLayer::FormLayer(Backend& backend, FormLayerOptions options)
    : backend_(backend), options_(std::move(options)), previousLayer_(currentLayer) {
    currentLayer = this;
    backend_.attach(this);
    previousReporter_ =
        setFatalReporter([this](const Text& title, const Text& text) { showFatalErrorBox(title, text); });
}

FormLayer::~FormLayer() {
    // Owned windows go with their owners; what is left are windows without an open owner.
    while (!windows_.empty())
        destroyWindowNow(windows_.begin()->first, true);
    setFatalReporter(std::move(previousReporter_));
    backend_.attach(nullptr);
    currentLayer = previousLayer_;
}

FormLayer& FormLayer::current() {
    if (!currentLayer) {
        std::fputs("the form layer is not running\n", stderr);
        std::abort();
    }
    return *currentLayer;
}

bool FormLayer::exists() {
    return currentLayer != nullptr;
}

void FormLayer::showFatalErrorBox(const Text& title, const Text& text) {
    MessageBoxRequest request;
    request.title = title;
    request.text = text;
    request.flags = messageBoxFlags(kMessageBoxErrorIcon);
    backend_.messageBox(request);
}

void FormLayer::registerTemplate(const WindowTemplate& design) {
    templates_[design.window] = &design;
}

void FormLayer::bindEvents(WindowId window, Bindings bindings) {
    bindings_[window] = std::move(bindings);
}

// ---- windows ----

FormLayer::WindowState* FormLayer::findWindow(WindowId window) {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

FormLayer::WindowState& FormLayer::requireWindow(WindowId window) {
    WindowState* w = findWindow(window);
    if (!w) raiseFatalError(windowNotLoadedMessage());
    return *w;
}

FormLayer::UnitState& FormLayer::requireUnit(WindowState& window, UnitId unit) {
    const auto it = window.units.find(unit);
    if (it == window.units.end()) raiseFatalError(controlNotLoadedMessage());
    return it->second;
}

FormLayer::UnitState& FormLayer::requireControl(WindowState& window, UnitId unit) {
    UnitState& u = requireUnit(window, unit);
    if (!u.created) raiseFatalError(controlNotLoadedMessage());
    return u;
}

bool FormLayer::loadWindow(WindowId window, std::optional<WindowId> owner) {
    const auto registered = templates_.find(window);
    if (registered == templates_.end()) return false;
    const WindowTemplate* design = registered->second;
    if (WindowState* open = findWindow(window)) {
        if (!open->closing) {
            backend_.activateWindow(window);
            return true;
        }
        destroyWindowNow(window, true);
    }
    if (owner && !isOpen(*owner)) owner.reset();

    const UnitTemplate& windowUnit = design->windowUnitTemplate();
    Rect outer{windowUnit.left, windowUnit.top, windowUnit.width, windowUnit.height};
    if (windowUnit.window.centred) {
        const ScreenInfo screen = backend_.screen();
        outer.left = (screen.width - outer.width) / 2;
        outer.top = (screen.height - outer.height) / 2;
    }
    if (!backend_.createWindow(*design, outer, owner)) return false;

    WindowState& w = windows_[window];
    w.design = design;
    w.instance = ++lastInstance_;
    w.owner = owner;
    ended_ = false;
    for (const UnitTemplate& t : design->units) {
        UnitState& u = w.units[t.id];
        u.design = &t;
        u.rect = {t.left, t.top, t.width, t.height};
        u.visible = t.visible;
        u.disabled = t.disabled;
        u.caption = t.caption;
        u.font = t.font;
        u.textColour = t.textColour;
        u.backColour = t.backColour;
        u.minimum = t.minimum;
        u.maximum = t.maximum;
        u.position = t.position;
        u.menu = MenuItemState{t.caption, (t.menuFlags & kMenuChecked) != 0,
                               (t.menuFlags & kMenuDisabled) != 0, (t.menuFlags & kMenuHidden) == 0};
        if (t.type == UnitType::TreeBox) u.tree = std::make_unique<TreeModel>();
        u.created = t.type == UnitType::Window || t.type == UnitType::Menu;
    }
    w.units[design->windowUnit].rect = outer;
    if (windowUnit.window.alwaysOnTop) {
        w.alwaysOnTop = true;
        backend_.setAlwaysOnTop(window, true);
    }
    for (const UnitTemplate& t : design->units) {
        if (t.type == UnitType::Window || t.type == UnitType::Menu) continue;
        const bool created = backend_.createControl(window, t);
        WindowState* again = findWindow(window);
        if (!again) continue;
        UnitState& u = again->units[t.id];
        u.created = created;
        if (created && !u.hint.empty()) backend_.setHint(window, t.id, u.hint);
    }

    raise(window, design->windowUnit, event::created);
    WindowState* again = findWindow(window);
    if (!again) return true;
    again->shown = true;
    if (again->units[design->windowUnit].visible) backend_.showWindow(window);
    return true;
}

void FormLayer::closeWindow(WindowId window) {
    WindowState* w = findWindow(window);
    if (!w) return;
    w->closing = true;
    PostedMessage message;
    message.kind = PostedMessage::Kind::CloseWindow;
    message.instance = w->instance;
    backend_.post(window, message);
}

void FormLayer::destroyWindowNow(WindowId window, bool replacing) {
    if (!findWindow(window)) return;
    // Windows it owns go first, as the system destroys owned windows with their owner.
    std::vector<WindowId> owned;
    for (const auto& [id, state] : windows_)
        if (state.owner == window) owned.push_back(id);
    for (WindowId id : owned)
        destroyWindowNow(id, true);
    WindowState* w = findWindow(window);
    if (!w) return;
    if (w->trayIcon) backend_.setTrayIcon(window, std::nullopt);
    backend_.destroyWindow(window);
    windows_.erase(window);
    if (!replacing && windows_.empty()) {
        ended_ = true;
        if (handlerDepth_ > 0) {
            if (options_.endProgram)
                options_.endProgram();
            else
                std::exit(0);
        }
    }
}

// ---- the message loop ----

void FormLayer::run() {
    while (!windows_.empty() && !ended_) {
        processEvents();
        if (windows_.empty() || ended_) break;
        if (!backend_.waitForMessages(std::nullopt)) break;
    }
}

void FormLayer::processEvents() {
    if (ended_) return;
    backend_.processPending();
}

void FormLayer::delay(int milliseconds) {
    if (milliseconds <= 0) return;
    const std::uint32_t wait = static_cast<std::uint32_t>(milliseconds);
    const std::uint32_t start = clock().ticks();
    for (;;) {
        processEvents();
        if (ended_) return;
        const std::uint32_t elapsed = clock().ticks() - start;
        if (elapsed >= wait) return;
        backend_.waitForMessages(wait - elapsed);
    }
}

// ---- events ----

bool FormLayer::raise(WindowId window, UnitId unit, int event, std::initializer_list<int> args) {
    if (!isOpen(window)) return true;
    const auto bound = bindings_.find(window);
    if (bound == bindings_.end()) return true;
    Handler handler;
    for (const Binding& b : bound->second)
        if (b.unit == unit && b.event == event && b.handler) handler = b.handler;
    if (!handler) return true;
    Event e;
    e.window = window;
    e.unit = unit;
    e.number = event;
    for (int a : args)
        if (e.argCount < 5) e.args[e.argCount++] = a;
    ++handlerDepth_;
    const HandlerResult result = handler(e);
    --handlerDepth_;
    return result.value_or(true);
}

bool FormLayer::onMouse(WindowId window, UnitId unit, int event, int x, int y, int keys) {
    if (event < event::mouseMove || event > event::leftDown) return true;
    return raise(window, unit, event, {x, y, keys});
}

void FormLayer::onFocus(WindowId window, UnitId unit, bool gained) {
    raise(window, unit, gained ? event::gotFocus : event::lostFocus);
}

void FormLayer::onWheel(WindowId window, UnitId unit, int delta) {
    constexpr int kNotch = 120;
    WindowState* w = findWindow(window);
    if (!w || w->closing) return;
    w->wheelDelta += delta;
    const int notches = w->wheelDelta / kNotch;
    if (notches == 0) return;
    w->wheelDelta -= notches * kNotch;
    raise(window, unit, event::wheel, {notches});
}

bool FormLayer::onNavigationKey(WindowId window, UnitId unit, int key) {
    if (key < navigationKey::pageUp || key > navigationKey::end) return false;
    WindowState* w = findWindow(window);
    if (!w || w->closing) return false;
    // These controls move their caret, selection or items with the keys.
    if (const UnitTemplate* design = w->design->find(unit)) {
        if (design->type == UnitType::EditBox || design->type == UnitType::ComboBox ||
            design->type == UnitType::TreeBox)
            return false;
    }
    raise(window, w->design->windowUnit, event::navigationKey, {key, static_cast<int>(unit)});
    return true;
}

void FormLayer::onClicked(WindowId window, UnitId unit) {
    raise(window, unit, event::clicked);
}

void FormLayer::onEditChanged(WindowId window, UnitId unit) {
    raise(window, unit, event::changed);
}

void FormLayer::onComboChosen(WindowId window, UnitId unit) {
    WindowState* w = findWindow(window);
    if (!w) return;
    PostedMessage message;
    message.kind = PostedMessage::Kind::ComboChosen;
    message.instance = w->instance;
    message.unit = unit;
    backend_.post(window, message);
}

void FormLayer::onColourPickerOpened(WindowId window, UnitId unit) {
    if (!isOpen(window)) return;
    ColourChoiceRequest request;
    request.window = window;
    request.picker = unit;
    request.initial = backend_.pickerColour(window, unit);
    const std::optional<Colour> chosen = backend_.chooseColour(request);
    if (!chosen || !isOpen(window)) return;
    backend_.setPickerColour(window, unit, *chosen);
    raise(window, unit, event::chosen);
}

void FormLayer::onTray(WindowId window, TrayMouse mouse) {
    WindowState* w = findWindow(window);
    if (!w) return;
    int argument = 0;
    switch (mouse) {
    case TrayMouse::LeftUp:
        argument = trayArgument::leftUp;
        break;
    case TrayMouse::LeftDoubleClick:
        argument = trayArgument::leftDoubleClick;
        break;
    case TrayMouse::RightUp:
    case TrayMouse::ContextMenuKey:
        argument = trayArgument::rightUp;
        break;
    default:
        return;
    }
    raise(window, w->design->windowUnit, event::trayIcon, {argument});
}

void FormLayer::onCloseRequest(WindowId window) {
    WindowState* w = findWindow(window);
    if (!w || !w->design->windowUnitTemplate().window.closeCommand) return;
    destroyWindowNow(window, false);
}

void FormLayer::onPosted(WindowId window, const PostedMessage& message) {
    WindowState* w = findWindow(window);
    if (!w || w->instance != message.instance) return;
    switch (message.kind) {
    case PostedMessage::Kind::CloseWindow:
        destroyWindowNow(window, false);
        break;
    case PostedMessage::Kind::ComboChosen:
        raise(window, message.unit, event::chosen);
        break;
    case PostedMessage::Kind::MenuCommand:
        onMenuCommand(window, message.command);
        break;
    }
}

void FormLayer::onMenuCommand(WindowId window, unsigned command) {
    WindowState* w = findWindow(window);
    if (!w) return;
    if (const auto unit = menuUnitOfCommand(*w->design, command)) raise(window, *unit, event::clicked);
}

// ---- menus and the tray ----

void FormLayer::popupMenu(WindowId window, UnitId menu) {
    WindowState* w = findWindow(window);
    if (!w) return;
    PopupMenuRequest request;
    request.owner = window;
    request.menu = menu;
    request.entries = buildPopupMenu(*w->design, menu, [w](UnitId id) {
        const auto it = w->units.find(id);
        return it == w->units.end() ? MenuItemState{} : it->second.menu;
    });
    const std::uint32_t instance = w->instance;
    const unsigned command = backend_.trackPopupMenu(request);
    if (command == 0 || !isOpen(window)) return;
    // The choice arrives as a posted command, as the system's menus deliver it: the item's click
    // runs once the message loop reaches it.
    PostedMessage message;
    message.kind = PostedMessage::Kind::MenuCommand;
    message.instance = instance;
    message.command = command;
    backend_.post(window, message);
}

void FormLayer::setUnitHint(WindowId window, UnitId unit, const Text& hint) {
    WindowState& w = requireWindow(window);
    UnitState& u = requireUnit(w, unit);
    if (u.hint == hint) return;
    u.hint = hint;
    if (u.created) backend_.setHint(window, unit, hint);
}

void FormLayer::setTrayIcon(WindowId window, const ByteSet& icon, const Text& tip) {
    WindowState* w = findWindow(window);
    if (!w) return;
    if (!isUsableIcon(icon)) {
        if (w->trayIcon) backend_.setTrayIcon(window, std::nullopt);
        w->trayIcon = false;
        return;
    }
    TrayIconRequest request;
    request.window = window;
    request.icon = icon;
    request.tip = cutTrayTip(tip);
    backend_.setTrayIcon(window, request);
    w->trayIcon = true;
}

// ---- properties ----

Value FormLayer::readProperty(WindowId window, UnitId unit, int property, int subField) {
    WindowState& w = requireWindow(window);
    UnitState& u = requireUnit(w, unit);
    if (u.design->type == UnitType::Menu) {
        switch (property) {
        case prop::menuCaption:
            return Value(u.menu.caption);
        case prop::menuChecked:
            return Value(u.menu.checked);
        case prop::menuDisabled:
            return Value(u.menu.disabled);
        case prop::menuVisible:
            return Value(u.menu.visible);
        default:
            return Value();
        }
    }
    if (property >= 0 && property <= 7) return readCommon(w, u, property);
    requireControl(w, unit);
    return readTyped(w, u, property, subField);
}

void FormLayer::writeProperty(WindowId window, UnitId unit, int property, int subField, const Value& value) {
    WindowState& w = requireWindow(window);
    UnitState& u = requireUnit(w, unit);
    if (u.design->type == UnitType::Menu) {
        switch (property) {
        case prop::menuCaption:
            u.menu.caption = valueToText(value);
            break;
        case prop::menuChecked:
            u.menu.checked = valueToBool(value);
            break;
        case prop::menuDisabled:
            u.menu.disabled = valueToBool(value);
            break;
        case prop::menuVisible:
            u.menu.visible = valueToBool(value);
            break;
        default:
            break;
        }
        return;
    }
    if (property >= 0 && property <= 7) {
        writeCommon(w, u, property, value);
        return;
    }
    requireControl(w, unit);
    writeTyped(w, u, property, subField, value);
}

Value FormLayer::readCommon(WindowState& w, UnitState& u, int property) {
    const WindowId window = w.design->window;
    const UnitId unit = u.design->id;
    // The user moves and sizes windows, so a window's position is read from the live window;
    // controls keep theirs.
    const bool liveRect = u.created && u.design->type == UnitType::Window;
    const Rect r = liveRect ? backend_.rect(window, unit) : u.rect;
    switch (property) {
    case prop::left:
        return Value(r.left);
    case prop::top:
        return Value(r.top);
    case prop::width:
        return Value(r.width);
    case prop::height:
        return Value(r.height);
    case prop::tag:
        return Value(u.tag);
    case prop::visible:
        return Value(u.visible);
    case prop::disabled:
        return Value(u.disabled);
    case prop::mousePointer:
        return Value(u.mousePointer);
    default:
        return Value();
    }
}

void FormLayer::writeCommon(WindowState& w, UnitState& u, int property, const Value& value) {
    const WindowId window = w.design->window;
    const UnitId unit = u.design->id;
    const bool isWindow = u.design->type == UnitType::Window;
    switch (property) {
    case prop::left:
    case prop::top:
    case prop::width:
    case prop::height: {
        Rect r = u.created && isWindow ? backend_.rect(window, unit) : u.rect;
        const int v = valueToInt(value);
        if (property == prop::left) r.left = v;
        if (property == prop::top) r.top = v;
        if (property == prop::width) r.width = std::clamp(v, 0, kMaxExtent);
        if (property == prop::height) r.height = std::clamp(v, 0, kMaxExtent);
        u.rect = r;
        if (u.created) backend_.setRect(window, unit, r);
        break;
    }
    case prop::tag:
        u.tag = valueToText(value);
        break;
    case prop::visible:
        u.visible = valueToBool(value);
        // A window shows only once its created event has run.
        if (u.created && (!isWindow || w.shown)) backend_.setVisible(window, unit, u.visible);
        break;
    case prop::disabled:
        u.disabled = valueToBool(value);
        if (u.created) backend_.setDisabled(window, unit, u.disabled);
        break;
    case prop::mousePointer:
        u.mousePointer = valueToBytes(value);
        break;
    default:
        break;
    }
}

Value FormLayer::readTyped(WindowState& w, UnitState& u, int property, int subField) {
    const WindowId window = w.design->window;
    const UnitId unit = u.design->id;
    switch (u.design->type) {
    case UnitType::Window:
        if (property == prop::alwaysOnTop) return Value(w.alwaysOnTop);
        break;
    case UnitType::EditBox:
        if (property == prop::content) return Value(backend_.text(window, unit));
        break;
    case UnitType::Label:
        if (property == prop::caption) return Value(u.caption);
        if (property == prop::font) {
            const UnitFont font = u.font ? *u.font : backend_.defaultGuiFont();
            if (subField < 0) return Value(fontToBytes(font));
            return readFontField(font, subField, backend_.screen().dpiY);
        }
        if (property == prop::fontFile) return Value(u.fontFile);
        if (property == prop::textColour)
            return Value(static_cast<std::int32_t>(u.textColour.value_or(0x000000)));
        if (property == prop::backColour)
            return Value(static_cast<std::int32_t>(u.backColour.value_or(0xF0F0F0)));
        break;
    case UnitType::CheckBox:
        if (property == prop::checked) return Value(backend_.checkState(window, unit) == 1);
        break;
    case UnitType::ComboBox:
        if (property == prop::selection) return Value(backend_.comboSelection(window, unit));
        break;
    case UnitType::ProcessBar:
        if (property == prop::maximum) return Value(u.maximum);
        if (property == prop::position) return Value(u.position);
        break;
    case UnitType::ColorPicker:
        if (property == prop::colour)
            return Value(static_cast<std::int32_t>(backend_.pickerColour(window, unit)));
        break;
    case UnitType::TreeBox:
        if (property == prop::treeTextColour)
            return Value(static_cast<std::int32_t>(u.textColour.value_or(0)));
        if (property == prop::treeBackColour)
            return Value(static_cast<std::int32_t>(u.backColour.value_or(0xFFFFFF)));
        if (property == prop::selectedItem) return Value(u.tree->selectedIndex());
        if (property == prop::allItems) return Value(serialiseItems(*u.tree));
        break;
    default:
        break;
    }
    return Value();
}

void FormLayer::writeTyped(WindowState& w, UnitState& u, int property, int subField, const Value& value) {
    const WindowId window = w.design->window;
    const UnitId unit = u.design->id;
    switch (u.design->type) {
    case UnitType::Window:
        if (property == prop::alwaysOnTop) {
            const bool onTop = valueToBool(value);
            w.alwaysOnTop = onTop;
            backend_.setAlwaysOnTop(window, onTop);
            if (!onTop) {
                // Leaving the band can push the program's other top-most windows below others;
                // they are put back.
                for (auto& [id, other] : windows_)
                    if (id != window && other.alwaysOnTop) backend_.setAlwaysOnTop(id, true);
            }
        }
        break;
    case UnitType::EditBox:
        if (property == prop::content) {
            backend_.setText(window, unit, valueToText(value));
            raise(window, unit, event::changed);
        }
        break;
    case UnitType::Label:
        if (property == prop::caption) {
            u.caption = valueToText(value);
            backend_.setText(window, unit, u.caption);
        } else if (property == prop::font) {
            UnitFont font = u.font ? *u.font : backend_.defaultGuiFont();
            if (subField < 0) {
                const auto whole = fontFromBytes(valueToBytes(value));
                if (!whole) return;
                font = *whole;
            } else if (!writeFontField(font, subField, value, backend_.screen().dpiY)) {
                return;
            }
            u.font = font;
            backend_.setFont(window, unit, font);
        } else if (property == prop::fontFile) {
            u.fontFile = valueToText(value);
            backend_.setFontFile(window, unit, u.fontFile);
        } else if (property == prop::textColour || property == prop::backColour) {
            (property == prop::textColour ? u.textColour : u.backColour) =
                static_cast<Colour>(valueToInt(value));
            backend_.setColours(window, unit, u.textColour, u.backColour);
        }
        break;
    case UnitType::CheckBox:
        if (property == prop::checked) backend_.setCheckState(window, unit, valueToBool(value) ? 1 : 0);
        break;
    case UnitType::ComboBox:
        if (property == prop::selection) {
            const int last = static_cast<int>(u.design->items.size()) - 1;
            int index = valueToInt(value);
            if (index > last) index = last;
            if (index < -1) index = -1;
            backend_.setComboSelection(window, unit, index);
        }
        break;
    case UnitType::ProcessBar:
        if (property == prop::maximum || property == prop::position) {
            const int v = std::clamp(valueToInt(value), 0, kMaxProgress);
            (property == prop::maximum ? u.maximum : u.position) = v;
            backend_.setProgress(window, unit, u.minimum, u.maximum, u.position);
        }
        break;
    case UnitType::ColorPicker:
        if (property == prop::colour)
            backend_.setPickerColour(window, unit, static_cast<Colour>(valueToInt(value)));
        break;
    case UnitType::TreeBox:
        if (property == prop::treeTextColour || property == prop::treeBackColour) {
            (property == prop::treeTextColour ? u.textColour : u.backColour) =
                static_cast<Colour>(valueToInt(value));
            backend_.setColours(window, unit, u.textColour, u.backColour);
        } else if (property == prop::selectedItem) {
            selectTreeItem({window, unit}, valueToInt(value), selectionCause::other);
        } else if (property == prop::allItems) {
            writeItemsBlob(window, unit, *u.tree, valueToBytes(value));
        }
        break;
    default:
        break;
    }
}

// ---- tree items ----

void FormLayer::writeItemsBlob(WindowId window, UnitId unit, TreeModel& model, const ByteSet& blob) {
    const ParsedItems parsed = parseItemsBlob(blob.data(), blob.size());
    rebuildItems(model, parsed.records);
    backend_.treeClear(window, unit);
    // The key of the last item appended at each level is the parent of the next deeper one.
    std::vector<ItemKey> lastAtLevel;
    for (const TreeItem& item : model.items()) {
        lastAtLevel.resize(static_cast<std::size_t>(item.level));
        const ItemKey parent = item.level > 1 ? lastAtLevel[item.level - 2] : 0;
        backend_.treeAppend(window, unit, item, parent);
        lastAtLevel[item.level - 1] = item.key;
    }
    for (const TreeItem& item : model.items())
        if (item.expanded) backend_.treeSetExpanded(window, unit, item.key, true);
}

TreeModel& FormLayer::tree(const TreeBoxRef& ref) {
    WindowState& w = requireWindow(ref.window);
    UnitState& u = requireControl(w, ref.unit);
    if (!u.tree) raiseFatalError(controlNotLoadedMessage());
    return *u.tree;
}

TreeModel* FormLayer::liveTree(WindowId window, UnitId unit) {
    WindowState* w = findWindow(window);
    if (!w) return nullptr;
    const auto it = w->units.find(unit);
    if (it == w->units.end() || !it->second.created) return nullptr;
    return it->second.tree.get();
}

int FormLayer::appendTreeItem(const TreeBoxRef& ref, int parent, TreeItem item) {
    TreeModel& model = tree(ref);
    item.text = itemText(item.text);
    const ItemKey parentKey = model.valid(parent) ? model.at(parent)->key : 0;
    const int index = model.append(parent, std::move(item));
    backend_.treeAppend(ref.window, ref.unit, *model.at(index), parentKey);
    return index;
}

void FormLayer::updateTreeItem(const TreeBoxRef& ref, int index) {
    TreeModel& model = tree(ref);
    TreeItem* item = model.at(index);
    if (!item) return;
    item->text = itemText(item->text);
    backend_.treeUpdate(ref.window, ref.unit, *item);
}

bool FormLayer::deleteTreeItem(const TreeBoxRef& ref, int index) {
    TreeModel& model = tree(ref);
    if (!model.valid(index)) return false;
    const int end = model.subtreeEnd(index);
    const int selected = model.selectedIndex();
    const bool selectionGoes = selected >= index && selected < end;
    // A tree view whose selected item goes selects, in this order, the next sibling, the parent,
    // the previous sibling of the removed item.
    ItemKey next = 0;
    if (selectionGoes) {
        const int level = model.at(index)->level;
        if (end < model.count() && model.at(end)->level == level) {
            next = model.at(end)->key;
        } else if (level > 1) {
            next = model.at(model.parentOf(index))->key;
        } else {
            for (int i = index - 1; i >= 0; --i) {
                if (model.at(i)->level == level) {
                    next = model.at(i)->key;
                    break;
                }
            }
        }
    }
    const ItemKey key = model.at(index)->key;
    model.erase(index);
    backend_.treeDelete(ref.window, ref.unit, key);
    if (selectionGoes && next) {
        model.selected = next;
        backend_.treeSelect(ref.window, ref.unit, next);
        raise(ref.window, ref.unit, event::selectionChanged, {selectionCause::other});
    }
    return true;
}

bool FormLayer::expandTreeItem(const TreeBoxRef& ref, int index) {
    TreeModel& model = tree(ref);
    TreeItem* item = model.at(index);
    if (!item) return false;
    item->expanded = true;
    backend_.treeSetExpanded(ref.window, ref.unit, item->key, true);
    return true;
}

void FormLayer::selectTreeItem(const TreeBoxRef& ref, int index, int cause) {
    TreeModel& model = tree(ref);
    const ItemKey key = model.valid(index) ? model.at(index)->key : 0;
    if (key == model.selected) return;
    model.selected = key;
    backend_.treeSelect(ref.window, ref.unit, key);
    raise(ref.window, ref.unit, event::selectionChanged, {cause});
}

void FormLayer::editTreeItem(const TreeBoxRef& ref, int index) {
    TreeModel& model = tree(ref);
    if (const TreeItem* item = model.at(index)) backend_.treeEditLabel(ref.window, ref.unit, item->key);
}

void FormLayer::onTreeSelectionChanged(WindowId window, UnitId unit, ItemKey key, int cause) {
    TreeModel* model = liveTree(window, unit);
    if (!model) return;
    if (key && model->indexOf(key) < 0) key = 0;
    if (key == model->selected) return;
    model->selected = key;
    raise(window, unit, event::selectionChanged, {cause});
}

bool FormLayer::onTreeBeginEdit(WindowId window, UnitId unit, ItemKey key) {
    TreeModel* model = liveTree(window, unit);
    if (!model) return false;
    const int index = model->indexOf(key);
    if (index < 0) return false;
    return raise(window, unit, event::beginLabelEdit, {index});
}

bool FormLayer::onTreeEndEdit(WindowId window, UnitId unit, ItemKey key, const std::optional<Text>& text) {
    TreeModel* model = liveTree(window, unit);
    if (!model) return false;
    // An edit whose item went meanwhile still ends, with index -1, so that a handler waiting for
    // the end sees it.
    const bool accepted = raise(window, unit, event::endLabelEdit, {model->indexOf(key)});
    if (!accepted || !text) return false;
    model = liveTree(window, unit);
    if (!model) return false;
    TreeItem* item = model->at(model->indexOf(key));
    if (!item) return false;
    item->text = itemText(*text);
    return true;
}

void FormLayer::onTreeExpandedChanged(WindowId window, UnitId unit, ItemKey key, bool expanded) {
    TreeModel* model = liveTree(window, unit);
    if (!model) return;
    if (TreeItem* item = model->at(model->indexOf(key))) item->expanded = expanded;
}

void FormLayer::onTreeRightClick(WindowId window, UnitId unit, ItemKey key) {
    TreeModel* model = liveTree(window, unit);
    if (!model || key == 0 || model->indexOf(key) < 0) return;
    // The item under the cursor is selected first, so that the right-click handler finds it.
    if (model->selected != key) {
        model->selected = key;
        backend_.treeSelect(window, unit, key);
        raise(window, unit, event::selectionChanged, {selectionCause::mouse});
    }
    raise(window, unit, event::itemRightClick);
}

} // namespace glyvora
