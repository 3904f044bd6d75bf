#pragma once
// The set table: one record per font of a set, field 1 the set's name (集名称), field 2 the font's
// path. A font may be in a set only once when added through the menu, but every record counts when
// a set is shown.

#include "app/main_state.h"
#include "platform/types.h"

#include <cstdint>

namespace glyvora::app {

inline constexpr std::int32_t kSetNameField = 1;
inline constexpr std::int32_t kSetFontPathField = 2;

// Closes every table, opens the set table and makes it the current table.
void openSetTable(MainState& state);

// The paths of every record of the set, in record order, duplicates included (the current table is
// the set table).
TextList setFontPaths(const Text& setName);

// Whether the current table (the set table) holds the pair.
bool isInSet(const Text& setName, const Text& fontPath);

} // namespace glyvora::app
