// This file parses untrusted bytes and is built by the fuzz build: it holds no non-ASCII literal.
#include "forms/items_blob.h"

namespace glyvora {

namespace {

// Every read is checked against what is left; a failed read leaves the reader at its place.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool atEnd() const { return pos_ == size_; }
    std::size_t left() const { return size_ - pos_; }

    // A text up to its zero byte, which is consumed; false when no zero byte is left.
    bool readText(Text& out) {
        for (std::size_t i = pos_; i < size_; ++i) {
            if (data_[i] == 0) {
                out.assign(reinterpret_cast<const char*>(data_ + pos_), i - pos_);
                pos_ = i + 1;
                return true;
            }
        }
        return false;
    }

    bool readInt32(std::uint32_t& out) {
        if (size_ < 4 || pos_ > size_ - 4) return false;
        out = static_cast<std::uint32_t>(data_[pos_]) | static_cast<std::uint32_t>(data_[pos_ + 1]) << 8 |
              static_cast<std::uint32_t>(data_[pos_ + 2]) << 16 |
              static_cast<std::uint32_t>(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return true;
    }

    std::size_t position() const { return pos_; }
    void seek(std::size_t pos) { pos_ = pos; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

void putInt32(ByteSet& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 24));
}

} // namespace

ParsedItems parseItemsBlob(const std::uint8_t* data, std::size_t size) {
    ParsedItems parsed;
    if (!data || size == 0) return parsed;
    ByteReader reader(data, size);
    // Each record takes at least 21 bytes, so the loop ends and the records stay within the input.
    while (!reader.atEnd()) {
        const std::size_t start = reader.position();
        ItemRecord record;
        std::uint32_t image, selectedImage, value, flags, depth;
        if (!reader.readText(record.text) || !reader.readInt32(image) || !reader.readInt32(selectedImage) ||
            !reader.readInt32(value) || !reader.readInt32(flags) || !reader.readInt32(depth)) {
            reader.seek(start);
            parsed.complete = false;
            break;
        }
        record.image = static_cast<std::int32_t>(image);
        record.selectedImage = static_cast<std::int32_t>(selectedImage);
        record.value = static_cast<std::int32_t>(value);
        record.flags = flags;
        record.depth = static_cast<std::int32_t>(depth);
        parsed.records.push_back(std::move(record));
    }
    return parsed;
}

void rebuildItems(TreeModel& model, const std::vector<ItemRecord>& records) {
    model.clear();
    // The open levels: the current depth of each one; level n is open[n - 1]. A shallower record
    // closes levels while the level enclosing the current one is at least as deep as the record,
    // so it lands under the last item that is shallower than itself (at the top level when there
    // is none), and the level it lands on takes its depth: the records of that depth after it are
    // its siblings.
    std::vector<std::int32_t> open;
    for (const ItemRecord& record : records) {
        if (open.empty() || record.depth > open.back()) {
            open.push_back(record.depth);
        } else if (record.depth < open.back()) {
            while (open.size() > 1 && open[open.size() - 2] >= record.depth)
                open.pop_back();
            open.back() = record.depth;
        }
        TreeItem item;
        item.text = record.text;
        item.image = record.image;
        item.selectedImage = record.selectedImage;
        item.value = record.value;
        item.bold = (record.flags & kItemBold) != 0;
        item.expanded = (record.flags & kItemExpanded) != 0;
        item.stateImage = static_cast<std::uint8_t>(record.flags >> kStateImageShift);
        model.appendAtLevel(static_cast<int>(open.size()), std::move(item));
    }
}

ByteSet serialiseItems(const TreeModel& model) {
    ByteSet out;
    std::size_t total = 0;
    for (const TreeItem& item : model.items())
        total += item.text.size() + 21;
    out.reserve(total);
    for (const TreeItem& item : model.items()) {
        out.insert(out.end(), item.text.begin(), item.text.end());
        out.push_back(0);
        putInt32(out, static_cast<std::uint32_t>(item.image));
        putInt32(out, static_cast<std::uint32_t>(item.selectedImage));
        putInt32(out, static_cast<std::uint32_t>(item.value));
        std::uint32_t flags = 0;
        if (item.bold) flags |= kItemBold;
        if (item.expanded) flags |= kItemExpanded;
        flags |= static_cast<std::uint32_t>(item.stateImage & 0xF) << kStateImageShift;
        putInt32(out, flags);
        putInt32(out, static_cast<std::uint32_t>(item.level));
    }
    return out;
}

} // namespace glyvora
