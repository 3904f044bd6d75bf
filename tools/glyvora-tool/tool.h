#pragma once
// glyvora-tool: a command-line companion over the program's libraries. Each subcommand lives in a
// file of its own and registers itself here.
//
// Arguments arrive and output leaves as UTF-8; the subcommands convert to and from the ANSI code
// page where they touch the program's files.

#include "platform/types.h"

#include <functional>
#include <string>
#include <vector>

namespace glyvora::tool {

using Args = std::vector<std::string>; // the arguments after the subcommand's name, UTF-8

struct Subcommand {
    std::string name;
    std::string usage;                   // one or more lines, shown by "glyvora-tool help"
    std::function<int(const Args&)> run; // the exit status
};

// Called from a static initialiser in each subcommand's file.
bool registerSubcommand(Subcommand subcommand);

// A file name from the command line in the program's form: GBK, "\" separators ("/" is taken as
// one too). On Linux a name that has no GBK form keeps its bytes, so that it reaches the file
// system as it was typed.
Text pathArgument(const std::string& utf8);
// A path of the program's for the terminal, in the system's form (on Linux "/" separators and the
// name as the file system stores it).
std::string shownPath(const Text& path);

// Standard output and error, UTF-8.
void out(const std::string& utf8);
void err(const std::string& utf8);

} // namespace glyvora::tool
