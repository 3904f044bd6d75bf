#pragma once
// glyvora-tool: a command-line companion over the program's libraries. Each subcommand lives in a
// file of its own and registers itself here.
//
// Arguments arrive and output leaves as UTF-8; the subcommands convert to and from the ANSI code
// page where they touch the program's files.

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

// Standard output and error, UTF-8.
void out(const std::string& utf8);
void err(const std::string& utf8);

} // namespace glyvora::tool
