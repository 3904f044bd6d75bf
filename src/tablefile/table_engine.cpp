#include "tablefile/table_engine.h"

#include "commands/fatal.h"
#include "platform/files.h"
#include "platform/gbk.h"
#include "tablefile/table_locks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace glyvora {

namespace {

using table::FieldDescriptor;
using table::FieldType;
using table::TableInfo;
using table::TableLocks;

// Bulk passes move at most this many bytes at a time (and at least one record).
constexpr std::uint64_t kChunkBytes = 163840;
// Zero bytes are written in pieces of this size, so that a record of any size needs no large buffer.
constexpr std::size_t kZeroPiece = 65536;

struct Table {
    TableInfo info;
    std::unique_ptr<File> file; // declared before the locks, so that they are released first
    std::unique_ptr<TableLocks> locks;

    std::uint64_t recordStart(std::int64_t record) const {
        return info.dataStart + static_cast<std::uint64_t>(record) * static_cast<std::uint64_t>(recordSize());
    }
    std::int32_t recordSize() const { return info.header.recordSize; }
};

struct Engine {
    std::vector<std::unique_ptr<Table>> tables; // in the order they were opened
    Table* current = nullptr;
};

Engine& engine() {
    static Engine instance;
    return instance;
}

// Sets the last database error and answers whether it is 0.
bool finish(int code) {
    setLastDatabaseError(code);
    return code == 0;
}

int writeError(const IoResult& r, std::size_t wanted) {
    if (!r.ok()) return toDatabaseError(r.error);
    return r.bytes == wanted ? 0 : toDatabaseError(FileError::DiskFull);
}

int writeInt32At(File& file, std::uint64_t offset, std::int32_t value) {
    std::uint8_t bytes[4];
    table::putInt32(bytes, value);
    return writeError(file.writeAt(offset, bytes, 4), 4);
}

bool readInt32At(File& file, std::uint64_t offset, std::int32_t& value) {
    std::uint8_t bytes[4];
    const IoResult r = file.readAt(offset, bytes, 4);
    if (!r.ok() || r.bytes != 4) return false;
    value = table::getInt32(bytes);
    return true;
}

// Writes `count` zero bytes at `offset`, piece by piece.
int writeZeros(File& file, std::uint64_t offset, std::uint64_t count) {
    static const std::vector<std::uint8_t> zeros(kZeroPiece, 0);
    while (count > 0) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, kZeroPiece));
        if (const int error = writeError(file.writeAt(offset, zeros.data(), n), n)) return error;
        offset += n;
        count -= n;
    }
    return 0;
}

// A byte lock held for the lifetime of the guard.
class ByteLock {
public:
    ByteLock(Table& table, std::uint64_t offset) : table_(table), offset_(offset) {
        error_ = table_.locks->lockByte(offset_);
    }
    ~ByteLock() {
        if (error_ == 0) table_.locks->unlockByte(offset_);
    }
    ByteLock(const ByteLock&) = delete;
    ByteLock& operator=(const ByteLock&) = delete;
    int error() const { return error_; }

private:
    Table& table_;
    std::uint64_t offset_;
    int error_;
};

class WholeTableLock {
public:
    explicit WholeTableLock(Table& table) : table_(table) { error_ = table_.locks->lockWholeTable(); }
    ~WholeTableLock() {
        if (error_ == 0) table_.locks->unlockWholeTable();
    }
    WholeTableLock(const WholeTableLock&) = delete;
    WholeTableLock& operator=(const WholeTableLock&) = delete;
    int error() const { return error_; }

private:
    Table& table_;
    int error_;
};

// The record count and next record ID at offset 16, read while the caller holds the header lock
// (or the whole table). -65 when they cannot be read.
int readCounts(Table& t, std::int32_t& count, std::int32_t& nextId) {
    std::uint8_t bytes[8];
    const IoResult r = t.file->readAt(table::kRecordCountOffset, bytes, 8);
    if (!r.ok() || r.bytes != 8) return kDbCountReadFailed;
    count = std::max(table::getInt32(bytes), 0);
    nextId = table::getInt32(bytes + 4);
    return 0;
}

// The record count under the header lock, with the lock wait time raised.
int lockedRecordCount(Table& t, std::int32_t& count) {
    table::ScopedLockWait wait(table::kRecordCountLockWait);
    ByteLock header(t, table::kRecordCountOffset);
    if (header.error()) return header.error();
    std::int32_t nextId = 0;
    return readCounts(t, count, nextId);
}

std::int64_t integerArgument(const Value& v, std::int64_t fallback) {
    if (v.omitted() || !v.isNumber()) return fallback;
    const double d = std::trunc(v.number());
    if (!(d > -9.2e18 && d < 9.2e18)) return fallback;
    if (v.holds<std::int64_t>()) return v.as<std::int64_t>();
    return static_cast<std::int64_t>(d);
}

// --- Field values -------------------------------------------------------------------------------

Value emptyValue(FieldType type) {
    switch (type) {
    case FieldType::Byte:
        return Value::byte(0);
    case FieldType::Short:
        return Value::shortInteger(0);
    case FieldType::Integer:
        return Value(std::int32_t{0});
    case FieldType::Long:
        return Value(std::int64_t{0});
    case FieldType::Float:
        return Value(0.0f);
    case FieldType::Double:
        return Value(0.0);
    case FieldType::Boolean:
        return Value(false);
    case FieldType::DateTime:
        return Value(DateTime{});
    case FieldType::Subprogram:
        return Value(SubprogramRef{});
    case FieldType::Text:
    case FieldType::Memo:
        return Value(Text());
    case FieldType::ByteSet:
        return Value(ByteSet());
    }
    return Value(Text());
}

bool isNumericType(FieldType type) {
    return type == FieldType::Byte || type == FieldType::Short || type == FieldType::Integer ||
           type == FieldType::Long || type == FieldType::Float || type == FieldType::Double;
}

// A number as an integer: integers exactly, floating values cut towards zero and kept within the
// 64-bit range (NaN gives 0).
std::int64_t wholeNumber(const Value& v) {
    if (v.holds<std::uint8_t>()) return v.as<std::uint8_t>();
    if (v.holds<std::int16_t>()) return v.as<std::int16_t>();
    if (v.holds<std::int32_t>()) return v.as<std::int32_t>();
    if (v.holds<std::int64_t>()) return v.as<std::int64_t>();
    const double d = v.number();
    if (std::isnan(d)) return 0;
    if (d <= -9.223372036854775808e18) return std::numeric_limits<std::int64_t>::min();
    if (d >= 9.223372036854775807e18) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(d);
}

// A floating value cut to an integer type's range (NaN gives 0), or an integer wrapped to it.
template <typename T>
T toIntegerType(const Value& v) {
    if (v.holds<float>() || v.holds<double>()) {
        const double d = v.number();
        if (std::isnan(d)) return 0;
        if (d <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
        if (d >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
        return static_cast<T>(d);
    }
    return static_cast<T>(wholeNumber(v));
}

// The value brought to the field's type: the same type as it is, a number converted to another
// numeric type, nothing for any other mismatch. An omitted value is the field's empty value.
std::optional<Value> convertForField(const Value& v, FieldType type) {
    if (v.omitted()) return emptyValue(type);
    if (v.type() == emptyValue(type).type()) return v;
    if (!v.isNumber() || !isNumericType(type)) return std::nullopt;
    switch (type) {
    case FieldType::Byte:
        return Value::byte(toIntegerType<std::uint8_t>(v));
    case FieldType::Short:
        return Value::shortInteger(toIntegerType<std::int16_t>(v));
    case FieldType::Integer:
        return Value(toIntegerType<std::int32_t>(v));
    case FieldType::Long:
        return Value(toIntegerType<std::int64_t>(v));
    case FieldType::Float:
        return Value(static_cast<float>(v.number()));
    case FieldType::Double:
        return Value(v.number());
    default:
        return std::nullopt;
    }
}

// The stored bytes of a value already of the field's type. A text is stored up to its first NUL,
// cut to the field width or NUL-padded to it; the padding is left to the caller (`padding`).
ByteSet encode(const Value& v, const FieldDescriptor& field, std::uint64_t& padding) {
    padding = 0;
    ByteSet out;
    // A fixed-size field holds its value's bytes as they are in memory.
    auto raw = [&out](const auto& x) {
        const auto* b = reinterpret_cast<const std::uint8_t*>(&x);
        out.assign(b, b + sizeof x);
    };
    switch (static_cast<FieldType>(field.type)) {
    case FieldType::Byte:
        raw(v.as<std::uint8_t>());
        break;
    case FieldType::Short:
        raw(v.as<std::int16_t>());
        break;
    case FieldType::Integer:
        raw(v.as<std::int32_t>());
        break;
    case FieldType::Long:
        raw(v.as<std::int64_t>());
        break;
    case FieldType::Float:
        raw(v.as<float>());
        break;
    case FieldType::Double:
        raw(v.as<double>());
        break;
    case FieldType::Boolean:
        out.push_back(v.as<bool>() ? 1 : 0);
        break;
    case FieldType::DateTime:
        raw(v.as<DateTime>().days);
        break;
    case FieldType::Subprogram:
        raw(v.as<SubprogramRef>().address);
        break;
    case FieldType::Text: {
        const Text& text = v.as<Text>();
        const std::size_t length = std::min(text.find('\0'), text.size());
        const std::size_t kept = std::min<std::uint64_t>(length, static_cast<std::uint64_t>(field.width));
        out.assign(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(kept));
        padding = static_cast<std::uint64_t>(field.width) - kept;
        break;
    }
    case FieldType::ByteSet:
    case FieldType::Memo:
        break; // refused at open
    }
    return out;
}

// A fixed-size field's value from its bytes as they are in memory.
template <typename T>
T load(const std::uint8_t* b) {
    T x;
    std::memcpy(&x, b, sizeof x);
    return x;
}

Value decode(const std::uint8_t* b, std::size_t n, FieldType type) {
    switch (type) {
    case FieldType::Byte:
        return Value::byte(b[0]);
    case FieldType::Short:
        return Value::shortInteger(load<std::int16_t>(b));
    case FieldType::Integer:
        return Value(table::getInt32(b));
    case FieldType::Long:
        return Value(load<std::int64_t>(b));
    case FieldType::Float:
        return Value(load<float>(b));
    case FieldType::Double:
        return Value(load<double>(b));
    case FieldType::Boolean:
        return Value(b[0] != 0);
    case FieldType::DateTime: {
        double d = load<double>(b);
        d = std::isnan(d) ? 0 : std::clamp(d, table::kMinDate, table::kMaxDate);
        return Value(DateTime{d});
    }
    case FieldType::Subprogram:
        return Value(SubprogramRef{load<std::uint32_t>(b)});
    case FieldType::Text: {
        const auto* c = reinterpret_cast<const char*>(b);
        const std::size_t length = std::find(c, c + n, '\0') - c;
        return Value(Text(c, length));
    }
    case FieldType::ByteSet:
    case FieldType::Memo:
        break;
    }
    return emptyValue(type);
}

int fieldIndex(const Table& t, const Value& field) {
    const std::vector<FieldDescriptor>& fields = t.info.fields;
    if (field.holds<Text>()) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (gbk::equalsIgnoreCase(fields[i].name, field.as<Text>())) return static_cast<int>(i);
        return -1;
    }
    if (!field.isNumber()) return -1;
    const std::int64_t number = wholeNumber(field);
    if (number < 1 || number > static_cast<std::int64_t>(fields.size())) return -1;
    return static_cast<int>(number - 1);
}

// --- Opening ------------------------------------------------------------------------------------

// Reads the header and the field descriptors and repairs the file size, all under the header lock:
// another process appending to the table holds that lock from reading the record count until it
// has written the new one, so the size seen here never misses a record whose count is on its way.
int readLayout(Table& t, bool readOnly) {
    table::ScopedLockWait wait(table::kRecordCountLockWait);
    ByteLock header(t, table::kRecordCountOffset);
    if (header.error()) return header.error();
    File& file = *t.file;

    std::uint8_t headerBytes[table::kHeaderSize];
    IoResult r = file.readAt(0, headerBytes, sizeof headerBytes);
    if (!r.ok() || r.bytes != sizeof headerBytes) return kDbNotATable;
    t.info.header = table::parseHeader(headerBytes);
    if (const int error = table::checkHeader(t.info.header)) return error;

    std::int32_t fieldCount = 0;
    if (!readInt32At(file, table::kFieldCountOffset, fieldCount) || fieldCount <= 0) return kDbNotATable;
    const std::optional<std::uint64_t> size = file.size();
    if (!size) return kDbNotATable;
    // Descriptors that the file cannot hold would be a short read: refuse them before allocating.
    const std::uint64_t dataStart = table::dataStart(fieldCount);
    if (dataStart > *size) return kDbNotATable;
    std::vector<std::uint8_t> descriptors(static_cast<std::size_t>(fieldCount) * table::kDescriptorSize);
    r = file.readAt(table::kDescriptorsOffset, descriptors.data(), descriptors.size());
    if (!r.ok() || r.bytes != descriptors.size()) return kDbNotATable;
    for (std::int32_t i = 0; i < fieldCount; ++i)
        t.info.fields.push_back(table::parseDescriptor(descriptors.data() + i * table::kDescriptorSize));
    t.info.dataStart = dataStart;

    // The records the file holds whole, against the count the header claims.
    const auto recordSize = static_cast<std::uint64_t>(t.info.header.recordSize);
    const std::uint64_t whole = (*size - dataStart) / recordSize;
    const auto claimed = static_cast<std::uint64_t>(t.info.header.recordCount);
    if (whole < claimed) {
        if (readOnly) return kDbBadFileSize;
        const auto count = static_cast<std::int32_t>(whole);
        // The count first: should the cut then fail, the count still claims nothing missing.
        if (const int error = writeInt32At(file, table::kRecordCountOffset, count)) return error;
        t.info.header.recordCount = count;
        table::putInt32(t.info.header.bytes.data() + table::kRecordCountOffset, count);
        if (const FileError error = file.resize(dataStart + whole * recordSize); error != FileError::None)
            return toDatabaseError(error);
    } else if (!readOnly && *size != dataStart + claimed * recordSize) {
        if (const FileError error = file.resize(dataStart + claimed * recordSize); error != FileError::None)
            return toDatabaseError(error);
    }
    return 0;
}

FileSharing sharingMode(const Value& sharing) {
    switch (integerArgument(sharing, 1)) {
    case 1:
        return FileSharing::DenyNone;
    case 2:
        return FileSharing::DenyRead;
    case 3:
        return FileSharing::DenyWrite;
    default:
        return FileSharing::Exclusive;
    }
}

bool sameFullPath(const Table& t, const Text& fullPath) {
    return gbk::equalsIgnoreCase(t.info.fullPath, fullPath);
}

Text resolvedTableName(const Text& name) {
    return fileSystem().fullPath(table::withDefaultExtension(name));
}

// --- Packing ------------------------------------------------------------------------------------

// After a pack has stopped part-way, the records from `from` to `to` are no longer needed: each is
// a copy of a record already moved down, a record marked deleted, or one cut through by the failed
// write. Marking them deleted keeps every live record in the table exactly once. `keep` lists the
// record positions in that range that still hold the only copy of a live record.
void markLeftovers(Table& t, std::uint64_t from, std::uint64_t to, const std::vector<std::uint64_t>& keep) {
    const auto recordSize = static_cast<std::uint64_t>(t.recordSize());
    for (std::uint64_t at = from; at + recordSize <= to; at += recordSize) {
        if (std::find(keep.begin(), keep.end(), at) != keep.end()) continue;
        std::int32_t id = 0;
        const bool read = readInt32At(*t.file, at, id);
        if (read && id < 0) continue;
        writeInt32At(*t.file, at, read && id > 0 ? -id : -1);
    }
}

int pack(Table& t) {
    std::int32_t count = 0, nextId = 0;
    if (const int error = readCounts(t, count, nextId)) return error;
    const auto recordSize = static_cast<std::uint64_t>(t.recordSize());
    const std::uint64_t chunkRecords = std::max<std::uint64_t>(1, kChunkBytes / recordSize);
    const std::optional<std::uint64_t> size = t.file->size();
    if (!size) return kDbRecordReadFailed;

    std::uint64_t readPos = t.info.dataStart, writePos = t.info.dataStart;
    std::uint64_t remaining = static_cast<std::uint64_t>(count), kept = 0;
    bool dropped = false;
    std::vector<std::uint8_t> chunk;
    while (remaining > 0) {
        const std::uint64_t n = std::min(chunkRecords, remaining);
        const std::uint64_t bytes = n * recordSize;
        // A chunk the file cannot hold would be a short read; it is refused before allocating.
        if (readPos > *size || *size - readPos < bytes) {
            markLeftovers(t, writePos, readPos, {});
            return kDbRecordReadFailed;
        }
        chunk.resize(static_cast<std::size_t>(bytes));
        const IoResult r = t.file->readAt(readPos, chunk.data(), chunk.size());
        if (!r.ok() || r.bytes != chunk.size()) {
            markLeftovers(t, writePos, readPos, {});
            return kDbRecordReadFailed;
        }
        // Keep the records not marked deleted, in order, at the front of the chunk.
        std::vector<std::uint64_t> sources; // where each kept record came from
        std::uint64_t keptHere = 0;
        for (std::uint64_t i = 0; i < n; ++i) {
            std::uint8_t* record = chunk.data() + i * recordSize;
            if (table::getInt32(record) < 0) {
                dropped = true;
                continue;
            }
            if (keptHere != i) std::memmove(chunk.data() + keptHere * recordSize, record, recordSize);
            sources.push_back(readPos + i * recordSize);
            ++keptHere;
        }
        if (dropped && keptHere > 0) {
            const std::size_t length = static_cast<std::size_t>(keptHere * recordSize);
            const IoResult w = t.file->writeAt(writePos, chunk.data(), length);
            if (const int error = writeError(w, length)) {
                // Records written whole are in place; the rest of this chunk still stands where it
                // was read from, since a write only ever reaches a record's old place after that
                // record has itself been written further down.
                const std::uint64_t done = std::min<std::uint64_t>(w.bytes / recordSize, keptHere);
                markLeftovers(t, writePos + done * recordSize, readPos + bytes,
                              std::vector<std::uint64_t>(sources.begin() + static_cast<std::ptrdiff_t>(done),
                                                         sources.end()));
                return error;
            }
        }
        writePos += keptHere * recordSize;
        readPos += bytes;
        kept += keptHere;
        remaining -= n;
    }
    if (!dropped) return 0;
    // The new count before the cut: whatever fails, the count never claims records that are gone.
    if (const int error = writeInt32At(*t.file, table::kRecordCountOffset, static_cast<std::int32_t>(kept))) {
        writeInt32At(*t.file, table::kRecordCountOffset, count);
        markLeftovers(t, writePos, readPos, {});
        return error;
    }
    if (const FileError error = t.file->resize(writePos); error != FileError::None)
        return toDatabaseError(error);
    return 0;
}

int markAll(Table& t) {
    std::int32_t count = 0, nextId = 0;
    if (const int error = readCounts(t, count, nextId)) return error;
    const auto recordSize = static_cast<std::uint64_t>(t.recordSize());
    const std::uint64_t chunkRecords = std::max<std::uint64_t>(1, kChunkBytes / recordSize);
    const std::optional<std::uint64_t> size = t.file->size();
    if (!size) return kDbRecordReadFailed;
    std::uint64_t pos = t.info.dataStart, remaining = static_cast<std::uint64_t>(count);
    std::vector<std::uint8_t> chunk;
    while (remaining > 0) {
        const std::uint64_t n = std::min(chunkRecords, remaining);
        const std::uint64_t bytes = n * recordSize;
        if (pos > *size || *size - pos < bytes) return kDbRecordReadFailed;
        chunk.resize(static_cast<std::size_t>(bytes));
        const IoResult r = t.file->readAt(pos, chunk.data(), chunk.size());
        if (!r.ok() || r.bytes != chunk.size()) return kDbRecordReadFailed;
        for (std::uint64_t i = 0; i < n; ++i) {
            const std::int32_t id = table::getInt32(chunk.data() + i * recordSize);
            if (id <= 0) continue;
            if (const int error = writeInt32At(*t.file, pos + i * recordSize, -id)) return error;
        }
        pos += bytes;
        remaining -= n;
    }
    return 0;
}

} // namespace

// --- The commands -------------------------------------------------------------------------------

bool OpenTable(const Value& fileName, const Value& alias, const Value& readOnly, const Value& sharing) {
    const Text name = fileName.holds<Text>() ? fileName.as<Text>() : Text();
    if (name.empty()) return finish(kDbFileNotFound);
    const Text fullPath = resolvedTableName(name);
    if (fullPath.empty()) return finish(toDatabaseError(FileError::BadPath));
    Engine& e = engine();
    for (const auto& t : e.tables)
        if (sameFullPath(*t, fullPath)) return finish(kDbAlreadyOpen);

    auto t = std::make_unique<Table>();
    t->info.fullPath = fullPath;
    t->info.baseName = table::baseName(fullPath);
    t->info.alias = alias.holds<Text>() ? alias.as<Text>() : Text();
    t->info.readOnly = integerArgument(readOnly, 0) == 1 || (readOnly.holds<bool>() && readOnly.as<bool>());
    const FileSharing share = sharingMode(sharing);
    t->info.exclusive = share == FileSharing::Exclusive;

    const FileAccess access = t->info.readOnly ? FileAccess::Read : FileAccess::ReadWrite;
    OpenedFile opened;
    const FileError openError = table::retryWhileLocked([&] {
        opened = fileSystem().open(fullPath, access, share, FileCreation::OpenExisting);
        return opened.error;
    });
    if (!opened.file)
        return finish(toDatabaseError(openError == FileError::None ? FileError::Generic : openError));
    t->file = std::move(opened.file);
    t->locks = std::make_unique<TableLocks>(*t->file, t->info.exclusive);

    if (const int error = readLayout(*t, t->info.readOnly)) return finish(error);
    for (const FieldDescriptor& field : t->info.fields)
        if (const int error = table::checkDescriptor(field, t->info.header.recordSize)) return finish(error);

    t->info.currentRecord = 0;
    e.tables.push_back(std::move(t));
    e.current = e.tables.back().get();
    return finish(0);
}

bool SelectTable(const Value& name) {
    Engine& e = engine();
    if (!name.holds<Text>()) return finish(kDbNoSuchTable);
    const Text& wanted = name.as<Text>();
    auto select = [&](auto key) {
        for (auto it = e.tables.rbegin(); it != e.tables.rend(); ++it) {
            const Text& candidate = key((*it)->info);
            if (!candidate.empty() && gbk::equalsIgnoreCase(candidate, wanted)) {
                e.current = it->get();
                return true;
            }
        }
        return false;
    };
    if (select([](const TableInfo& i) -> const Text& { return i.alias; }) ||
        select([](const TableInfo& i) -> const Text& { return i.baseName; }))
        return finish(0);
    // A full path is compared in the form the table's own path was resolved to at open time, so
    // that "/tmp/a.qtb" or "C:/x/../a.qtb" finds the table that "\tmp\a.qtb" or "C:\a.qtb" names.
    // Any other name is taken as it is: no extension added, no current directory put in front.
    const Text wantedPath = table::isFullPath(wanted) ? fileSystem().fullPath(wanted) : wanted;
    const Text& wantedFullPath = wantedPath.empty() ? wanted : wantedPath;
    for (auto it = e.tables.rbegin(); it != e.tables.rend(); ++it) {
        if (gbk::equalsIgnoreCase((*it)->info.fullPath, wanted) ||
            gbk::equalsIgnoreCase((*it)->info.fullPath, wantedFullPath)) {
            e.current = it->get();
            return finish(0);
        }
    }
    return finish(kDbNoSuchTable);
}

void CloseAllTables() {
    Engine& e = engine();
    e.current = nullptr;
    e.tables.clear();
    finish(0);
}

bool IsTableOpen(const Value& fileName) {
    setLastDatabaseError(0);
    if (!fileName.holds<Text>() || fileName.as<Text>().empty()) return false;
    const Text fullPath = resolvedTableName(fileName.as<Text>());
    for (const auto& t : engine().tables)
        if (sameFullPath(*t, fullPath)) return true;
    return false;
}

std::int32_t RecordCount() {
    Table* t = engine().current;
    if (!t) {
        finish(kDbNoCurrentTable);
        return 0;
    }
    std::int32_t count = 0;
    const int error = lockedRecordCount(*t, count);
    finish(error);
    return error ? 0 : count;
}

void FirstRecord() {
    Table* t = engine().current;
    if (!t) {
        finish(kDbNoCurrentTable);
        return;
    }
    t->info.currentRecord = 0;
    finish(0);
}

bool SkipRecords(const Value& n) {
    Table* t = engine().current;
    if (!t) return finish(kDbNoCurrentTable);
    const std::int64_t step = integerArgument(n, 1);
    if (step == 0) return finish(0);
    std::int32_t count = 0;
    if (const int error = lockedRecordCount(*t, count)) return finish(error);
    const std::int64_t current = t->info.currentRecord;
    if (step > 0 && (count == 0 || current >= count)) return finish(kDbAfterLast);
    if (step < 0 && (count == 0 || current < 0)) return finish(kDbBeforeFirst);
    std::int64_t next =
        std::min<std::int64_t>(current + std::clamp<std::int64_t>(step, INT32_MIN, INT32_MAX), count);
    if (next < -1) next = -1;
    t->info.currentRecord = static_cast<std::int32_t>(next);
    return finish(0);
}

// The record is written before the counts, and the next record ID before the record count, so that
// a write failing at any point leaves a count that claims only records the file holds and a next
// ID above every ID in use. A failed count update is undone where the file lets it.
bool AppendBlankRecord() {
    Table* t = engine().current;
    if (!t) return finish(kDbNoCurrentTable);
    table::ScopedLockWait wait(table::kRecordCountLockWait);
    ByteLock header(*t, table::kRecordCountOffset);
    if (header.error()) return finish(header.error());
    std::int32_t count = 0, nextId = 0;
    if (const int error = readCounts(*t, count, nextId)) return finish(error);
    if (nextId <= 0) nextId = 1;
    // One more record would overflow the count or the IDs.
    if (count == INT32_MAX || nextId == INT32_MAX) return finish(kDbUnknown);

    const std::uint64_t position = t->recordStart(count);
    ByteLock record(*t, position);
    if (record.error()) return finish(record.error());
    const std::optional<std::uint64_t> size = t->file->size();
    if (!size || *size < position) return finish(kDbBadSeek);

    const auto recordSize = static_cast<std::uint64_t>(t->recordSize());
    if (const int error = writeInt32At(*t->file, position, nextId)) return finish(error);
    if (const int error = writeZeros(*t->file, position + 4, recordSize - 4)) return finish(error);
    if (const int error = writeInt32At(*t->file, table::kNextIdOffset, nextId + 1)) {
        writeInt32At(*t->file, table::kNextIdOffset, nextId);
        return finish(error);
    }
    if (const int error = writeInt32At(*t->file, table::kRecordCountOffset, count + 1)) {
        writeInt32At(*t->file, table::kRecordCountOffset, count);
        return finish(error);
    }
    t->info.currentRecord = count;
    return finish(0);
}

Value ReadField(const Value& field) {
    Table* t = engine().current;
    if (!t) raiseFatalError(noCurrentTableMessage());
    const int index = fieldIndex(*t, field);
    if (index < 0) raiseFatalError(noSuchFieldMessage());
    const FieldDescriptor& descriptor = t->info.fields[static_cast<std::size_t>(index)];
    const auto type = static_cast<FieldType>(descriptor.type);
    if (t->info.currentRecord < 0) {
        finish(kDbNoCurrentRecord);
        return emptyValue(type);
    }
    ByteLock record(*t, t->recordStart(t->info.currentRecord));
    if (record.error()) {
        finish(record.error());
        return emptyValue(type);
    }
    const std::uint64_t position =
        t->recordStart(t->info.currentRecord) + static_cast<std::uint64_t>(descriptor.offset);
    const std::optional<std::uint64_t> size = t->file->size();
    if (!size || position >= *size) {
        finish(kDbBadSeek);
        return emptyValue(type);
    }
    // Never more than the file holds: a wider field is a short read.
    const auto length = static_cast<std::uint64_t>(table::storedSize(descriptor));
    if (*size - position < length) {
        finish(kDbFieldReadFailed);
        return emptyValue(type);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    const IoResult r = t->file->readAt(position, bytes.data(), bytes.size());
    if (!r.ok() || r.bytes != bytes.size()) {
        finish(kDbFieldReadFailed);
        return emptyValue(type);
    }
    finish(0);
    return decode(bytes.data(), bytes.size(), type);
}

bool WriteField(const Value& field, const Value& value) {
    Table* t = engine().current;
    if (!t) return finish(kDbNoSuchTable);
    const int index = fieldIndex(*t, field);
    if (index < 0) return finish(kDbNoSuchField);
    const FieldDescriptor& descriptor = t->info.fields[static_cast<std::size_t>(index)];
    const std::optional<Value> converted = convertForField(value, static_cast<FieldType>(descriptor.type));
    if (!converted) return finish(kDbTypeMismatch);
    if (t->info.currentRecord < 0) return finish(kDbNoCurrentRecord);
    ByteLock record(*t, t->recordStart(t->info.currentRecord));
    if (record.error()) return finish(record.error());
    const std::uint64_t position =
        t->recordStart(t->info.currentRecord) + static_cast<std::uint64_t>(descriptor.offset);
    const std::optional<std::uint64_t> size = t->file->size();
    if (!size || position >= *size) return finish(kDbNoCurrentRecord);
    std::uint64_t padding = 0;
    const ByteSet bytes = encode(*converted, descriptor, padding);
    if (!bytes.empty())
        if (const int error =
                writeError(t->file->writeAt(position, bytes.data(), bytes.size()), bytes.size()))
            return finish(error);
    return finish(writeZeros(*t->file, position + bytes.size(), padding));
}

bool MarkDeleted(const Value& condition) {
    Table* t = engine().current;
    if (!t) return finish(kDbNoCurrentTable);
    if (!condition.omitted()) {
        if (!condition.holds<bool>()) return finish(kDbTypeMismatch);
        WholeTableLock whole(*t);
        if (whole.error()) return finish(whole.error());
        return finish(condition.as<bool>() ? markAll(*t) : 0);
    }
    if (t->info.currentRecord < 0) return finish(kDbNoCurrentRecord);
    const std::uint64_t start = t->recordStart(t->info.currentRecord);
    const std::optional<std::uint64_t> size = t->file->size();
    if (!size || start >= *size) return finish(kDbNoCurrentRecord);
    ByteLock record(*t, start);
    if (record.error()) return finish(record.error());
    std::int32_t id = 0;
    if (!readInt32At(*t->file, start, id)) return finish(kDbRecordReadFailed);
    if (id > 0) return finish(writeInt32At(*t->file, start, -id));
    return finish(0);
}

bool PackTable() {
    Table* t = engine().current;
    if (!t) return finish(kDbNoCurrentTable);
    WholeTableLock whole(*t);
    if (whole.error()) return finish(whole.error());
    const int error = pack(*t);
    t->info.currentRecord = 0;
    return finish(error);
}

namespace table {

const TableInfo* currentTableInfo() {
    const Table* t = engine().current;
    return t ? &t->info : nullptr;
}

int findField(const Value& field) {
    const Table* t = engine().current;
    return t ? fieldIndex(*t, field) : -1;
}

std::optional<std::int32_t> currentRecordId() {
    Table* t = engine().current;
    if (!t) {
        finish(kDbNoCurrentTable);
        return std::nullopt;
    }
    if (t->info.currentRecord < 0) {
        finish(kDbNoCurrentRecord);
        return std::nullopt;
    }
    const std::uint64_t start = t->recordStart(t->info.currentRecord);
    ByteLock record(*t, start);
    if (record.error()) {
        finish(record.error());
        return std::nullopt;
    }
    const std::optional<std::uint64_t> size = t->file->size();
    if (!size || start >= *size) {
        finish(kDbBadSeek);
        return std::nullopt;
    }
    std::int32_t id = 0;
    if (!readInt32At(*t->file, start, id)) {
        finish(kDbRecordReadFailed);
        return std::nullopt;
    }
    finish(0);
    return id;
}

std::optional<std::uint64_t> currentFileSize() {
    Table* t = engine().current;
    return t ? t->file->size() : std::nullopt;
}

} // namespace table

} // namespace glyvora
