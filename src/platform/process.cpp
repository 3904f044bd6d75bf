#include "platform/process.h"

#include <optional>

namespace glyvora {

namespace {
std::optional<Text> directoryOverride;
}

Text programDirectory() {
    if (directoryOverride) return *directoryOverride;
    const Text file = programFilePath();
    const std::size_t slash = file.rfind('\\');
    if (slash == Text::npos) return Text();
    return file.substr(0, slash);
}

ScopedProgramDirectory::ScopedProgramDirectory(Text directory)
    : previous_(directoryOverride.value_or(Text())), hadPrevious_(directoryOverride.has_value()) {
    directoryOverride = std::move(directory);
}

ScopedProgramDirectory::~ScopedProgramDirectory() {
    if (hadPrevious_)
        directoryOverride = previous_;
    else
        directoryOverride.reset();
}

} // namespace glyvora
