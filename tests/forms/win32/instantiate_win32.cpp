// The form-layer suite on the Win32 backend, in the Windows test executable under Wine.
#include "forms/forms_suite.h"
#include "win32_kit.h"

namespace glyvora::testing {

INSTANTIATE_TEST_SUITE_P(Win32, FormsSuite, ::testing::Values(&win32Kit()),
                         [](const auto& info) { return std::string(info.param->name); });

} // namespace glyvora::testing
