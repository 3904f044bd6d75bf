#pragma once
// The two value shapes every layer passes around: a text of ANSI bytes and a byte set.

#include <cstdint>
#include <string>
#include <vector>

namespace glyvora {

// Bytes in the system ANSI code page (GBK on the target systems). An empty text and a missing text
// are the same value. Paths use "\" as separator on every platform.
using Text = std::string;

// A length and that many bytes: file contents, the items blob.
using ByteSet = std::vector<std::uint8_t>;

} // namespace glyvora
