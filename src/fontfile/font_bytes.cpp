#include "fontfile/font_bytes.h"

#include <algorithm>

namespace glyvora::fontfile {

std::optional<std::span<const std::uint8_t>> MemoryFontBytes::read(std::uint64_t offset, std::size_t count) {
    if (!inside(offset, count)) return std::nullopt;
    return bytes_.subspan(static_cast<std::size_t>(offset), count);
}

std::optional<std::span<const std::uint8_t>> FileFontBytes::Block::part(std::uint64_t at,
                                                                        std::size_t count) const {
    if (at < offset || at - offset > bytes.size() || count > bytes.size() - (at - offset))
        return std::nullopt;
    return std::span<const std::uint8_t>(bytes).subspan(static_cast<std::size_t>(at - offset), count);
}

bool FileFontBytes::readBlock(Block& block, std::uint64_t offset, std::size_t count) {
    // The caller has checked that `count` bytes at `offset` are inside the file.
    const std::size_t length =
        static_cast<std::size_t>(std::min<std::uint64_t>(std::max(count, blockBytes), size_ - offset));
    block.offset = offset;
    block.bytes.resize(length);
    const IoResult r = file_.readAt(offset, block.bytes.data(), length);
    block.bytes.resize(r.ok() ? r.bytes : 0);
    return block.bytes.size() >= count; // less: the file shrank or failed
}

std::optional<std::span<const std::uint8_t>> FileFontBytes::read(std::uint64_t offset, std::size_t count) {
    if (!inside(offset, count)) return std::nullopt;
    if (!headRead_) {
        headRead_ = true;
        readBlock(head_, 0, 0);
    }
    if (const auto part = head_.part(offset, count)) return part;
    if (const auto part = last_.part(offset, count)) return part;
    if (!readBlock(last_, offset, count)) return std::nullopt;
    return last_.part(offset, count);
}

} // namespace glyvora::fontfile
