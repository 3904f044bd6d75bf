#include "app/application.h"

#include "app/shell_handlers.h"
#include "app/windows/window_templates.h"
#include "fonts/font_menu.h"
#include "fonts/font_search.h"
#include "fonts/font_sets.h"
#include "fonts/page_turning.h"
#include "fonts/preview_pages.h"
#include "fonts/scan.h"
#include "forms/commands.h"
#include "tablefile/table_engine.h"
#include "tree/tree_editing.h"
#include "tree/tree_view.h"

namespace glyvora::app {

namespace {

void append(Bindings& all, Bindings more) {
    for (Binding& b : more)
        all.push_back(std::move(b));
}

// Every (unit, event) -> handler pair of the main window, subsystem by subsystem.
Bindings mainWindowBindings(MainState& state) {
    Bindings all;
    append(all, shellBindings(state));
    append(all, treeViewBindings(state));
    append(all, treeEditingBindings(state));
    append(all, previewPageBindings(state));
    append(all, pageTurningBindings(state));
    append(all, fontSearchBindings(state));
    append(all, fontMenuBindings(state));
    append(all, fontSetBindings(state));
    return all;
}

} // namespace

Application::Application(Backend& backend, Text programDirectory, ApplicationOptions options)
    : state_(std::make_unique<MainState>()) {
    state_->programDirectory = std::move(programDirectory);
    state_->endProcess = std::move(options.endProcess);
    FormLayerOptions layerOptions;
    layerOptions.endProgram = std::move(options.endAtOnce);
    layer_ = std::make_unique<FormLayer>(backend, std::move(layerOptions));
    registerWindowTemplates(*layer_);
    backend.setFontFileSource(&fontFiles_);
}

Application::~Application() {
    CloseAllTables();
    layer_->backend().setFontFileSource(nullptr);
}

bool Application::start() {
    layer_->bindEvents(mainwin::window, mainWindowBindings(*state_));
    layer_->bindEvents(scanwin::window, scanWindowBindings(*state_));
    return LoadWindow(mainwin::ref);
}

void Application::run() {
    layer_->run();
}

int runApplication(Backend& backend, const Text& programDirectory, ApplicationOptions options) {
    Application application(backend, programDirectory, std::move(options));
    if (!application.start()) return 1;
    application.run();
    return 0;
}

} // namespace glyvora::app
