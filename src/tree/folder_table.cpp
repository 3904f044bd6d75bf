#include "tree/folder_table.h"

#include "app/program_files.h"
#include "commands/conversion.h"
#include "tablefile/table_engine.h"

namespace glyvora::app {

void openFolderTable(MainState& state) {
    const Text path = programFile(state, kFolderTable);
    OpenTable(path);
    SelectTable(path);
}

bool findFolderRecord(const Text& label) {
    FirstRecord();
    const std::int32_t records = RecordCount();
    for (std::int32_t r = 0; r < records; ++r) {
        if (ToText(ReadField(Value(kFolderLabelField))) == label) return true;
        SkipRecords(Value(1));
    }
    return false;
}

std::optional<Text> folderPathOf(const Text& label) {
    if (!findFolderRecord(label)) return std::nullopt;
    return ToText(ReadField(Value(kFolderPathField)));
}

} // namespace glyvora::app
