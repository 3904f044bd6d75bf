#pragma once
// One bounded reader over a span of untrusted bytes. Every read names its offset; a read outside
// the span fails, gives zeros and leaves the reader failed for good, so a parser may read a run of
// fields and check ok() once afterwards. Offsets are checked as `off > size - n`, which cannot
// overflow.

#include <cstddef>
#include <cstdint>
#include <span>

namespace glyvora::fontfile {

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t size() const { return bytes_.size(); }
    bool has(std::size_t off, std::size_t n) const { return n <= bytes_.size() && off <= bytes_.size() - n; }

    std::uint8_t u8(std::size_t off) { return take(off, 1) ? bytes_[off] : 0; }

    std::uint16_t u16be(std::size_t off) {
        if (!take(off, 2)) return 0;
        return static_cast<std::uint16_t>(bytes_[off] << 8 | bytes_[off + 1]);
    }

    std::uint32_t u32be(std::size_t off) {
        if (!take(off, 4)) return 0;
        return static_cast<std::uint32_t>(bytes_[off]) << 24 |
               static_cast<std::uint32_t>(bytes_[off + 1]) << 16 |
               static_cast<std::uint32_t>(bytes_[off + 2]) << 8 | bytes_[off + 3];
    }

    std::uint16_t u16le(std::size_t off) {
        if (!take(off, 2)) return 0;
        return static_cast<std::uint16_t>(bytes_[off] | bytes_[off + 1] << 8);
    }

    std::uint32_t u32le(std::size_t off) {
        if (!take(off, 4)) return 0;
        return bytes_[off] | static_cast<std::uint32_t>(bytes_[off + 1]) << 8 |
               static_cast<std::uint32_t>(bytes_[off + 2]) << 16 |
               static_cast<std::uint32_t>(bytes_[off + 3]) << 24;
    }

    // The n bytes at off; empty (and the reader failed) when they are not all there.
    std::span<const std::uint8_t> bytes(std::size_t off, std::size_t n) {
        if (!take(off, n)) return {};
        return bytes_.subspan(off, n);
    }

private:
    bool take(std::size_t off, std::size_t n) {
        if (ok_ && has(off, n)) return true;
        ok_ = false;
        return false;
    }

    std::span<const std::uint8_t> bytes_;
    bool ok_ = true;
};

} // namespace glyvora::fontfile
