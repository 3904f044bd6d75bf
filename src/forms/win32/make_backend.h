#pragma once
// The Win32 backend behind the portable backend interface, for code that must not see a Windows
// header (the program's entry point).

#include "forms/backend.h"

#include <memory>

namespace glyvora::win32 {

// Initialises COM and the common controls once, and registers the window classes.
std::unique_ptr<Backend> makeBackend();

} // namespace glyvora::win32
