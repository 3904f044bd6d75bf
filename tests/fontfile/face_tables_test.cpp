// A face's name and head tables, read through bounded ranges: real fonts of Debian's packages
// (TrueType, CFF OpenType, both faces of a collection), their renamed copies, and damaged fonts
// built from named fields, which give nothing.
#include "fontfile/face_tables.h"
#include "fontfile/font_builder.h"
#include "fontfile/font_rename.h"
#include "platform/files.h"

#include <gtest/gtest.h>

namespace glyvora::fontfile {
namespace {

using testing::buildCollection;
using testing::buildFnt;
using testing::buildSfnt;
using testing::getU16be;
using testing::getU32be;
using testing::putU16be;
using testing::putU32be;
using testing::SfntFont;
using testing::windowsName;

std::string packageBytes(const std::string& unixPath) {
    const std::optional<ByteSet> bytes = readWholeFile(testing::packageFile(unixPath));
    if (!bytes) {
        ADD_FAILURE() << unixPath << " is missing: install the font packages of scripts/deps.sh";
        return std::string();
    }
    return std::string(bytes->begin(), bytes->end());
}

std::span<const std::uint8_t> spanOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::optional<FaceTables> tablesOf(const std::string& font, std::uint32_t face = 0) {
    MemoryFontBytes bytes(spanOf(font));
    return faceTablesOf(bytes, face);
}

// The bytes of table `tag` of the face whose directory is at `at`, found by a walk of its own.
std::string tableOf(const std::string& font, std::size_t at, const std::string& tag) {
    for (std::size_t i = 0; i < getU16be(font, at + 4); ++i) {
        const std::size_t record = at + 12 + 16 * i;
        if (font.compare(record, 4, tag) == 0)
            return font.substr(getU32be(font, record + 8), getU32be(font, record + 12));
    }
    return std::string();
}

std::string text(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(FaceTables, realTrueTypeCffAndCollectionFacesGiveTheirOwnTables) {
    for (const std::string path : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                   "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf"}) {
        SCOPED_TRACE(path);
        const std::string font = packageBytes(path);
        ASSERT_FALSE(font.empty());
        const auto tables = tablesOf(font);
        ASSERT_TRUE(tables);
        EXPECT_EQ(text(tables->name), tableOf(font, 0, "name"));
        EXPECT_EQ(text(tables->head), tableOf(font, 0, "head"));
        EXPECT_FALSE(tablesOf(font, 1)) << "a font of its own has one face";
    }
    const std::string ttc = packageBytes("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc");
    ASSERT_FALSE(ttc.empty());
    const auto first = tablesOf(ttc, 0);
    const auto second = tablesOf(ttc, 1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(text(first->name), tableOf(ttc, getU32be(ttc, 12), "name"));
    EXPECT_EQ(text(second->name), tableOf(ttc, getU32be(ttc, 16), "name"));
    EXPECT_NE(first->name, second->name) << "each face has names of its own";
    EXPECT_FALSE(tablesOf(ttc, getU32be(ttc, 8))) << "past the last face";
}

TEST(FaceTables, aRenamedCopyHasANewNameTableAndTheSameHeadButItsChecksum) {
    // What tells a file from a copy of another under the same name: the name table differs, and
    // the head table differs at least in its checksum adjustment.
    const std::string font = packageBytes("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    ASSERT_FALSE(font.empty());
    const std::vector<std::uint8_t> copy = renameFont(spanOf(font), "GlyvoraTables1");
    const auto original = tablesOf(font);
    const auto renamed = tablesOf(std::string(copy.begin(), copy.end()));
    ASSERT_TRUE(original && renamed);
    EXPECT_NE(renamed->name, original->name);
    ASSERT_EQ(renamed->head.size(), original->head.size());
    std::string head = text(original->head), headCopy = text(renamed->head);
    putU32be(head, 8, 0);
    putU32be(headCopy, 8, 0);
    EXPECT_EQ(headCopy, head);
}

TEST(FaceTables, aBuiltFontGivesItsNameTableByteForByte) {
    SfntFont font;
    font.names = {windowsName(0x0409, u"Named")};
    const std::string built = buildSfnt(font);
    const auto tables = tablesOf(built);
    ASSERT_TRUE(tables);
    EXPECT_EQ(text(tables->name), built.substr(testing::tableOffset(built, "name"), tables->name.size()));
    EXPECT_EQ(getU32be(text(tables->head), 12), 0x5F0F3CF5u) << "the head table's magic number";

    SfntFont cff = font;
    cff.cff = true;
    EXPECT_TRUE(tablesOf(buildSfnt(cff)));
    const std::string collection = buildCollection({font, cff});
    EXPECT_TRUE(tablesOf(collection, 0));
    EXPECT_TRUE(tablesOf(collection, 1));
}

TEST(FaceTables, damagedAndOtherFilesGiveNothing) {
    SfntFont font;
    font.names = {windowsName(0x0409, u"Named")};
    const std::string built = buildSfnt(font);
    const std::size_t nameAt = testing::tableOffset(built, "name");

    EXPECT_FALSE(tablesOf(""));
    EXPECT_FALSE(tablesOf(built.substr(0, 11))) << "cut inside the header";
    EXPECT_FALSE(tablesOf(built.substr(0, 12 + 16))) << "cut inside the directory";
    EXPECT_FALSE(tablesOf(built.substr(0, nameAt + 3))) << "cut inside the name table";
    std::string noTables = built;
    putU16be(noTables, 4, 0);
    EXPECT_FALSE(tablesOf(noTables)) << "zero tables";
    std::string tooMany = built;
    putU16be(tooMany, 4, 0xFFFF);
    EXPECT_FALSE(tablesOf(tooMany)) << "more table records than the file holds";
    std::string pastTheEnd = built;
    for (std::size_t i = 0; i < getU16be(built, 4); ++i)
        if (built.compare(12 + 16 * i, 4, "head") == 0) putU32be(pastTheEnd, 12 + 16 * i + 12, 0xFFFFFFF0u);
    EXPECT_FALSE(tablesOf(pastTheEnd)) << "a table running past the end";
    SfntFont headless = font;
    headless.omitTables = {"head"};
    EXPECT_FALSE(tablesOf(buildSfnt(headless))) << "no head table";
    SfntFont nameless = font;
    nameless.omitTables = {"name"};
    EXPECT_FALSE(tablesOf(buildSfnt(nameless))) << "no name table";
    std::string woff = built;
    putU32be(woff, 0, 0x774F4646); // "wOFF"
    EXPECT_FALSE(tablesOf(woff));
    EXPECT_FALSE(tablesOf(buildFnt("Bitmap"))) << "a bitmap font has no tables";

    const std::string collection = buildCollection({font});
    EXPECT_FALSE(tablesOf(collection, 1)) << "a face the collection does not count";
    EXPECT_FALSE(tablesOf(collection, 0xFFFFFFFFu)) << "a face number whose entry would overflow";
    std::string noFaces = collection;
    putU32be(noFaces, 8, 0);
    EXPECT_FALSE(tablesOf(noFaces, 0));
    std::string outside = collection;
    putU32be(outside, 12, 0x7FFFFFF0u);
    EXPECT_FALSE(tablesOf(outside, 0)) << "a face directory outside the file";
    std::string version3 = collection;
    putU32be(version3, 4, 0x00030000);
    EXPECT_FALSE(tablesOf(version3, 0)) << "an unknown collection version";
}

} // namespace
} // namespace glyvora::fontfile
