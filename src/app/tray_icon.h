#pragma once
#include "platform/types.h"
namespace glyvora::app {
ByteSet trayIconFile();
}
