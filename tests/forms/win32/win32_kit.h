#pragma once
// The Win32 backend and its user driver, as the form-layer suite is instantiated with them.

#include "forms/user_driver.h"

namespace glyvora::testing {

const BackendKit& win32Kit();

} // namespace glyvora::testing
