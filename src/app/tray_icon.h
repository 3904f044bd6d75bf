#pragma once
// The program's icon as an .ico file (one 32 x 32 image, 32 bits per pixel), for the tray. The
// same picture is glyvora.exe's own icon resource (glyvora.rc).

#include "platform/types.h"

namespace glyvora::app {

ByteSet trayIconFile();

} // namespace glyvora::app
