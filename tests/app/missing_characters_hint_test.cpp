// The line of a preview label's hint that names the characters of the sample its font file lacks.
#include "app_suite.h"

namespace glyvora::testing {

namespace {

using namespace mainwin;

// DejaVu Sans of Debian's fonts-dejavu-core: Latin, Greek and Cyrillic, no Chinese.
std::string latinFontBytes() {
#ifdef _WIN32
    const Text path = "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
#else
    const Text path = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
#endif
    return readTestFile(path);
}

// The label of the page that shows the font whose path ends in `name`; 0 when none does.
int labelShowing(const Text& name, const std::function<Text(int)>& pathOf) {
    for (int k = 1; k <= 8; ++k) {
        const Text path = pathOf(k);
        if (path.size() >= name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0)
            return k;
    }
    return 0;
}

TEST_P(AppSuite, aLatinFontsHintNamesTheSampleCharactersItLacksAndFollowsTheSample) {
    const std::string latin = latinFontBytes();
    ASSERT_FALSE(latin.empty()) << "install the Debian package fonts-dejavu-core";
    const Text folder = makeFolder("字体");
    writeTestFile(folder + "\\DejaVuSans.ttf", latin);
    registerFolders({{"字体", folder}});
    startProgram();
    ASSERT_TRUE(selectItem(1));
    ASSERT_EQ(labelPath(1), folder + "\\DejaVuSans.ttf");
    EXPECT_EQ(labelHint(1), "DejaVu Sans\r\n" + folder + "\\DejaVuSans.ttf");
    EXPECT_EQ(labelMissingLine(1), "缺字（8）：中 国 智 造 慧 及 全 球");

    // Each character once, in the order it first appears; spaces are no characters to lack.
    ASSERT_TRUE(typeInto(编辑框_内容, "Glyvora 字体预览 Ag 字"));
    EXPECT_EQ(labelMissingLine(1), "缺字（4）：字 体 预 览");
    ASSERT_TRUE(typeInto(编辑框_内容, "Glyvora Ag"));
    EXPECT_EQ(fullLabelHint(1), "DejaVu Sans\r\n" + folder + "\\DejaVuSans.ttf");
    EXPECT_EQ(fullLabelHint(2), "");
}

TEST_P(AppSuite, theMissingCharactersFollowThePageAndTheSearchPage) {
    const std::string latin = latinFontBytes();
    ASSERT_FALSE(latin.empty()) << "install the Debian package fonts-dejavu-core";
    const Text folder = makeFolder("字体");
    makeFonts(folder, 8); // each holds the space alone
    writeTestFile(folder + "\\DejaVuSans.ttf", latin);
    registerFolders({{"字体", folder}});
    startProgram();
    ASSERT_TRUE(typeInto(编辑框_内容, "Ag"));
    ASSERT_TRUE(selectItem(1));
    ASSERT_EQ(pageLabel(), "页次：1/2");
    const auto path = [&](int k) { return labelPath(k); };
    const auto checkPage = [&](int shownFonts) {
        const int latinLabel = labelShowing("\\DejaVuSans.ttf", path);
        for (int k = 1; k <= 8; ++k) {
            if (k > shownFonts)
                EXPECT_EQ(fullLabelHint(k), "") << k;
            else
                EXPECT_EQ(labelMissingLine(k), k == latinLabel ? "" : "缺字（2）：A g") << k;
        }
        return latinLabel;
    };
    const int onFirst = checkPage(8);
    ASSERT_TRUE(click(按钮_下一页));
    const int onSecond = checkPage(1);
    EXPECT_EQ(onFirst == 0, onSecond == 1); // the Latin font is on exactly one of the pages

    searchFor("DejaVu");
    EXPECT_EQ(pageLabel(), "页次：1/1");
    EXPECT_EQ(labelShowing("\\DejaVuSans.ttf", path), 1);
    checkPage(1);
    ASSERT_TRUE(typeInto(编辑框_内容, "A 慧"));
    EXPECT_EQ(labelMissingLine(1), "缺字（1）：慧");
    searchFor("Face");
    EXPECT_EQ(labelMissingLine(1), "缺字（2）：A 慧");
}

} // namespace

} // namespace glyvora::testing
