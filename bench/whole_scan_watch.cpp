#include "whole_scan_watch.h"

#include <algorithm>
#include <utility>

namespace glyvora::bench {

namespace {

// Every call goes on to the real backend; the two that look at the message queue are noted.
class TurnGapBackend final : public Backend {
public:
    TurnGapBackend(std::unique_ptr<Backend> inner, std::function<double()> clock)
        : inner_(std::move(inner)), clock_(std::move(clock)), lastLook_(clock_()) {}

    // A look at the queue ends the stretch before it.
    void look() {
        const double t = clock_();
        longest_ = std::max(longest_, t - lastLook_);
        lastLook_ = t;
    }

    double takeLongest() {
        look();
        return std::exchange(longest_, 0.0);
    }

    void restart() {
        lastLook_ = clock_();
        longest_ = 0;
    }

    void processPending() override {
        look();
        inner_->processPending();
        look();
    }
    bool waitForMessages(std::optional<std::uint32_t> timeoutMs) override {
        look();
        const bool more = inner_->waitForMessages(timeoutMs);
        // The wait answered whatever came at once: no stretch runs through it.
        lastLook_ = clock_();
        return more;
    }

    void attach(BackendSink* sink) override { inner_->attach(sink); }
    ScreenInfo screen() override { return inner_->screen(); }
    UnitFont defaultGuiFont() override { return inner_->defaultGuiFont(); }
    bool createWindow(const WindowTemplate& window, const Rect& outer,
                      std::optional<WindowId> owner) override {
        return inner_->createWindow(window, outer, owner);
    }
    bool createControl(WindowId window, const UnitTemplate& unit) override {
        return inner_->createControl(window, unit);
    }
    void showWindow(WindowId window) override { inner_->showWindow(window); }
    void destroyWindow(WindowId window) override { inner_->destroyWindow(window); }
    void activateWindow(WindowId window) override { inner_->activateWindow(window); }
    void setAlwaysOnTop(WindowId window, bool onTop) override { inner_->setAlwaysOnTop(window, onTop); }
    Rect rect(WindowId window, UnitId unit) override { return inner_->rect(window, unit); }
    void setRect(WindowId window, UnitId unit, const Rect& rect) override {
        inner_->setRect(window, unit, rect);
    }
    void setVisible(WindowId window, UnitId unit, bool visible) override {
        inner_->setVisible(window, unit, visible);
    }
    void setDisabled(WindowId window, UnitId unit, bool disabled) override {
        inner_->setDisabled(window, unit, disabled);
    }
    Text text(WindowId window, UnitId unit) override { return inner_->text(window, unit); }
    void setText(WindowId window, UnitId unit, const Text& text) override {
        inner_->setText(window, unit, text);
    }
    void setFont(WindowId window, UnitId unit, const UnitFont& font) override {
        inner_->setFont(window, unit, font);
    }
    void setFontFile(WindowId window, UnitId unit, const Text& path) override {
        inner_->setFontFile(window, unit, path);
    }
    void setFontFileSource(FontFileSource* source) override { inner_->setFontFileSource(source); }
    void setColours(WindowId window, UnitId unit, std::optional<Colour> text,
                    std::optional<Colour> back) override {
        inner_->setColours(window, unit, text, back);
    }
    int checkState(WindowId window, UnitId unit) override { return inner_->checkState(window, unit); }
    void setCheckState(WindowId window, UnitId unit, int state) override {
        inner_->setCheckState(window, unit, state);
    }
    int comboSelection(WindowId window, UnitId unit) override { return inner_->comboSelection(window, unit); }
    void setComboSelection(WindowId window, UnitId unit, int index) override {
        inner_->setComboSelection(window, unit, index);
    }
    void setProgress(WindowId window, UnitId unit, int minimum, int maximum, int position) override {
        inner_->setProgress(window, unit, minimum, maximum, position);
    }
    Colour pickerColour(WindowId window, UnitId unit) override { return inner_->pickerColour(window, unit); }
    void setPickerColour(WindowId window, UnitId unit, Colour colour) override {
        inner_->setPickerColour(window, unit, colour);
    }
    void setHint(WindowId window, UnitId unit, const Text& hint) override {
        inner_->setHint(window, unit, hint);
    }
    void treeClear(WindowId window, UnitId unit) override { inner_->treeClear(window, unit); }
    void treeAppend(WindowId window, UnitId unit, const TreeItem& item, ItemKey parent) override {
        inner_->treeAppend(window, unit, item, parent);
    }
    void treeUpdate(WindowId window, UnitId unit, const TreeItem& item) override {
        inner_->treeUpdate(window, unit, item);
    }
    void treeDelete(WindowId window, UnitId unit, ItemKey key) override {
        inner_->treeDelete(window, unit, key);
    }
    void treeSetExpanded(WindowId window, UnitId unit, ItemKey key, bool expanded) override {
        inner_->treeSetExpanded(window, unit, key, expanded);
    }
    void treeSelect(WindowId window, UnitId unit, ItemKey key) override {
        inner_->treeSelect(window, unit, key);
    }
    void treeEditLabel(WindowId window, UnitId unit, ItemKey key) override {
        inner_->treeEditLabel(window, unit, key);
    }
    int messageBox(const MessageBoxRequest& request) override { return inner_->messageBox(request); }
    std::optional<Text> inputBox(const InputBoxRequest& request) override {
        return inner_->inputBox(request);
    }
    Text browseForFolder(const FolderPickerRequest& request) override {
        return inner_->browseForFolder(request);
    }
    std::optional<Colour> chooseColour(const ColourChoiceRequest& request) override {
        return inner_->chooseColour(request);
    }
    unsigned trackPopupMenu(const PopupMenuRequest& request) override {
        return inner_->trackPopupMenu(request);
    }
    void setTrayIcon(WindowId window, const std::optional<TrayIconRequest>& icon) override {
        inner_->setTrayIcon(window, icon);
    }
    bool setClipboardText(const Text& text) override { return inner_->setClipboardText(text); }
    bool runCommandLine(const Text& commandLine, int showCommand) override {
        return inner_->runCommandLine(commandLine, showCommand);
    }
    void post(WindowId window, const PostedMessage& message) override { inner_->post(window, message); }

private:
    std::unique_ptr<Backend> inner_;
    std::function<double()> clock_;
    double lastLook_ = 0;
    double longest_ = 0;
};

class TurnGapWatch final : public UnansweredWatch {
public:
    TurnGapWatch(std::unique_ptr<Backend> backend, std::function<double()> clock)
        : backend_(std::move(backend), std::move(clock)) {}

    Backend& backend() override { return backend_; }
    void start(WindowId) override { backend_.restart(); }
    double takeLongest() override { return backend_.takeLongest(); }
    void stop() override {}
    const char* method() const override { return "longest gap between looks at the message queue"; }

private:
    TurnGapBackend backend_;
};

} // namespace

std::unique_ptr<UnansweredWatch> makeTurnGapWatch(std::unique_ptr<Backend> backend,
                                                  std::function<double()> clock) {
    return std::make_unique<TurnGapWatch>(std::move(backend), std::move(clock));
}

} // namespace glyvora::bench

#ifndef _WIN32
#include "whole_scan_timing.h"

namespace glyvora::bench {

std::unique_ptr<UnansweredWatch> makeUnansweredWatch(std::unique_ptr<Backend> backend) {
    return makeTurnGapWatch(std::move(backend), now);
}

} // namespace glyvora::bench
#endif
