// Long random sequences of the twelve commands over the folder and the set table, checked after
// every step against a small model of both tables: every result, every error code, and the bytes
// of both files.
#include "support/temp_dir.h"
#include "table_fixtures.h"
#include "tablefile/table_engine.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace glyvora {
namespace {

using testing::le32;
using testing::readTestFile;
using testing::TempDir;
using testing::writeTestFile;

struct ModelRecord {
    std::int32_t id;
    std::string fields[2]; // the stored bytes, 100 and 200
};

struct ModelTable {
    Text path;
    Text baseName;
    Text field1;
    ByteSet image;
    std::vector<ModelRecord> records;
    std::int32_t nextId = 1;
    std::int32_t current = 0;

    std::string bytes() const {
        std::string f(image.begin(), image.end());
        f.replace(16, 4, le32(static_cast<std::int32_t>(records.size())));
        f.replace(20, 4, le32(nextId));
        for (const ModelRecord& r : records)
            f += le32(r.id) + r.fields[0] + r.fields[1];
        return f;
    }
};

constexpr std::size_t kWidths[2] = {100, 200};

class Model {
public:
    Model(const TempDir& dir, std::uint32_t seed) : random_(seed) {
        tables_[0].path = dir.file("目录名称与地址数据库.qtb");
        tables_[0].baseName = "目录名称与地址数据库";
        tables_[0].field1 = "目录名称";
        tables_[0].image = table::emptyFolderTableImage();
        tables_[1].path = dir.file("集名称与字体地址数据库.qtb");
        tables_[1].baseName = "集名称与字体地址数据库";
        tables_[1].field1 = "集名称";
        tables_[1].image = table::emptySetTableImage();
        for (const ModelTable& t : tables_)
            writeTestFile(t.path, std::string(t.image.begin(), t.image.end()));
        CloseAllTables();
    }

    // One random command, run on the engine and on the model; false once a check has failed.
    bool step() {
        const int command = pick(0, 11);
        what_ = "command " + std::to_string(command);
        switch (command) {
        case 0:
            open();
            break;
        case 1:
            select();
            break;
        case 2:
            CloseAllTables();
            open_.clear();
            current_ = -1;
            expectError(0);
            break;
        case 3: {
            const int i = pick(0, 1);
            const bool open = std::find(open_.begin(), open_.end(), i) != open_.end();
            EXPECT_EQ(IsTableOpen(tables_[i].path), open) << what_;
            expectError(0);
            break;
        }
        case 4:
            EXPECT_EQ(RecordCount(), current_ < 0 ? 0 : static_cast<std::int32_t>(table().records.size()))
                << what_;
            expectError(current_ < 0 ? -67 : 0);
            break;
        case 5:
            FirstRecord();
            if (current_ >= 0) table().current = 0;
            expectError(current_ < 0 ? -67 : 0);
            break;
        case 6:
            skip();
            break;
        case 7:
            append();
            break;
        case 8:
            read();
            break;
        case 9:
            write();
            break;
        case 10:
            markDeleted();
            break;
        case 11:
            pack();
            break;
        }
        for (const ModelTable& t : tables_)
            EXPECT_EQ(readTestFile(t.path), t.bytes()) << what_ << ": " << t.baseName;
        if (current_ >= 0) {
            EXPECT_NE(table::currentTableInfo(), nullptr);
            if (table::currentTableInfo()) {
                EXPECT_EQ(table::currentTableInfo()->fullPath, table().path) << what_;
                EXPECT_EQ(table::currentTableInfo()->currentRecord, table().current) << what_;
            }
        } else {
            EXPECT_EQ(table::currentTableInfo(), nullptr) << what_;
        }
        return !::testing::Test::HasFailure();
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    ModelTable& table() { return tables_[current_]; }
    void expectError(int code) { EXPECT_EQ(lastDatabaseError(), code) << what_; }

    void open() {
        const int i = pick(0, 1);
        const bool already = std::find(open_.begin(), open_.end(), i) != open_.end();
        EXPECT_EQ(OpenTable(tables_[i].path), !already) << what_;
        expectError(already ? -38 : 0);
        if (already) return;
        open_.push_back(i);
        current_ = i;
        tables_[i].current = 0;
    }

    void select() {
        const int i = pick(0, 1);
        Text name;
        switch (pick(0, 2)) {
        case 0:
            name = tables_[i].baseName;
            break;
        case 1:
            name = tables_[i].path;
            for (char& c : name)
                if (c >= 'a' && c <= 'z' && pick(0, 1)) c = static_cast<char>(c - 'a' + 'A');
            break;
        case 2:
            name = tables_[i].baseName + ".qtb"; // no extension is ever added or removed
            break;
        }
        const bool found =
            name != tables_[i].baseName + ".qtb" && std::find(open_.begin(), open_.end(), i) != open_.end();
        EXPECT_EQ(SelectTable(name), found) << what_;
        expectError(found ? 0 : -66);
        if (found) current_ = i;
    }

    void skip() {
        const int choice = pick(0, 9);
        const std::int32_t n = choice == 0 ? 1 : choice == 1 ? 1000 : choice == 2 ? -1000 : pick(-3, 3);
        const bool ok = choice == 0 ? SkipRecords() : SkipRecords(n);
        if (current_ < 0) {
            EXPECT_FALSE(ok);
            return expectError(-67);
        }
        ModelTable& t = table();
        const auto count = static_cast<std::int32_t>(t.records.size());
        int code = 0;
        if (n > 0 && (count == 0 || t.current >= count)) code = -26;
        if (n < 0 && (count == 0 || t.current < 0)) code = -25;
        if (code == 0 && n != 0) t.current = std::max(-1, std::min(t.current + n, count));
        EXPECT_EQ(ok, code == 0) << what_;
        expectError(code);
    }

    void append() {
        const bool ok = AppendBlankRecord();
        EXPECT_EQ(ok, current_ >= 0) << what_;
        expectError(current_ < 0 ? -67 : 0);
        if (current_ < 0) return;
        ModelTable& t = table();
        t.records.push_back({t.nextId++, {std::string(100, '\0'), std::string(200, '\0')}});
        t.current = static_cast<std::int32_t>(t.records.size()) - 1;
    }

    // Field 1 by number or by its name in another spelling, field 2 by number.
    Value field(int& index) {
        index = pick(0, 1);
        if (index == 0 && pick(0, 1)) return Value(table().field1);
        return Value(index + 1);
    }

    // The record the current record names, or null with the code for its absence.
    ModelRecord* currentRecord(int pastEndCode, int& code) {
        ModelTable& t = table();
        code = 0;
        if (t.current < 0)
            code = -60;
        else if (t.current >= static_cast<std::int32_t>(t.records.size()))
            code = pastEndCode;
        return code ? nullptr : &t.records[static_cast<std::size_t>(t.current)];
    }

    void read() {
        if (current_ < 0) return; // that ends the program; the fatal error has its own test
        int index = 0;
        const Value f = field(index);
        const Value value = ReadField(f);
        int code = 0;
        const ModelRecord* r = currentRecord(-10, code);
        Text expected;
        if (r) expected = r->fields[index].substr(0, r->fields[index].find('\0'));
        EXPECT_EQ(value, Value(expected)) << what_;
        expectError(code);
    }

    Text randomText() {
        static const char* pieces[] = {"a", "Z", "集", "名称", " ", "\\", "\x81\x5C", "0123456789"};
        Text t;
        const int n = pick(0, 3) == 0 ? pick(0, 80) : pick(0, 6);
        for (int i = 0; i < n; ++i)
            t += pieces[pick(0, 7)];
        if (pick(0, 9) == 0) t += Text(1, '\0') + "hidden";
        return t;
    }

    void write() {
        if (current_ < 0) {
            EXPECT_FALSE(WriteField(1, "x"));
            return expectError(-66);
        }
        int index = 0;
        const int kind = pick(0, 9);
        const Value f = kind == 0 ? Value(3) : field(index);
        const Value value = kind == 1 ? Value(5) : kind == 2 ? Value() : Value(randomText());
        const bool ok = WriteField(f, value);
        int code = 0;
        ModelRecord* r = nullptr;
        if (kind == 0)
            code = -61;
        else if (kind == 1)
            code = -72;
        else
            r = currentRecord(-60, code);
        EXPECT_EQ(ok, code == 0) << what_;
        expectError(code);
        if (!r) return;
        Text stored = value.omitted() ? Text() : value.as<Text>();
        stored = stored.substr(0, std::min(stored.find('\0'), kWidths[index]));
        stored.resize(kWidths[index], '\0');
        r->fields[index] = stored;
    }

    void markDeleted() {
        const bool ok = MarkDeleted();
        if (current_ < 0) {
            EXPECT_FALSE(ok);
            return expectError(-67);
        }
        int code = 0;
        ModelRecord* r = currentRecord(-60, code);
        EXPECT_EQ(ok, code == 0) << what_;
        expectError(code);
        if (r && r->id > 0) r->id = -r->id;
    }

    void pack() {
        const bool ok = PackTable();
        EXPECT_EQ(ok, current_ >= 0) << what_;
        expectError(current_ < 0 ? -67 : 0);
        if (current_ < 0) return;
        ModelTable& t = table();
        std::erase_if(t.records, [](const ModelRecord& r) { return r.id < 0; });
        t.current = 0;
    }

    std::mt19937 random_;
    ModelTable tables_[2];
    std::vector<int> open_; // in the order opened
    int current_ = -1;
    std::string what_;
};

TEST(TableModel, randomCommandSequencesMatchTheModelStepByStep) {
    for (std::uint32_t seed : {1u, 2u, 3u, 20161108u}) {
        TempDir dir;
        Model model(dir, seed);
        for (int step = 0; step < 1500; ++step) {
            ASSERT_TRUE(model.step()) << "seed " << seed << ", step " << step;
        }
        CloseAllTables();
    }
}

} // namespace
} // namespace glyvora
