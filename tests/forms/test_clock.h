#pragma once
// A clock the test controls: sleeping advances it at once, and stops early at the first scheduled
// action, which it runs (a wait woken by the user's input).

#include "platform/clock.h"

#include <cstdint>
#include <functional>
#include <map>

namespace glyvora::testing {

class TestClock final : public Clock {
public:
    std::uint32_t ticks() override { return now_; }

    void sleep(std::uint32_t milliseconds) override {
        slept_ += milliseconds;
        const std::uint64_t target = static_cast<std::uint64_t>(now_) + milliseconds;
        if (!scheduled_.empty() && scheduled_.begin()->first <= target) {
            auto first = scheduled_.begin();
            now_ = static_cast<std::uint32_t>(first->first);
            auto action = std::move(first->second);
            scheduled_.erase(first);
            action();
            return;
        }
        now_ = static_cast<std::uint32_t>(target);
    }

    // Runs `action` when the clock reaches `tick` during a sleep.
    void at(std::uint64_t tick, std::function<void()> action) { scheduled_.emplace(tick, std::move(action)); }
    void set(std::uint32_t tick) { now_ = tick; }
    std::uint64_t slept() const { return slept_; }

private:
    std::uint32_t now_ = 1000;
    std::uint64_t slept_ = 0;
    std::multimap<std::uint64_t, std::function<void()>> scheduled_;
};

} // namespace glyvora::testing
