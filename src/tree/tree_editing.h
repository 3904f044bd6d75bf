#pragma once
// The commands that change the category tree: add a category (the button), and, from the tree's
// popup menus, add a subcategory or a folder, rename, remove, move up and move down. Each acts on
// the selected item (the right click selected it) and then brings the stores up to date.

#include "app/main_state.h"
#include "forms/form_layer.h"

namespace glyvora::app {

void addCategory(MainState& state);
void addSubcategory(MainState& state);
void addFolder(MainState& state);
void renameItem(MainState& state);
void removeCategory(MainState& state);
void removeSubcategory(MainState& state);
void removeFolderOrSet(MainState& state);

enum class MoveDirection { up, down };
// Swaps the selected item, with everything below it, with its previous or next sibling.
void moveItem(MainState& state, MoveDirection direction);

// Whether a name can be given to a category or subcategory: not one that exists (the names file
// and the set root's label), not empty, and without the names file's separator, which would make
// the name unrecognisable there.
bool acceptableName(MainState& state, const Text& name);

Bindings treeEditingBindings(MainState& state);

} // namespace glyvora::app
