// Opens an arbitrary file as a table, read-only and then for writing, and walks every record and
// field; for writing also appends, writes, marks and packs. No input may crash, read past a buffer,
// loop without end or allocate more than the file holds.
#include "../tablefile/fault_files.h"
#include "tablefile/table_engine.h"

#include <cstddef>
#include <cstdint>

namespace {

using namespace glyvora;

void dumpCurrentTable() {
    const table::TableInfo* info = table::currentTableInfo();
    if (!info) return;
    const std::int32_t count = RecordCount();
    FirstRecord();
    for (std::int32_t r = 0; r < count; ++r) {
        table::currentRecordId();
        for (std::size_t f = 1; f <= info->fields.size(); ++f)
            ReadField(static_cast<std::int32_t>(f));
        if (!SkipRecords()) break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::MemoryFileSystem memory;
    ScopedFileSystem use(memory);
    const Text path = "C:\\fuzz.qtb";
    memory.put(path, ByteSet(data, data + size));

    CloseAllTables();
    if (OpenTable(path, Value(), Value(1))) dumpCurrentTable();
    CloseAllTables();
    if (OpenTable(path)) {
        dumpCurrentTable();
        const table::TableInfo* info = table::currentTableInfo();
        // Appending writes a whole record; keep that within what a test should write.
        if (info->header.recordSize <= 65536 && AppendBlankRecord()) {
            for (std::size_t f = 1; f <= info->fields.size(); ++f) {
                WriteField(static_cast<std::int32_t>(f), "fuzz");
                WriteField(static_cast<std::int32_t>(f), 7);
            }
        }
        FirstRecord();
        MarkDeleted();
        PackTable();
        dumpCurrentTable();
    }
    CloseAllTables();
    return 0;
}
