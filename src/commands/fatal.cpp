#include "commands/fatal.h"

#include <cstdio>
#include <cstdlib>

namespace glyvora {

namespace {

void reportToStandardError(const Text& title, const Text& text) {
    std::fprintf(stderr, "%s\n%s", title.c_str(), text.c_str());
    std::fflush(stderr);
}

FatalReporter& currentReporter() {
    static FatalReporter reporter = reportToStandardError;
    return reporter;
}

} // namespace

Text fatalErrorText(const Text& message, std::optional<int> code) {
    Text text = "运行时出错!\r\n\r\n";
    if (code) text += "错误代码：" + std::to_string(*code) + "\r\n\r\n";
    text += "错误信息：" + message + "\r\n";
    return text;
}

FatalReporter setFatalReporter(FatalReporter reporter) {
    FatalReporter previous = std::move(currentReporter());
    currentReporter() = reporter ? std::move(reporter) : FatalReporter(reportToStandardError);
    return previous;
}

void raiseFatalError(const Text& message, std::optional<int> code) {
    // A reporter that fails in turn (a message box that cannot be shown raising a fatal error of
    // its own) ends the program at once instead of reporting again and again.
    static bool reporting = false;
    if (!reporting) {
        reporting = true;
        currentReporter()("错误", fatalErrorText(message, code));
    }
    std::exit(-1);
}

} // namespace glyvora
