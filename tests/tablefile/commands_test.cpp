// The table commands over one or two open tables: walking, reading and writing fields, deletion
// marks and packing, selecting tables, and the fatal end of ReadField.
#include "commands/fatal.h"
#include "support/temp_dir.h"
#include "table_fixtures.h"
#include "tablefile/table_engine.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace glyvora {
namespace {

using testing::le32;
using testing::pathRecord;
using testing::readLe32;
using testing::readTestFile;
using testing::tableHead;
using testing::TableLayout;
using testing::TempDir;
using testing::writeTestFile;

const Text kFolderName = "目录名称";
const Text kFolderPath = "目录地址";

std::string image(const ByteSet& b) {
    return std::string(b.begin(), b.end());
}

// The current directory switched to `dir` for the guard's lifetime.
class InDirectory {
public:
    explicit InDirectory(const TempDir& dir) : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(testing::nativeTestPath(dir.path()));
    }
    ~InDirectory() { std::filesystem::current_path(saved_); }
    InDirectory(const InDirectory&) = delete;
    InDirectory& operator=(const InDirectory&) = delete;

private:
    std::filesystem::path saved_;
};

// The ASCII letters of a text in upper case; double-byte characters keep their bytes.
Text upperCase(const Text& text) {
    Text out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (static_cast<unsigned char>(out[i]) >= 0x80)
            ++i;
        else if (out[i] >= 'a' && out[i] <= 'z')
            out[i] = static_cast<char>(out[i] - 'a' + 'A');
    }
    return out;
}

// "\" separators as "/", in a path of ASCII names.
Text slashed(const Text& asciiPath) {
    Text out = asciiPath;
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::int32_t currentId() {
    return table::currentRecordId().value_or(0);
}

class FolderTable : public ::testing::Test {
protected:
    void SetUp() override {
        CloseAllTables();
        path = dir.file("目录名称与地址数据库.qtb");
        writeTestFile(path, image(table::emptyFolderTableImage()));
        ASSERT_TRUE(OpenTable(path));
    }
    void TearDown() override { CloseAllTables(); }
    void append(const Text& name, const Text& folder) {
        ASSERT_TRUE(AppendBlankRecord());
        ASSERT_TRUE(WriteField(1, name));
        ASSERT_TRUE(WriteField(2, folder));
    }
    std::string file() const { return readTestFile(path); }

    TempDir dir;
    Text path;
};

TEST_F(FolderTable, anEmptyTableHasNoRecordToReadOrSkipTo) {
    FirstRecord();
    EXPECT_EQ(lastDatabaseError(), 0);
    EXPECT_EQ(ReadField(1), Value(Text()));
    EXPECT_EQ(lastDatabaseError(), -10);
    EXPECT_FALSE(SkipRecords());
    EXPECT_EQ(lastDatabaseError(), -26);
    EXPECT_FALSE(SkipRecords(-1));
    EXPECT_EQ(lastDatabaseError(), -25);
    EXPECT_FALSE(MarkDeleted());
    EXPECT_EQ(lastDatabaseError(), -60);
    EXPECT_FALSE(WriteField(1, "x"));
    EXPECT_EQ(lastDatabaseError(), -60);
    EXPECT_EQ(file().size(), 260u);
}

TEST_F(FolderTable, skippingStopsAfterTheLastAndBeforeTheFirstRecord) {
    for (int i = 0; i < 3; ++i)
        append(testing::numbered("n", i), "p");
    FirstRecord();
    for (int expected = 1; expected <= 3; ++expected) {
        EXPECT_TRUE(SkipRecords());
        EXPECT_EQ(table::currentTableInfo()->currentRecord, expected);
    }
    EXPECT_FALSE(SkipRecords(1));
    EXPECT_EQ(lastDatabaseError(), -26);
    EXPECT_EQ(table::currentTableInfo()->currentRecord, 3);
    EXPECT_EQ(ReadField(1), Value(Text())); // the position after the last record
    EXPECT_EQ(lastDatabaseError(), -10);
    EXPECT_TRUE(SkipRecords(-10));
    EXPECT_EQ(table::currentTableInfo()->currentRecord, -1);
    EXPECT_EQ(ReadField(kFolderName), Value(Text()));
    EXPECT_EQ(lastDatabaseError(), -60);
    EXPECT_FALSE(SkipRecords(-1));
    EXPECT_EQ(lastDatabaseError(), -25);
    EXPECT_TRUE(SkipRecords(0));
    EXPECT_EQ(table::currentTableInfo()->currentRecord, -1);
    EXPECT_TRUE(SkipRecords(100));
    EXPECT_EQ(table::currentTableInfo()->currentRecord, 3);
    EXPECT_TRUE(SkipRecords(Value(-1.5))); // a number of another type counts by its integer part
    EXPECT_EQ(table::currentTableInfo()->currentRecord, 2);
    EXPECT_EQ(ReadField(1), Value(Text("n2")));
}

TEST_F(FolderTable, textsArePaddedOrCutToTheFieldWidth) {
    append("", "");
    const std::string hundred(100, 'h');
    ASSERT_TRUE(WriteField(1, hundred));
    EXPECT_EQ(file().substr(260 + 4, 100), hundred); // no terminating NUL
    EXPECT_EQ(ReadField(1), Value(hundred));
    ASSERT_TRUE(WriteField(1, std::string(150, 'a')));
    EXPECT_EQ(ReadField(1), Value(std::string(100, 'a')));
    ASSERT_TRUE(WriteField(kFolderName, std::string(120, 'b')));
    EXPECT_EQ(ReadField(1), Value(std::string(100, 'b')));
    EXPECT_EQ(ReadField(2), Value(Text())); // the neighbour field is untouched
    ASSERT_TRUE(WriteField(1, "short"));
    EXPECT_EQ(file().substr(260 + 4, 100), "short" + std::string(95, '\0'));
    // A cut may split a double-byte character; the bytes come back as stored.
    ASSERT_TRUE(WriteField(1, std::string(99, 'x') + "集"));
    EXPECT_EQ(ReadField(1), Value(std::string(99, 'x') + "集").as<Text>().substr(0, 100));
    // A text stops at its first NUL; an omitted value writes the empty text.
    ASSERT_TRUE(WriteField(2, Text("ab\0cd", 5)));
    EXPECT_EQ(ReadField(2), Value(Text("ab")));
    ASSERT_TRUE(WriteField(2));
    EXPECT_EQ(file().substr(260 + 104, 200), std::string(200, '\0'));
}

TEST_F(FolderTable, aValueOfAnotherTypeIsRefusedAndNothingIsWritten) {
    append("name", "path");
    const std::string before = file();
    EXPECT_FALSE(WriteField(1, 42));
    EXPECT_EQ(lastDatabaseError(), -72);
    EXPECT_FALSE(WriteField(2, true));
    EXPECT_EQ(lastDatabaseError(), -72);
    EXPECT_FALSE(WriteField(3, "x"));
    EXPECT_EQ(lastDatabaseError(), -61);
    EXPECT_FALSE(WriteField("no such field", "x"));
    EXPECT_EQ(lastDatabaseError(), -61);
    EXPECT_EQ(file(), before);
}

TEST_F(FolderTable, appendedRecordsCountIdsFromOneAndAPackKeepsThem) {
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(AppendBlankRecord());
        EXPECT_EQ(table::currentTableInfo()->currentRecord, i);
        EXPECT_EQ(ReadField(1), Value(Text()));
        EXPECT_EQ(ReadField(kFolderPath), Value(Text()));
        ASSERT_TRUE(WriteField(1, testing::numbered("r", i + 1)));
    }
    std::string f = file();
    EXPECT_EQ(readLe32(f, 16), 3);
    EXPECT_EQ(readLe32(f, 20), 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(readLe32(f, 260 + 304 * i), i + 1);

    FirstRecord();
    ASSERT_TRUE(SkipRecords());
    EXPECT_TRUE(MarkDeleted());
    EXPECT_TRUE(MarkDeleted()); // already marked: stays as it is
    f = file();
    EXPECT_EQ(readLe32(f, 260 + 304), -2);
    EXPECT_EQ(f.substr(260 + 304 + 4, 2), "r2"); // the fields stay
    EXPECT_EQ(RecordCount(), 3);                 // and the record still counts
    EXPECT_EQ(ReadField(1), Value(Text("r2")));  // a marked record reads like any other

    EXPECT_TRUE(PackTable());
    EXPECT_EQ(table::currentTableInfo()->currentRecord, 0);
    f = file();
    ASSERT_EQ(f.size(), 260u + 304 * 2);
    EXPECT_EQ(readLe32(f, 16), 2);
    EXPECT_EQ(readLe32(f, 20), 4);
    EXPECT_EQ(readLe32(f, 260), 1);
    EXPECT_EQ(readLe32(f, 260 + 304), 3);
    EXPECT_EQ(f.substr(260 + 304 + 4, 2), "r3");

    ASSERT_TRUE(AppendBlankRecord());
    EXPECT_EQ(currentId(), 4);
    EXPECT_EQ(table::currentTableInfo()->currentRecord, 2);
}

TEST_F(FolderTable, aPackWithoutMarkedRecordsRewritesNothing) {
    append("a", "1");
    append("b", "2");
    const std::string before = file();
    ASSERT_TRUE(SkipRecords(-1));
    EXPECT_TRUE(PackTable());
    EXPECT_EQ(table::currentTableInfo()->currentRecord, 0);
    EXPECT_EQ(file(), before);
}

TEST_F(FolderTable, aPackMovesRecordsInChunksAcrossTheirBoundaries) {
    // 538 records of 304 bytes make one chunk; 1200 records take three.
    std::string f = tableHead(testing::folderTableLayout(1200, 1201));
    for (int i = 1; i <= 1200; ++i)
        f += pathRecord(i % 3 == 0 || i == 538 || i == 539 ? -i : i, std::to_string(i), "p");
    CloseAllTables();
    writeTestFile(path, f);
    ASSERT_TRUE(OpenTable(path));
    ASSERT_TRUE(PackTable());
    const std::string after = file();
    std::vector<std::int32_t> ids;
    for (std::size_t at = 260; at + 304 <= after.size(); at += 304)
        ids.push_back(readLe32(after, at));
    std::vector<std::int32_t> expected;
    for (int i = 1; i <= 1200; ++i)
        if (!(i % 3 == 0 || i == 538 || i == 539)) expected.push_back(i);
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(RecordCount(), static_cast<std::int32_t>(expected.size()));
    EXPECT_EQ(after.size(), 260 + 304 * expected.size());
    EXPECT_EQ(readLe32(after, 20), 1201);
    FirstRecord();
    ASSERT_TRUE(SkipRecords(static_cast<std::int32_t>(expected.size()) - 1));
    EXPECT_EQ(ReadField(1), Value(Text("1199")));
}

TEST_F(FolderTable, aBooleanConditionMarksEveryRecordOrNone) {
    for (int i = 0; i < 4; ++i)
        append(std::to_string(i), "p");
    FirstRecord();
    ASSERT_TRUE(SkipRecords(2));
    ASSERT_TRUE(MarkDeleted());
    EXPECT_TRUE(MarkDeleted(false));
    EXPECT_EQ(readLe32(file(), 260), 1);
    EXPECT_FALSE(MarkDeleted(7));
    EXPECT_EQ(lastDatabaseError(), -72);
    EXPECT_TRUE(MarkDeleted(true));
    const std::string f = file();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(readLe32(f, 260 + 304 * i), -(i + 1));
    EXPECT_EQ(table::currentTableInfo()->currentRecord, 2);
    ASSERT_TRUE(PackTable());
    EXPECT_EQ(RecordCount(), 0);
    EXPECT_EQ(file().size(), 260u);
}

TEST_F(FolderTable, commandsWithoutACurrentTableFail) {
    CloseAllTables();
    EXPECT_EQ(RecordCount(), 0);
    EXPECT_EQ(lastDatabaseError(), -67);
    FirstRecord();
    EXPECT_EQ(lastDatabaseError(), -67);
    const std::vector<std::pair<bool (*)(), int>> commands = {
        {[] { return SkipRecords(); }, -67},      {[] { return AppendBlankRecord(); }, -67},
        {[] { return WriteField(1, "x"); }, -66}, {[] { return MarkDeleted(); }, -67},
        {[] { return PackTable(); }, -67},        {[] { return SelectTable("x"); }, -66},
    };
    for (const auto& [command, code] : commands) {
        EXPECT_FALSE(command());
        EXPECT_EQ(lastDatabaseError(), code);
    }
    EXPECT_EQ(file().size(), 260u);
}

TEST_F(FolderTable, selectingFindsAliasesThenBaseNamesThenFullPathsNewestFirst) {
    const Text setPath = dir.file("集名称与字体地址数据库.qtb");
    writeTestFile(setPath, image(table::emptySetTableImage()));
    ASSERT_TRUE(OpenTable(setPath));
    EXPECT_EQ(table::currentTableInfo()->fullPath, setPath);

    EXPECT_TRUE(SelectTable("目录名称与地址数据库"));
    EXPECT_EQ(table::currentTableInfo()->fullPath, path);
    EXPECT_TRUE(SelectTable(setPath));
    EXPECT_EQ(table::currentTableInfo()->fullPath, setPath);
    Text upper = path;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    EXPECT_TRUE(SelectTable(upper));
    EXPECT_EQ(table::currentTableInfo()->fullPath, path);

    // No match, and no extension added or path resolved: the current table stays.
    EXPECT_FALSE(SelectTable("集名称与字体地址数据库.qtb"));
    EXPECT_EQ(lastDatabaseError(), -66);
    EXPECT_EQ(table::currentTableInfo()->fullPath, path);

    // Each table keeps its own current record.
    append("folder", "C:\\f");
    ASSERT_TRUE(SelectTable("集名称与字体地址数据库"));
    EXPECT_EQ(table::currentTableInfo()->currentRecord, 0);
    EXPECT_EQ(RecordCount(), 0);

    // An alias wins over a base name, and a later table over an earlier one.
    const Text third = dir.file("third.qtb");
    writeTestFile(third, image(table::emptySetTableImage()));
    ASSERT_TRUE(OpenTable(third, "目录名称与地址数据库"));
    ASSERT_TRUE(SelectTable("集名称与字体地址数据库"));
    EXPECT_TRUE(SelectTable("目录名称与地址数据库"));
    EXPECT_EQ(table::currentTableInfo()->fullPath, third);
}

TEST_F(FolderTable, aTableIsOpenOnceUnderItsFullPathInAnyLetterCase) {
    Text other = path;
    other.replace(other.size() - 3, 3, "QTB");
    EXPECT_FALSE(OpenTable(other));
    EXPECT_EQ(lastDatabaseError(), -38);
    const Text relative = dir.path() + "\\sub\\..\\目录名称与地址数据库";
    EXPECT_FALSE(OpenTable(relative));
    EXPECT_EQ(lastDatabaseError(), -38);
    EXPECT_TRUE(IsTableOpen(relative));
    EXPECT_TRUE(IsTableOpen(other));
    EXPECT_FALSE(IsTableOpen(dir.file("other")));
    EXPECT_FALSE(IsTableOpen(""));
    EXPECT_EQ(lastDatabaseError(), 0);
    EXPECT_EQ(table::currentTableInfo()->fullPath, path);
    CloseAllTables();
    EXPECT_FALSE(IsTableOpen(path));
    EXPECT_TRUE(OpenTable(path)); // the same file again, once closed
}

TEST_F(FolderTable, aFullPathSelectsItsTableWrittenInAnyFormThatResolvesToIt) {
    const Text setName = "集名称与字体地址数据库.qtb";
    writeTestFile(dir.file(setName), image(table::emptySetTableImage()));
    {
        InDirectory here(dir);
        ASSERT_TRUE(OpenTable(setName));
        // A name that is no full path is still taken as it is, even where it would resolve.
        ASSERT_TRUE(SelectTable("目录名称与地址数据库"));
        EXPECT_FALSE(SelectTable(setName));
        EXPECT_EQ(lastDatabaseError(), -66);
        EXPECT_FALSE(SelectTable(".\\" + setName));
        EXPECT_EQ(lastDatabaseError(), -66);
    }
    const Text setPath = dir.file(setName);
    const Text folderBase = "\\目录名称与地址数据库.qtb";
    const std::vector<std::pair<Text, Text>> cases = {
        {setPath, setPath},                                            // as the table was opened
        {upperCase(setPath), setPath},                                 // another letter case
        {slashed(dir.path()) + "/" + setName, setPath},                // the system's own separators
        {upperCase(slashed(dir.path())) + "/" + setName, setPath},     // both
        {dir.path() + "\\sub\\..\\.\\" + setName, setPath},            // "." and ".." components
        {slashed(dir.path()) + "//./" + setName, setPath},             // a doubled separator
        {upperCase(dir.path()) + folderBase, path},                    // the table opened by its full path
        {slashed(upperCase(dir.path())) + "/x/.." + folderBase, path}, //   in another form
    };
    for (const auto& [given, found] : cases) {
        // The other table first, so that the selection has to move.
        ASSERT_TRUE(SelectTable(found == setPath ? "目录名称与地址数据库" : "集名称与字体地址数据库"));
        EXPECT_TRUE(SelectTable(given)) << given;
        EXPECT_EQ(lastDatabaseError(), 0) << given;
        EXPECT_EQ(table::currentTableInfo()->fullPath, found) << given;
    }
    // A full path of no open table: no match, the current table stays.
    EXPECT_FALSE(SelectTable(slashed(dir.path()) + "/sub/" + setName));
    EXPECT_EQ(lastDatabaseError(), -66);
    EXPECT_FALSE(SelectTable(dir.path() + "\\sub\\"));
    EXPECT_EQ(lastDatabaseError(), -66);
    EXPECT_EQ(table::currentTableInfo()->fullPath, path);
}

TEST_F(FolderTable, fieldsAreFoundByNameIgnoringCaseOrByNumber) {
    const Text p = dir.file("named.qtb");
    TableLayout layout;
    layout.recordSize = 24;
    layout.fields = {{"Name", 10, 4, 10}, {"\xBC\x41x", 10, 14, 10}}; // BC 41 is one double-byte character
    writeTestFile(p, tableHead(layout));
    ASSERT_TRUE(OpenTable(p));
    ASSERT_TRUE(AppendBlankRecord());
    EXPECT_TRUE(WriteField("NAME", "one"));
    EXPECT_TRUE(WriteField("\xBC\x41X", "two"));
    EXPECT_EQ(ReadField("name"), Value(Text("one")));
    EXPECT_EQ(ReadField(2), Value(Text("two")));
    EXPECT_EQ(ReadField(Value(2.0)), Value(Text("two")));
    EXPECT_EQ(ReadField(Value::byte(1)), Value(Text("one")));
    EXPECT_EQ(table::findField(Value(0)), -1);
    EXPECT_EQ(table::findField(Value(3)), -1);
    EXPECT_EQ(table::findField(Value(true)), -1);
    // The second byte of a double-byte character is never folded, even where it is a letter.
    EXPECT_EQ(table::findField(Value(Text("\xBC\x61x"))), -1);
}

// A record of every fixed-size type, then a text, in one 64-byte record.
class TypedTable : public ::testing::Test {
protected:
    void SetUp() override {
        CloseAllTables();
        TableLayout layout;
        layout.recordSize = 64;
        layout.fields = {
            {"byte", 1, 4, 0},   {"short", 2, 5, 0},   {"int", 3, 7, 0},   {"long", 4, 11, 0},
            {"float", 5, 19, 0}, {"double", 6, 23, 0}, {"bool", 7, 31, 0}, {"date", 8, 32, 0},
            {"sub", 9, 40, 0},   {"text", 10, 44, 20},
        };
        path = dir.file("typed.qtb");
        writeTestFile(path, tableHead(layout));
        ASSERT_TRUE(OpenTable(path));
        ASSERT_TRUE(AppendBlankRecord());
    }
    void TearDown() override { CloseAllTables(); }
    TempDir dir;
    Text path;
};

TEST_F(TypedTable, eachFieldReadsAsItsTypeAndStartsEmpty) {
    EXPECT_EQ(ReadField("byte"), Value::byte(0));
    EXPECT_EQ(ReadField("short"), Value::shortInteger(0));
    EXPECT_EQ(ReadField("int"), Value(std::int32_t{0}));
    EXPECT_EQ(ReadField("long"), Value(std::int64_t{0}));
    EXPECT_EQ(ReadField("float"), Value(0.0f));
    EXPECT_EQ(ReadField("double"), Value(0.0));
    EXPECT_EQ(ReadField("bool"), Value(false));
    EXPECT_EQ(ReadField("date"), Value(DateTime{}));
    EXPECT_EQ(ReadField("sub"), Value(SubprogramRef{}));
    EXPECT_EQ(ReadField("text"), Value(Text()));

    ASSERT_TRUE(WriteField("byte", Value::byte(200)));
    ASSERT_TRUE(WriteField("short", Value::shortInteger(-2)));
    ASSERT_TRUE(WriteField("int", -70000));
    ASSERT_TRUE(WriteField("long", std::int64_t{1} << 40));
    ASSERT_TRUE(WriteField("float", 1.5f));
    ASSERT_TRUE(WriteField("double", -0.25));
    ASSERT_TRUE(WriteField("bool", true));
    ASSERT_TRUE(WriteField("date", DateTime{42682.5}));
    ASSERT_TRUE(WriteField("sub", SubprogramRef{0x401000}));
    ASSERT_TRUE(WriteField("text", "t"));
    EXPECT_EQ(ReadField(1), Value::byte(200));
    EXPECT_EQ(ReadField(2), Value::shortInteger(-2));
    EXPECT_EQ(ReadField(3), Value(-70000));
    EXPECT_EQ(ReadField(4), Value(std::int64_t{1} << 40));
    EXPECT_EQ(ReadField(5), Value(1.5f));
    EXPECT_EQ(ReadField(6), Value(-0.25));
    EXPECT_EQ(ReadField(7), Value(true));
    EXPECT_EQ(ReadField(8), Value(DateTime{42682.5}));
    EXPECT_EQ(ReadField(9), Value(SubprogramRef{0x401000}));
    EXPECT_EQ(ReadField(10), Value(Text("t")));
    const std::string f = readTestFile(path);
    const std::size_t r = 116 + 72 * 10;
    EXPECT_EQ(static_cast<unsigned char>(f[r + 4]), 200);
    EXPECT_EQ(readLe32(f, r + 7), -70000);
    EXPECT_EQ(f[r + 31], 1);
}

TEST_F(TypedTable, numbersAreConvertedBetweenNumericTypesAndNothingElseIs) {
    EXPECT_TRUE(WriteField("byte", 300)); // wraps like a cast between integer types
    EXPECT_EQ(ReadField("byte"), Value::byte(44));
    EXPECT_TRUE(WriteField("int", 3.7));
    EXPECT_EQ(ReadField("int"), Value(3));
    EXPECT_TRUE(WriteField("int", -1e20)); // kept within the type's range
    EXPECT_EQ(ReadField("int"), Value(std::numeric_limits<std::int32_t>::min()));
    EXPECT_TRUE(WriteField("short", std::nan("")));
    EXPECT_EQ(ReadField("short"), Value::shortInteger(0));
    EXPECT_TRUE(WriteField("double", 7));
    EXPECT_EQ(ReadField("double"), Value(7.0));
    EXPECT_TRUE(WriteField("float", std::int64_t{3}));
    EXPECT_EQ(ReadField("float"), Value(3.0f));
    EXPECT_TRUE(WriteField("long", Value::byte(9)));
    EXPECT_EQ(ReadField("long"), Value(std::int64_t{9}));

    const std::string before = readTestFile(path);
    const std::vector<std::pair<const char*, Value>> refused = {
        {"bool", Value(1)},
        {"date", Value(42682.0)},
        {"int", Value("12")},
        {"int", Value(true)},
        {"sub", Value(4)},
        {"text", Value(5)},
        {"double", Value(DateTime{1})},
        {"byte", Value(ByteSet{1})},
    };
    for (const auto& [field, value] : refused) {
        EXPECT_FALSE(WriteField(field, value)) << field;
        EXPECT_EQ(lastDatabaseError(), -72) << field;
    }
    EXPECT_EQ(readTestFile(path), before);
    EXPECT_TRUE(WriteField("int")); // omitted: zero
    EXPECT_EQ(ReadField("int"), Value(0));
}

TEST_F(TypedTable, storedBooleansAndDatesAreReadLeniently) {
    CloseAllTables();
    std::string f = readTestFile(path);
    const std::size_t r = 116 + 72 * 10;
    f[r + 31] = 5; // any non-zero byte is true
    const double late = 1e9;
    std::memcpy(&f[r + 32], &late, 8);
    writeTestFile(path, f);
    ASSERT_TRUE(OpenTable(path));
    EXPECT_EQ(ReadField("bool"), Value(true));
    EXPECT_EQ(ReadField("date"), Value(DateTime{2958465}));
    ASSERT_TRUE(WriteField("date", DateTime{-1e9}));
    EXPECT_EQ(ReadField("date"), Value(DateTime{-657434}));
}

std::string hexOf(const Text& text) {
    std::string hex;
    for (unsigned char c : text) {
        char b[3];
        std::snprintf(b, sizeof b, "%02X", c);
        hex += b;
    }
    return hex;
}

// In the child of a death test the fatal error is reported as plain ASCII, so that the expectation
// needs no GBK text.
void reportInHex(const Text& title, const Text& text) {
    std::fprintf(stderr, "fatal:%s\n", hexOf(title + "|" + text).c_str());
    std::fflush(stderr);
}

bool exitedWithMinusOne(int status) {
#ifdef _WIN32
    return status == -1;
#else
    return WIFEXITED(status) && WEXITSTATUS(status) == 255;
#endif
}

using FolderTableDeathTest = FolderTable;

TEST_F(FolderTableDeathTest, readingWithoutACurrentTableEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setFatalReporter(reportInHex);
            CloseAllTables();
            ReadField(1);
        },
        exitedWithMinusOne,
        "fatal:" + hexOf("错误|" + fatalErrorText("未指定当前数据库或者指定数据库未打开")));
}

TEST_F(FolderTableDeathTest, readingAnUnknownFieldEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    append("a", "b");
    EXPECT_EXIT(
        {
            setFatalReporter(reportInHex);
            ReadField("no such field");
        },
        exitedWithMinusOne, "fatal:" + hexOf("错误|" + fatalErrorText("指定字段不存在")));
    EXPECT_EXIT(
        {
            setFatalReporter(reportInHex);
            ReadField(3);
        },
        exitedWithMinusOne, "fatal:" + hexOf("错误|" + fatalErrorText("指定字段不存在")));
}

} // namespace
} // namespace glyvora
