#pragma once
// The application on a backend and a program directory: glyvora.exe's main and the scenario tests
// start it the same way. start() binds every handler of both windows and loads the main window
// (whose created event runs the start-up); run() is the message loop.

#include "app/font_file_source.h"
#include "app/main_state.h"
#include "forms/backend.h"
#include "forms/form_layer.h"

#include <functional>
#include <memory>

namespace glyvora::app {

struct ApplicationOptions {
    // Ends the process with the exit code at the tray menu's exit; tests record it.
    std::function<void(int)> endProcess;
    // The main window was closed through its frame while a handler waited: the program ends at
    // once. Tests record it.
    std::function<void()> endAtOnce;
};

class Application {
public:
    Application(Backend& backend, Text programDirectory, ApplicationOptions options = {});
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // False when the main window could not be created.
    bool start();
    void run();

    MainState& state() { return *state_; }
    FormLayer& layer() { return *layer_; }

private:
    // What the backend reads about the labels' font files, so each label draws its own file.
    ProgramFontFiles fontFiles_;
    std::unique_ptr<MainState> state_;
    std::unique_ptr<FormLayer> layer_;
};

// The program: start, then the message loop until it ends. The exit code.
int runApplication(Backend& backend, const Text& programDirectory, ApplicationOptions options = {});

} // namespace glyvora::app
