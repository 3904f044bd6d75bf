// The items blob as the tree file delivers it: parse, rebuild the tree, write it back. The levels
// follow the depths by the rebuild rules, the blob written back must parse completely and rebuild
// to the same tree, and a second write must give the same bytes.
#include "forms/items_blob.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glyvora;
    const ParsedItems parsed = parseItemsBlob(data, size);
    if (parsed.records.size() > size / 21) std::abort();
    TreeModel model;
    rebuildItems(model, parsed.records);
    if (static_cast<std::size_t>(model.count()) != parsed.records.size()) std::abort();
    const ByteSet once = serialiseItems(model);
    const ParsedItems again = parseItemsBlob(once.data(), once.size());
    if (!again.complete || again.records.size() != parsed.records.size()) std::abort();
    TreeModel second;
    rebuildItems(second, again.records);
    if (serialiseItems(second) != once) std::abort();
    for (int i = 0; i < model.count(); ++i) {
        // A record of the same depth as the one before is its sibling, a deeper one its child, a
        // shallower one never goes deeper.
        if (i > 0) {
            const std::int32_t depth = parsed.records[i].depth, before = parsed.records[i - 1].depth;
            const int level = model.at(i)->level, previous = model.at(i - 1)->level;
            if (depth == before && level != previous) std::abort();
            if (depth > before && level != previous + 1) std::abort();
            if (depth < before && level > previous) std::abort();
        }
        const int parent = model.parentOf(i);
        if (parent >= i || (parent >= 0 && model.at(parent)->level != model.at(i)->level - 1)) std::abort();
        if (parent < 0 && model.at(i)->level != 1) std::abort();
    }
    return 0;
}
