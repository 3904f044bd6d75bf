// The application's scenarios on the headless backend.
#include "app_suite.h"

namespace glyvora::testing {

INSTANTIATE_TEST_SUITE_P(Headless, AppSuite, ::testing::Values(&headlessKit()),
                         [](const auto& info) { return std::string(info.param->name); });

} // namespace glyvora::testing
