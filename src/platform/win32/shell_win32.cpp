#include "platform/shell.h"
#include "platform/win32/wide_path.h"

// <windows.h> first: <shlobj.h> relies on its types.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

namespace glyvora {

namespace {

class Win32Shell final : public Shell {
public:
    bool openFolderAndSelect(const Text& path, bool edit) override {
        if (path.empty()) return false;
        // Null for a path that names nothing on the disk.
        PIDLIST_ABSOLUTE item = ILCreateFromPathW(win32::widePath(path).c_str());
        if (!item) return false;
        const HRESULT hr = SHOpenFolderAndSelectItems(item, 0, nullptr, edit ? OFASI_EDIT : 0);
        ILFree(item);
        return hr == S_OK;
    }
};

} // namespace

Shell& systemShell() {
    static Win32Shell instance;
    return instance;
}

} // namespace glyvora
