#pragma once
// The running program: where its file lives.

#include "platform/types.h"

namespace glyvora {

// Full path of the running executable ("\" separators); empty when it cannot be had.
Text programFilePath();

// The directory of the running executable without a trailing "\" (a drive root gives "C:" only).
// Tests point it at a directory of their own with ScopedProgramDirectory.
Text programDirectory();

class ScopedProgramDirectory {
public:
    explicit ScopedProgramDirectory(Text directory);
    ~ScopedProgramDirectory();
    ScopedProgramDirectory(const ScopedProgramDirectory&) = delete;
    ScopedProgramDirectory& operator=(const ScopedProgramDirectory&) = delete;

private:
    Text previous_;
    bool hadPrevious_;
};

} // namespace glyvora
