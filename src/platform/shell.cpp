#include "platform/shell.h"

namespace glyvora {

Shell& shell() {
    if (Shell* replaced = ScopedShell::replacement()) return *replaced;
    return systemShell();
}

} // namespace glyvora
