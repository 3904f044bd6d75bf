// The form-layer suite on the headless backend (natively, and in the Windows test executable).
#include "forms_suite.h"

namespace glyvora::testing {

INSTANTIATE_TEST_SUITE_P(Headless, FormsSuite, ::testing::Values(&headlessKit()),
                         [](const auto& info) { return std::string(info.param->name); });

} // namespace glyvora::testing
