#pragma once
// The folder table: one record per folder node's label, field 1 the label (目录名称), field 2 the
// folder's path (目录地址). The scan resolves labels through it and the tree's add and remove
// commands keep it; each of them asks it the same question, the first record of a label.

#include "app/main_state.h"
#include "platform/types.h"

#include <cstdint>
#include <optional>

namespace glyvora::app {

inline constexpr std::int32_t kFolderLabelField = 1;
inline constexpr std::int32_t kFolderPathField = 2;

// Opens the folder table and makes it the current table.
void openFolderTable(MainState& state);

// Makes the first record whose label equals `label` the current one, reading the labels from the
// first record on, deleted records included. False when no record has that label; the current
// record is then the one after the last record read.
bool findFolderRecord(const Text& label);

// The path of the first record of `label`; none when no record has it.
std::optional<Text> folderPathOf(const Text& label);

} // namespace glyvora::app
