// Face names read from font files: real fonts from Debian's packages, and fonts built here from
// named fields for the cases real files do not show. These run natively and under Wine.
#include "fontfile/face_name.h"
#include "fontfile/font_builder.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/font_resources.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

namespace glyvora::fontfile {
namespace {

using testing::buildCollection;
using testing::buildFnt;
using testing::buildFon;
using testing::buildSfnt;
using testing::NameRecord;
using testing::packageFile;
using testing::SfntFont;
using testing::TempDir;
using testing::windowsName;
using testing::writeTestFile;

constexpr std::uint16_t chinese = 0x0804;

// The bytes of a package file; the test fails, naming the package, when it is not installed.
std::string packageBytes(const std::string& unixPath, const std::string& package) {
    const std::optional<ByteSet> bytes = readWholeFile(packageFile(unixPath));
    if (!bytes) {
        ADD_FAILURE() << unixPath << " is missing: install the Debian package " << package
                      << " (scripts/deps.sh lists it)";
        return std::string();
    }
    return std::string(bytes->begin(), bytes->end());
}

std::u16string nameOf(const std::string& bytes, std::uint16_t language = chinese) {
    MemoryFontBytes source(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    return readFaceName(source, language);
}

Text fileFaceName(const std::string& bytes) {
    TempDir dir;
    writeTestFile(dir.file("font.bin"), bytes);
    return faceNameOf(dir.file("font.bin"));
}

// A file that is no font, left in the temporary folder for the rest of the run.
Text fileFaceNameless() {
    static TempDir dir;
    writeTestFile(dir.file("notes.txt"), "no font here");
    return dir.file("notes.txt");
}

SfntFont withNames(std::vector<NameRecord> names) {
    SfntFont font;
    font.names = std::move(names);
    return font;
}

const std::string dejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const std::string nimbusSans = "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf";
const std::string zenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";
const std::string msSansSerif = "/usr/share/wine/fonts/sserife.fon";
const std::string vgaSystem = "/usr/share/wine/fonts/vgasys.fon";
const std::string nimbusType1 = "/usr/share/fonts/X11/Type1/NimbusSans-Regular.pfb";

TEST(FaceName, realFontsOfEveryFormatGiveTheirFamily) {
    EXPECT_EQ(faceNameOf(packageFile(dejaVuSans)), "DejaVu Sans");    // TrueType
    EXPECT_EQ(faceNameOf(packageFile(nimbusSans)), "Nimbus Sans");    // CFF OpenType
    EXPECT_EQ(faceNameOf(packageFile(msSansSerif)), "MS Sans Serif"); // .fon
    EXPECT_EQ(faceNameOf(packageFile(vgaSystem)), "System");          // .fon
    EXPECT_EQ(faceNameOf(packageFile(zenHei)), "文泉驿正黑");         // collection, first face
    packageBytes(dejaVuSans, "fonts-dejavu-core");
    packageBytes(nimbusSans, "fonts-urw-base35");
    packageBytes(msSansSerif, "fonts-wine");
    packageBytes(zenHei, "fonts-wqy-zenhei");
}

TEST(FaceName, collectionGivesItsFirstFaceInTheUsersLanguageElseEnglish) {
    const std::string ttc = packageBytes(zenHei, "fonts-wqy-zenhei");
    EXPECT_EQ(nameOf(ttc, chinese), u"文泉驿正黑");
    EXPECT_EQ(nameOf(ttc, 0x0409), u"WenQuanYi Zen Hei");
    EXPECT_EQ(nameOf(ttc, 0x0407), u"WenQuanYi Zen Hei"); // German: no such record, so English
}

TEST(FaceName, notFontsAndFontsGdiDoesNotLoadGiveNothing) {
    const std::string type1 = packageBytes(nimbusType1, "fonts-urw-base35");
    EXPECT_EQ(nameOf(type1), u"");
    EXPECT_EQ(fileFaceName("just some text\r\n"), "");
    EXPECT_EQ(fileFaceName(""), "");
    EXPECT_EQ(faceNameOf(packageFile("/usr/share/fonts/truetype")), ""); // a folder
    TempDir dir;
    EXPECT_EQ(faceNameOf(dir.file("missing.ttf")), "");
    EXPECT_EQ(faceNameOf(""), "");

    std::string font = buildSfnt(withNames({windowsName(0x0409, u"Probe")}));
    std::string woff = font;
    woff.replace(0, 4, "wOFF");
    EXPECT_EQ(nameOf(woff), u"");
    woff.replace(0, 4, "wOF2");
    EXPECT_EQ(nameOf(woff), u"");
    std::string apple = font;
    apple.replace(0, 4, "true");
    EXPECT_EQ(nameOf(apple), u"");
}

TEST(FaceName, truncatedFontsGiveNothing) {
    const std::string real = packageBytes(dejaVuSans, "fonts-dejavu-core");
    ASSERT_FALSE(real.empty());
    for (std::size_t length : {real.size() - 1, real.size() / 2, std::size_t{4096}, std::size_t{100},
                               std::size_t{12}, std::size_t{3}})
        EXPECT_EQ(nameOf(real.substr(0, length)), u"") << "cut to " << length;
    EXPECT_EQ(fileFaceName(real.substr(0, real.size() / 2)), "");

    const std::string ttc = packageBytes(zenHei, "fonts-wqy-zenhei");
    ASSERT_FALSE(ttc.empty());
    EXPECT_EQ(nameOf(ttc.substr(0, ttc.size() / 2)), u"");

    const std::string fon = packageBytes(msSansSerif, "fonts-wine");
    ASSERT_FALSE(fon.empty());
    EXPECT_EQ(nameOf(fon.substr(0, 0x300)), u"");
}

TEST(FaceName, takesTheUsersLanguageThenEnglishThenTheFirstWindowsFamilyRecord) {
    const NameRecord english = windowsName(0x0409, u"Probe Sans");
    const NameRecord simplified = windowsName(0x0804, u"探针黑体");
    const NameRecord traditional = windowsName(0x0404, u"探針黑體");
    const NameRecord japanese = windowsName(0x0411, u"探針ゴシック");

    // The user's record wins wherever it stands.
    EXPECT_EQ(nameOf(buildSfnt(withNames({english, traditional, simplified}))), u"探针黑体");
    EXPECT_EQ(fileFaceName(buildSfnt(withNames({english, simplified}))), "探针黑体");
    // No record in the user's language: English, even after other languages.
    EXPECT_EQ(nameOf(buildSfnt(withNames({traditional, english}))), u"Probe Sans");
    EXPECT_EQ(nameOf(buildSfnt(withNames({english, simplified})), 0x0409), u"Probe Sans");
    // Neither: the first Windows family record.
    EXPECT_EQ(nameOf(buildSfnt(withNames({japanese, traditional}))), u"探針ゴシック");
    EXPECT_EQ(fileFaceName(buildSfnt(withNames({traditional, japanese}))), "探針黑體");

    // Only the family name counts, and only Windows-platform records.
    NameRecord macFamily{1, 0, 0, 1, "Mac Only"};
    NameRecord unicodeFamily{0, 3, 0, 1, std::string("\0U\0n\0i", 6)};
    EXPECT_EQ(nameOf(buildSfnt(withNames({macFamily, unicodeFamily}))), u"");
    EXPECT_EQ(nameOf(buildSfnt(withNames({macFamily, windowsName(0x0804, u"全名", 4), english}))),
              u"Probe Sans");
    EXPECT_EQ(nameOf(buildSfnt(withNames({}))), u"");
}

TEST(FaceName, readsSymbolFullRepertoireAndLegacyChineseEncodings) {
    EXPECT_EQ(nameOf(buildSfnt(withNames({windowsName(0x0409, u"Probe Symbol", 1, 0)}))), u"Probe Symbol");
    EXPECT_EQ(nameOf(buildSfnt(withNames({windowsName(0x0409, u"Probe Wide", 1, 10)}))), u"Probe Wide");

    // PRC (GBK) names: one double-byte character per 16-bit unit, ASCII in the low byte.
    NameRecord gbkUnits{3, 3, 0x0804, 1,
                        std::string("\xCB\xCE\xCC\xE5\x00"
                                    "A",
                                    6)}; // 宋体A
    EXPECT_EQ(nameOf(buildSfnt(withNames({gbkUnits}))), u"宋体A");
    EXPECT_EQ(fileFaceName(buildSfnt(withNames({gbkUnits}))), "宋体A");
    // ... or the bytes packed without padding, of odd length too.
    NameRecord gbkPacked{3, 3, 0x0804, 1, "A\xCB\xCE\xCC\xE5"}; // A宋体
    EXPECT_EQ(nameOf(buildSfnt(withNames({gbkPacked}))), u"A宋体");
    // Big5 and Shift-JIS.
    NameRecord big5{3, 4, 0x0404, 1, "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9"}; // 新細明體
    EXPECT_EQ(nameOf(buildSfnt(withNames({big5}))), u"新細明體");
    EXPECT_EQ(fileFaceName(buildSfnt(withNames({big5}))), "新細明體");
    NameRecord shiftJis{3, 2, 0x0411, 1, "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9"}; // ＭＳ 明朝
    EXPECT_EQ(nameOf(buildSfnt(withNames({shiftJis}))), u"ＭＳ 明朝");

    // Encodings GDI has no reading for are passed over.
    NameRecord reserved{3, 7, 0x0804, 1, std::string("\0X", 2)};
    EXPECT_EQ(nameOf(buildSfnt(withNames({reserved, windowsName(0x0409, u"Probe")}))), u"Probe");
}

TEST(FaceName, keepsAtMostThirtyOneUnitsAndStopsAtAZeroUnit) {
    const std::u16string latin = u"Probe Sans Extra Condensed Semibold Italic"; // 42 units
    EXPECT_EQ(nameOf(buildSfnt(withNames({windowsName(0x0409, latin)}))), latin.substr(0, 31));
    EXPECT_EQ(fileFaceName(buildSfnt(withNames({windowsName(0x0409, latin)}))),
              "Probe Sans Extra Condensed Semi");

    const std::u16string hanzi = u"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三"; // 34
    const Text cut = fileFaceName(buildSfnt(withNames({windowsName(0x0804, hanzi)})));
    EXPECT_EQ(cut, "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一");
    EXPECT_EQ(cut.size(), 62u);
    const std::u16string exactly31 = hanzi.substr(0, 31);
    EXPECT_EQ(nameOf(buildSfnt(withNames({windowsName(0x0804, exactly31)}))), exactly31);

    // A character outside the BMP cut in half by the limit leaves a lone surrogate, which does
    // not convert.
    std::u16string astral = std::u16string(30, u'A') + u"\U00020000";
    const Text halved = fileFaceName(buildSfnt(withNames({windowsName(0x0409, astral)})));
    EXPECT_EQ(halved.substr(0, 30), std::string(30, 'A'));
    EXPECT_LE(halved.size(), 31u);

    EXPECT_EQ(nameOf(buildSfnt(withNames({windowsName(0x0409, std::u16string(u"Pro\0be", 6))}))), u"Pro");
    EXPECT_EQ(nameOf(buildSfnt(withNames({windowsName(0x0409, u"")}))), u"");
}

TEST(FaceName, cffFlavouredFontsAndCollectionsTakeTheirFirstFace) {
    SfntFont cff = withNames({windowsName(0x0409, u"Probe CFF")});
    cff.cff = true;
    EXPECT_EQ(nameOf(buildSfnt(cff)), u"Probe CFF");
    const std::string ttc = buildCollection({withNames({windowsName(0x0409, u"First Face")}), cff});
    EXPECT_EQ(nameOf(ttc), u"First Face");
    EXPECT_EQ(fileFaceName(ttc), "First Face");

    std::string badVersion = ttc;
    testing::putU32be(badVersion, 4, 0x00030000);
    EXPECT_EQ(nameOf(badVersion), u"");
    std::string noFonts = ttc;
    testing::putU32be(noFonts, 8, 0);
    EXPECT_EQ(nameOf(noFonts), u"");
    std::string firstPastTheEnd = ttc;
    testing::putU32be(firstPastTheEnd, 12, 0xFFFFFFF0);
    EXPECT_EQ(nameOf(firstPastTheEnd), u"");
    std::string nested = ttc; // the first font is the collection itself
    testing::putU32be(nested, 12, 0);
    EXPECT_EQ(nameOf(nested), u"");
}

TEST(FaceName, fontsMissingWhatGdiNeedsGiveNothing) {
    const std::vector<NameRecord> names{windowsName(0x0409, u"Probe")};
    for (const char* tag : {"name", "cmap", "head", "hhea", "maxp", "glyf", "loca"}) {
        SfntFont font = withNames(names);
        font.omitTables = {tag};
        EXPECT_EQ(nameOf(buildSfnt(font)), u"") << "without " << tag;
    }
    SfntFont cffWithout = withNames(names);
    cffWithout.cff = true;
    cffWithout.omitTables = {"CFF "};
    EXPECT_EQ(nameOf(buildSfnt(cffWithout)), u"");
}

TEST(FaceName, damagedDirectoriesAndNameTablesGiveNothing) {
    const std::string font = buildSfnt(withNames({windowsName(0x0409, u"Probe")}));
    ASSERT_EQ(nameOf(font), u"Probe");
    const std::uint16_t tables = testing::getU16be(font, 4);
    const std::size_t name = testing::tableOffset(font, "name");
    std::size_t nameEntry = 0;
    for (std::size_t i = 0; i < tables; ++i)
        if (font.compare(12 + 16 * i, 4, "name") == 0) nameEntry = 12 + 16 * i;

    std::string noTables = font;
    testing::putU16be(noTables, 4, 0);
    EXPECT_EQ(nameOf(noTables), u"");
    std::string tooManyTables = font;
    testing::putU16be(tooManyTables, 4, 0xFFFF);
    EXPECT_EQ(nameOf(tooManyTables), u"");
    std::string tablePastTheEnd = font;
    testing::putU32be(tablePastTheEnd, nameEntry + 8, 0xFFFFFFF0);
    EXPECT_EQ(nameOf(tablePastTheEnd), u"");
    std::string tableTooLong = font;
    testing::putU32be(tableTooLong, nameEntry + 12, 0xFFFFFFFF);
    EXPECT_EQ(nameOf(tableTooLong), u"");
    std::string tinyName = font;
    testing::putU32be(tinyName, nameEntry + 12, 5);
    EXPECT_EQ(nameOf(tinyName), u"");
    std::string tooManyRecords = font;
    testing::putU16be(tooManyRecords, name + 2, 0xFFFF);
    EXPECT_EQ(nameOf(tooManyRecords), u"");
    std::string stringPastTheTable = font; // the first record's offset
    testing::putU16be(stringPastTheTable, name + 6 + 10, 0xFFF0);
    EXPECT_EQ(nameOf(stringPastTheTable), u"");
    std::string storagePastTheTable = font;
    testing::putU16be(storagePastTheTable, name + 4, 0xFFFF);
    EXPECT_EQ(nameOf(storagePastTheTable), u"");
    std::string stringTooLong = font;
    testing::putU16be(stringTooLong, name + 6 + 8, 0xFFFF);
    EXPECT_EQ(nameOf(stringTooLong), u"");
}

TEST(FaceName, bitmapFontsGiveTheFaceOfTheirFirstFont) {
    EXPECT_EQ(nameOf(buildFnt("Probe Raster")), u"Probe Raster");
    EXPECT_EQ(fileFaceName(buildFnt("Probe Raster")), "Probe Raster");
    EXPECT_EQ(nameOf(buildFon({"First Bitmap", "Second Bitmap"})), u"First Bitmap");
    EXPECT_EQ(fileFaceName(buildFon({"点阵宋体"})), "点阵宋体");
    EXPECT_EQ(nameOf(buildFnt(std::string(40, 'F'))), std::u16string(31, u'F'));

    std::string version1 = buildFnt("Old");
    testing::putU16le(version1, 0, 0x0100);
    EXPECT_EQ(nameOf(version1), u"");
    std::string unterminated = buildFnt("Face");
    unterminated.pop_back();
    EXPECT_EQ(nameOf(unterminated), u""); // the size field now runs past the file
    std::string faceOutside = buildFnt("Face");
    testing::putU32le(faceOutside, 0x69, 0x7FFFFFFF);
    EXPECT_EQ(nameOf(faceOutside), u"");
    std::string sizeTooLarge = buildFnt("Face");
    testing::putU32le(sizeTooLarge, 2, 0xFFFFFFFF);
    EXPECT_EQ(nameOf(sizeTooLarge), u"");
}

TEST(FaceName, damagedResourceFilesGiveNothing) {
    const std::string fon = buildFon({"Probe"});
    ASSERT_EQ(nameOf(fon), u"Probe");
    std::string notNe = fon;
    notNe[0x40] = 'P'; // "PE"
    EXPECT_EQ(nameOf(notNe), u"");
    std::string headerPastTheEnd = fon;
    testing::putU32le(headerPastTheEnd, 0x3C, 0xFFFFFF00);
    EXPECT_EQ(nameOf(headerPastTheEnd), u"");
    std::string hugeShift = fon;
    hugeShift[0x80] = 40;
    EXPECT_EQ(nameOf(hugeShift), u"");
    std::string noFonts = fon; // the FONT type block made a zero type: the table ends at once
    testing::putU16le(noFonts, 0x82, 0);
    EXPECT_EQ(nameOf(noFonts), u"");
    std::string zeroCount = fon;
    testing::putU16le(zeroCount, 0x84, 0);
    EXPECT_EQ(nameOf(zeroCount), u"");
    std::string fontPastTheEnd = fon;
    testing::putU16le(fontPastTheEnd, 0x8A, 0xFFFF);
    EXPECT_EQ(nameOf(fontPastTheEnd), u"");
    std::string countPastTheTable = fon;
    testing::putU16le(countPastTheTable, 0x82, 0x1234); // an unknown type with a huge count
    testing::putU16le(countPastTheTable, 0x84, 0xFFFF);
    EXPECT_EQ(nameOf(countPastTheTable), u"");
    std::string tableInverted = fon;
    testing::putU16le(tableInverted, 0x40 + 0x26, 0x10);
    EXPECT_EQ(nameOf(tableInverted), u"");
}

// Counts the bytes the reader asks for.
class CountingFontBytes final : public FontBytes {
public:
    explicit CountingFontBytes(const std::string& bytes)
        : inner_(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())) {}
    std::uint64_t size() const override { return inner_.size(); }
    std::optional<std::span<const std::uint8_t>> read(std::uint64_t offset, std::size_t count) override {
        requested += count;
        ++reads;
        return inner_.read(offset, count);
    }
    std::size_t requested = 0;
    int reads = 0;

private:
    MemoryFontBytes inner_;
};

TEST(FaceName, readsTheDirectoryAndTheNameTableOnly) {
    const std::string ttc = packageBytes(zenHei, "fonts-wqy-zenhei");
    ASSERT_FALSE(ttc.empty());
    CountingFontBytes bytes(ttc);
    EXPECT_EQ(readFaceName(bytes, chinese), u"文泉驿正黑");
    EXPECT_LT(bytes.requested, 4096u);
    EXPECT_LE(bytes.reads, 7);
}

// A file over bytes held here that counts its reads and can fail them from one on. `size` may claim
// more than the bytes hold, as for a file cut short after it was opened.
class BytesFile final : public File {
public:
    explicit BytesFile(std::string bytes) : bytes_(std::move(bytes)) {}
    IoResult readAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        IoResult r;
        if (++reads >= failingFrom && failingFrom > 0) {
            r.error = FileError::HardwareIO;
            return r;
        }
        if (offset >= bytes_.size()) return r;
        r.bytes = std::min<std::size_t>(count, bytes_.size() - static_cast<std::size_t>(offset));
        std::memcpy(buffer, bytes_.data() + offset, r.bytes);
        return r;
    }
    IoResult writeAt(std::uint64_t, const void*, std::size_t) override {
        return {0, FileError::AccessDenied};
    }
    std::optional<std::uint64_t> size() override { return bytes_.size(); }
    FileError resize(std::uint64_t) override { return FileError::AccessDenied; }
    FileError lock(std::uint64_t, std::uint64_t) override { return FileError::None; }
    FileError unlock(std::uint64_t, std::uint64_t) override { return FileError::None; }
    FileError flush() override { return FileError::None; }

    int reads = 0;
    int failingFrom = 0; // 0: none fails

private:
    std::string bytes_;
};

std::u16string fileNameOf(BytesFile& file, std::uint64_t size) {
    FileFontBytes bytes(file, size);
    return readFaceName(bytes, chinese);
}

// The font with its name table moved to the end, `gap` bytes after the rest.
std::string withNameTableAtTheEnd(std::string font, std::size_t gap) {
    const std::size_t from = testing::tableOffset(font, "name");
    const std::uint16_t tableCount = testing::getU16be(font, 4);
    for (std::size_t at = 12; at < 12 + std::size_t{tableCount} * 16; at += 16) {
        if (font.compare(at, 4, "name") != 0) continue;
        const std::uint32_t length = testing::getU32be(font, at + 12);
        const std::string table = font.substr(from, length);
        font.append(gap, '\0');
        testing::putU32be(font, at + 8, static_cast<std::uint32_t>(font.size()));
        font += table;
        return font;
    }
    ADD_FAILURE() << "no name table";
    return font;
}

TEST(FaceName, aFileCostsOneReadForItsHeadAndOneForItsNameTable) {
    const std::string small = buildSfnt(withNames({windowsName(0x0409, u"Small")}));
    ASSERT_LT(small.size(), FileFontBytes::blockBytes);
    BytesFile smallFile(small);
    EXPECT_EQ(fileNameOf(smallFile, small.size()), u"Small");
    EXPECT_EQ(smallFile.reads, 1);

    // Records and the string past the first 2 KiB of the name table, which lies past the head:
    // the reader asks three times, the file is read twice.
    std::vector<NameRecord> names;
    for (std::uint16_t id = 0; id < 200; ++id)
        names.push_back(windowsName(0x0409, u"x", static_cast<std::uint16_t>(256 + id)));
    names.push_back(windowsName(chinese, u"Far"));
    const std::string far = withNameTableAtTheEnd(buildSfnt(withNames(names)), 10000);
    BytesFile farFile(far);
    EXPECT_EQ(fileNameOf(farFile, far.size()), u"Far");
    EXPECT_EQ(farFile.reads, 2);

    const std::string real = packageBytes(dejaVuSans, "fonts-dejavu-core");
    BytesFile realFile(real);
    EXPECT_EQ(fileNameOf(realFile, real.size()), u"DejaVu Sans");
    EXPECT_EQ(realFile.reads, 2);
}

TEST(FaceName, aFileThatShrinksOrFailsWhileReadGivesNothing) {
    const std::string font =
        withNameTableAtTheEnd(buildSfnt(withNames({windowsName(0x0409, u"Gone")})), 5000);
    BytesFile whole(font);
    ASSERT_EQ(fileNameOf(whole, font.size()), u"Gone");

    // Cut after its size was taken: inside the name table, before it, inside the head.
    for (std::size_t length : {font.size() - 10, font.size() - 5000, std::size_t{100}, std::size_t{0}}) {
        BytesFile cut(font.substr(0, length));
        EXPECT_EQ(fileNameOf(cut, font.size()), u"") << "cut to " << length;
    }
    for (int failing : {1, 2}) {
        BytesFile failed(font);
        failed.failingFrom = failing;
        EXPECT_EQ(fileNameOf(failed, font.size()), u"") << "reads fail from " << failing;
    }
}

// Stands in for the system's own face-name query.
class RecordingFontResources final : public FontResources {
public:
    int addPrivate(const Text&) override { return 0; }
    bool removePrivate(const Text&) override { return false; }
    Text queryFaceName(const Text& path) override {
        queried.push_back(path);
        return "System Answer";
    }
    std::vector<Text> queried;
};

TEST(FaceName, asksTheSystemOnlyWhenTheFileYieldsNoName) {
    RecordingFontResources system;
    ScopedFontResources scoped(system);
    TempDir dir;
    writeTestFile(dir.file("a.ttf"), buildSfnt(withNames({windowsName(0x0409, u"Probe")})));
    writeTestFile(dir.file("b.pfb"), "%!PS-AdobeFont-1.0: Probe");
    EXPECT_EQ(faceNameOf(dir.file("a.ttf")), "Probe");
    EXPECT_TRUE(system.queried.empty());
    EXPECT_EQ(faceNameOf(dir.file("b.pfb")), "System Answer");
    EXPECT_EQ(system.queried, std::vector<Text>{dir.file("b.pfb")});
}

TEST(FaceName, theSystemQueryGivesTheSameNameOrNothing) {
    // POSIX has no such query, and under Wine GetFontResourceInfoW is a stub; where it works it
    // must agree with the reader.
    const Text answer = systemFontResources().queryFaceName(packageFile(dejaVuSans));
    EXPECT_TRUE(answer.empty() || answer == "DejaVu Sans") << answer;
    EXPECT_EQ(systemFontResources().queryFaceName(fileFaceNameless()), "");
    EXPECT_EQ(systemFontResources().queryFaceName(""), "");
}

} // namespace
} // namespace glyvora::fontfile
