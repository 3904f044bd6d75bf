// Character coverage read from font files: real fonts from Debian's packages, and character maps
// and bitmap fonts built here from named fields for the cases real files do not show. These run
// natively and under Wine.
#include "fontfile/char_coverage.h"
#include "fontfile/font_builder.h"
#include "fontfile/missing_characters.h"
#include "platform/files.h"

#include <gtest/gtest.h>

namespace glyvora::fontfile {
namespace {

using testing::buildCmap;
using testing::buildCollection;
using testing::buildFnt;
using testing::buildFon;
using testing::buildSfnt;
using testing::cmapFormat4;
using testing::cmapGroups;
using testing::CmapSubtable;
using testing::Group;
using testing::packageFile;
using testing::putU16be;
using testing::putU32be;
using testing::Segment;
using testing::SfntFont;
using testing::tableOffset;

// The coverage of a package file, read through the file layer; the test fails, naming the package,
// when it is not installed.
std::optional<CharCoverage> packageCoverage(const std::string& unixPath, const std::string& package) {
    if (!fileSystem().openForQuery(packageFile(unixPath)).file) {
        ADD_FAILURE() << unixPath << " is missing: install the Debian package " << package;
        return std::nullopt;
    }
    return charCoverageOf(packageFile(unixPath));
}

std::optional<CharCoverage> coverageOf(const std::string& bytes, std::uint32_t face = 0) {
    MemoryFontBytes source(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    return readCharCoverage(source, face);
}

std::string fontWithCmap(const std::string& cmap) {
    SfntFont font;
    font.cmap = cmap;
    return buildSfnt(font);
}

std::string fontWith(const std::vector<CmapSubtable>& subtables) {
    return fontWithCmap(buildCmap(subtables));
}

// The held code points among `from`..`to`, for comparing small coverages whole.
std::vector<char32_t> heldBetween(const CharCoverage& coverage, char32_t from, char32_t to) {
    std::vector<char32_t> held;
    for (char32_t c = from; c <= to; ++c)
        if (coverage.holds(c)) held.push_back(c);
    return held;
}

const Segment lastSegment{0xFFFF, 0xFFFF, 1, 0}; // the closing segment, mapped to glyph 0
const Text defaultSample = "中国智造慧及全球";

TEST(CharCoverage, realFontsHoldTheirScriptsAndNotOthers) {
    const auto zenHei = packageCoverage("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", "fonts-wqy-zenhei");
    ASSERT_TRUE(zenHei);
    for (char32_t c : {U'A', U'慧', U'及', U'球', U'體'})
        EXPECT_TRUE(zenHei->holds(c)) << std::hex << static_cast<unsigned>(c);
    EXPECT_EQ(missingCharactersLine(defaultSample, zenHei), "");

    for (const auto& [path, package] :
         {std::pair<std::string, std::string>{"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                              "fonts-dejavu-core"},
          {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", "fonts-liberation"}}) {
        const auto latin = packageCoverage(path, package);
        ASSERT_TRUE(latin) << path;
        EXPECT_TRUE(latin->holds(U'A') && latin->holds(U'é') && latin->holds(0x20AC)) << path;
        EXPECT_FALSE(latin->holds(U'慧')) << path;
        EXPECT_EQ(missingCharactersLine(defaultSample, latin), "缺字（8）：中 国 智 造 慧 及 全 球") << path;
        EXPECT_EQ(missingCharactersLine("Glyvora 字体预览 Ag", latin), "缺字（4）：字 体 预 览") << path;
    }
    // A CJK page stays cheap: the ranges, not the characters, are kept.
    EXPECT_LT(zenHei->ranges().size(), 5000u);
}

TEST(CharCoverage, bitmapFontsHoldTheirRangeInTheirCharacterSet) {
    const auto ansi = packageCoverage("/usr/share/wine/fonts/sserife.fon", "fonts-wine");
    ASSERT_TRUE(ansi);
    EXPECT_TRUE(ansi->holds(U' ') && ansi->holds(U'A') && ansi->holds(U'é') && ansi->holds(0x20AC));
    EXPECT_FALSE(ansi->holds(U'慧') || ansi->holds(U'\x1F') || ansi->holds(0x0100));

    const auto russian = packageCoverage("/usr/share/wine/fonts/sserifer.fon", "fonts-wine");
    ASSERT_TRUE(russian);
    EXPECT_TRUE(russian->holds(U'Ж') && russian->holds(U'A'));
    EXPECT_FALSE(russian->holds(U'é'));

    // GB2312's system font: a .fnt draws single bytes only, so ASCII and no Chinese.
    const auto chinese = packageCoverage("/usr/share/wine/fonts/svgasys.fon", "fonts-wine");
    ASSERT_TRUE(chinese);
    EXPECT_TRUE(chinese->holds(U'A') && chinese->holds(U'~'));
    EXPECT_FALSE(chinese->holds(U'慧') || chinese->holds(U'é'));
    EXPECT_EQ(missingCharactersLine("A慧", chinese), "缺字（1）：慧");

    // Built fonts: the range in the code page, the symbol set at its codes and at U+F000 up, and
    // character sets that say nothing certain.
    std::string fnt = buildFnt("Probe");
    fnt[testing::fntFirstChar] = 'A';
    fnt[testing::fntLastChar] = 'C';
    fnt[testing::fntCharSet] = static_cast<char>(161); // Greek
    EXPECT_EQ(heldBetween(*coverageOf(fnt), 0, 0xFFFF), (std::vector<char32_t>{U'A', U'B', U'C'}));
    fnt[testing::fntLastChar] = static_cast<char>(0xC1);
    EXPECT_TRUE(coverageOf(fnt)->holds(U'Α'));
    fnt[testing::fntCharSet] = 2; // symbol
    EXPECT_TRUE(coverageOf(fnt)->holds(U'A') && coverageOf(fnt)->holds(0xF041) &&
                coverageOf(fnt)->holds(0xF0C1));
    fnt[testing::fntCharSet] = 1; // DEFAULT_CHARSET
    EXPECT_FALSE(coverageOf(fnt));
    fnt[testing::fntCharSet] = 0;
    fnt[testing::fntFirstChar] = static_cast<char>(0xD0);
    EXPECT_FALSE(coverageOf(fnt)); // first past last
    // A .fon gives its first font's range.
    std::string fon = buildFon({"One", "Two"});
    EXPECT_EQ(heldBetween(*coverageOf(fon), 0, 0xFFFF), (std::vector<char32_t>{U' '}));
}

TEST(CharCoverage, symbolFontsHoldTheirCodesAtBothPlaces) {
    const auto marlett = packageCoverage("/usr/share/wine/fonts/marlett.ttf", "fonts-wine");
    ASSERT_TRUE(marlett);
    EXPECT_TRUE(marlett->holds(0xF061) && marlett->holds(U'a'));
    EXPECT_FALSE(marlett->holds(U'慧'));

    const std::string low = fontWith({{3, 0, cmapFormat4({{0x20, 0x22, 1}, lastSegment})}});
    EXPECT_EQ(heldBetween(*coverageOf(low), 0, 0xFFFF),
              (std::vector<char32_t>{0x20, 0x21, 0x22, 0xF020, 0xF021, 0xF022}));
    const std::string high = fontWith({{3, 0, cmapFormat4({{0xF0FE, 0xF101, 1}, lastSegment})}});
    EXPECT_EQ(heldBetween(*coverageOf(high), 0, 0xFFFF),
              (std::vector<char32_t>{0xFE, 0xFF, 0xF0FE, 0xF0FF, 0xF100, 0xF101}));
}

TEST(CharCoverage, format4SegmentsByDeltaAndByGlyphArray) {
    // Segment 0: A..E by delta, except the code the delta takes to glyph 0 (C: 0x43 - 0x43).
    // Segment 1: 一..丄 through the glyph array: 丁's entry is 0, and 丂's plus the delta 1 wraps
    // to glyph 0.
    // Segment 2: starts before segment 1 ends; the codes segment 1 reaches are not its own.
    const std::vector<Segment> segments{
        {0x41, 0x45, -0x43, 0},
        {0x4E00, 0x4E04, 1, 6}, // the array starts three fields on: its own, two more
        {0x4E02, 0x4E06, 0x10, 0},
        lastSegment,
    };
    const std::vector<std::uint16_t> glyphs{5, 0, 0xFFFF, 7, 9};
    const auto coverage = coverageOf(fontWith({{3, 1, cmapFormat4(segments, glyphs)}}));
    ASSERT_TRUE(coverage);
    EXPECT_EQ(heldBetween(*coverage, 0, 0xFFFF),
              (std::vector<char32_t>{0x41, 0x42, 0x44, 0x45, 0x4E00, 0x4E03, 0x4E04, 0x4E05, 0x4E06}));
    // A glyph array entry past the subtable holds nothing, and the rest of the map still reads.
    const auto past =
        coverageOf(fontWith({{3, 1, cmapFormat4({{0x41, 0x45, 1}, {0x61, 0x62, 0, 0x100}, lastSegment})}}));
    ASSERT_TRUE(past);
    EXPECT_EQ(heldBetween(*past, 0, 0xFFFF), (std::vector<char32_t>{0x41, 0x42, 0x43, 0x44, 0x45}));
}

TEST(CharCoverage, groupsAndSmallFormatsAndTheSubtableWindowsTakes) {
    // Format 12: a group mapped from glyph 0 loses its first code; one running past Unicode is cut,
    // and one wholly past it holds nothing.
    const std::string groups = cmapGroups(
        {{0x41, 0x43, 0}, {0x20000, 0x2A6DF, 10}, {0x10FFFE, 0x7FFFFFFF, 3}, {0xFFFFFFFF, 0xFFFFFFFF, 0}});
    const auto full =
        coverageOf(fontWith({{3, 1, cmapFormat4({{0x30, 0x39, 1}, lastSegment})}, {3, 10, groups}}));
    ASSERT_TRUE(full);
    EXPECT_EQ(std::vector(full->ranges().begin(), full->ranges().end()),
              (std::vector<CodePointRange>{{0x42, 0x43}, {0x20000, 0x2A6DF}, {0x10FFFE, 0x10FFFF}}));

    // Format 13 maps a group to one glyph: glyph 0 holds nothing. Formats 0 and 6 list glyphs.
    const auto many = coverageOf(fontWith({{0, 6, cmapGroups({{0x41, 0x42, 4}, {0x61, 0x62, 0}}, 13)}}));
    EXPECT_EQ(heldBetween(*many, 0, 0xFFFF), (std::vector<char32_t>{0x41, 0x42}));
    std::string format0 = std::string("\0\0\x01\x06\0\0", 6) + std::string(256, '\0');
    format0[6 + 0x41] = 1;
    format0[6 + 0xFF] = 2;
    EXPECT_EQ(heldBetween(*coverageOf(fontWith({{3, 1, format0}})), 0, 0xFFFF),
              (std::vector<char32_t>{0x41, 0xFF}));
    const std::string format6("\0\x06\0\x10\0\0\0\x61\0\x03\0\x01\0\0\0\x02", 16);
    EXPECT_EQ(heldBetween(*coverageOf(fontWith({{0, 3, format6}})), 0, 0xFFFF),
              (std::vector<char32_t>{0x61, 0x63}));

    // Windows full repertoire, then BMP, then symbol, then the Unicode platform; Macintosh never.
    // A subtable that does not read leaves the next one.
    const std::string mapsA = cmapFormat4({{0x41, 0x41, 1}, lastSegment});
    const std::string mapsB = cmapFormat4({{0x42, 0x42, 1}, lastSegment});
    const std::string unknownFormat("\0\x02\0\x08\0\0\0\0", 8);
    EXPECT_TRUE(coverageOf(fontWith({{0, 3, mapsA}, {3, 1, mapsB}}))->holds(U'B'));
    EXPECT_TRUE(coverageOf(fontWith({{3, 0, mapsA}, {0, 3, mapsB}}))->holds(U'A'));
    EXPECT_TRUE(coverageOf(fontWith({{3, 10, unknownFormat}, {1, 0, mapsA}, {0, 4, mapsB}}))->holds(U'B'));
    EXPECT_FALSE(coverageOf(fontWith({{1, 0, mapsA}, {3, 2, mapsB}, {0, 5, mapsA}})));
}

TEST(CharCoverage, eachFaceOfACollectionHasItsOwnMap) {
    SfntFont latin, chinese;
    latin.cmap = buildCmap({{3, 1, cmapFormat4({{0x41, 0x5A, 1}, lastSegment})}});
    chinese.cmap = buildCmap({{3, 1, cmapFormat4({{0x6167, 0x6167, 1}, lastSegment})}});
    const std::string collection = buildCollection({latin, chinese});
    EXPECT_TRUE(coverageOf(collection, 0)->holds(U'A'));
    EXPECT_FALSE(coverageOf(collection, 0)->holds(U'慧'));
    EXPECT_TRUE(coverageOf(collection, 1)->holds(U'慧'));
    EXPECT_FALSE(coverageOf(collection, 2));
    EXPECT_FALSE(coverageOf(fontWithCmap(latin.cmap), 1)); // one font, one face

    // The real collection's second face, its monospaced one, is read from its own directory.
    OpenedFile opened =
        fileSystem().openForQuery(packageFile("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"));
    ASSERT_TRUE(opened.file) << "install the Debian package fonts-wqy-zenhei";
    FileFontBytes bytes(*opened.file, opened.file->size().value_or(0));
    const auto mono = readCharCoverage(bytes, 1);
    ASSERT_TRUE(mono);
    EXPECT_TRUE(mono->holds(U'慧') && mono->holds(U'A'));
}

TEST(CharCoverage, cutDamagedAndEmptyMapsAreUnknownOrHoldNothing) {
    const std::string good = fontWith({{3, 1, cmapFormat4({{0x41, 0x5A, 1}, lastSegment})}});
    ASSERT_TRUE(coverageOf(good));
    const std::size_t cmap = tableOffset(good, "cmap");
    ASSERT_NE(cmap, std::string::npos);

    // The file cut inside the character map; the cmap table's length past the end of the file.
    EXPECT_FALSE(coverageOf(good.substr(0, cmap + 20)));
    std::string longTable = good;
    for (std::size_t at = 12; at < cmap; at += 16)
        if (longTable.compare(at, 4, "cmap") == 0) putU32be(longTable, at + 12, 0x10000000);
    EXPECT_FALSE(coverageOf(longTable));
    // Counts too large for what holds them: subtables, segments, a subtable's length, groups.
    std::string records = good;
    putU16be(records, cmap + 2, 0x4000);
    EXPECT_FALSE(coverageOf(records));
    std::string segments = good;
    putU16be(segments, cmap + 12 + 6, 0x2000);
    EXPECT_FALSE(coverageOf(segments));
    std::string length = good;
    putU16be(length, cmap + 12 + 2, 0x8000);
    EXPECT_FALSE(coverageOf(length));
    std::string groups = fontWith({{3, 10, cmapGroups({{0x41, 0x5A, 1}})}});
    putU32be(groups, tableOffset(groups, "cmap") + 12 + 12, 0x15555555);
    EXPECT_FALSE(coverageOf(groups));
    std::string offset = good;
    putU32be(offset, cmap + 8, 0x7FFFFFF0);
    EXPECT_FALSE(coverageOf(offset));

    // No subtable, or none of the files read here: unknown. A map of no characters holds nothing.
    EXPECT_FALSE(coverageOf(fontWith({})));
    EXPECT_FALSE(coverageOf(std::string()));
    EXPECT_FALSE(coverageOf("wOFF\0\0\0\0"));
    SfntFont noMap;
    noMap.omitTables = {"cmap"};
    EXPECT_FALSE(coverageOf(buildSfnt(noMap)));
    const auto empty = coverageOf(fontWith({{3, 10, cmapGroups({})}}));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    EXPECT_EQ(missingCharactersLine("慧A", empty), "缺字（2）：慧 A");
}

TEST(CharCoverage, rangesAreSortedAndJoined) {
    const CharCoverage coverage(
        {{0x50, 0x60}, {0x10, 0x20}, {0x21, 0x30}, {0x55, 0x58}, {9, 3}, {0x10FFF0, 0xFFFFFFFF}});
    EXPECT_EQ(std::vector(coverage.ranges().begin(), coverage.ranges().end()),
              (std::vector<CodePointRange>{{0x10, 0x30}, {0x50, 0x60}, {0x10FFF0, 0x10FFFF}}));
    EXPECT_FALSE(coverage.holds(0x0F) || coverage.holds(0x31) || coverage.holds(0x4F) ||
                 coverage.holds(0x61));
    EXPECT_TRUE(coverage.holds(0x10) && coverage.holds(0x30) && coverage.holds(0x50) &&
                coverage.holds(0x10FFFF));
    EXPECT_FALSE(CharCoverage().holds(0));
}

TEST(MissingCharacters, eachMissingCharacterOnceInOrderWithoutSpacesOrControls) {
    const CharCoverage latin({{0x20, 0x7E}});
    // Repeats named once; ASCII, ideographic and no-break spaces, tabs and line breaks never.
    EXPECT_EQ(missingCharactersLine("慧及 慧\t球　及\r\n", latin), "缺字（3）：慧 及 球");
    EXPECT_EQ(missingCharactersLine("Ag 12", latin), "");
    EXPECT_EQ(missingCharactersLine("", latin), "");
    // Unknown coverage names nothing.
    EXPECT_EQ(missingCharactersLine("慧", std::nullopt), "");
    // Full-width forms are characters like any other, and so is GBK's one single byte above
    // ASCII, the euro sign, which stands alone before another byte.
    const Text euro = "\x80";
    EXPECT_EQ(missingCharactersLine("Ａ" + euro + "A" + euro, latin), "缺字（2）：Ａ " + euro);

    const std::vector<SampleCharacter> sample = sampleCharacters("慧A慧 ?");
    ASSERT_EQ(sample.size(), 3u);
    EXPECT_EQ(sample[0].codePoint, U'慧');
    EXPECT_EQ(sample[0].text, "慧");
    EXPECT_EQ(sample[1].codePoint, U'A');
    EXPECT_EQ(sample[2].codePoint, U'?');
    // A lead byte at the end of the text, or one before a byte that cannot trail it, is no
    // character.
    EXPECT_EQ(sampleCharacters(std::string("A\x81", 2)).size(), 1u);
    EXPECT_EQ(sampleCharacters(std::string("\x81\x20", 2)).size(), 0u);
}

} // namespace
} // namespace glyvora::fontfile
