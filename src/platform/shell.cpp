#include "platform/shell.h"

namespace glyvora {

namespace {
Shell* currentShell = nullptr;
}

Shell& shell() {
    return currentShell ? *currentShell : systemShell();
}

ScopedShell::ScopedShell(Shell& replacement) : previous_(currentShell) {
    currentShell = &replacement;
}

ScopedShell::~ScopedShell() {
    currentShell = previous_;
}

} // namespace glyvora
