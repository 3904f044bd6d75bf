// The application's scenarios on the Win32 backend, in the Windows test executable under Wine.
#include "app_suite.h"
#include "forms/win32/win32_kit.h"

namespace glyvora::testing {

INSTANTIATE_TEST_SUITE_P(Win32, AppSuite, ::testing::Values(&win32Kit()),
                         [](const auto& info) { return std::string(info.param->name); });

} // namespace glyvora::testing
