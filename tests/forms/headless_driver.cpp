// The user driver of the headless backend.
#include "forms/headless/headless_backend.h"
#include "user_driver.h"

namespace glyvora::testing {

namespace {

using headless::HeadlessBackend;

class HeadlessDriver final : public UserDriver {
public:
    explicit HeadlessDriver(HeadlessBackend& backend) : b_(backend) {}

    bool click(WindowId w, UnitId u) override { return b_.click(w, u); }
    bool doubleClick(WindowId w, UnitId u) override { return b_.doubleClick(w, u); }
    bool mouse(WindowId w, UnitId u, int event, int x, int y, int keys) override {
        return b_.mouse(w, u, event, x, y, keys);
    }
    bool focus(WindowId w, UnitId u) override { return b_.focus(w, u); }
    bool wheel(WindowId w, UnitId u, int notches) override { return b_.wheel(w, u, notches); }
    bool pressKey(WindowId w, int key) override { return b_.pressKey(w, key); }
    bool type(WindowId w, UnitId u, const Text& text) override { return b_.type(w, u, text); }
    bool chooseComboItem(WindowId w, UnitId u, int index) override { return b_.chooseComboItem(w, u, index); }
    bool openColourPicker(WindowId w, UnitId u) override { return b_.openColourPicker(w, u); }
    bool selectTreeItem(WindowId w, UnitId u, int index, bool byKeyboard) override {
        return b_.selectTreeItem(w, u, index, byKeyboard);
    }
    bool rightClickTree(WindowId w, UnitId u, int index) override { return b_.rightClickTree(w, u, index); }
    bool setTreeItemExpanded(WindowId w, UnitId u, int index, bool expanded) override {
        return b_.setTreeItemExpanded(w, u, index, expanded);
    }
    bool beginTreeEdit(WindowId w, UnitId u, int index) override { return b_.beginTreeEdit(w, u, index); }
    bool endTreeEdit(WindowId w, UnitId u, const std::optional<Text>& text) override {
        return b_.endTreeEdit(w, u, text);
    }
    bool tray(WindowId w, TrayMouse mouse) override { return b_.tray(w, mouse); }
    bool closeThroughFrame(WindowId w) override { return b_.closeThroughFrame(w); }
    void minimise(WindowId w) override { b_.minimise(w); }
    void later(std::function<void()> action) override { b_.later(std::move(action)); }

    void answerMessageBox(int button) override { b_.script().answerMessageBox(button); }
    void answerInputBox(std::optional<Text> text) override { b_.script().answerInputBox(std::move(text)); }
    void answerFolderPicker(Text path) override { b_.script().answerFolderPicker(std::move(path)); }
    void answerColourChoice(std::optional<Colour> colour) override { b_.script().answerColourChoice(colour); }
    void answerPopupMenu(UnitId item) override { b_.script().answerPopupMenu(item); }

    std::vector<ShownDialog> dialogs() override { return b_.dialogs(); }
    int unansweredDialogs() override { return b_.unansweredDialogs(); }
    bool windowExists(WindowId w) override { return b_.window(w) != nullptr; }
    bool windowShown(WindowId w) override { return b_.window(w) && b_.window(w)->visible; }
    bool windowOnTop(WindowId w) override { return b_.window(w) && b_.window(w)->alwaysOnTop; }
    bool windowMinimised(WindowId w) override { return b_.window(w) && b_.window(w)->minimised; }
    Rect windowRect(WindowId w) override { return b_.window(w) ? b_.window(w)->rect : Rect{}; }
    Text shownText(WindowId w, UnitId u) override { return c(w, u) ? c(w, u)->text : Text(); }
    Rect shownRect(WindowId w, UnitId u) override { return c(w, u) ? c(w, u)->rect : Rect{}; }
    Text shownHint(WindowId w, UnitId u) override { return c(w, u) ? c(w, u)->hint : Text(); }
    std::vector<Text> shownComboItems(WindowId w, UnitId u) override {
        return c(w, u) ? c(w, u)->comboItems : std::vector<Text>();
    }
    int shownCheckState(WindowId w, UnitId u) override { return c(w, u) ? c(w, u)->checkState : -1; }
    int shownComboSelection(WindowId w, UnitId u) override { return c(w, u) ? c(w, u)->selection : -2; }
    Colour shownPickerColour(WindowId w, UnitId u) override { return c(w, u) ? c(w, u)->colour : 0; }
    ShownProgress shownProgress(WindowId w, UnitId u) override {
        if (!c(w, u)) return {};
        return {c(w, u)->minimum, c(w, u)->maximum, c(w, u)->position};
    }
    std::optional<UnitFont> shownFont(WindowId w, UnitId u) override {
        return c(w, u) ? c(w, u)->font : std::nullopt;
    }
    Text shownFontFile(WindowId w, UnitId u) override { return c(w, u) ? c(w, u)->fontFile : Text(); }
    std::vector<ShownTreeItem> shownTree(WindowId w, UnitId u) override {
        std::vector<ShownTreeItem> items;
        if (c(w, u))
            for (const headless::ShownItem& i : c(w, u)->items)
                items.push_back({i.level, i.text, i.bold, i.expanded});
        return items;
    }
    int shownTreeSelection(WindowId w, UnitId u) override {
        if (!c(w, u)) return -1;
        const auto& items = c(w, u)->items;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].key == c(w, u)->selected) return static_cast<int>(i);
        return -1;
    }
    bool treeEditing(WindowId w, UnitId u) override { return c(w, u) && c(w, u)->editing != 0; }
    std::optional<Text> clipboardText() override { return b_.clipboard; }
    std::vector<Text> commandLinesRun() override { return b_.commandLines; }
    std::optional<TrayIconRequest> trayIcon(WindowId w) override {
        const auto it = b_.trayIcons.find(w);
        if (it == b_.trayIcons.end()) return std::nullopt;
        return it->second;
    }

private:
    const headless::Control* c(WindowId w, UnitId u) { return b_.control(w, u); }
    HeadlessBackend& b_;
};

} // namespace

const BackendKit& headlessKit() {
    static const BackendKit kit{
        "Headless",
        [] { return std::unique_ptr<Backend>(std::make_unique<HeadlessBackend>()); },
        [](Backend& backend) {
            return std::unique_ptr<UserDriver>(
                std::make_unique<HeadlessDriver>(static_cast<HeadlessBackend&>(backend)));
        },
    };
    return kit;
}

} // namespace glyvora::testing
