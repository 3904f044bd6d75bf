// The form-layer suite on the Win32 backend, in the Windows test executable under Wine.
#include "forms/forms_suite.h"
#include "win32_kit.h"
