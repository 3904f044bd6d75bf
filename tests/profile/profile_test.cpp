// The profile calls behave the same on both platforms: natively these cases check the POSIX
// reproduction, under Wine they check that the expectations are the system's own.
#include "platform/files.h"
#include "platform/profile.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace glyvora {
namespace {

using testing::readTestFile;
using testing::TempDir;
using testing::testFileExists;
using testing::writeTestFile;

using namespace std::string_literals;

constexpr std::size_t kBuffer = 10240;

Text read(const Text& file, const Text& section, const Text& key, const Text& def = Text(),
          std::size_t buffer = kBuffer) {
    return readProfileString(file, section, key, def, buffer);
}

bool write(const Text& file, const Text& section, const Text& key, const Text& value) {
    return writeProfileString(file, section, key, value);
}

TEST(Profile, newFileIsGbkWithCrLfAndKeysInTheOrderWritten) {
    TempDir dir;
    const Text ini = dir.file("配置文件.ini");
    EXPECT_TRUE(write(ini, "Glyvora", "字体颜色", "255"));
    EXPECT_TRUE(write(ini, "Glyvora", "字体预览的内容", "中国智造慧及全球"));
    EXPECT_TRUE(write(ini, "其他", "a", "1"));
    EXPECT_EQ(readTestFile(ini), "[Glyvora]\r\n"
                                 "\xD7\xD6\xCC\xE5\xD1\xD5\xC9\xAB=255\r\n"
                                 "\xD7\xD6\xCC\xE5\xD4\xA4\xC0\xC0\xB5\xC4\xC4\xDA\xC8\xDD="
                                 "\xD6\xD0\xB9\xFA\xD6\xC7\xD4\xEC\xBB\xDB\xBC\xB0\xC8\xAB\xC7\xF2\r\n"
                                 "[\xC6\xE4\xCB\xFB]\r\n"
                                 "a=1\r\n");
    EXPECT_EQ(read(ini, "Glyvora", "字体预览的内容"), "中国智造慧及全球");
}

// The settings file keeps its Chinese name on disk, in a Chinese folder too, and a missing folder
// of a Chinese name is still a missing folder.
TEST(Profile, aSettingsFileWithAChineseNameIsStoredUnderItsRealName) {
    TempDir dir;
    const auto utf8 = [](const char8_t* text) { return std::string(reinterpret_cast<const char*>(text)); };
    testing::makeTestDirectoryOnDisk(dir.path(), utf8(u8"程序"));
    const Text ini = dir.file("程序\\配置文件.ini");
    EXPECT_TRUE(write(ini, "Glyvora", "字体颜色", "255"));
    EXPECT_EQ(testing::namesOnDisk(dir.file("程序")), std::vector<std::string>{utf8(u8"配置文件.ini")});
    EXPECT_EQ(read(ini, "Glyvora", "字体颜色"), "255");
    EXPECT_TRUE(write(ini, "Glyvora", "字体颜色", "0"));
    EXPECT_EQ(testing::namesOnDisk(dir.file("程序")).size(), 1u);
    EXPECT_EQ(read(ini, "glyvora", "字体颜色", "x"), "0");
    EXPECT_FALSE(write(dir.file("没有\\配置文件.ini"), "Glyvora", "k", "v"));
    EXPECT_EQ(read(dir.file("没有\\配置文件.ini"), "Glyvora", "k", "'d'"), "'d'");
}

TEST(Profile, writesReplaceInPlaceAppendToTheSectionAndRemove) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "[s]\r\na=1\r\nb=2\r\n[t]\r\nc=3\r\n");
    EXPECT_TRUE(write(ini, "s", "a", "new"));
    EXPECT_TRUE(write(ini, "S", "z", "9"));
    EXPECT_EQ(readTestFile(ini), "[s]\r\na=new\r\nb=2\r\nz=9\r\n[t]\r\nc=3\r\n");
    EXPECT_TRUE(writeProfileString(ini, "s", Text("b"), std::nullopt));
    EXPECT_EQ(readTestFile(ini), "[s]\r\na=new\r\nz=9\r\n[t]\r\nc=3\r\n");
    EXPECT_TRUE(writeProfileString(ini, "S", std::nullopt, std::nullopt));
    EXPECT_EQ(readTestFile(ini), "[t]\r\nc=3\r\n");
    EXPECT_TRUE(writeProfileString(ini, "t", std::nullopt, std::nullopt));
    EXPECT_EQ(readTestFile(ini), "");
}

TEST(Profile, aWriteThatChangesNothingLeavesTheBytesAlone) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    const std::string handWritten = "[s]\n\nk = v  \n; note\n";
    writeTestFile(ini, handWritten);
    EXPECT_TRUE(write(ini, "s", "k", "v"));
    EXPECT_TRUE(writeProfileString(ini, "s", Text("missing"), std::nullopt));
    EXPECT_TRUE(writeProfileString(ini, "missing", std::nullopt, std::nullopt));
    EXPECT_EQ(readTestFile(ini), handWritten);
    // Removing from a missing file creates nothing.
    EXPECT_TRUE(writeProfileString(dir.file("none.ini"), "s", Text("k"), std::nullopt));
    EXPECT_FALSE(testFileExists(dir.file("none.ini")));
}

TEST(Profile, aRewriteNormalisesLineEndsSpacesAndBlankLinesButKeepsComments) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "; top\n\nfree = 1\n[s]\r\n\r\n  k  =  v  \n;c=x\nbare\n[t] trailing\rz=1");
    EXPECT_TRUE(write(ini, "t", "y", "2"));
    EXPECT_EQ(readTestFile(ini), "; top\r\nfree=1\r\n[s]\r\nk=v\r\n;c=x\r\nbare\r\n[t]\r\nz=1\r\ny=2\r\n");
}

TEST(Profile, readsIgnoreAsciiCaseAndSurroundingSpacesOnly) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "[Glyvora]\r\nKey = two words \r\n[ΑΒ]\r\n中文=1\r\nＡ=2\r\n");
    EXPECT_EQ(read(ini, "GLYVORA", "key"), "two words");
    EXPECT_EQ(read(ini, " glyvora\t", "\tKEY "), "two words");
    EXPECT_EQ(read(ini, "ΑΒ", "中文"), "1");
    EXPECT_EQ(read(ini, "αβ", "中文", "none"), "none"); // Greek letters keep their case
    EXPECT_EQ(read(ini, "ΑΒ", "ａ", "none"), "none");   // so do full-width ones
}

TEST(Profile, firstSectionAndFirstKeyWinAndKeysBeforeAnySectionAreNameless) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "top=0\r\n[s]\r\na=1\r\na=2\r\n[S]\r\na=3\r\nb=4\r\n");
    EXPECT_EQ(read(ini, "s", "a"), "1");
    EXPECT_EQ(read(ini, "s", "b", "none"), "none");
    EXPECT_EQ(read(ini, "", "top"), "0");
    EXPECT_TRUE(write(ini, "s", "b", "5"));
    EXPECT_EQ(readTestFile(ini), "top=0\r\n[s]\r\na=1\r\na=2\r\nb=5\r\n[S]\r\na=3\r\nb=4\r\n");
}

TEST(Profile, defaultsAndQuotes) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "[s]\r\nq=\"quoted\"\r\nhalf=\"open\r\nempty=\r\nbare\r\n");
    EXPECT_EQ(read(ini, "s", "q"), "quoted");
    EXPECT_EQ(read(ini, "s", "half"), "\"open");
    EXPECT_EQ(read(ini, "s", "empty", "def"), "");
    EXPECT_EQ(read(ini, "s", "bare", "def"), "def"); // a line without "=" has no value
    EXPECT_EQ(read(ini, "s", "missing", "def  "), "def");
    EXPECT_EQ(read(ini, "s", "missing", "'def'"), "def");
    EXPECT_EQ(read(ini, "s", "missing"), "");
    EXPECT_EQ(read(dir.file("missing.ini"), "s", "k", "'def'"), "def");
    // Without the directory the file cannot be opened: the default comes back as passed.
    EXPECT_EQ(read(dir.file("no\\such.ini"), "s", "k", "'def'  "), "'def'");
    EXPECT_FALSE(write(dir.file("no\\such.ini"), "s", "k", "v"));
}

TEST(Profile, valuesAreCutToWholeCharactersWithinTheBuffer) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    const Text ascii(12000, 'x');
    Text chinese;
    for (int i = 0; i < 6000; ++i)
        chinese += "中";
    EXPECT_TRUE(write(ini, "s", "ascii", ascii));
    EXPECT_TRUE(write(ini, "s", "chinese", chinese));
    EXPECT_EQ(read(ini, "s", "ascii"), ascii.substr(0, 10239));
    EXPECT_EQ(read(ini, "s", "chinese"), chinese.substr(0, 10238));
    EXPECT_EQ(read(ini, "s", "chinese", "", 4), "中");
    // A quoted value loses its last character when the buffer holds just what follows the quote.
    writeTestFile(dir.file("q.ini"), "[s]\r\nq=\"abcd\"\r\n");
    EXPECT_EQ(read(dir.file("q.ini"), "s", "q", "", 5), "abc");
    EXPECT_EQ(read(dir.file("q.ini"), "s", "q", "", 6), "abcd");
    EXPECT_EQ(read(dir.file("q.ini"), "s", "q", "", 1), "");
}

TEST(Profile, valuesLoseLeadingSpacesAndLineBreaksInAValueEndUpInTheFile) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    EXPECT_TRUE(write(ini, "  s", "  k", "  v"));
    EXPECT_TRUE(write(ini, "s", "two", "x\r\ny=z"));
    EXPECT_EQ(readTestFile(ini), "[s]\r\nk=v\r\ntwo=x\r\ny=z\r\n");
    EXPECT_EQ(read(ini, "s", "y"), "z");
}

TEST(Profile, bytesThatAreNotGbkBecomeQuestionMarks) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "[s]\r\na=1\x81\x30\x32\r\nb=\x80\xFF\r\nc=x\0y\r\nd=\x81"s);
    EXPECT_EQ(read(ini, "s", "a"), "1?2");
    EXPECT_EQ(read(ini, "s", "b"), "\x80\xFF");
    EXPECT_EQ(read(ini, "s", "c"), "x");
    EXPECT_EQ(read(ini, "s", "d"), "?");
}

TEST(Profile, unicodeFilesAreWrittenBackInTheirEncoding) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "\xEF\xBB\xBF[s]\r\na=\xE4\xB8\xAD\r\n");
    EXPECT_EQ(read(ini, "s", "a"), "中");
    EXPECT_TRUE(write(ini, "s", "b", "文"));
    EXPECT_EQ(readTestFile(ini), "\xEF\xBB\xBF[s]\r\na=\xE4\xB8\xAD\r\nb=\xE6\x96\x87\r\n");
}

TEST(Profile, aFileHeldExclusivelyElsewhereReadsAsTheDefaultAndCannotBeWritten) {
    TempDir dir;
    const Text ini = dir.file("a.ini");
    writeTestFile(ini, "[s]\r\nk=1\r\n");
    OpenedFile holder =
        fileSystem().open(ini, FileAccess::ReadWrite, FileSharing::Exclusive, FileCreation::OpenExisting);
    ASSERT_NE(holder.file, nullptr);
    EXPECT_EQ(read(ini, "s", "k", "'def'"), "'def'");
    EXPECT_FALSE(write(ini, "s", "k", "2"));
    holder.file.reset();
    EXPECT_EQ(readTestFile(ini), "[s]\r\nk=1\r\n");
}

} // namespace
} // namespace glyvora
