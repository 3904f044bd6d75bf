#pragma once
// The system's error codes behind each of the program's file errors. Each platform lists its codes
// by the error they become; anything unlisted is Generic.

#include "platform/files.h"

#include <initializer_list>

namespace glyvora {

template <typename Code>
struct FileErrorCodes {
    FileError error;
    std::initializer_list<Code> codes;
};

template <typename Code, std::size_t N>
FileError fileErrorOfCode(const FileErrorCodes<Code> (&table)[N], Code code) {
    for (const FileErrorCodes<Code>& row : table)
        for (const Code listed : row.codes)
            if (listed == code) return row.error;
    return FileError::Generic;
}

} // namespace glyvora
