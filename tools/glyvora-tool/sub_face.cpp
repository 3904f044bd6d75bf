// glyvora-tool face FILE...: the face name of each file, as the scan derives it.
#include "fontfile/face_name.h"
#include "platform/codepage.h"
#include "tool.h"

namespace glyvora::tool {

namespace {

int runFace(const Args& args) {
    if (args.empty()) {
        err("usage: glyvora-tool face FILE...\n");
        return 2;
    }
    for (const std::string& file : args) {
        const Text face = fontfile::faceNameOf(pathArgument(file));
        out(ansiToUtf8(face) + "\t" + file + "\n");
    }
    return 0;
}

const bool registered = registerSubcommand({
    "face",
    "  face FILE...      the face name of each font file (empty when none) and its path, tab-separated\n",
    runFace,
});

} // namespace

} // namespace glyvora::tool
