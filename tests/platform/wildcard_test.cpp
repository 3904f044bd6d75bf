#include "platform/wildcard.h"

#include <gtest/gtest.h>

namespace glyvora {
namespace {

TEST(Wildcard, starDotStarMatchesEveryNameDottedOrNot) {
    EXPECT_TRUE(matchesWildcard("*.*", "font.ttf"));
    EXPECT_TRUE(matchesWildcard("*.*", "README"));
    EXPECT_TRUE(matchesWildcard("*.*", "."));
    EXPECT_TRUE(matchesWildcard("*", "a.b.c"));
}

TEST(Wildcard, lettersIgnoreCaseAndQuestionMarkTakesOneCharacter) {
    EXPECT_TRUE(matchesWildcard("*.TTF", "simsun.ttf"));
    EXPECT_TRUE(matchesWildcard("a?c", "abc"));
    EXPECT_FALSE(matchesWildcard("a?c", "ac"));
    EXPECT_TRUE(matchesWildcard("name.*", "name"));
    EXPECT_FALSE(matchesWildcard("*.otf", "font.ttf"));
    EXPECT_TRUE(matchesWildcard("exact.bin", "EXACT.BIN"));
}

TEST(Wildcard, doubleByteCharactersMatchWholeAndNeverFold) {
    // "宋体" in GBK; "?" stands for one whole character.
    EXPECT_TRUE(matchesWildcard("?体.ttf", "宋体.ttf"));
    EXPECT_TRUE(matchesWildcard("*体*", "宋体.ttf"));
    EXPECT_FALSE(matchesWildcard("??体.ttf", "宋体.ttf"));
    // A trail byte that looks like a letter ("\xB0\x61") does not fold to "A".
    EXPECT_FALSE(matchesWildcard("\xB0\x41", "\xB0\x61"));
}

} // namespace
} // namespace glyvora
