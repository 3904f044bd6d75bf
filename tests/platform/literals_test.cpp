#include <gtest/gtest.h>
#include <string>

// Narrow literals are compiled to GBK in both builds, so the files the program writes are the same
// bytes on Linux and on Windows.
TEST(Literals, narrowLiteralsAreGbk) {
    const std::string name = "集名称";
    EXPECT_EQ(name, std::string("\xBC\xAF\xC3\xFB\xB3\xC6"));
}
