#pragma once
// The tick counter and sleeping. Tests that wait deterministically put a controllable clock in
// front of the system one (ScopedClock).

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

class ScopedClock {
public:
    explicit ScopedClock(Clock& replacement);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* previous_;
};

} // namespace glyvora
