#pragma once
// The fatal runtime error: a box titled "错误" with the error icon and no owner, then the end of the
// program with exit code -1. The box is shown by whoever has installed a reporter (the form layer
// does); until then the text goes to standard error.

#include "platform/types.h"

#include <functional>
#include <optional>

namespace glyvora {

// The box's text: "运行时出错!", two line breaks, then (when there is a number) "错误代码：", the
// number and two line breaks, then "错误信息：", the message and a line break.
Text fatalErrorText(const Text& message, std::optional<int> code = std::nullopt);

// Shows (title, text) to the user and returns once the user has closed it.
using FatalReporter = std::function<void(const Text& title, const Text& text)>;

// Installs a reporter and returns the previous one.
FatalReporter setFatalReporter(FatalReporter reporter);

[[noreturn]] void raiseFatalError(const Text& message, std::optional<int> code = std::nullopt);

} // namespace glyvora
