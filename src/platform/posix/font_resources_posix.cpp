// POSIX has no GDI: nothing is added, removed or reported.
#include "platform/font_resources.h"

namespace glyvora {

namespace {

class PosixFontResources final : public FontResources {
public:
    int addPrivate(const Text&) override { return 0; }
    bool removePrivate(const Text&) override { return false; }
    Text queryFaceName(const Text&) override { return Text(); }
};

} // namespace

FontResources& systemFontResources() {
    static PosixFontResources instance;
    return instance;
}

std::uint16_t fontNameLanguage() {
    return 0x0804;
}

} // namespace glyvora
