#pragma once
// The main window's template: the preview labels, the paging and style controls, the category tree
// and the popup menus, in creation order with their design values.

#include "app/windows/ids.h"
#include "forms/templates.h"

namespace glyvora {

const WindowTemplate& mainWindowTemplate();

} // namespace glyvora
