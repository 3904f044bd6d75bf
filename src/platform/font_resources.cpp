#include "platform/font_resources.h"

namespace glyvora {

FontResources& fontResources() {
    if (FontResources* replaced = ScopedFontResources::replacement()) return *replaced;
    return systemFontResources();
}

} // namespace glyvora
