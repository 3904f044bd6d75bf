#pragma once
// The program writes paths with "\" separators and GBK names on every platform; POSIX calls get "/"
// and the UTF-8 names the file system stores. Only single-byte backslashes are separators: the
// second byte of a GBK character may be 0x5C.
//
// Names convert one path component at a time, and only when the conversion is exact both ways: a
// component that is not GBK (on the way to the system) or not UTF-8 holding only characters GBK has
// (on the way back) keeps its bytes, so that every name a directory search returns opens again.
// Text of ASCII bytes alone is never converted.

#include "platform/types.h"

#include <string_view>

namespace glyvora::posix {

// The program's path as the system takes it: "/" separators, UTF-8 names.
Text toNativePath(const Text& path);
// A path the system gave, in the program's form: GBK names, "\" separators.
Text fromNativePath(const Text& path);

// One name as read from a directory, in GBK.
Text fromNativeName(std::string_view name);

// The names of a path that already has "/" separators, converted.
Text namesToNative(const Text& slashedPath);

// The separators alone, names untouched.
Text toSlashes(const Text& path);
Text toBackslashes(const Text& path);

} // namespace glyvora::posix
