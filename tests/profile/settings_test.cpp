// The settings-file commands over the profile calls, in both builds.
#include "commands/settings.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace glyvora {
namespace {

using testing::readTestFile;
using testing::TempDir;
using testing::testFileExists;
using testing::writeTestFile;

TEST(Settings, anEmptyNameGivesAnEmptyTextWithoutReading) {
    TempDir dir;
    const Text ini = dir.file("配置文件.ini");
    EXPECT_EQ(ReadIniValue(ini, "", "key", "default"), "");
    EXPECT_EQ(ReadIniValue(ini, " \t\x01", "key", "default"), "");
    EXPECT_EQ(ReadIniValue(ini, "Glyvora", "\x1F ", "default"), "");
    EXPECT_EQ(ReadIniValue("  ", "Glyvora", "key", "default"), "");
    EXPECT_FALSE(testFileExists(ini));
    // A nameless section exists in this file, but an empty section name still reads nothing.
    writeTestFile(ini, "key=top\r\n[Glyvora]\r\nkey=1\r\n");
    EXPECT_EQ(ReadIniValue(ini, "", "key", "default"), "");
    EXPECT_EQ(readTestFile(ini), "key=top\r\n[Glyvora]\r\nkey=1\r\n");
}

TEST(Settings, leadingControlBytesAreSkipped) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "[Glyvora]\r\nkey=1\r\n");
    EXPECT_EQ(ReadIniValue(" \x01\t" + ini, "\x02Glyvora", "\x1F\x20key"), "1");
    EXPECT_TRUE(WriteIniValue("\t" + ini, "\x01Glyvora", Text("\x10other"), Text("2")));
    EXPECT_EQ(readTestFile(ini), "[Glyvora]\r\nkey=1\r\nother=2\r\n");
}

TEST(Settings, aMissingFileSectionOrKeyGivesTheDefault) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    EXPECT_EQ(ReadIniValue(ini, "Glyvora", "key", "def"), "def");
    EXPECT_EQ(ReadIniValue(ini, "Glyvora", "key"), "");
    writeTestFile(ini, "[Glyvora]\r\nkey=1\r\nempty=\r\n");
    EXPECT_EQ(ReadIniValue(ini, "Other", "key", "def"), "def");
    EXPECT_EQ(ReadIniValue(ini, "Glyvora", "missing", "def"), "def");
    EXPECT_EQ(ReadIniValue(ini, "Glyvora", "empty", "def"), "");
}

TEST(Settings, aLongValueComesBackAsItsFirst10239Bytes) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    Text value;
    for (int i = 0; i < 12000; ++i)
        value += static_cast<char>('a' + i % 26);
    EXPECT_TRUE(WriteIniValue(ini, "Glyvora", Text("字体预览的内容"), value));
    EXPECT_EQ(ReadIniValue(ini, "Glyvora", "字体预览的内容"), value.substr(0, 10239));
}

TEST(Settings, omittedValueRemovesTheKeyAndOmittedKeyTheSection) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    EXPECT_TRUE(WriteIniValue(ini, "Glyvora", Text("a"), Text("1")));
    EXPECT_TRUE(WriteIniValue(ini, "Glyvora", Text("b"), Text("2")));
    EXPECT_TRUE(WriteIniValue(ini, "Other", Text("c"), Text("3")));
    EXPECT_TRUE(WriteIniValue(ini, "Glyvora", Text("a")));
    EXPECT_EQ(readTestFile(ini), "[Glyvora]\r\nb=2\r\n[Other]\r\nc=3\r\n");
    EXPECT_TRUE(WriteIniValue(ini, "Glyvora"));
    EXPECT_EQ(readTestFile(ini), "[Other]\r\nc=3\r\n");
}

TEST(Settings, writingWithAnEmptyNameFailsAndLeavesTheFile) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "[Glyvora]\r\nkey=1\r\n");
    EXPECT_FALSE(WriteIniValue(ini, " ", Text("key"), Text("2")));
    EXPECT_FALSE(WriteIniValue(ini, "Glyvora", Text("\t"), Text("2")));
    EXPECT_FALSE(WriteIniValue("", "Glyvora", Text("key"), Text("2")));
    EXPECT_FALSE(WriteIniValue(ini, ""));
    EXPECT_EQ(readTestFile(ini), "[Glyvora]\r\nkey=1\r\n");
    EXPECT_FALSE(WriteIniValue(dir.file("missing\\a.ini"), "Glyvora", Text("key"), Text("1")));
}

TEST(Settings, theSevenDisplaySettingsRoundTrip) {
    TempDir dir;
    const Text ini = dir.file("配置文件.ini");
    const std::pair<Text, Text> settings[] = {
        {"字体背景颜色", "16777215"},
        {"字体颜色", "255"},
        {"分类文本颜色", "0"},
        {"分类背景颜色", "16777215"},
        {"字体预览的内容", "中国智造慧及全球"},
        {"字号大小现行选中项", "4"},
        {"字体样式现行选中项", "0"},
    };
    for (const auto& [key, value] : settings)
        EXPECT_TRUE(WriteIniValue(ini, "Glyvora", key, value));
    Text expected = "[Glyvora]\r\n";
    for (const auto& [key, value] : settings) {
        EXPECT_EQ(ReadIniValue(ini, "Glyvora", key), value);
        expected += key + "=" + value + "\r\n";
    }
    EXPECT_EQ(readTestFile(ini), expected);
    // The next exit replaces the values in place.
    EXPECT_TRUE(WriteIniValue(ini, "Glyvora", Text("字体颜色"), Text("65280")));
    EXPECT_TRUE(WriteIniValue(ini, "Glyvora", Text("字号大小现行选中项"), Text("-1")));
    EXPECT_EQ(ReadIniValue(ini, "Glyvora", "字体颜色"), "65280");
    EXPECT_EQ(readTestFile(ini).find("[Glyvora]\r\n字体背景颜色=16777215\r\n字体颜色=65280\r\n"), 0u);
}

} // namespace
} // namespace glyvora
