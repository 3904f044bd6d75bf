#pragma once
// The scan window's template: the progress bar and its label.

#include "app/windows/ids.h"
#include "forms/templates.h"

namespace glyvora {

const WindowTemplate& scanWindowTemplate();

} // namespace glyvora
