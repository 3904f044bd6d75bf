#include "fonts/set_table.h"

#include "app/program_files.h"
#include "commands/conversion.h"
#include "tablefile/table_engine.h"

namespace glyvora::app {

namespace {

// Reads the records from the first on, deleted ones included, and hands `visit` the path of each
// record of the set; stops at the record where `visit` says so, which stays the current one.
template <typename Visit>
bool visitSetRecords(const Text& setName, Visit visit) {
    FirstRecord();
    const std::int32_t records = RecordCount();
    for (std::int32_t r = 0; r < records; ++r) {
        if (ToText(ReadField(Value(kSetNameField))) == setName &&
            visit(ToText(ReadField(Value(kSetFontPathField)))))
            return true;
        SkipRecords(Value(1));
    }
    return false;
}

} // namespace

void openSetTable(MainState& state) {
    CloseAllTables();
    const Text setTable = programFile(state, kSetTable);
    OpenTable(setTable);
    SelectTable(setTable);
}

TextList setFontPaths(const Text& setName) {
    TextList paths;
    visitSetRecords(setName, [&paths](Text path) {
        paths.push_back(std::move(path));
        return false;
    });
    return paths;
}

bool isInSet(const Text& setName, const Text& fontPath) {
    return visitSetRecords(setName, [&fontPath](const Text& path) { return path == fontPath; });
}

} // namespace glyvora::app
