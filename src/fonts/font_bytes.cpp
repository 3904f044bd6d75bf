#include "fonts/font_bytes.h"

#include <algorithm>

namespace glyvora::fonts {

std::optional<std::span<const std::uint8_t>> MemoryFontBytes::read(std::uint64_t offset, std::size_t count) {
    if (!inside(offset, count)) return std::nullopt;
    return bytes_.subspan(static_cast<std::size_t>(offset), count);
}

std::optional<std::span<const std::uint8_t>> FileFontBytes::read(std::uint64_t offset, std::size_t count) {
    if (!inside(offset, count)) return std::nullopt;
    if (!headRead_) {
        headRead_ = true;
        head_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size_, headBytes)));
        const IoResult r = file_.readAt(0, head_.data(), head_.size());
        head_.resize(r.ok() ? r.bytes : 0);
    }
    if (offset <= head_.size() && count <= head_.size() - offset)
        return std::span<const std::uint8_t>(head_).subspan(static_cast<std::size_t>(offset), count);
    buffer_.resize(count);
    const IoResult r = file_.readAt(offset, buffer_.data(), count);
    if (!r.ok() || r.bytes != count) return std::nullopt; // the file shrank or failed
    return std::span<const std::uint8_t>(buffer_);
}

} // namespace glyvora::fonts
