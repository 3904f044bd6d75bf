#pragma once
// Matching a file name against a directory-search pattern the way Windows does: "*" any run, "?"
// one character, letters compared without case, and "*.*" matching every name, dotted or not.

#include <string_view>

namespace glyvora {

bool matchesWildcard(std::string_view pattern, std::string_view name);

} // namespace glyvora
