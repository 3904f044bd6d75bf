#include "platform/codepage.h"
#include "tool.h"

#ifndef _WIN32
#include "platform/posix/native_path.h"
#endif

#include <cstdio>
#include <map>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
// <windows.h> first: <shellapi.h> relies on its types.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif

namespace glyvora::tool {

namespace {

std::map<std::string, Subcommand>& subcommands() {
    static std::map<std::string, Subcommand> all;
    return all;
}

int usage() {
    std::string text = "usage: glyvora-tool <subcommand> ...\n";
    for (const auto& [name, sub] : subcommands())
        text += sub.usage;
    err(text);
    return 2;
}

// The arguments as UTF-8. On Windows they are taken from the wide command line, so that they do not
// pass through the ANSI code page on the way in.
Args utf8Arguments(int argc, char** argv) {
    Args args;
#ifdef _WIN32
    (void)argc;
    (void)argv;
    int n = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &n);
    for (int i = 0; i < n && wide; ++i) {
        std::u16string w(reinterpret_cast<const char16_t*>(wide[i]));
        args.push_back(utf16ToUtf8(w));
    }
    LocalFree(wide);
#else
    for (int i = 0; i < argc; ++i)
        args.emplace_back(argv[i]);
#endif
    return args;
}

} // namespace

bool registerSubcommand(Subcommand subcommand) {
    const std::string name = subcommand.name;
    subcommands()[name] = std::move(subcommand);
    return true;
}

Text pathArgument(const std::string& utf8) {
#ifdef _WIN32
    Text path = utf8ToAnsi(utf8);
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (static_cast<unsigned char>(path[i]) >= 0x80)
            ++i; // a double-byte character: its second byte is no separator
        else if (path[i] == '/')
            path[i] = '\\';
    }
    return path;
#else
    return posix::fromNativePath(utf8);
#endif
}

std::string shownPath(const Text& path) {
#ifdef _WIN32
    return ansiToUtf8(path);
#else
    return posix::toNativePath(path);
#endif
}

void out(const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

void err(const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

} // namespace glyvora::tool

int main(int argc, char** argv) {
    using namespace glyvora::tool;
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const Args all = utf8Arguments(argc, argv);
    if (all.size() < 2 || all[1] == "help" || all[1] == "--help") return usage();
    const auto it = subcommands().find(all[1]);
    if (it == subcommands().end()) {
        err("glyvora-tool: unknown subcommand '" + all[1] + "'\n");
        return usage();
    }
    const int status = it->second.run(Args(all.begin() + 2, all.end()));
    std::fflush(stdout);
    return status;
}
