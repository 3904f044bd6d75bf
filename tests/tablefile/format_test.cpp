// The table file format: the two empty tables, validation at open in its order, the size repair,
// the default extension.
#include "support/temp_dir.h"
#include "table_fixtures.h"
#include "tablefile/table_engine.h"
#include "tablefile/table_format.h"

#include <gtest/gtest.h>

namespace glyvora {
namespace {

using testing::folderTableLayout;
using testing::le32;
using testing::pathRecord;
using testing::readLe32;
using testing::readTestFile;
using testing::tableHead;
using testing::TableLayout;
using testing::TempDir;
using testing::writeTestFile;

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list)
        s.push_back(static_cast<char>(b));
    return s;
}

std::string zeros(std::size_t n) {
    return std::string(n, '\0');
}

// The 260 bytes of an empty table, row by row.
std::string emptyTable(const std::string& created, const std::string& name1, const std::string& name2) {
    std::string image;
    image += "QTBL";                           // 0: magic
    image += bytes({0x00, 0x00, 0x01, 0x00});  // 4: version 0x00010000
    image += created;                          // 8: creation time
    image += bytes({0x00, 0x00, 0x00, 0x00});  // 16: record count 0
    image += bytes({0x01, 0x00, 0x00, 0x00});  // 20: next record ID 1
    image += bytes({0x30, 0x01, 0x00, 0x00});  // 24: record size 304
    image += zeros(84);                        // 28: reserved
    image += bytes({0x02, 0x00, 0x00, 0x00});  // 112: field count 2
    image += name1 + zeros(20 - name1.size()); // 116: name of field 1
    image += bytes({0x0A, 0x00, 0x00, 0x00});  // 136: type 10, text
    image += bytes({0x04, 0x00, 0x00, 0x00});  // 140: offset 4
    image += bytes({0x64, 0x00, 0x00, 0x00});  // 144: width 100
    image += zeros(40);                        // 148: reserved
    image += name2 + zeros(20 - name2.size()); // 188: name of field 2
    image += bytes({0x0A, 0x00, 0x00, 0x00});  // 208: type 10, text
    image += bytes({0x68, 0x00, 0x00, 0x00});  // 212: offset 104
    image += bytes({0xC8, 0x00, 0x00, 0x00});  // 216: width 200
    image += zeros(40);                        // 220: reserved
    return image;                              // 260: data start
}

std::string asString(const ByteSet& b) {
    return std::string(b.begin(), b.end());
}

TEST(TableFormat, emptyImagesMatchTheFolderAndSetTablesByteForByte) {
    const std::string folder = emptyTable(bytes({0x6B, 0xD7, 0x98, 0xAF, 0x52, 0xD7, 0xE4, 0x40}),
                                          bytes({0xC4, 0xBF, 0xC2, 0xBC, 0xC3, 0xFB, 0xB3, 0xC6}),
                                          bytes({0xC4, 0xBF, 0xC2, 0xBC, 0xB5, 0xD8, 0xD6, 0xB7}));
    const std::string set = emptyTable(bytes({0xF9, 0xC5, 0x92, 0xDF, 0xD1, 0xD7, 0xE4, 0x40}),
                                       bytes({0xBC, 0xAF, 0xC3, 0xFB, 0xB3, 0xC6}),
                                       bytes({0xD7, 0xD6, 0xCC, 0xE5, 0xB5, 0xD8, 0xD6, 0xB7}));
    ASSERT_EQ(folder.size(), 260u);
    EXPECT_EQ(asString(table::emptyFolderTableImage()), folder);
    EXPECT_EQ(asString(table::emptySetTableImage()), set);
    // The names are the GBK spellings of the field names the application uses.
    EXPECT_EQ(folder.substr(116, 8), Text("目录名称"));
    EXPECT_EQ(folder.substr(188, 8), Text("目录地址"));
    EXPECT_EQ(set.substr(116, 6), Text("集名称"));
    EXPECT_EQ(set.substr(188, 8), Text("字体地址"));
    // The creation times are the stated dates: 2016-11-08 14:00:52 and 2016-11-12 13:24:18.
    const table::Header f = table::parseHeader(table::kEmptyFolderTable.data());
    const table::Header s = table::parseHeader(table::kEmptySetTable.data());
    EXPECT_NEAR(f.creationTime, 42682 + (14 * 3600 + 52) / 86400.0, 1e-6);
    EXPECT_NEAR(s.creationTime, 42686 + (13 * 3600 + 24 * 60 + 18) / 86400.0, 1e-6);
}

TEST(TableFormat, openingEitherEmptyImageGivesAnEmptyTableOfTwoTextFields) {
    TempDir dir;
    for (const ByteSet& image : {table::emptyFolderTableImage(), table::emptySetTableImage()}) {
        CloseAllTables();
        writeTestFile(dir.file("t.qtb"), asString(image));
        ASSERT_TRUE(OpenTable(dir.file("t.qtb")));
        const table::TableInfo* info = table::currentTableInfo();
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(RecordCount(), 0);
        EXPECT_EQ(info->header.nextRecordId, 1);
        ASSERT_EQ(info->fields.size(), 2u);
        EXPECT_EQ(info->fields[0].type, 10);
        EXPECT_EQ(info->fields[1].width, 200);
        EXPECT_EQ(info->dataStart, 260u);
        EXPECT_EQ(info->baseName, "t");
        EXPECT_EQ(readTestFile(dir.file("t.qtb")), asString(image));
    }
    CloseAllTables();
}

class SizeRepair : public ::testing::Test {
protected:
    // 260 + 304 × 3 + 100 bytes, the header claiming `claimed` records.
    std::string file(std::int32_t claimed) {
        std::string f = tableHead(folderTableLayout(claimed, 4));
        for (int i = 1; i <= 3; ++i)
            f += pathRecord(i, testing::numbered("n", i), "p");
        return f + std::string(100, 'x');
    }
    void TearDown() override { CloseAllTables(); }
    TempDir dir;
};

TEST_F(SizeRepair, openedForWritingTheTrailingPartialRecordIsCut) {
    writeTestFile(dir.file("a.qtb"), file(3));
    ASSERT_TRUE(OpenTable(dir.file("a.qtb")));
    EXPECT_EQ(RecordCount(), 3);
    const std::string after = readTestFile(dir.file("a.qtb"));
    EXPECT_EQ(after.size(), 260u + 304 * 3);
    EXPECT_EQ(after, file(3).substr(0, 260 + 304 * 3));
}

TEST_F(SizeRepair, aCountBeyondTheFileIsRewrittenToTheWholeRecords) {
    writeTestFile(dir.file("a.qtb"), file(5));
    ASSERT_TRUE(OpenTable(dir.file("a.qtb")));
    EXPECT_EQ(RecordCount(), 3);
    const std::string after = readTestFile(dir.file("a.qtb"));
    EXPECT_EQ(after.size(), 260u + 304 * 3);
    EXPECT_EQ(readLe32(after, 16), 3);
    EXPECT_EQ(readLe32(after, 20), 4); // the next record ID stays
}

TEST_F(SizeRepair, readOnlyRefusesACountBeyondTheFileAndTouchesNothing) {
    writeTestFile(dir.file("a.qtb"), file(5));
    EXPECT_FALSE(OpenTable(dir.file("a.qtb"), Value(), Value(1)));
    EXPECT_EQ(lastDatabaseError(), -48);
    EXPECT_EQ(table::currentTableInfo(), nullptr);
    EXPECT_EQ(readTestFile(dir.file("a.qtb")), file(5));
    // A fitting count opens read-only and leaves the trailing bytes alone.
    writeTestFile(dir.file("b.qtb"), file(3));
    EXPECT_TRUE(OpenTable(dir.file("b.qtb"), Value(), Value(1)));
    EXPECT_EQ(RecordCount(), 3);
    EXPECT_EQ(readTestFile(dir.file("b.qtb")), file(3));
    EXPECT_FALSE(WriteField(1, "x")); // the file is open for reading only
}

TEST_F(SizeRepair, theRepairHappensBeforeTheDescriptorChecks) {
    TableLayout layout = folderTableLayout(2);
    layout.fields[1].width = 0; // refused in the descriptor checks
    writeTestFile(dir.file("a.qtb"), tableHead(layout) + std::string(304 + 10, 'x'));
    EXPECT_FALSE(OpenTable(dir.file("a.qtb")));
    EXPECT_EQ(lastDatabaseError(), -22);
    const std::string after = readTestFile(dir.file("a.qtb"));
    EXPECT_EQ(after.size(), 260u + 304);
    EXPECT_EQ(readLe32(after, 16), 1);
}

struct Refusal {
    const char* what;
    std::string bytes;
    int code;
};

TEST(TableFormat, malformedFilesAreRefusedWithTheirCodes) {
    auto with = [](auto change) {
        TableLayout layout = folderTableLayout();
        change(layout);
        return tableHead(layout);
    };
    const std::string good = tableHead(folderTableLayout());
    const std::vector<Refusal> cases = {
        {"empty file", "", -22},
        {"header cut short", good.substr(0, 111), -22},
        {"other magic", with([](TableLayout& t) { t.magic = "QTBM"; }), -22},
        {"record size 0", with([](TableLayout& t) { t.recordSize = 0; }), -22},
        {"negative record count", with([](TableLayout& t) { t.recordCount = -1; }), -22},
        {"next record ID 0", with([](TableLayout& t) { t.nextRecordId = 0; }), -22},
        {"version too new", with([](TableLayout& t) { t.version = 0x00010001; }), -23},
        {"bad magic before the version", with([](TableLayout& t) { t.magic = "XXXX", t.version = 0x20000; }),
         -22},
        {"field count 0", with([](TableLayout& t) { t.fieldCount = 0; }), -22},
        {"field count missing", good.substr(0, 112), -22},
        {"field count negative", with([](TableLayout& t) { t.fieldCount = -5; }), -22},
        {"descriptors cut short", good.substr(0, 259), -22},
        {"field count larger than the file", with([](TableLayout& t) { t.fieldCount = 0x7FFFFFFF; }), -22},
        {"name without NUL in 17 bytes",
         with([](TableLayout& t) { t.fields[0].name = std::string(17, 'N'); }), -22},
        {"text of width 0", with([](TableLayout& t) { t.fields[1].width = 0; }), -22},
        {"type 0", with([](TableLayout& t) { t.fields[0].type = 0; }), -22},
        {"type 13", with([](TableLayout& t) { t.fields[0].type = 13; }), -22},
        {"negative offset", with([](TableLayout& t) { t.fields[0].offset = -1; }), -22},
        {"field over the record ID", with([](TableLayout& t) { t.fields[0].offset = 2; }), -22},
        {"field past the record end", with([](TableLayout& t) { t.fields[1].width = 201; }), -22},
        {"memo field", with([](TableLayout& t) {
             t.fields[1] = {"memo", 12, 104, 0};
         }),
         -22},
        {"byte set field", with([](TableLayout& t) {
             t.fields[1] = {"blob", 11, 104, 0};
         }),
         -22},
    };
    TempDir dir;
    for (const Refusal& c : cases) {
        writeTestFile(dir.file("bad.qtb"), c.bytes);
        EXPECT_FALSE(OpenTable(dir.file("bad.qtb"))) << c.what;
        EXPECT_EQ(lastDatabaseError(), c.code) << c.what;
        EXPECT_EQ(table::currentTableInfo(), nullptr) << c.what;
        EXPECT_FALSE(IsTableOpen(dir.file("bad.qtb"))) << c.what;
    }
    // A 16-byte name (NUL in byte 17) is the longest accepted.
    writeTestFile(dir.file("ok.qtb"), with([](TableLayout& t) { t.fields[0].name = std::string(16, 'N'); }));
    EXPECT_TRUE(OpenTable(dir.file("ok.qtb")));
    EXPECT_EQ(ReadField(std::string(16, 'n')), Value(Text())); // found, ignoring case; no record: -10
    EXPECT_EQ(lastDatabaseError(), -10);
    CloseAllTables();
}

TEST(TableFormat, openFailuresOfTheFileAreFileErrors) {
    TempDir dir;
    EXPECT_FALSE(OpenTable(""));
    EXPECT_EQ(lastDatabaseError(), -3);
    EXPECT_FALSE(OpenTable(dir.file("missing.qtb")));
    EXPECT_EQ(lastDatabaseError(), -3);
    EXPECT_FALSE(OpenTable(dir.file("no-dir\\missing.qtb")));
#ifdef _WIN32
    EXPECT_EQ(lastDatabaseError(), -4); // the path does not exist
#else
    EXPECT_EQ(lastDatabaseError(), -3); // POSIX does not tell a missing directory from a missing file
#endif
    EXPECT_EQ(databaseErrorText(-4), Text("无效的路径"));
    EXPECT_EQ(databaseErrorText(-72), Text("所提供数据的类型与字段类型不匹配"));
    EXPECT_EQ(databaseErrorText(-999), Text("未知错误"));
}

TEST(TableFormat, defaultExtensionIsAddedOnlyWhenTheLastComponentHasNone) {
    using table::withDefaultExtension;
    EXPECT_EQ(withDefaultExtension("C:\\d\\folders"), "C:\\d\\folders.QTB");
    EXPECT_EQ(withDefaultExtension("C:\\d\\folders."), "C:\\d\\folders.QTB");
    EXPECT_EQ(withDefaultExtension("C:\\d\\folders.qtb"), "C:\\d\\folders.qtb");
    EXPECT_EQ(withDefaultExtension("C:\\d\\folders.dat"), "C:\\d\\folders.dat");
    EXPECT_EQ(withDefaultExtension("C:\\d.x\\folders"), "C:\\d.x\\folders.QTB");
    // A double-byte character whose second byte is 5C holds no separator.
    EXPECT_EQ(withDefaultExtension("C:\\a.b\\\x81\x5C"), "C:\\a.b\\\x81\x5C.QTB");
    EXPECT_EQ(withDefaultExtension("C:\\a\\x.y\x81\x5Cz"), "C:\\a\\x.y\x81\x5Cz");
    EXPECT_EQ(table::baseName("C:\\d\\目录名称与地址数据库.qtb"), Text("目录名称与地址数据库"));
    EXPECT_EQ(table::baseName("C:\\d\\a.b.qtb"), "a.b");
}

TEST(TableFormat, openingWithoutAnExtensionFindsTheQtbFile) {
    TempDir dir;
    writeTestFile(dir.file("folders.QTB"), asString(table::emptyFolderTableImage()));
#ifdef _WIN32
    EXPECT_TRUE(OpenTable(dir.file("folders")));
    EXPECT_TRUE(IsTableOpen(dir.file("FOLDERS.qtb")));
#else
    EXPECT_TRUE(OpenTable(dir.file("folders")));
    EXPECT_TRUE(IsTableOpen(dir.file("folders")));
#endif
    CloseAllTables();
}

} // namespace
} // namespace glyvora
