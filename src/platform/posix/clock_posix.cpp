#include "platform/clock.h"

#include <ctime>

namespace glyvora {

namespace {

class PosixClock final : public Clock {
public:
    std::uint32_t ticks() override {
        timespec ts{};
        ::clock_gettime(CLOCK_MONOTONIC, &ts);
        const auto ms =
            static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
        return static_cast<std::uint32_t>(ms);
    }

    void sleep(std::uint32_t milliseconds) override {
        timespec ts{static_cast<time_t>(milliseconds / 1000),
                    static_cast<long>(milliseconds % 1000) * 1000000L};
        while (::nanosleep(&ts, &ts) != 0) {
        }
    }
};

} // namespace

Clock& systemClock() {
    static PosixClock instance;
    return instance;
}

} // namespace glyvora
