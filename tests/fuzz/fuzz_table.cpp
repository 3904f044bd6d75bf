// Opens an arbitrary file as a table, read-only and then for writing, and walks every record and
// field. No input may crash, read past a buffer, loop without end or allocate more than the file
// holds. Appending, writing, marking and packing the same files is fuzz_table_write.cpp's.
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
    if (OpenTable(path, Value(), Value(1))) fuzzing::walkCurrentTable();
    CloseAllTables();
    if (OpenTable(path)) fuzzing::walkCurrentTable();
    CloseAllTables();
    return 0;
}
