#pragma once
// The form layer: live windows made from their templates, the units on them, properties by
// (window id, unit id, property index, sub-field), events delivered to the handlers whoever
// created the window bound, and the message loop. The application talks to the user interface
// only through this layer (and the commands of forms/commands.h built on it).
//
// One thread runs everything. Handlers run to completion, except that a handler which calls
// processEvents or delay lets other events run inside it; the layer therefore looks its windows up
// again after every handler it calls.

#include "commands/fatal.h"
#include "commands/value.h"
#include "forms/backend.h"
#include "forms/ids.h"
#include "forms/menu.h"
#include "forms/templates.h"
#include "forms/tree_model.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

namespace glyvora {

// An event: where it happened, its number and up to five integer arguments.
struct Event {
    WindowId window = 0;
    UnitId unit = 0;
    int number = 0;
    std::array<int, 5> args{};
    int argCount = 0;
    int arg(int i) const { return i >= 0 && i < argCount ? args[i] : 0; }
};

// A handler may return a bool; a returned false vetoes the events that allow it. Nothing (an
// empty optional) never vetoes.
using HandlerResult = std::optional<bool>;
using Handler = std::function<HandlerResult(const Event&)>;

struct Binding {
    UnitId unit = 0;
    int event = 0;
    Handler handler;
};
using Bindings = std::vector<Binding>;

// Binds a callable taking () or (const Event&) and returning void, bool or std::optional<bool>.
template <typename F>
Binding on(UnitId unit, int event, F f) {
    return Binding{unit, event, [f = std::move(f)](const Event& e) -> HandlerResult {
                       auto call = [&]() -> decltype(auto) {
                           if constexpr (std::is_invocable_v<F&, const Event&>)
                               return f(e);
                           else
                               return f();
                       };
                       using R = decltype(call());
                       if constexpr (std::is_void_v<R>) {
                           call();
                           return std::nullopt;
                       } else {
                           return HandlerResult(call());
                       }
                   }};
}

struct FormLayerOptions {
    // Called when the last window closes while a handler is still running (the user closed the
    // main window through its frame during a wait): the program ends at once. Without one the
    // process exits with code 0.
    std::function<void()> endProgram;
};

class FormLayer : private BackendSink {
public:
    // Attaches to the backend, installs the fatal-error box and becomes the current layer.
    explicit FormLayer(Backend& backend, FormLayerOptions options = {});
    ~FormLayer() override;
    FormLayer(const FormLayer&) = delete;
    FormLayer& operator=(const FormLayer&) = delete;

    // The layer the commands act on.
    static FormLayer& current();
    static bool exists();

    Backend& backend() { return backend_; }

    // A window this layer can load. The template is kept by address, so it outlives the layer; a
    // later template of the same window id replaces the earlier one.
    void registerTemplate(const WindowTemplate& design);
    // The handlers of a window's units, used by every later loadWindow of it.
    void bindEvents(WindowId window, Bindings bindings);

    // Creates the window from its registered template, owned by `owner` when that one is open,
    // raises its created event and shows it. An open window is not created twice: it is activated
    // (restored when minimised); one that is closing is destroyed at once and created anew. False
    // when no template was registered for it or the window cannot be created.
    bool loadWindow(WindowId window, std::optional<WindowId> owner = std::nullopt);
    // Posts the close: the window closes when the message loop reaches it.
    void closeWindow(WindowId window);
    bool isOpen(WindowId window) const { return windows_.count(window) != 0; }
    int openWindowCount() const { return static_cast<int>(windows_.size()); }
    // True once the last window has closed.
    bool ended() const { return ended_; }

    // The message loop: runs until the last window has closed (or the backend has nothing more).
    void run();
    void processEvents();
    void delay(int milliseconds);

    // Properties. A unit of a window that is not open is a fatal error; so is a type's own
    // property of a unit whose control does not exist. Indexes a type does not have read as an
    // omitted value and ignore writes.
    Value readProperty(WindowId window, UnitId unit, int property, int subField = -1);
    void writeProperty(WindowId window, UnitId unit, int property, int subField, const Value& value);
    void writeProperty(WindowId window, UnitId unit, int property, const Value& value) {
        writeProperty(window, unit, property, -1, value);
    }

    // Raises an event on a unit of an open window; false when a handler vetoed it.
    bool raise(WindowId window, UnitId unit, int event, std::initializer_list<int> args = {});

    // Popup menu of `menu`'s items at the mouse; the chosen item's click is posted.
    void popupMenu(WindowId window, UnitId menu);
    // The hint text a unit's control shows under the mouse; empty: none. Kept with the unit and
    // given to its control whenever the control exists. A unit of a window that is not open is a
    // fatal error, as with a property.
    void setUnitHint(WindowId window, UnitId unit, const Text& hint);
    // The window's tray icon; an icon that is not usable removes it.
    void setTrayIcon(WindowId window, const ByteSet& icon, const Text& tip);

    // TreeBox items, for the tree methods. tree() stops the program with the fatal message when
    // the window is not open or the unit is no TreeBox with a control.
    TreeModel& tree(const TreeBoxRef& ref);
    int appendTreeItem(const TreeBoxRef& ref, int parent, TreeItem item);
    void updateTreeItem(const TreeBoxRef& ref, int index);
    bool deleteTreeItem(const TreeBoxRef& ref, int index);
    bool expandTreeItem(const TreeBoxRef& ref, int index);
    // Selects the item (none for an index that names no item); raises event 0 when the selection
    // changed.
    void selectTreeItem(const TreeBoxRef& ref, int index, int cause);
    void editTreeItem(const TreeBoxRef& ref, int index);

    // The fatal error's box: title "错误", error icon, no owner.
    void showFatalErrorBox(const Text& title, const Text& text);

private:
    struct UnitState {
        const UnitTemplate* design = nullptr;
        bool created = false;
        Rect rect;
        Text tag;
        bool visible = true;
        bool disabled = false;
        ByteSet mousePointer;
        Text caption;
        Text hint;
        std::optional<UnitFont> font;
        Text fontFile;
        std::optional<Colour> textColour, backColour;
        int minimum = 0, maximum = 0, position = 0;
        MenuItemState menu;
        std::unique_ptr<TreeModel> tree;
    };
    struct WindowState {
        const WindowTemplate* design = nullptr;
        std::uint32_t instance = 0;
        std::optional<WindowId> owner;
        bool closing = false;
        bool shown = false;
        bool alwaysOnTop = false;
        bool trayIcon = false;
        int wheelDelta = 0; // a fine wheel's turn short of a whole notch
        std::map<UnitId, UnitState> units;
    };

    WindowState* findWindow(WindowId window);
    WindowState& requireWindow(WindowId window);
    UnitState& requireUnit(WindowState& window, UnitId unit);
    UnitState& requireControl(WindowState& window, UnitId unit);
    void destroyWindowNow(WindowId window, bool replacing);

    Value readCommon(WindowState& w, UnitState& u, int property);
    void writeCommon(WindowState& w, UnitState& u, int property, const Value& value);
    Value readTyped(WindowState& w, UnitState& u, int property, int subField);
    void writeTyped(WindowState& w, UnitState& u, int property, int subField, const Value& value);
    void writeItemsBlob(WindowId window, UnitId unit, TreeModel& model, const ByteSet& blob);

    // BackendSink
    bool onMouse(WindowId window, UnitId unit, int event, int x, int y, int keys) override;
    void onFocus(WindowId window, UnitId unit, bool gained) override;
    void onWheel(WindowId window, UnitId unit, int delta) override;
    bool onNavigationKey(WindowId window, UnitId unit, int key) override;
    void onClicked(WindowId window, UnitId unit) override;
    void onEditChanged(WindowId window, UnitId unit) override;
    void onComboChosen(WindowId window, UnitId unit) override;
    void onColourPickerOpened(WindowId window, UnitId unit) override;
    void onTray(WindowId window, TrayMouse mouse) override;
    void onCloseRequest(WindowId window) override;
    void onPosted(WindowId window, const PostedMessage& message) override;
    void onMenuCommand(WindowId window, unsigned command) override;
    void onTreeSelectionChanged(WindowId window, UnitId unit, ItemKey key, int cause) override;
    bool onTreeBeginEdit(WindowId window, UnitId unit, ItemKey key) override;
    bool onTreeEndEdit(WindowId window, UnitId unit, ItemKey key, const std::optional<Text>& text) override;
    void onTreeExpandedChanged(WindowId window, UnitId unit, ItemKey key, bool expanded) override;
    void onTreeRightClick(WindowId window, UnitId unit, ItemKey key) override;

    TreeModel* liveTree(WindowId window, UnitId unit);

    Backend& backend_;
    FormLayerOptions options_;
    std::map<WindowId, const WindowTemplate*> templates_;
    std::map<WindowId, Bindings> bindings_;
    std::map<WindowId, WindowState> windows_;
    std::uint32_t lastInstance_ = 0;
    int handlerDepth_ = 0;
    bool ended_ = false;
    FatalReporter previousReporter_;
    FormLayer* previousLayer_ = nullptr;
};

// The fatal messages of the unit model.
Text windowNotLoadedMessage();  // "未载入欲访问窗口组件所在的窗口"
Text controlNotLoadedMessage(); // "指定窗口尚未载入"

} // namespace glyvora
