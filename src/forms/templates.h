#pragma once
// Form templates: for each window, its units in creation order with their design values.
// Templates are data the application gives the form layer (FormLayer::registerTemplate); the layer
// creates windows from them and knows nothing else of the application.

#include "forms/font.h"
#include "forms/ids.h"
#include "platform/types.h"

#include <optional>
#include <vector>

namespace glyvora {

// Design values of a window unit.
struct WindowDesign {
    bool centred = false;     // placed centred on the screen at creation; left and top unused
    bool alwaysOnTop = false; // put into the top-most band right after creation
    bool minMaxButtons = true;
    bool closeCommand = true; // false: no close entry in the system menu, no closing through the frame
};

// Design values of a TreeBox.
struct TreeDesign {
    int borderStyle = 0;
    bool hasButtons = false;
    bool hasLines = false;
    bool linesAtRoot = false;
    bool editLabels = false;
    bool showSelectionAlways = false;
    bool checkBoxes = false;
    int itemHeight = 0; // pixels; 0: the control's own
};

// Menu item flags.
inline constexpr unsigned kMenuHidden = 0x1;
inline constexpr unsigned kMenuDisabled = 0x2;
inline constexpr unsigned kMenuChecked = 0x4;

struct UnitTemplate {
    UnitId id = 0;
    UnitType type = UnitType::Label;
    Text name;
    // Pixels in the window's client area; for the window unit its screen position and outer size.
    int left = 0, top = 0, width = 0, height = 0;
    Text caption;            // window, Label, Button, CheckBox caption; EditBox content; menu caption
    std::vector<Text> items; // ComboBox list
    std::optional<UnitFont> font;
    std::optional<Colour> textColour;
    std::optional<Colour> backColour;
    bool visible = true;
    bool disabled = false;
    WindowDesign window;
    TreeDesign tree;
    int minimum = 0, maximum = 0, position = 0; // ProcessBar
    Colour colour = 0;                          // ColorPicker
    int menuLevel = 0;                          // 0 popup root, 1 its item, 2 item of a level-1 item
    unsigned menuFlags = 0;
};

struct WindowTemplate {
    WindowId window = 0;
    UnitId windowUnit = 0;
    std::vector<UnitTemplate> units; // creation order, the window unit first
    const UnitTemplate* find(UnitId id) const;
    const UnitTemplate& windowUnitTemplate() const { return units.front(); }
};

} // namespace glyvora
