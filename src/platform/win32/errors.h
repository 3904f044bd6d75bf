#pragma once

#include "platform/files.h"

namespace glyvora::win32 {

// GetLastError() of a failed file call, in the program's file error codes.
FileError fileErrorFromWin32(unsigned long error);

} // namespace glyvora::win32
