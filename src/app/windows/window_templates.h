#pragma once
// The application's windows as the form layer is given them at start.

#include "app/windows/main_window_template.h"
#include "app/windows/scan_window_template.h"
#include "forms/form_layer.h"

namespace glyvora {

// The template of one of the application's windows, null for any other id.
const WindowTemplate* findWindowTemplate(WindowId window);

// Gives the layer both windows' templates, so that it can load them.
void registerWindowTemplates(FormLayer& layer);

} // namespace glyvora
