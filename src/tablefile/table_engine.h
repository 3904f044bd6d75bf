#pragma once
// The twelve table commands. The engine keeps any number of table files open at once, in the order
// they were opened; one of them is the current table, and each has its own current record. Every
// command leaves its outcome in the last database error (database_error.h); the commands that
// answer true or false answer true exactly when that is 0.
//
// Tables opened with any sharing but exclusive are shared with other processes through byte-range
// locks (table_locks.h). Nothing is cached between commands: the record count and the next record
// ID are read from the file every time, so another process's appends are seen at once.

#include "commands/value.h"
#include "tablefile/database_error.h"
#include "tablefile/table_format.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace glyvora {

// Opens a table file and makes it the current table, at record 0. The name gets the default
// extension and is resolved against the current directory. `readOnly` 1 opens for reading only;
// `sharing` is 1 deny none (the default), 2 deny read, 3 deny write, anything else exclusive. The
// alias is one more name SelectTable finds the table by.
bool OpenTable(const Value& fileName, const Value& alias = Value(), const Value& readOnly = Value(),
               const Value& sharing = Value());
// Makes current the most recently opened table whose alias, else base name, else full path equals
// the text (ignoring case).
bool SelectTable(const Value& name);
void CloseAllTables();
bool IsTableOpen(const Value& fileName);
// Records of the current table, those marked deleted included.
std::int32_t RecordCount();
void FirstRecord();
// Moves the current record by n (default 1), stopping at -1 and at the record count.
bool SkipRecords(const Value& n = Value());
// Appends a zero-filled record with the next record ID and makes it current.
bool AppendBlankRecord();
// The field (a name, or a 1-based number) of the current record. With no current table or an
// unknown field this ends the program through the fatal runtime error.
Value ReadField(const Value& field);
bool WriteField(const Value& field, const Value& value = Value());
// Marks the current record deleted; given a boolean, marks every record when it is true.
bool MarkDeleted(const Value& condition = Value());
// Removes the records marked deleted; record IDs are kept, the current record becomes 0.
bool PackTable();

namespace table {

// What an open table was opened with, for glyvora-tool and tests.
struct TableInfo {
    Text fullPath;
    Text baseName;
    Text alias;
    Header header; // as read at open (after the size repair)
    std::vector<FieldDescriptor> fields;
    std::uint64_t dataStart = 0;
    std::int32_t currentRecord = 0;
    bool readOnly = false;
    bool exclusive = false;
};

// The current table, or null.
const TableInfo* currentTableInfo();

// The 0-based index of a field of the current table (by name or 1-based number), or -1.
int findField(const Value& field);

// The record ID of the current record, read under its record lock; sets the last database error
// like ReadField (-60 before the first record, -10 past the end of the file).
std::optional<std::int32_t> currentRecordId();

// The current table's file length now.
std::optional<std::uint64_t> currentFileSize();

} // namespace table

} // namespace glyvora
