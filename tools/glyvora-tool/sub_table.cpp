// glyvora-tool table: write an empty table, show a table's layout or records, or run table commands
// from standard input against a table. Texts are UTF-8 here and GBK in the file; "hex:" followed by
// hexadecimal digits gives or shows raw bytes.
#include "platform/codepage.h"
#include "platform/files.h"
#include "tablefile/table_engine.h"
#include "tool.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

namespace glyvora::tool {

namespace {

const char* kUsage =
    "  table new FILE folder|set   write the empty folder table or set table\n"
    "  table info FILE             show the header and the fields\n"
    "  table dump FILE             show every record: number, record ID, fields\n"
    "  table run FILE              run table commands read from standard input, one a line:\n"
    "                              first, skip [N], count, append, read FIELD,\n"
    "                              write FIELD TEXT, delete, pack, select NAME,\n"
    "                              isopen NAME, closeall, open FILE\n";

// The parts one after another. (Appending, where "literal" + a temporary string would trip GCC 12's
// -Wrestrict in optimised builds.)
template <typename... Parts>
std::string cat(const Parts&... parts) {
    std::string s;
    ((s += parts), ...);
    return s;
}

std::string hexOf(const Text& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "hex:";
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// A GBK text for the terminal: UTF-8 when it converts there and back unchanged and holds no
// control characters, else its bytes in hexadecimal.
std::string shown(const Text& ansi) {
    bool plain = ansi.rfind("hex:", 0) != 0;
    for (unsigned char c : ansi)
        if (c < 0x20 || c == 0x7F) plain = false;
    if (plain) {
        const std::string utf8 = ansiToUtf8(ansi);
        if (utf8ToAnsi(utf8) == ansi) return utf8;
    }
    return hexOf(ansi);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A text from the terminal as GBK bytes; nothing for a "hex:" text with bad digits.
std::optional<Text> given(const std::string& utf8) {
    if (utf8.rfind("hex:", 0) != 0) return utf8ToAnsi(utf8);
    const std::string digits = utf8.substr(4);
    if (digits.size() % 2) return std::nullopt;
    Text bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int hi = hexDigit(digits[i]), lo = hexDigit(digits[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes += static_cast<char>(hi * 16 + lo);
    }
    return bytes;
}

// A file name from the terminal in the program's form; "hex:" gives the bytes as they are.
std::optional<Text> givenPath(const std::string& utf8) {
    if (utf8.rfind("hex:", 0) == 0) return given(utf8);
    return pathArgument(utf8);
}

std::string number(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string shown(const Value& v) {
    switch (v.type()) {
    case TypeCode::Text:
        return shown(v.as<Text>());
    case TypeCode::Byte:
        return std::to_string(v.as<std::uint8_t>());
    case TypeCode::Short:
        return std::to_string(v.as<std::int16_t>());
    case TypeCode::Integer:
        return std::to_string(v.as<std::int32_t>());
    case TypeCode::Long:
        return std::to_string(v.as<std::int64_t>());
    case TypeCode::Float:
        return number("%.6g", v.as<float>());
    case TypeCode::Double:
        return number("%.13g", v.as<double>());
    case TypeCode::Boolean:
        return v.as<bool>() ? "true" : "false";
    case TypeCode::DateTime:
        return number("%.13g", v.as<DateTime>().days);
    case TypeCode::SubprogramRef:
        return std::to_string(v.as<SubprogramRef>().address);
    case TypeCode::ByteSet: {
        const ByteSet& b = v.as<ByteSet>();
        return hexOf(Text(b.begin(), b.end()));
    }
    default:
        return "";
    }
}

const char* typeName(std::int32_t type) {
    static const char* names[] = {"?",     "byte",     "short",   "integer",   "long",
                                  "float", "double",   "boolean", "date-time", "subprogram",
                                  "text",  "byte set", "memo"};
    return type >= 1 && type <= 12 ? names[type] : names[0];
}

int failure(int code) {
    err(cat("error ", std::to_string(code), ": ", ansiToUtf8(databaseErrorText(code)), "\n"));
    return 1;
}

int usageError(const std::string& message) {
    err(cat("glyvora-tool table: ", message, "\n", kUsage));
    return 2;
}

bool openGiven(const std::string& file, bool readOnly) {
    const std::optional<Text> name = givenPath(file);
    if (!name) {
        setLastDatabaseError(kDbFileNotFound);
        return false;
    }
    return OpenTable(*name, Value(), readOnly ? Value(1) : Value());
}

int tableNew(const Args& args) {
    if (args.size() != 3 || (args[2] != "folder" && args[2] != "set"))
        return usageError("new FILE folder|set");
    const std::optional<Text> name = givenPath(args[1]);
    if (!name || name->empty()) return failure(kDbFileNotFound);
    const Text path = table::withDefaultExtension(*name);
    // A table is never written over: it may hold the only record of the user's folders.
    if (fileSystem().open(path, FileAccess::Read, FileSharing::DenyNone, FileCreation::OpenExisting).file) {
        err(cat("glyvora-tool table: ", shownPath(path), " exists; it is left as it is\n"));
        return 1;
    }
    const ByteSet image = args[2] == "folder" ? table::emptyFolderTableImage() : table::emptySetTableImage();
    if (!writeWholeFile(path, {image})) return failure(-6);
    return 0;
}

int tableInfo(const Args& args) {
    if (args.size() != 2) return usageError("info FILE");
    if (!openGiven(args[1], true)) return failure(lastDatabaseError());
    const table::TableInfo& t = *table::currentTableInfo();
    const table::Header& h = t.header;
    std::string o;
    o += cat("path: ", shownPath(t.fullPath), "\n");
    o += cat("magic: ", shown(Text(reinterpret_cast<const char*>(h.bytes.data()), 4)), "\n");
    char version[16];
    std::snprintf(version, sizeof version, "0x%08X", static_cast<unsigned>(h.version));
    o += std::string("version: ") + version + "\n";
    o += cat("creation time: ", number("%.13g", h.creationTime), "\n");
    o += cat("record count: ", std::to_string(h.recordCount), "\n");
    o += cat("next record ID: ", std::to_string(h.nextRecordId), "\n");
    o += cat("record size: ", std::to_string(h.recordSize), "\n");
    o += cat("fields: ", std::to_string(t.fields.size()), "\n");
    for (std::size_t i = 0; i < t.fields.size(); ++i) {
        const table::FieldDescriptor& f = t.fields[i];
        o += cat("field ", std::to_string(i + 1), ": ", shown(f.name), " type ", std::to_string(f.type), " (",
                 typeName(f.type), ") offset ", std::to_string(f.offset), " width ",
                 std::to_string(table::storedSize(f)), "\n");
    }
    o += cat("data start: ", std::to_string(t.dataStart), "\n");
    o += cat("file size: ", std::to_string(table::currentFileSize().value_or(0)), "\n");
    out(o);
    CloseAllTables();
    return 0;
}

int tableDump(const Args& args) {
    if (args.size() != 2) return usageError("dump FILE");
    if (!openGiven(args[1], true)) return failure(lastDatabaseError());
    const std::size_t fields = table::currentTableInfo()->fields.size();
    const std::int32_t count = RecordCount();
    if (lastDatabaseError() != 0) return failure(lastDatabaseError());
    FirstRecord();
    for (std::int32_t r = 0; r < count; ++r) {
        const std::optional<std::int32_t> id = table::currentRecordId();
        if (!id) return failure(lastDatabaseError());
        std::string line = cat(std::to_string(r), "\t", std::to_string(*id));
        for (std::size_t f = 1; f <= fields; ++f)
            line += cat("\t", shown(ReadField(static_cast<std::int32_t>(f))));
        out(line + "\n");
        SkipRecords();
    }
    CloseAllTables();
    return 0;
}

// FIELD as the engine takes it: a 1-based number, or a name.
std::optional<Value> fieldOf(const std::string& word) {
    if (!word.empty() && word.find_first_not_of("0123456789") == std::string::npos && word.size() < 10)
        return Value(static_cast<std::int32_t>(std::atoi(word.c_str())));
    const std::optional<Text> name = given(word);
    if (!name) return std::nullopt;
    return Value(*name);
}

// TEXT as a value of the field's type: a number for a numeric field, true or false for a boolean.
// A text that is neither goes to the engine as a text, and the engine's answer is what shows.
std::optional<Value> valueFor(const Value& field, const std::string& text) {
    const int index = table::findField(field);
    const std::int32_t type = index < 0 ? 10 : table::currentTableInfo()->fields[index].type;
    const auto asText = [&]() -> std::optional<Value> {
        const std::optional<Text> bytes = given(text);
        if (!bytes) return std::nullopt;
        return Value(*bytes);
    };
    if (type == 10 || type == 12) return asText();
    if (type == 7) {
        if (text == "true" || text == "1") return Value(true);
        if (text == "false" || text == "0") return Value(false);
        return asText();
    }
    char* end = nullptr;
    const double d = std::strtod(text.c_str(), &end);
    if (text.empty() || *end) return asText();
    if (type == 8) return Value(DateTime{d});
    if (type == 9)
        return Value(SubprogramRef{static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 10))});
    const long long whole = std::strtoll(text.c_str(), &end, 10);
    if (!*end) return Value(static_cast<std::int64_t>(whole));
    return Value(d);
}

std::string boolean(bool b) {
    return b ? "true" : "false";
}

// One command line; the result line without the error code, or nothing for an error line.
std::optional<std::string> runCommand(const std::string& command, const std::string& rest,
                                      std::string& error) {
    if (command == "first") {
        FirstRecord();
        return "";
    }
    if (command == "skip") {
        if (rest.empty()) return boolean(SkipRecords());
        char* end = nullptr;
        const long n = std::strtol(rest.c_str(), &end, 10);
        if (*end) {
            error = "skip takes a whole number";
            return std::nullopt;
        }
        return boolean(SkipRecords(static_cast<std::int32_t>(n)));
    }
    if (command == "count") return std::to_string(RecordCount());
    if (command == "append") return boolean(AppendBlankRecord());
    if (command == "delete") return boolean(MarkDeleted());
    if (command == "pack") return boolean(PackTable());
    if (command == "closeall") {
        CloseAllTables();
        return "";
    }
    if (command == "read") {
        const std::optional<Value> field = fieldOf(rest);
        // The engine ends the program for these; the tool says so and goes on.
        if (!table::currentTableInfo()) {
            error = "no current table";
            return std::nullopt;
        }
        if (!field || table::findField(*field) < 0) {
            error = cat("no field ", rest);
            return std::nullopt;
        }
        return shown(ReadField(*field));
    }
    if (command == "write") {
        const std::size_t space = rest.find(' ');
        const std::string fieldWord = rest.substr(0, space);
        const std::string text = space == std::string::npos ? std::string() : rest.substr(space + 1);
        const std::optional<Value> field = fieldOf(fieldWord);
        if (!field) {
            error = cat("bad field ", fieldWord);
            return std::nullopt;
        }
        const std::optional<Value> value = valueFor(*field, text);
        if (!value) {
            error = cat("bad value ", text);
            return std::nullopt;
        }
        return boolean(WriteField(*field, *value));
    }
    if (command == "select" || command == "isopen" || command == "open") {
        // SelectTable takes the text as it is; the other two take a file name.
        const std::optional<Text> name = command == "select" ? given(rest) : givenPath(rest);
        if (!name) {
            error = cat("bad name ", rest);
            return std::nullopt;
        }
        if (command == "select") return boolean(SelectTable(*name));
        if (command == "isopen") return boolean(IsTableOpen(*name));
        return boolean(OpenTable(*name));
    }
    error = cat("unknown command '", command, "'");
    return std::nullopt;
}

int tableRun(const Args& args) {
    if (args.size() != 2) return usageError("run FILE");
    if (!openGiven(args[1], false)) return failure(lastDatabaseError());
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos) continue;
        const std::size_t space = line.find(' ', start);
        const std::string command =
            line.substr(start, space == std::string::npos ? std::string::npos : space - start);
        const std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
        std::string error;
        const std::optional<std::string> result = runCommand(command, rest, error);
        if (result)
            out(cat(*result, "\t", std::to_string(lastDatabaseError()), "\n"));
        else
            out(cat("error: ", error, "\n"));
        std::fflush(stdout);
    }
    CloseAllTables();
    return 0;
}

int run(const Args& args) {
    if (args.empty()) return usageError("a subcommand is needed");
    if (args[0] == "new") return tableNew(args);
    if (args[0] == "info") return tableInfo(args);
    if (args[0] == "dump") return tableDump(args);
    if (args[0] == "run") return tableRun(args);
    return usageError(cat("unknown subcommand '", args[0], "'"));
}

const bool registered = registerSubcommand({"table", kUsage, run});

} // namespace

} // namespace glyvora::tool
