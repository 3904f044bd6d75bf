// glyvora-tool ini: one value of an INI file read or written the way the program does it, and a
// scenario runner that drives the profile calls step by step, so that the Windows build under Wine
// and the native build can be compared on the same steps.
//
//   ini read FILE SECTION KEY [DEFAULT]     prints the value and a line break
//   ini write FILE SECTION KEY VALUE        writes the value
//   ini write FILE SECTION KEY              removes the key
//   ini write FILE SECTION                  removes the section
//   ini script FILE < STEPS                 runs the steps against FILE
//   ini script --system FILE < STEPS        the same through the system's own profile calls
//                                           (Windows only), the reference the program's are held to
//
// Steps, one a line (UTF-8; "#" starts a comment line):
//   file BYTES...            the file's bytes are replaced, bypassing the profile calls
//   target BYTES             later steps use this file name in FILE's directory instead
//   buffer N                 later reads use a buffer of N bytes (10240 at first)
//   read SECTION KEY [DEF]   prints the value read
//   write SECTION [KEY [VALUE]]
//   dump                     prints the file's bytes
// An argument is made of pieces written without white space between them, each a bare word or a
// quoted string with the escapes \r \n \t \\ \" \xHH, and either optionally followed by *N to
// repeat it N times; BYTES are such arguments one after another, joined.
// Text outside escapes is converted from UTF-8 to the ANSI code page; \xHH gives the byte itself.
#include "commands/settings.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/profile.h"
#ifdef _WIN32
#include "platform/win32/system_profile.h"
#endif
#include "tool.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace glyvora::tool {

namespace {

int iniRead(const Args& args) {
    if (args.size() < 3 || args.size() > 4) {
        err("usage: glyvora-tool ini read FILE SECTION KEY [DEFAULT]\n");
        return 1;
    }
    const Text value = ReadIniValue(pathArgument(args[0]), utf8ToAnsi(args[1]), utf8ToAnsi(args[2]),
                                    args.size() == 4 ? utf8ToAnsi(args[3]) : Text());
    out(ansiToUtf8(value) + "\n");
    return 0;
}

int iniWrite(const Args& args) {
    if (args.size() < 2 || args.size() > 4) {
        err("usage: glyvora-tool ini write FILE SECTION [KEY [VALUE]]\n");
        return 1;
    }
    std::optional<Text> key, value;
    if (args.size() >= 3) key = utf8ToAnsi(args[2]);
    if (args.size() == 4) value = utf8ToAnsi(args[3]);
    if (!WriteIniValue(pathArgument(args[0]), utf8ToAnsi(args[1]), key, value)) {
        err("glyvora-tool ini: cannot write " + args[0] + "\n");
        return 1;
    }
    return 0;
}

// --- the scenario runner -------------------------------------------------------------------------

// Bytes shown unambiguously on one line: printable ASCII as it is, everything else escaped.
std::string escaped(const Text& bytes) {
    static const char hex[] = "0123456789ABCDEF";
    std::string outText;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\\' || b == '"') {
            outText += '\\';
            outText += c;
        } else if (b == '\r') {
            outText += "\\r";
        } else if (b == '\n') {
            outText += "\\n";
        } else if (b == '\t') {
            outText += "\\t";
        } else if (b >= 0x20 && b < 0x7f) {
            outText += c;
        } else {
            outText += "\\x";
            outText += hex[b >> 4];
            outText += hex[b & 15];
        }
    }
    return outText;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Splits a step line into its arguments; nullopt for a malformed line.
// One piece of an argument at `pos`: a quoted string or a bare word, and its repeat count.
std::optional<Text> parsePiece(const std::string& line, std::size_t& pos) {
    Text bytes;
    std::string plain; // UTF-8 waiting for conversion
    auto flush = [&] {
        bytes += utf8ToAnsi(plain);
        plain.clear();
    };
    if (line[pos] == '"') {
        ++pos;
        bool closed = false;
        while (pos < line.size()) {
            const char c = line[pos++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c != '\\') {
                plain += c;
                continue;
            }
            if (pos >= line.size()) return std::nullopt;
            const char e = line[pos++];
            flush();
            if (e == 'r') {
                bytes += '\r';
            } else if (e == 'n') {
                bytes += '\n';
            } else if (e == 't') {
                bytes += '\t';
            } else if (e == '\\' || e == '"') {
                bytes += e;
            } else if (e == 'x' && pos + 1 < line.size() && hexDigit(line[pos]) >= 0 &&
                       hexDigit(line[pos + 1]) >= 0) {
                bytes += static_cast<char>(hexDigit(line[pos]) * 16 + hexDigit(line[pos + 1]));
                pos += 2;
            } else {
                return std::nullopt;
            }
        }
        if (!closed) return std::nullopt;
    } else {
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '*' &&
               line[pos] != '"')
            plain += line[pos++];
    }
    flush();
    if (pos < line.size() && line[pos] == '*') {
        ++pos;
        std::size_t count = 0;
        const std::size_t start = pos;
        while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9' && count <= 100000)
            count = count * 10 + static_cast<std::size_t>(line[pos++] - '0');
        if (pos == start || count > 100000) return std::nullopt;
        Text repeated;
        for (std::size_t i = 0; i < count; ++i)
            repeated += bytes;
        bytes = repeated;
    }
    return bytes;
}

// Splits a step line into its arguments; nullopt for a malformed line. Pieces written without
// white space between them make one argument: "a""b"*3 is abbb.
std::optional<std::vector<Text>> parseArguments(const std::string& line, std::size_t pos) {
    std::vector<Text> result;
    while (true) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        if (pos >= line.size()) return result;
        Text argument;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') {
            const std::optional<Text> piece = parsePiece(line, pos);
            if (!piece) return std::nullopt;
            argument += *piece;
        }
        result.push_back(argument);
    }
}

Text directoryOf(const Text& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == Text::npos ? Text() : path.substr(0, slash + 1);
}

// The profile calls a script drives: the program's, or the system's for comparison.
struct ProfileCalls {
    Text (*read)(const Text&, const Text&, const Text&, const Text&, std::size_t) = readProfileString;
    bool (*write)(const Text&, const Text&, const std::optional<Text>&,
                  const std::optional<Text>&) = writeProfileString;
};

int iniScript(Args args) {
    ProfileCalls calls;
    if (!args.empty() && args[0] == "--system") {
#ifdef _WIN32
        calls.read = win32::readSystemProfileString;
        calls.write = win32::writeSystemProfileString;
        args.erase(args.begin());
#else
        err("glyvora-tool ini script: --system needs the Windows build\n");
        return 1;
#endif
    }
    if (args.size() != 1) {
        err("usage: glyvora-tool ini script [--system] FILE < STEPS\n");
        return 1;
    }
    const Text base = pathArgument(args[0]);
    Text file = base;
    std::size_t bufferSize = kIniValueBufferSize;
    std::string line;
    int lineNumber = 0;
    while (std::getline(std::cin, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t pos = line.find_first_not_of(" \t");
        if (pos == std::string::npos || line[pos] == '#') continue;
        const std::size_t end = line.find_first_of(" \t", pos);
        const std::string step = line.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        const std::optional<std::vector<Text>> parsed =
            parseArguments(line, end == std::string::npos ? line.size() : end);
        auto fail = [&](const std::string& why) {
            err("line " + std::to_string(lineNumber) + ": " + why + "\n");
            return 1;
        };
        if (!parsed) return fail("malformed arguments");
        const std::vector<Text>& a = *parsed;
        if (step == "file") {
            Text bytes;
            for (const Text& part : a)
                bytes += part;
            if (!writeWholeFile(file, {ByteSet(bytes.begin(), bytes.end())}))
                return fail("cannot set up the file");
        } else if (step == "target" && a.size() == 1) {
            file = directoryOf(base) + a[0];
        } else if (step == "buffer" && a.size() == 1) {
            if (a[0].empty() || a[0].size() > 9 || a[0].find_first_not_of("0123456789") != Text::npos)
                return fail("the buffer size is not a number");
            bufferSize = static_cast<std::size_t>(std::stoul(a[0]));
        } else if (step == "read" && (a.size() == 2 || a.size() == 3)) {
            const Text value = calls.read(file, a[0], a[1], a.size() == 3 ? a[2] : Text(), bufferSize);
            out("read \"" + escaped(a[0]) + "\" \"" + escaped(a[1]) + "\" -> " +
                std::to_string(value.size()) + " \"" + escaped(value) + "\"\n");
        } else if (step == "write" && !a.empty() && a.size() <= 3) {
            std::optional<Text> key, value;
            if (a.size() >= 2) key = a[1];
            if (a.size() == 3) value = a[2];
            const bool ok = calls.write(file, a[0], key, value);
            out(std::string("write -> ") + (ok ? "ok" : "failed") + "\n");
        } else if (step == "dump" && a.empty()) {
            const std::optional<ByteSet> bytes = readWholeFile(file);
            if (!bytes) {
                out("file: missing\n");
                continue;
            }
            out("file: " + std::to_string(bytes->size()) + " bytes\n");
            Text text(bytes->begin(), bytes->end());
            std::size_t start = 0;
            while (start < text.size()) {
                std::size_t nl = text.find('\n', start);
                nl = nl == Text::npos ? text.size() : nl + 1;
                out("  |" + escaped(text.substr(start, nl - start)) + "\n");
                start = nl;
            }
        } else {
            return fail("unknown step or wrong argument count: " + step);
        }
    }
    return 0;
}

int runIni(const Args& args) {
    if (!args.empty()) {
        const Args rest(args.begin() + 1, args.end());
        if (args[0] == "read") return iniRead(rest);
        if (args[0] == "write") return iniWrite(rest);
        if (args[0] == "script") return iniScript(rest);
    }
    err("usage: glyvora-tool ini read|write|script ...\n");
    return 1;
}

const bool registered = registerSubcommand({"ini",
                                            "  ini read FILE SECTION KEY [DEFAULT]\n"
                                            "  ini write FILE SECTION [KEY [VALUE]]\n"
                                            "  ini script [--system] FILE < STEPS\n",
                                            runIni});

} // namespace

} // namespace glyvora::tool
