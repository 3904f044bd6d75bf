#include "platform/clock.h"

#include <windows.h>

namespace glyvora {

namespace {

class Win32Clock final : public Clock {
public:
    std::uint32_t ticks() override { return GetTickCount(); }
    void sleep(std::uint32_t milliseconds) override { Sleep(milliseconds); }
};

} // namespace

Clock& systemClock() {
    static Win32Clock instance;
    return instance;
}

} // namespace glyvora
