#pragma once
// The stores that keep the category tree between runs, all in the program directory: the tree file
// (the tree's items blob, the authority for the whole tree), the names file ("|" + name for every
// category and subcategory, derived from the tree, used only to refuse duplicate names) and the
// folder table (folder label to disk path).

#include "app/main_state.h"
#include "platform/types.h"
#include "tree/folder_table.h"

namespace glyvora::app {

// Creates the names file (empty) and the folder table (the empty table image) when they are
// missing, opens the folder table as the current table, creates the set table when missing, and
// loads the tree.
void prepareCategoryStore(MainState& state);

// The tree file into the tree (a missing or unreadable file gives an empty tree).
void loadTree(MainState& state);
// The tree into the tree file, replacing the old file only once the new one is whole on disk.
void saveTree(MainState& state);
// "|" + text of every bold item, in pre-order, into the names file (replaced the same way).
void rewriteNamesFile(MainState& state);
// Whether a category or subcategory of that name exists according to the names file; "集", the
// set root's label, always exists.
bool nameExists(MainState& state, const Text& name);

enum class FolderTableMode { add, remove };
// Add: a record (name, path) unless one with that name exists. Remove: the first record of that
// name, packed away. Leaves the folder table open and current.
void folderTableUpdate(MainState& state, FolderTableMode mode, const Text& name, const Text& path = Text());

} // namespace glyvora::app
