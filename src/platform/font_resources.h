#pragma once
// GDI font resources: fonts added to this process only (private), removed again, and the system's
// own face-name query for a font file. POSIX has no GDI: its private adds do nothing and its query
// yields nothing.
//
// Everything goes through a FontResources so that tests can put a recording one in front of the
// real one (ScopedFontResources).

#include "platform/scoped_service.h"
#include "platform/types.h"

#include <cstdint>

namespace glyvora {

class FontResources {
public:
    virtual ~FontResources() = default;
    // AddFontResourceExA(path, FR_PRIVATE, 0): the number of fonts added, 0 on failure.
    virtual int addPrivate(const Text& path) = 0;
    // RemoveFontResourceExA(path, FR_PRIVATE, 0).
    virtual bool removePrivate(const Text& path) = 0;
    // The first face name of a font file as the system reports it: a public AddFontResourceW, the
    // logical fonts of the file from GetFontResourceInfoW, RemoveFontResourceW. Empty when the
    // system has no such query or the file yields none.
    virtual Text queryFaceName(const Text& path) = 0;
};

FontResources& systemFontResources();
FontResources& fontResources();

using ScopedFontResources = ScopedService<FontResources>;

// The language whose names a logical font carries: the user's user-interface language (0x0804 on
// the target systems, and always 0x0804 on POSIX).
std::uint16_t fontNameLanguage();

} // namespace glyvora
