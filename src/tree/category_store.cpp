#include "tree/category_store.h"

#include "app/main_window.h"
#include "app/program_files.h"
#include "commands/conversion.h"
#include "commands/file_commands.h"
#include "commands/text.h"
#include "forms/commands.h"
#include "platform/files.h"
#include "tablefile/table_engine.h"
#include "tablefile/table_format.h"
#include "tree/folder_table.h"
#include "tree/tree_view.h"

namespace glyvora::app {

namespace {

// The tree file and the names file are the only copies of the user's classification: a save
// writes a new file beside the old one and swaps it in, so a crash or a full disk never leaves a
// cut file behind.
void replaceFile(const Text& path, const ByteSet& bytes) {
    writeWholeFileSafely(path, {bytes});
}

void createNamesFileIfMissing(MainState& state) {
    const Text path = programFile(state, kNamesFile);
    if (!FileExists(path)) WriteFileBytes(path, ByteSet());
}

void createFolderTableIfMissing(MainState& state) {
    const Text path = programFile(state, kFolderTable);
    if (!FileExists(path)) WriteFileBytes(path, table::emptyFolderTableImage());
}

void createSetTableIfMissing(MainState& state) {
    const Text path = programFile(state, kSetTable);
    if (!FileExists(path)) WriteFileBytes(path, table::emptySetTableImage());
}

} // namespace

void prepareCategoryStore(MainState& state) {
    createNamesFileIfMissing(state);
    createFolderTableIfMissing(state);
    openFolderTable(state);
    createSetTableIfMissing(state);
    loadTree(state);
}

void loadTree(MainState& state) {
    const ByteSet items = ReadFileBytes(programFile(state, kTreeFile));
    writeProperty(mainwin::window, mainwin::树型框1, prop::allItems, Value(items));
}

void saveTree(MainState& state) {
    const Value items = readProperty(mainwin::window, mainwin::树型框1, prop::allItems);
    replaceFile(programFile(state, kTreeFile), items.holds<ByteSet>() ? items.as<ByteSet>() : ByteSet());
}

void rewriteNamesFile(MainState& state) {
    Text names;
    const int count = ItemCount(tree());
    for (int i = 0; i < count; ++i)
        if (IsItemBold(tree(), i)) {
            names += '|';
            names += ItemText(tree(), i);
        }
    replaceFile(programFile(state, kNamesFile), ToBytes(Value(names)));
}

bool nameExists(MainState& state, const Text& name) {
    const std::int32_t file = OpenFile(programFile(state, kNamesFile));
    const Text names = ReadFileText(file);
    CloseFile(file);
    for (const Text& element : SplitText(names, "|"))
        if (element == name) return true;
    return name == kSetRootText;
}

void folderTableUpdate(MainState& state, FolderTableMode mode, const Text& name, const Text& path) {
    CloseAllTables();
    openFolderTable(state);
    const bool found = findFolderRecord(name);
    if (mode == FolderTableMode::add) {
        if (found) return;
        AppendBlankRecord();
        WriteField(Value(kFolderLabelField), Value(name));
        WriteField(Value(kFolderPathField), Value(path));
        return;
    }
    if (found) {
        MarkDeleted();
        PackTable();
    }
}

} // namespace glyvora::app
