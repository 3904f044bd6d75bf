#include "app/windows/window_templates.h"

namespace glyvora {

const WindowTemplate* findWindowTemplate(WindowId window) {
    if (window == mainwin::window) return &mainWindowTemplate();
    if (window == scanwin::window) return &scanWindowTemplate();
    return nullptr;
}

void registerWindowTemplates(FormLayer& layer) {
    layer.registerTemplate(mainWindowTemplate());
    layer.registerTemplate(scanWindowTemplate());
}

} // namespace glyvora
