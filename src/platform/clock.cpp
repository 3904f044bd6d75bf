#include "platform/clock.h"

namespace glyvora {

Clock& clock() {
    if (Clock* replaced = ScopedClock::replacement()) return *replaced;
    return systemClock();
}

} // namespace glyvora
