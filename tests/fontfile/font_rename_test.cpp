// Renamed copies of font files: real fonts from Debian's packages (TrueType, CFF OpenType, a
// collection, a .fon) and fonts built here from named fields. A copy must carry the new name where
// the system looks for a face, keep everything else, and stay a well-formed file; damaged input is
// refused. These run natively and under Wine.
#include "fontfile/face_name.h"
#include "fontfile/folder_walk.h"
#include "fontfile/font_builder.h"
#include "fontfile/font_rename.h"
#include "platform/files.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <map>

namespace glyvora::fontfile {
namespace {

using testing::buildCollection;
using testing::buildFnt;
using testing::buildFon;
using testing::buildSfnt;
using testing::getU16be;
using testing::getU32be;
using testing::NameRecord;
using testing::putU16le;
using testing::putU32be;
using testing::SfntFont;
using testing::windowsName;

const std::string newName = "GlyvoraF1A2B3C4";

std::string packageBytes(const std::string& unixPath, const std::string& package) {
    const std::optional<ByteSet> bytes = readWholeFile(testing::packageFile(unixPath));
    if (!bytes) {
        ADD_FAILURE() << unixPath << " is missing: install the Debian package " << package;
        return std::string();
    }
    return std::string(bytes->begin(), bytes->end());
}

std::span<const std::uint8_t> spanOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::string renamed(const std::string& font, const std::string& name = newName, std::uint32_t face = 0) {
    const std::vector<std::uint8_t> out = renameFont(spanOf(font), name, face);
    return std::string(out.begin(), out.end());
}

std::u16string faceOf(const std::string& font, std::uint16_t language = 0x0804) {
    MemoryFontBytes bytes(spanOf(font));
    return readFaceName(bytes, language);
}

std::u16string wide(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

SfntFont withFamily(const std::u16string& family) {
    SfntFont font;
    font.names = {windowsName(0x0409, family)};
    return font;
}

struct Table {
    std::uint32_t checksum = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

// The table directory of the sfnt at `at` of `font`, by tag.
std::map<std::string, Table> tablesOf(const std::string& font, std::size_t at = 0) {
    std::map<std::string, Table> tables;
    const std::uint16_t count = getU16be(font, at + 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t record = at + 12 + 16 * i;
        tables[font.substr(record, 4)] = {getU32be(font, record + 4), getU32be(font, record + 8),
                                          getU32be(font, record + 12)};
    }
    return tables;
}

std::uint32_t sumOfWords(const std::string& bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        std::string word = bytes.substr(i, 4);
        word.resize(4, '\0');
        sum += getU32be(word, 0);
    }
    return sum;
}

struct Name {
    std::uint16_t platform, encoding, language, nameId;
    std::string bytes;
};

std::vector<Name> namesOf(const std::string& font, const Table& name) {
    const std::string table = font.substr(name.offset, name.length);
    std::vector<Name> names;
    const std::uint16_t storage = getU16be(table, 4);
    for (std::size_t i = 0; i < getU16be(table, 2); ++i) {
        const std::size_t at = 6 + 12 * i;
        names.push_back({getU16be(table, at), getU16be(table, at + 2), getU16be(table, at + 4),
                         getU16be(table, at + 6),
                         table.substr(storage + getU16be(table, at + 10), getU16be(table, at + 8))});
    }
    return names;
}

struct Resource {
    std::uint16_t type = 0;
    std::size_t offset = 0;
    std::size_t length = 0;
};

std::uint16_t getU16le(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}
std::uint32_t getU32le(const std::string& b, std::size_t at) {
    return getU16le(b, at) | static_cast<std::uint32_t>(getU16le(b, at + 2)) << 16;
}

// The resources of a .fon.
std::vector<Resource> resourcesOf(const std::string& fon) {
    const std::size_t table = getU32le(fon, 0x3C) + getU16le(fon, getU32le(fon, 0x3C) + 0x24);
    const std::uint16_t shift = getU16le(fon, table);
    std::vector<Resource> resources;
    for (std::size_t at = table + 2; getU16le(fon, at) != 0;) {
        const std::uint16_t type = getU16le(fon, at);
        const std::uint16_t count = getU16le(fon, at + 2);
        at += 8;
        for (std::size_t i = 0; i < count; ++i, at += 12)
            resources.push_back(
                {type, std::size_t{getU16le(fon, at)} << shift, std::size_t{getU16le(fon, at + 2)} << shift});
    }
    return resources;
}

// The face names a .fon's fonts and its font directory hold.
std::vector<std::string> resourceFacesOf(const std::string& fon) {
    std::vector<std::string> faces;
    for (const Resource& r : resourcesOf(fon)) {
        if (r.type == 0x8008) {
            EXPECT_LE(getU32le(fon, r.offset + 2), r.length) << "dfSize inside the resource";
            faces.push_back(fon.c_str() + r.offset + getU32le(fon, r.offset + 0x69));
        }
        if (r.type != 0x8007) continue;
        std::size_t at = r.offset + 2;
        for (std::size_t i = 0; i < getU16le(fon, r.offset); ++i) {
            at += 2 + 113;
            at += std::strlen(fon.c_str() + at) + 1; // the device name
            faces.push_back(fon.c_str() + at);
            at += faces.back().size() + 1;
        }
    }
    return faces;
}

bool isFindingName(std::uint16_t id) {
    return id == 1 || id == 3 || id == 4 || id == 6 || id == 16 || id == 18 || id == 21;
}

std::string utf16be(const std::string& ascii) {
    std::string out;
    for (char c : ascii)
        out.append(1, '\0').append(1, c);
    return out;
}

// What every renamed sfnt must be: the directory sorted and aligned inside the file, each checksum
// and the file's checksum adjustment right, every table of the original face but the name table
// byte for byte, the finding names new and the other names as they were.
void expectRenamedSfnt(const std::string& original, std::size_t faceAt, const std::string& copy,
                       const std::string& what) {
    SCOPED_TRACE(what);
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(faceOf(copy), wide(newName));
    EXPECT_EQ(faceOf(copy, 0x0409), wide(newName));
    EXPECT_EQ(copy.size() % 4, 0u);
    EXPECT_EQ(getU32be(copy, 0), getU32be(original, faceAt)); // outline flavour kept

    const auto before = tablesOf(original, faceAt);
    const auto after = tablesOf(copy);
    ASSERT_EQ(before.size(), after.size());
    std::string lastTag;
    for (std::size_t i = 0; i < after.size(); ++i) {
        const std::string tag = copy.substr(12 + 16 * i, 4);
        EXPECT_LT(lastTag, tag) << "directory out of tag order";
        lastTag = tag;
    }
    for (const auto& [tag, table] : after) {
        ASSERT_TRUE(before.count(tag)) << tag;
        ASSERT_LE(std::size_t{table.offset} + table.length, copy.size()) << tag;
        EXPECT_EQ(table.offset % 4, 0u) << tag;
        std::string bytes = copy.substr(table.offset, table.length);
        if (tag == "head") putU32be(bytes, 8, 0);
        EXPECT_EQ(table.checksum, sumOfWords(bytes)) << tag;
        if (tag == "name" || tag == "head") continue;
        EXPECT_EQ(bytes, original.substr(before.at(tag).offset, before.at(tag).length)) << tag;
    }
    std::string head = original.substr(before.at("head").offset, before.at("head").length);
    std::string headCopy = copy.substr(after.at("head").offset, after.at("head").length);
    putU32be(head, 8, 0);
    putU32be(headCopy, 8, 0);
    EXPECT_EQ(headCopy, head) << "head beyond its checksum adjustment";
    EXPECT_EQ(sumOfWords(copy), 0xB1B0AFBAu) << "checksum adjustment";

    std::vector<Name> kept;
    for (const Name& n : namesOf(original, before.at("name")))
        if (!isFindingName(n.nameId)) kept.push_back(n);
    std::vector<Name> keptCopy;
    for (const Name& n : namesOf(copy, after.at("name"))) {
        if (!isFindingName(n.nameId)) {
            keptCopy.push_back(n);
            continue;
        }
        EXPECT_EQ(n.bytes, n.platform == 1 ? newName : utf16be(newName))
            << "name " << n.nameId << " of platform " << n.platform;
    }
    ASSERT_EQ(keptCopy.size(), kept.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(keptCopy[i].nameId, kept[i].nameId);
        EXPECT_EQ(keptCopy[i].language, kept[i].language);
        EXPECT_EQ(keptCopy[i].bytes, kept[i].bytes) << "name " << kept[i].nameId;
    }
}

TEST(FontRename, realTrueTypeCffAndCollectionFontsTakeTheNewNameAndKeepTheirTables) {
    for (const char* file : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                             "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
                             "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf"}) {
        const std::string font = packageBytes(file, "fonts-dejavu-core, fonts-liberation, fonts-urw-base35");
        if (font.empty()) continue;
        expectRenamedSfnt(font, 0, renamed(font), file);
    }
    const std::string zenHei =
        packageBytes("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", "fonts-wqy-zenhei");
    ASSERT_FALSE(zenHei.empty());
    ASSERT_GE(getU32be(zenHei, 8), 2u);
    for (std::uint32_t face : {0u, 1u}) {
        const std::string copy = renamed(zenHei, newName, face);
        expectRenamedSfnt(zenHei, getU32be(zenHei, 12 + 4 * face), copy,
                          "zenhei face " + std::to_string(face));
        EXPECT_LT(copy.size(), zenHei.size()) << "one face, its shared tables once";
    }
    EXPECT_TRUE(renamed(zenHei, newName, getU32be(zenHei, 8)).empty()) << "no such face";
}

TEST(FontRename, everyFontOfThePackagesIsRenamed) {
    Text root;
#ifdef _WIN32
    root = "Z:";
#endif
    int renamedFiles = 0;
    for (const char* folder :
         {"\\usr\\share\\fonts\\truetype", "\\usr\\share\\fonts\\opentype", "\\usr\\share\\wine\\fonts"}) {
        for (const Text& file : listFolderFiles(root + folder)) {
            const std::optional<ByteSet> bytes = readWholeFile(file);
            ASSERT_TRUE(bytes) << file;
            const std::string font(bytes->begin(), bytes->end());
            if (faceOf(font).empty()) continue;
            EXPECT_EQ(faceOf(renamed(font)), wide(newName)) << file;
            ++renamedFiles;
        }
    }
    EXPECT_GE(renamedFiles, 100) << "the font packages of scripts/deps.sh are missing";
}

TEST(FontRename, realBitmapFontsTakeTheNewNameInEveryFont) {
    const std::string fon = packageBytes("/usr/share/wine/fonts/sserife.fon", "wine");
    ASSERT_FALSE(fon.empty());
    const std::string copy = renamed(fon);
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(faceOf(copy), wide(newName));
    EXPECT_EQ(copy.substr(0, fon.size()).substr(0, 0x40), fon.substr(0, 0x40));
    EXPECT_EQ(resourceFacesOf(fon), std::vector<std::string>(6, "MS Sans Serif"));
    EXPECT_EQ(resourceFacesOf(copy), std::vector<std::string>(6, newName))
        << "three fonts, three directory entries";
    for (const Resource& r : resourcesOf(copy))
        EXPECT_GE(r.offset, fon.size()) << "moved past the original bytes";
    EXPECT_EQ(faceOf(renamed(copy, "GlyvoraAgain")), u"GlyvoraAgain") << "the copy renames again";
}

TEST(FontRename, everyNameTheSystemFindsAFaceByIsRewrittenOnEveryPlatform) {
    SfntFont font;
    NameRecord mac;
    mac.platform = 1;
    mac.encoding = 0;
    mac.language = 0;
    mac.bytes = "Old Family";
    NameRecord custom;
    custom.platform = 4;
    custom.encoding = 0;
    custom.bytes = "Old Family";
    NameRecord unicode = windowsName(0, u"Old Family", 1, 3);
    unicode.platform = 0;
    font.names = {unicode,
                  mac,
                  windowsName(0x0409, u"Old Family", 1, 0), // symbol
                  windowsName(0x0409, u"Old Family"),
                  windowsName(0x0804, u"旧字体"),
                  windowsName(0x0409, u"Old Family", 1, 3), // PRC, one unit a byte
                  windowsName(0x0409, u"Old Family", 1, 10),
                  windowsName(0x0409, u"Version 1.0", 5),
                  windowsName(0x0409, u"Old Typographic", 16),
                  windowsName(0x0409, u"Bold", 17),
                  windowsName(0x0409, u"Old WWS", 21),
                  custom};
    const std::string original = buildSfnt(font);
    const std::string copy = renamed(original);
    expectRenamedSfnt(original, 0, copy, "every platform");
    const auto names = namesOf(copy, tablesOf(copy).at("name"));
    EXPECT_EQ(names.size(), namesOf(original, tablesOf(original).at("name")).size() - 1)
        << "the other platform's family dropped";
    for (const Name& n : names)
        EXPECT_NE(n.platform, 4);
    EXPECT_EQ(faceOf(copy, 0x0409), wide(newName));
    EXPECT_EQ(faceOf(copy, 0x0407), wide(newName));

    SfntFont cff = font;
    cff.cff = true;
    expectRenamedSfnt(buildSfnt(cff), 0, renamed(buildSfnt(cff)), "CFF");

    const std::string collection = buildCollection({withFamily(u"First"), withFamily(u"Second")});
    const std::string second = renamed(collection, newName, 1);
    expectRenamedSfnt(collection, getU32be(collection, 16), second, "second face");
    EXPECT_EQ(namesOf(second, tablesOf(second).at("name")).size(), 4u);
}

TEST(FontRename, aNameTableWithLanguageTagsKeepsTheTagsAndRenamesTheirRecords) {
    std::string name;
    const auto u16 = [&](std::uint16_t v) {
        name.append(1, static_cast<char>(v >> 8)).append(1, static_cast<char>(v));
    };
    const std::string old = utf16be("Old"), regular = utf16be("Regular"), tag = utf16be("en-GB");
    u16(1);                  // format 1
    u16(3);                  // records
    u16(6 + 3 * 12 + 2 + 4); // storage
    for (const auto& [language, nameId, length, offset] : std::vector<std::array<std::uint16_t, 4>>{
             {0x0409, 1, 6, 0}, {0x0409, 2, 14, 6}, {0x8000, 1, 6, 0}}) {
        for (std::uint16_t field : {std::uint16_t{3}, std::uint16_t{1}, language, nameId, length, offset})
            u16(field);
    }
    u16(1);  // language tags
    u16(10); // "en-GB",
    u16(20); // after the names
    name += old + regular + tag;
    SfntFont font;
    font.rawNameTable = name;
    const std::string copy = renamed(buildSfnt(font));
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(faceOf(copy), wide(newName));
    const Table table = tablesOf(copy).at("name");
    const std::string names = copy.substr(table.offset, table.length);
    ASSERT_EQ(getU16be(names, 0), 1u);
    ASSERT_EQ(getU16be(names, 2), 3u);
    const auto records = namesOf(copy, table);
    EXPECT_EQ(records[0].bytes, utf16be(newName));
    EXPECT_EQ(records[1].bytes, regular);
    EXPECT_EQ(records[2].language, 0x8000);
    EXPECT_EQ(records[2].bytes, utf16be(newName));
    const std::size_t tags = 6 + 3 * 12;
    ASSERT_EQ(getU16be(names, tags), 1u);
    EXPECT_EQ(names.substr(getU16be(names, 4) + getU16be(names, tags + 4), getU16be(names, tags + 2)), tag);
}

TEST(FontRename, privateNamesAreDistinctAndOnlyTheyAreTaken) {
    EXPECT_EQ(privateFaceName(0x2A), "Glyvora0000002A");
    EXPECT_EQ(privateFaceName(0xF1A2B3C4), "GlyvoraF1A2B3C4");
    EXPECT_NE(privateFaceName(1), privateFaceName(0x10));
    EXPECT_TRUE(isPrivateFaceName(privateFaceName(0xFFFFFFFF)));
    const std::string font = buildSfnt(withFamily(u"Old"));
    for (const std::string& name :
         {std::string(), std::string("Glyvora Test"), std::string("Glyvora-1"), std::string(32, 'A'),
          std::string("Glyvora\xB2\xE2"), std::string("A\0B", 3)})
        EXPECT_TRUE(renamed(font, name).empty()) << name;
    EXPECT_EQ(faceOf(renamed(font, std::string(31, 'A'))), std::u16string(31, u'A'));
    EXPECT_EQ(faceOf(renamed(font, "G")), u"G");
}

TEST(FontRename, bitmapFontsTakeTheNewFaceInEveryFontAndTheDirectory) {
    const std::string fnt = buildFnt("Old Face");
    const std::string copy = renamed(fnt);
    EXPECT_EQ(faceOf(copy), wide(newName));
    EXPECT_EQ(copy.substr(0, 2), fnt.substr(0, 2));
    EXPECT_EQ(copy.substr(6, 0x69 - 6), fnt.substr(6, 0x69 - 6))
        << "the header kept but for dfSize and dfFace";
    EXPECT_EQ(copy.substr(0x6D, fnt.size() - 0x6D), fnt.substr(0x6D)) << "the rest kept";

    const std::string fon = buildFon({"Old One", "Old Two"});
    const std::string fonCopy = renamed(fon);
    EXPECT_EQ(faceOf(fonCopy), wide(newName));
    EXPECT_EQ(resourceFacesOf(fonCopy), std::vector<std::string>(2, newName));
    EXPECT_EQ(faceOf(renamed(fonCopy, "GlyvoraAgain")), u"GlyvoraAgain");
}

TEST(FontRename, truncatedDamagedAndUnnamedFontsAreRefused) {
    const std::string font = buildSfnt(withFamily(u"Old"));
    ASSERT_FALSE(renamed(font).empty());
    for (std::size_t cut :
         {std::size_t{0}, std::size_t{3}, std::size_t{11}, std::size_t{12 + 16 * 3}, font.size() - 4})
        EXPECT_TRUE(renamed(font.substr(0, cut)).empty()) << "cut at " << cut;

    const auto tables = tablesOf(font);
    const auto record = [&](const std::string& tag) {
        for (std::size_t i = 0; i < tables.size(); ++i)
            if (font.compare(12 + 16 * i, 4, tag) == 0) return 12 + 16 * i;
        return std::size_t{0};
    };
    std::string overlapping = font;
    putU32be(overlapping, record("post") + 8, tables.at("OS/2").offset);
    EXPECT_TRUE(renamed(overlapping).empty()) << "two tables sharing bytes";
    std::string overDirectory = font;
    putU32be(overDirectory, record("post") + 8, 8);
    EXPECT_TRUE(renamed(overDirectory).empty()) << "a table over the directory";
    std::string twice = font;
    twice.replace(record("post"), 4, "OS/2");
    EXPECT_TRUE(renamed(twice).empty()) << "a tag twice";
    std::string pastEnd = font;
    putU32be(pastEnd, record("glyf") + 12, static_cast<std::uint32_t>(font.size()));
    EXPECT_TRUE(renamed(pastEnd).empty()) << "a table past the end";
    std::string badString = font;
    testing::putU16be(badString, tables.at("name").offset + 6 + 8, 0xFFF0);
    EXPECT_TRUE(renamed(badString).empty()) << "a name past its table";
    std::string badFormat = font;
    testing::putU16be(badFormat, tables.at("name").offset, 2);
    EXPECT_TRUE(renamed(badFormat).empty()) << "an unknown name table format";
    std::string tooMany = font;
    testing::putU16be(tooMany, 4, 0x4000);
    EXPECT_TRUE(renamed(tooMany).empty()) << "a directory larger than the file";

    SfntFont noHead = withFamily(u"Old");
    noHead.omitTables = {"head"};
    EXPECT_TRUE(renamed(buildSfnt(noHead)).empty());
    NameRecord mac;
    mac.platform = 1;
    mac.encoding = 0;
    mac.bytes = "Old";
    SfntFont macOnly;
    macOnly.names = {mac};
    EXPECT_TRUE(renamed(buildSfnt(macOnly)).empty()) << "no Windows family to rewrite";
    EXPECT_TRUE(renamed(font, newName, 1).empty()) << "a single font has no second face";

    const std::string collection = buildCollection({withFamily(u"First")});
    EXPECT_TRUE(renamed(collection, newName, 1).empty());
    EXPECT_TRUE(renamed(collection.substr(0, 14)).empty());
    EXPECT_TRUE(renamed(collection.substr(0, collection.size() / 2)).empty());

    const std::string fnt = buildFnt("Old Face");
    EXPECT_TRUE(renamed(fnt.substr(0, 0x60)).empty());
    EXPECT_TRUE(renamed(fnt.substr(0, fnt.size() - 1)).empty()) << "dfSize past the end";
    std::string unterminated = fnt;
    unterminated.back() = 'x';
    EXPECT_TRUE(renamed(unterminated).empty());

    const std::string fon = buildFon({"Old One", "Old Two"});
    EXPECT_TRUE(renamed(fon.substr(0, 0x80)).empty());
    EXPECT_TRUE(renamed(fon.substr(0, fon.size() - 40)).empty()) << "the last font cut";
    std::string shared = fon;
    // The second FONT resource's offset made the first's.
    const std::size_t table = 0x40 + 0x40;
    shared.replace(table + 2 + 8 + 12, 2, fon.substr(table + 2 + 8, 2));
    EXPECT_TRUE(renamed(shared).empty()) << "two resources sharing bytes";
    std::string hugeShift = fon;
    putU16le(hugeShift, table, 15);
    EXPECT_TRUE(renamed(hugeShift).empty());
    EXPECT_TRUE(renamed("not a font at all").empty());
}

} // namespace
} // namespace glyvora::fontfile
