// Appends and packs with one file operation going wrong at every step in turn: afterwards the
// record count never claims records the file does not hold, the file opens, and every live record
// reads back exactly once.
#include "fault_files.h"
#include "support/temp_dir.h"
#include "table_fixtures.h"
#include "tablefile/table_engine.h"

#include <gtest/gtest.h>
#include <map>

namespace glyvora {
namespace {

using testing::Fault;
using testing::FaultFileSystem;
using testing::FaultPlan;
using testing::le32;
using testing::readLe32;
using testing::readTestFile;
using testing::tableHead;
using testing::TableLayout;
using testing::TempDir;
using testing::writeTestFile;

const Fault kFaults[] = {Fault::ShortRead, Fault::FailedRead, Fault::FailedWrite, Fault::DiskFull,
                         Fault::FailedResize};

const char* faultName(Fault f) {
    switch (f) {
    case Fault::ShortRead:
        return "short read";
    case Fault::FailedRead:
        return "failed read";
    case Fault::FailedWrite:
        return "failed write";
    case Fault::DiskFull:
        return "disk full";
    case Fault::FailedResize:
        return "failed resize";
    case Fault::FailedOpen:
        return "failed open";
    case Fault::FailedFlush:
        return "failed flush";
    case Fault::FailedReplace:
        return "failed replace";
    case Fault::FailedRemove:
        return "failed remove";
    case Fault::None:
        break;
    }
    return "none";
}

// A table of big records (one text field of `width` bytes), so that a pack takes several chunks.
struct BigTable {
    std::int32_t width;
    std::int32_t recordSize() const { return width + 4; }
    std::string text(std::int32_t id) const {
        std::string t = testing::numbered("record ", id);
        t.resize(static_cast<std::size_t>(width), static_cast<char>('a' + id % 26));
        return t;
    }
    // Records with IDs 1..count; those in `deleted` carry negative IDs.
    std::string file(std::int32_t count, const std::vector<std::int32_t>& deleted) const {
        TableLayout layout;
        layout.recordCount = count;
        layout.nextRecordId = count + 1;
        layout.recordSize = recordSize();
        layout.fields = {{"text", 10, 4, width}};
        std::string f = tableHead(layout);
        for (std::int32_t id = 1; id <= count; ++id) {
            const bool gone = std::find(deleted.begin(), deleted.end(), id) != deleted.end();
            f += le32(gone ? -id : id) + text(id);
        }
        return f;
    }
};

// What the file holds, read back through the engine after a plain open: ID to text of each live
// record, failing the test on a live ID seen twice.
std::map<std::int32_t, Text> liveRecords(const Text& path, const std::string& context) {
    std::map<std::int32_t, Text> live;
    CloseAllTables();
    // The count must not claim records beyond the end of the file, before any repair.
    const std::string raw = readTestFile(path);
    const std::int32_t claimed = readLe32(raw, 16);
    const std::int32_t recordSize = readLe32(raw, 24);
    const std::uint64_t dataStart = 116 + 72 * static_cast<std::uint64_t>(readLe32(raw, 112));
    EXPECT_LE(dataStart + static_cast<std::uint64_t>(claimed) * recordSize, raw.size()) << context;
    if (!OpenTable(path)) {
        ADD_FAILURE() << context << ": the table does not open: " << lastDatabaseError();
        return live;
    }
    const std::int32_t count = RecordCount();
    FirstRecord();
    for (std::int32_t i = 0; i < count; ++i, SkipRecords()) {
        const std::int32_t id = table::currentRecordId().value_or(0);
        if (id <= 0) continue;
        const Value text = ReadField(1);
        EXPECT_EQ(lastDatabaseError(), 0) << context << " record " << i;
        EXPECT_TRUE(live.emplace(id, text.as<Text>()).second) << context << ": ID " << id << " twice";
    }
    return live;
}

template <typename Step>
void atEveryStep(const Text& path, const std::string& original, Step step,
                 const std::function<void(const std::string&)>& check) {
    for (Fault fault : kFaults) {
        for (int at = 1;; ++at) {
            ASSERT_LT(at, 500) << "the operation never ends";
            CloseAllTables();
            writeTestFile(path, original);
            ASSERT_TRUE(OpenTable(path));
            FaultPlan plan;
            plan.fault = fault;
            plan.at = at;
            {
                FaultFileSystem faulty(systemFileSystem(), plan);
                ScopedFileSystem use(faulty);
                CloseAllTables();               // reopened through the faulty file system
                if (!OpenTable(path)) continue; // the open itself met the fault
                step();
            }
            CloseAllTables();
            check(std::string(faultName(fault)) + " at " + std::to_string(at));
            if (!plan.fired) {
                // Reads and writes happen at several steps of every operation here.
                const bool everywhere =
                    fault == Fault::ShortRead || fault == Fault::FailedRead || fault == Fault::FailedWrite;
                EXPECT_TRUE(!everywhere || at > 3) << faultName(fault);
                break;
            }
        }
    }
}

TEST(Faults, anAppendLeavesEveryRecordAndAtMostTheNewOne) {
    TempDir dir;
    const Text path = dir.file("t.qtb");
    const BigTable big{300};
    const std::string original = big.file(3, {2});
    atEveryStep(
        path, original,
        [&] {
            if (AppendBlankRecord()) WriteField(1, big.text(4));
        },
        [&](const std::string& context) {
            const std::map<std::int32_t, Text> live = liveRecords(path, context);
            EXPECT_EQ(live.count(1) + live.count(3), 2u) << context;
            EXPECT_EQ(live.count(2), 0u) << context;
            for (const auto& [id, text] : live) {
                EXPECT_LE(id, 4) << context;
                if (id != 4) {
                    EXPECT_EQ(text, big.text(id)) << context;
                }
            }
            // The next append gets an ID above every ID in the file.
            ASSERT_TRUE(AppendBlankRecord()) << context;
            EXPECT_GT(table::currentRecordId().value_or(0), live.rbegin()->first) << context;
            CloseAllTables();
        });
}

TEST(Faults, aPackLosesNoLiveRecordAndDuplicatesNone) {
    TempDir dir;
    const Text path = dir.file("t.qtb");
    const BigTable big{40000}; // four records to a chunk
    const std::vector<std::int32_t> deleted = {2, 3, 7, 12};
    const std::string original = big.file(13, deleted);
    atEveryStep(
        path, original, [] { PackTable(); },
        [&](const std::string& context) {
            const std::map<std::int32_t, Text> live = liveRecords(path, context);
            std::vector<std::int32_t> ids;
            for (const auto& [id, text] : live) {
                ids.push_back(id);
                EXPECT_EQ(text, big.text(id)) << context << " ID " << id;
            }
            EXPECT_EQ(ids, (std::vector<std::int32_t>{1, 4, 5, 6, 8, 9, 10, 11, 13})) << context;
            CloseAllTables();
        });
}

TEST(Faults, aPackOfTheFolderTableSurvivesEveryFault) {
    TempDir dir;
    const Text path = dir.file("t.qtb");
    std::string original = tableHead(testing::folderTableLayout(600, 601));
    for (int id = 1; id <= 600; ++id)
        original += testing::pathRecord(id % 7 == 0 ? -id : id, testing::numbered("f", id), "p");
    atEveryStep(
        path, original, [] { PackTable(); },
        [&](const std::string& context) {
            const std::map<std::int32_t, Text> live = liveRecords(path, context);
            EXPECT_EQ(live.size(), 600u - 600 / 7) << context;
            for (const auto& [id, text] : live)
                EXPECT_EQ(text, testing::numbered("f", id)) << context;
            CloseAllTables();
        });
}

} // namespace
} // namespace glyvora
