#include "app/windows/unit_builders.h"

namespace glyvora::build {

UnitTemplate control(UnitId id, UnitType type, const char* name, int left, int top, int width, int height,
                     Text caption) {
    UnitTemplate u;
    u.id = id;
    u.type = type;
    u.name = name;
    u.left = left;
    u.top = top;
    u.width = width;
    u.height = height;
    u.caption = std::move(caption);
    return u;
}

UnitTemplate label(UnitId id, const char* name, int left, int top, int width, int height, Text caption) {
    return control(id, UnitType::Label, name, left, top, width, height, std::move(caption));
}

UnitTemplate combo(UnitId id, const char* name, int left, int top, int width, int height,
                   std::vector<Text> items) {
    UnitTemplate u = control(id, UnitType::ComboBox, name, left, top, width, height);
    u.items = std::move(items);
    return u;
}

UnitTemplate menu(UnitId id, const char* name, int level, Text caption, unsigned flags) {
    UnitTemplate u;
    u.id = id;
    u.type = UnitType::Menu;
    u.name = name;
    u.caption = std::move(caption);
    u.menuLevel = level;
    u.menuFlags = flags;
    u.visible = (flags & kMenuHidden) == 0;
    return u;
}

UnitTemplate root(UnitId id, const char* name) {
    return menu(id, name, 0, name, kMenuHidden);
}
UnitTemplate item(UnitId id, const char* name, Text caption) {
    return menu(id, name, 1, std::move(caption));
}

UnitTemplate windowUnit(UnitId id, int width, int height, bool closeCommand, bool minMaxButtons) {
    UnitTemplate u = control(id, UnitType::Window, "", 50, 50, width, height);
    u.window.centred = true;
    u.window.alwaysOnTop = true;
    u.window.closeCommand = closeCommand;
    u.window.minMaxButtons = minMaxButtons;
    return u;
}

} // namespace glyvora::build
