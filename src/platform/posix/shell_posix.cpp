#include "platform/shell.h"

namespace glyvora {

namespace {

class PosixShell final : public Shell {
public:
    bool openFolderAndSelect(const Text&, bool) override { return false; }
};

} // namespace

Shell& systemShell() {
    static PosixShell instance;
    return instance;
}

} // namespace glyvora
