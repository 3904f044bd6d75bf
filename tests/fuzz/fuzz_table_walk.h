#pragma once
// The walk both table targets make over the open table: every record's id and every field.
#include "tablefile/table_engine.h"

#include <cstddef>
#include <cstdint>

namespace glyvora::fuzzing {

inline void walkCurrentTable() {
    const table::TableInfo* info = table::currentTableInfo();
    if (!info) return;
    const std::int32_t count = RecordCount();
    FirstRecord();
    for (std::int32_t r = 0; r < count; ++r) {
        table::currentRecordId();
        for (std::size_t f = 1; f <= info->fields.size(); ++f)
            ReadField(static_cast<std::int32_t>(f));
        if (!SkipRecords()) break;
    }
}

} // namespace glyvora::fuzzing
