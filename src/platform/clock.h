#pragma once
// The tick counter and sleeping. Tests that wait deterministically put a controllable clock in
// front of the system one (ScopedClock).

#include "platform/scoped_service.h"

#include <cstdint>

namespace glyvora {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since some fixed point, wrapping at 2^32 like the system tick count.
    virtual std::uint32_t ticks() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;
};

Clock& systemClock();
Clock& clock();

using ScopedClock = ScopedService<Clock>;

} // namespace glyvora
