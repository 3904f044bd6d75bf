#include "forms/menu.h"

namespace glyvora {

unsigned menuCommandOf(const WindowTemplate& window, UnitId unit) {
    unsigned position = 0;
    for (const UnitTemplate& u : window.units) {
        if (u.type != UnitType::Menu) continue;
        if (u.id == unit) return kFirstMenuCommand + position;
        ++position;
    }
    return 0;
}

std::optional<UnitId> menuUnitOfCommand(const WindowTemplate& window, unsigned command) {
    if (command < kFirstMenuCommand || command > kLastMenuCommand) return std::nullopt;
    unsigned position = 0;
    for (const UnitTemplate& u : window.units) {
        if (u.type != UnitType::Menu) continue;
        if (kFirstMenuCommand + position == command) return u.id;
        ++position;
    }
    return std::nullopt;
}

std::vector<MenuEntry> buildPopupMenu(const WindowTemplate& window, UnitId parent,
                                      const std::function<MenuItemState(UnitId)>& stateOf) {
    std::vector<MenuEntry> top;
    const auto& units = window.units;
    std::size_t first = 0;
    while (first < units.size() && !(units[first].id == parent && units[first].type == UnitType::Menu))
        ++first;
    if (first == units.size()) return top;
    const int parentLevel = units[first].menuLevel;

    struct Open {
        int level;
        std::vector<MenuEntry>* entries;
    };
    std::vector<Open> open{{parentLevel, &top}};
    int skipDeeperThan = -1; // set while leaving out the items below a hidden one
    for (std::size_t i = first + 1; i < units.size(); ++i) {
        const UnitTemplate& u = units[i];
        if (u.type != UnitType::Menu || u.menuLevel <= parentLevel) break;
        if (skipDeeperThan >= 0) {
            if (u.menuLevel > skipDeeperThan) continue;
            skipDeeperThan = -1;
        }
        const MenuItemState state = stateOf(u.id);
        if (!state.visible) {
            skipDeeperThan = u.menuLevel;
            continue;
        }
        while (open.size() > 1 && open.back().level >= u.menuLevel)
            open.pop_back();
        MenuEntry entry;
        entry.unit = u.id;
        entry.caption = state.caption;
        entry.separator = state.caption == "-";
        entry.checked = state.checked;
        entry.disabled = state.disabled;
        const bool next = i + 1 < units.size() && units[i + 1].type == UnitType::Menu;
        entry.submenu = !entry.separator && next && units[i + 1].menuLevel > u.menuLevel;
        if (!entry.separator && !entry.submenu) entry.command = menuCommandOf(window, u.id);
        std::vector<MenuEntry>& into = *open.back().entries;
        into.push_back(std::move(entry));
        if (into.back().submenu) open.push_back({u.menuLevel, &into.back().children});
    }
    return top;
}

} // namespace glyvora
