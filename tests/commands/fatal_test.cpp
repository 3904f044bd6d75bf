// The fatal runtime error: its text, the reporter that shows it, and the end of the process.
#include "commands/fatal.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace glyvora {
namespace {

// exit(-1) as the parent sees it: the full 32-bit code on Windows, its low byte on POSIX.
#ifdef _WIN32
constexpr int kFatalExitCode = -1;
#else
constexpr int kFatalExitCode = 255;
#endif

TEST(FatalError, textWithAndWithoutAnErrorCode) {
    EXPECT_EQ(fatalErrorText("字段号越界", 5), "运行时出错!\r\n\r\n"
                                               "错误代码：5\r\n\r\n"
                                               "错误信息：字段号越界\r\n");
    EXPECT_EQ(fatalErrorText("条件不是逻辑值"), "运行时出错!\r\n\r\n错误信息：条件不是逻辑值\r\n");
    EXPECT_EQ(fatalErrorText("", -3), "运行时出错!\r\n\r\n错误代码：-3\r\n\r\n错误信息：\r\n");
}

TEST(FatalError, theTextIsGbk) {
    // 运 行 时 出 错 ! CR LF CR LF 错 误 信 息 ： CR LF
    const Text expected = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
                          "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA\r\n";
    EXPECT_EQ(fatalErrorText(""), expected);
}

// The reporter a death test installs: says on standard error whether it saw the right box.
void checkingReporter(const Text& title, const Text& text) {
    const bool right = title == "错误" && text == fatalErrorText("bad field", 7);
    std::fprintf(stderr, right ? "reported the box\n" : "reported something else\n");
    std::fflush(stderr);
}

TEST(FatalErrorDeathTest, showsTheBoxThroughTheReporterAndExitsWithMinusOne) {
    EXPECT_EXIT(
        {
            setFatalReporter(checkingReporter);
            raiseFatalError("bad field", 7);
        },
        ::testing::ExitedWithCode(kFatalExitCode), "reported the box");
}

TEST(FatalErrorDeathTest, withoutAReporterTheTextGoesToStandardError) {
    // The simple regular expressions of the Windows build match within one line only.
    EXPECT_EXIT(raiseFatalError("record 12 out of range", 42), ::testing::ExitedWithCode(kFatalExitCode),
                "record 12 out of range");
}

TEST(FatalErrorDeathTest, aReporterThatFailsInTurnStillEndsTheProgram) {
    EXPECT_EXIT(
        {
            setFatalReporter([](const Text&, const Text&) {
                std::fprintf(stderr, "reporting\n");
                raiseFatalError("the box could not be shown");
            });
            raiseFatalError("first");
        },
        ::testing::ExitedWithCode(kFatalExitCode), "reporting");
}

} // namespace
} // namespace glyvora
