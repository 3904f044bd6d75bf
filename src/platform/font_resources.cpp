#include "platform/font_resources.h"

namespace glyvora {

namespace {
FontResources* currentFontResources = nullptr;
}

FontResources& fontResources() {
    return currentFontResources ? *currentFontResources : systemFontResources();
}

ScopedFontResources::ScopedFontResources(FontResources& replacement) : previous_(currentFontResources) {
    currentFontResources = &replacement;
}

ScopedFontResources::~ScopedFontResources() {
    currentFontResources = previous_;
}

} // namespace glyvora
