#pragma once
// The program writes paths with "\" separators on every platform; POSIX calls get "/" instead.
// Only single-byte backslashes are separators: the second byte of a GBK character may be 0x5C.

#include "platform/types.h"

namespace glyvora::posix {

Text toNativePath(const Text& path);
Text fromNativePath(const Text& path);

} // namespace glyvora::posix
