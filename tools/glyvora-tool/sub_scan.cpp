// glyvora-tool scan FOLDER...: walks the folders as the scan does, derives every file's face name
// and prints the entries in order; a summary goes to standard error.
#include "fontfile/face_name.h"
#include "fontfile/folder_walk.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "tool.h"

#include <algorithm>
#include <cstdio>

namespace glyvora::tool {

namespace {

int runScan(const Args& args) {
    if (args.empty()) {
        err("usage: glyvora-tool scan FOLDER...\n");
        return 2;
    }
    const std::uint32_t start = clock().ticks();
    std::vector<Text> paths;
    for (const std::string& folder : args) {
        for (Text& path : fontfile::listFolderFiles(pathArgument(folder)))
            paths.push_back(std::move(path));
    }
    std::size_t named = 0;
    std::string listing;
    for (const Text& path : paths) {
        const Text face = fontfile::faceNameOf(path);
        if (!face.empty()) ++named;
        listing += shownPath(path) + "\t" + ansiToUtf8(face) + "\n";
    }
    const double seconds = static_cast<std::uint32_t>(clock().ticks() - start) / 1000.0;
    const double rate =
        static_cast<double>(paths.size()) / std::max(seconds, 0.001); // ticks are milliseconds
    out(listing);
    char summary[160];
    std::snprintf(summary, sizeof summary,
                  "%zu files, %zu fonts with a name, %.3f seconds, %.0f files per second\n", paths.size(),
                  named, seconds, rate);
    err(summary);
    return 0;
}

const bool registered = registerSubcommand({
    "scan",
    "  scan FOLDER...    every file below the folders in scan order with its face name, tab-separated;\n"
    "                    a summary (files, named fonts, seconds, files per second) on standard error\n",
    runScan,
});

} // namespace

} // namespace glyvora::tool
