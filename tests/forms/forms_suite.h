#pragma once
// The form-layer suite: tests written against the user driver, instantiated with every backend
// (headless everywhere; Win32 as well in the Windows test executable once it exists).

#include "app/windows/window_templates.h"
#include "forms/commands.h"
#include "forms/form_layer.h"
#include "test_clock.h"
#include "user_driver.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace glyvora::testing {

// One event as a handler saw it.
struct Seen {
    UnitId unit = 0;
    int event = 0;
    std::vector<int> args;
    friend bool operator==(const Seen&, const Seen&) = default;
};

class FormsSuite : public ::testing::TestWithParam<const BackendKit*> {
protected:
    void SetUp() override {
        scopedClock = std::make_unique<ScopedClock>(clock);
        backend = GetParam()->makeBackend();
        FormLayerOptions options;
        options.endProgram = [this] { ++programEnds; };
        layer = std::make_unique<FormLayer>(*backend, options);
        registerWindowTemplates(*layer);
        user = GetParam()->makeDriver(*backend);
    }

    void TearDown() override {
        EXPECT_EQ(user->unansweredDialogs(), 0) << "a dialog was shown that the test did not answer";
        user.reset();
        layer.reset();
        backend.reset();
        scopedClock.reset();
    }

    // A handler that records the event and returns `result`.
    Binding record(UnitId unit, int event, HandlerResult result = std::nullopt) {
        return Binding{unit, event, [this, result](const Event& e) {
                           seen.push_back({e.unit, e.number,
                                           std::vector<int>(e.args.begin(), e.args.begin() + e.argCount)});
                           return result;
                       }};
    }

    // Opens the main window with the given bindings (plus whatever `extra` adds).
    void openMain(Bindings bindings = {}) {
        layer->bindEvents(mainwin::window, std::move(bindings));
        ASSERT_TRUE(LoadWindow(mainwin::ref));
    }

    // Schedules a user action for the moment the clock reaches `tick` in a wait.
    void atTick(std::uint64_t tick, std::function<void()> action) {
        clock.at(tick, [this, action = std::move(action)] { user->later(action); });
    }

    // The tree used by the tree cases: 分类A (bold) > 子分类 (bold) > 文件夹1; 分类A > 文件夹2;
    // 分类B (bold).
    void buildCategories(Bindings bindings = {}) {
        openMain(std::move(bindings));
        const TreeBoxRef tree = mainwin::tree;
        AddItem(tree, Value(), "分类A", Value(), Value(), Value(), Value(1));
        AddItem(tree, Value(0), "子分类", Value(), Value(), Value(), Value(1));
        AddItem(tree, Value(1), "文件夹1");
        AddItem(tree, Value(0), "文件夹2");
        AddItem(tree, Value(), "分类B", Value(), Value(), Value(), Value(1));
    }

    int eventsOf(UnitId unit, int event) const {
        int n = 0;
        for (const Seen& s : seen)
            if (s.unit == unit && s.event == event) ++n;
        return n;
    }

    TestClock clock;
    std::unique_ptr<ScopedClock> scopedClock;
    std::unique_ptr<Backend> backend;
    std::unique_ptr<FormLayer> layer;
    std::unique_ptr<UserDriver> user;
    std::vector<Seen> seen;
    int programEnds = 0;
};

} // namespace glyvora::testing
