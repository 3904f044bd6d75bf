// The shell's file manager through an item id list of the path. SHOpenFolderAndSelectItems needs
// COM initialised on the calling thread; the program does that once at start.
#include "platform/shell.h"

#include <shlobj.h>
#include <windows.h>

namespace glyvora {

namespace {

// OFASI_EDIT: the selected item's name opens for renaming.
constexpr DWORD kSelectForEdit = 1;

class Win32Shell final : public Shell {
public:
    bool openFolderAndSelect(const Text& path, bool edit) override {
        PIDLIST_ABSOLUTE pidl = ILCreateFromPathA(path.c_str());
        if (!pidl) return false;
        // With no child items the call opens the folder that holds the item and selects it.
        const HRESULT hr = SHOpenFolderAndSelectItems(pidl, 0, nullptr, edit ? kSelectForEdit : 0);
        ILFree(pidl);
        return hr == S_OK;
    }
};

} // namespace

Shell& systemShell() {
    static Win32Shell instance;
    return instance;
}

} // namespace glyvora
