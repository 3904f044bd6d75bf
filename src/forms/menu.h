#pragma once
// Popup menus built from a window's menu units, and the command numbers of menu items.

#include "forms/templates.h"

#include <functional>
#include <optional>
#include <vector>

namespace glyvora {

// The command number of a menu item is kFirstMenuCommand + its position among the window's menu
// units; numbers from kFirstMenuCommand to kLastMenuCommand that name a menu item raise its click.
inline constexpr unsigned kFirstMenuCommand = 20000;
inline constexpr unsigned kLastMenuCommand = 57599;

// What the layer keeps of a menu item (its four properties).
struct MenuItemState {
    Text caption;
    bool checked = false;
    bool disabled = false;
    bool visible = true;
};

struct MenuEntry {
    UnitId unit = 0;
    Text caption;
    bool separator = false; // the caption "-"
    bool checked = false;
    bool disabled = false;
    bool submenu = false; // opens `children`; such an entry has no command of its own
    unsigned command = 0; // 0 for separators and submenus
    std::vector<MenuEntry> children;
    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

// The command number of a menu unit, 0 when `unit` is not a menu unit of the window.
unsigned menuCommandOf(const WindowTemplate& window, UnitId unit);
// The menu unit a command number stands for.
std::optional<UnitId> menuUnitOfCommand(const WindowTemplate& window, unsigned command);

// The entries shown when `parent` pops up: its items in template order, an item deeper than the
// one before it opening a submenu under that one; hidden items are left out with everything below
// them; "-" gives a separator. Empty when `parent` is not a menu unit.
std::vector<MenuEntry> buildPopupMenu(const WindowTemplate& window, UnitId parent,
                                      const std::function<MenuItemState(UnitId)>& stateOf);

} // namespace glyvora
