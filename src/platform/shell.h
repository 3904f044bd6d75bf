#pragma once
// The shell's file manager: a folder opened with one file selected in it. POSIX has no such shell:
// its request fails.
//
// Everything goes through a Shell so that tests can put a recording one in front of the real one
// (ScopedShell).

#include "platform/types.h"

namespace glyvora {

class Shell {
public:
    virtual ~Shell() = default;
    // Opens the folder that holds `path` with that item selected; with `edit` the item's name is
    // opened for renaming. False when the path cannot be resolved or the shell refuses.
    virtual bool openFolderAndSelect(const Text& path, bool edit) = 0;
};

Shell& systemShell();
Shell& shell();

class ScopedShell {
public:
    explicit ScopedShell(Shell& replacement);
    ~ScopedShell();
    ScopedShell(const ScopedShell&) = delete;
    ScopedShell& operator=(const ScopedShell&) = delete;

private:
    Shell* previous_;
};

} // namespace glyvora
