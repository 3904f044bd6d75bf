#include "platform/clock.h"

namespace glyvora {

namespace {
Clock* currentClock = nullptr;
}

Clock& clock() {
    return currentClock ? *currentClock : systemClock();
}

ScopedClock::ScopedClock(Clock& replacement) : previous_(currentClock) {
    currentClock = &replacement;
}

ScopedClock::~ScopedClock() {
    currentClock = previous_;
}

} // namespace glyvora
