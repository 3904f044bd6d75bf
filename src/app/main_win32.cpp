// glyvora.exe: the main window on the Win32 backend, and the message loop until the program ends.
#include "forms/commands.h"
#include "forms/form_layer.h"
#include "forms/templates.h"
#include "forms/win32/make_backend.h"

#include <cstdlib>
#include <memory>

int main() {
    using namespace glyvora;
    std::unique_ptr<Backend> backend = win32::makeBackend();
    if (!backend) return 1;
    FormLayerOptions options;
    // The main window was closed through its frame while a handler waited inside the loop: the
    // program ends at once, without returning into that handler.
    options.endProgram = [] { std::exit(0); };
    FormLayer layer(*backend, options);
    if (!LoadWindow(mainwin::ref)) return 1;
    layer.run();
    return 0;
}
