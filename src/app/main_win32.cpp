// glyvora.exe: the application on the Win32 backend, with its files beside the executable.
#include "app/application.h"
#include "app/windows/ids.h"
#include "commands/file_commands.h"
#include "forms/win32/make_backend.h"

#include <cstdlib>
#include <memory>

int main() {
    using namespace glyvora;
    std::unique_ptr<Backend> backend = win32::makeBackend();
    if (!backend) return 1;
    Backend* shown = backend.get();
    app::ApplicationOptions options;
    options.endProcess = [shown](int code) {
        // The icon would stay in the notification area until the mouse passes over it.
        shown->setTrayIcon(mainwin::window, std::nullopt);
        std::exit(code);
    };
    // The main window was closed through its frame while a handler waited inside the loop: the
    // program ends at once, without returning into that handler.
    options.endAtOnce = [shown] {
        shown->setTrayIcon(mainwin::window, std::nullopt);
        std::exit(0);
    };
    return app::runApplication(*backend, ProgramDirectory(), options);
}
