// Opens an arbitrary file as a table for writing, appends a record and writes every field of it,
// marks the first record deleted, packs the table and walks what is left. No input may crash, read
// or write past a buffer, loop without end or allocate more than the file holds. Reading the same
// files, read-only and for writing, is fuzz_table.cpp's.
#include "../tablefile/fault_files.h"
#include "fuzz_table_walk.h"
#include "tablefile/table_engine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glyvora;
    testing::MemoryFileSystem memory;
    ScopedFileSystem use(memory);
    const Text path = "C:\\fuzz.qtb";
    memory.put(path, ByteSet(data, data + size));

    CloseAllTables();
    if (OpenTable(path)) {
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
        fuzzing::walkCurrentTable();
    }
    CloseAllTables();
    return 0;
}
