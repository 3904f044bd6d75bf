#pragma once
// Fields appended to and patched into a growing byte buffer, the writing side of ByteReader. The
// writers size their buffers from what they have already checked, so patches stay inside.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace glyvora::fontfile {

class ByteWriter {
public:
    std::vector<std::uint8_t>& bytes() { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16be(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v >> 8));
        u8(static_cast<std::uint8_t>(v));
    }
    void u32be(std::uint32_t v) {
        u16be(static_cast<std::uint16_t>(v >> 16));
        u16be(static_cast<std::uint16_t>(v));
    }
    void raw(std::span<const std::uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    void zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }
    void alignTo(std::size_t unit) { zeros((unit - bytes_.size() % unit) % unit); }

    void putU16be(std::size_t at, std::uint16_t v) {
        bytes_[at] = static_cast<std::uint8_t>(v >> 8);
        bytes_[at + 1] = static_cast<std::uint8_t>(v);
    }
    void putU32be(std::size_t at, std::uint32_t v) {
        putU16be(at, static_cast<std::uint16_t>(v >> 16));
        putU16be(at + 2, static_cast<std::uint16_t>(v));
    }
    void putU16le(std::size_t at, std::uint16_t v) {
        bytes_[at] = static_cast<std::uint8_t>(v);
        bytes_[at + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    void putU32le(std::size_t at, std::uint32_t v) {
        putU16le(at, static_cast<std::uint16_t>(v));
        putU16le(at + 2, static_cast<std::uint16_t>(v >> 16));
    }

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace glyvora::fontfile
