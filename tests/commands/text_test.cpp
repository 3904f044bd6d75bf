// Text commands over GBK texts: scans step over double-byte characters whole.
#include "commands/text.h"

#include <gtest/gtest.h>

namespace glyvora {
namespace {

using Texts = std::vector<Text>;

// "啊" is B0 A1: its trail byte A1 is also a lead byte, so a byte-wise scan would see characters
// that are not there. 81 41 is a double-byte character whose trail byte is the letter "A"; D5 5C
// one whose trail byte is "\".
const Text kAh = "\xB0\xA1";
const Text kTrailA = "\x81\x41";
const Text kTrailBackslash = "\xD5\x5C";

TEST(FindText, findsTheCountSuffixAfterAFourByteFaceName) {
    EXPECT_EQ(FindText("宋体   C:\\fonts\\simsun.ttc", "   "), 5);
    EXPECT_EQ(FindText("宋体", "体"), 3);
}

TEST(FindText, neverMatchesOnATrailByte) {
    // A1 B0 occurs only across the boundary of the two characters.
    EXPECT_EQ(FindText(kAh + kAh, "\xA1\xB0"), -1);
    EXPECT_EQ(FindText(kTrailA, "A"), -1);
    EXPECT_EQ(FindText(kTrailA, "a", 1, true), -1);
    EXPECT_EQ(FindText(kTrailA + "A", "A"), 3);
    // A start inside a character searches from the next character on.
    EXPECT_EQ(FindText(kTrailA + "xA", "A", 2), 4);
}

TEST(FindText, startPositionAndEnd) {
    EXPECT_EQ(FindText("abcabc", "bc"), 2);
    EXPECT_EQ(FindText("abcabc", "bc", 3), 5);
    EXPECT_EQ(FindText("abcabc", "bc", 0), 2);
    EXPECT_EQ(FindText("abcabc", "bc", 6), -1);
    EXPECT_EQ(FindText("abc", "c", 3), 3);
    EXPECT_EQ(FindText("abc", "a", 4), -1);
    EXPECT_EQ(FindText("ab", "abc"), -1);
    EXPECT_EQ(FindText("", "a"), -1);
}

TEST(FindText, emptyNeedleGivesOneOnlyWhenThereIsSomethingToSearch) {
    EXPECT_EQ(FindText("abc", ""), 1);
    EXPECT_EQ(FindText("abc", "", 3), 1);
    EXPECT_EQ(FindText("abc", "", 4), -1);
    EXPECT_EQ(FindText("", ""), -1);
}

TEST(FindText, ignoringCaseFoldsAsciiLettersOnly) {
    EXPECT_EQ(FindText("Arial Bold", "arial"), -1);
    EXPECT_EQ(FindText("Arial Bold", "BOLD", 1, true), 7);
    EXPECT_EQ(FindText("微软雅黑 Light", "light", 1, true), 10);
    // The trail byte 41 is not a letter to fold: 81 61 is another character.
    EXPECT_EQ(FindText("\x81\x61", kTrailA, 1, true), -1);
}

TEST(SplitText, keepsEmptyElementsBetweenSeparatorsButNotAnEmptyTail) {
    EXPECT_EQ(SplitText("a,,b"), (Texts{"a", "", "b"}));
    EXPECT_EQ(SplitText("a,b,"), (Texts{"a", "b"}));
    EXPECT_EQ(SplitText(",a"), (Texts{"", "a"}));
    EXPECT_EQ(SplitText(","), (Texts{""}));
    EXPECT_EQ(SplitText("|黑体|宋体", "|"), (Texts{"", "黑体", "宋体"}));
}

TEST(SplitText, stopsAtTheMaximumCount) {
    EXPECT_EQ(SplitText("a,b,c", ",", 2), (Texts{"a", "b"}));
    EXPECT_EQ(SplitText("a,b", ",", 2), (Texts{"a", "b"}));
    EXPECT_EQ(SplitText("a,b,c", ",", 1), (Texts{"a"}));
    EXPECT_EQ(SplitText("abc", ",", 1), (Texts{"abc"}));
    EXPECT_EQ(SplitText("a,b", ",", 0), Texts{});
    EXPECT_EQ(SplitText("a,b", ",", -3), Texts{});
}

TEST(SplitText, emptyTextAndEmptySeparator) {
    EXPECT_EQ(SplitText(""), Texts{});
    EXPECT_EQ(SplitText("", ""), Texts{});
    EXPECT_EQ(SplitText("a,b", ""), (Texts{"a,b"}));
}

TEST(SplitText, pathsAndNamesAndMultiByteSeparators) {
    EXPECT_EQ(SplitText("D:\\字体\\宋体.ttf", "\\"), (Texts{"D:", "字体", "宋体.ttf"}));
    EXPECT_EQ(SplitText("E:\\", "\\"), (Texts{"E:"}));
    EXPECT_EQ(SplitText("simsun.ttc", "."), (Texts{"simsun", "ttc"}));
    EXPECT_EQ(SplitText("宋体   12", "   "), (Texts{"宋体", "12"}));
    // A "\" that is the trail byte of a character is no separator.
    EXPECT_EQ(SplitText("C:\\" + kTrailBackslash + "\\a", "\\"), (Texts{"C:", kTrailBackslash, "a"}));
    EXPECT_EQ(SplitText(kAh + kAh, "\xA1\xB0"), (Texts{kAh + kAh}));
}

TEST(TrimSpaces, removesAsciiAndFullWidthSpacesAtBothEnds) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\xA1\xA1 D:\\字体\xA1\xA1  "), "D:\\字体");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces(""), "");
    EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
    // The bytes A1 A1 across the end of B0 A1 are no full-width space.
    EXPECT_EQ(TrimSpaces("x" + kAh + "\xA1"), "x" + kAh + "\xA1");
    EXPECT_EQ(TrimSpaces(kAh + "\xA1\xA1"), kAh);
}

TEST(TextCommands, rightTextSpaceTextAndLength) {
    EXPECT_EQ(RightText("abc", 5), "abc");
    EXPECT_EQ(RightText("abc", 2), "bc");
    EXPECT_EQ(RightText("abc", 0), "");
    EXPECT_EQ(RightText("abc", -1), "");
    EXPECT_EQ(SpaceText(3), "   ");
    EXPECT_EQ(SpaceText(0), "");
    EXPECT_EQ(SpaceText(-2), "");
    EXPECT_EQ(TextLength("宋体 a"), 6);
}

} // namespace
} // namespace glyvora
