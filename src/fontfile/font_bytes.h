#pragma once
// The bytes of one font file as the face-name reader asks for them: a few ranges at known offsets
// (headers, the table directory, the name table), never the whole file. Reads from a file go
// through the platform file layer; the fuzz target and the tests read from memory.

#include "platform/files.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace glyvora::fontfile {

class FontBytes {
public:
    virtual ~FontBytes() = default;
    virtual std::uint64_t size() const = 0;
    // The `count` bytes at `offset`, or nothing when they are not all inside the file or cannot be
    // read. A range is valid until the next read. No read is larger than maxRead.
    virtual std::optional<std::span<const std::uint8_t>> read(std::uint64_t offset, std::size_t count) = 0;

    static constexpr std::size_t maxRead = 1u << 20;

protected:
    bool inside(std::uint64_t offset, std::size_t count) const {
        return count <= maxRead && count <= size() && offset <= size() - count;
    }
};

class MemoryFontBytes final : public FontBytes {
public:
    explicit MemoryFontBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    std::optional<std::span<const std::uint8_t>> read(std::uint64_t offset, std::size_t count) override;

private:
    std::span<const std::uint8_t> bytes_;
};

// Keeps the file's first block, which holds the headers and usually the whole table directory, and
// reads anything past it a block at a time, so that a name table's header, records and string,
// asked for one after another, mostly come with one read: two reads for most files.
class FileFontBytes final : public FontBytes {
public:
    FileFontBytes(File& file, std::uint64_t size) : file_(file), size_(size) {}
    std::uint64_t size() const override { return size_; }
    std::optional<std::span<const std::uint8_t>> read(std::uint64_t offset, std::size_t count) override;

    static constexpr std::size_t blockBytes = 4096;

private:
    // The bytes at `offset`, read at least blockBytes long unless the file ends first.
    struct Block {
        std::uint64_t offset = 0;
        std::vector<std::uint8_t> bytes;
        std::optional<std::span<const std::uint8_t>> part(std::uint64_t at, std::size_t count) const;
    };
    bool readBlock(Block& block, std::uint64_t offset, std::size_t count);

    File& file_;
    std::uint64_t size_;
    Block head_;
    bool headRead_ = false;
    Block last_;
};

} // namespace glyvora::fontfile
