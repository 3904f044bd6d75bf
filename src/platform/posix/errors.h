#pragma once

#include "platform/files.h"

namespace glyvora::posix {

// errno of a failed file call, in the program's file error codes.
FileError fileErrorFromErrno(int error);

} // namespace glyvora::posix
