// The user driver of the Win32 backend.
#include "win32_kit.h"

namespace glyvora::testing {

const BackendKit& win32Kit() {
    static const BackendKit kit{"Win32", [] { return std::unique_ptr<Backend>(); },
                                [](Backend&) { return std::unique_ptr<UserDriver>(); }};
    return kit;
}

} // namespace glyvora::testing
