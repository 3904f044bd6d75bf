#pragma once
// The desktop shell: showing a file to the user in its folder. POSIX has no such shell: there the
// call does nothing and reports failure.
//
// Everything goes through a Shell so that tests can put a recording one in front of the real one
// (ScopedShell).

#include "platform/scoped_service.h"
#include "platform/types.h"

namespace glyvora {

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a window on the folder that holds `path` with that item selected, and with its name
    // ready to be edited when `edit` is set. False when the path names nothing or the shell refuses.
    // The caller's thread must have COM initialised.
    virtual bool openFolderAndSelect(const Text& path, bool edit) = 0;
};

Shell& systemShell();
Shell& shell();

using ScopedShell = ScopedService<Shell>;

} // namespace glyvora
