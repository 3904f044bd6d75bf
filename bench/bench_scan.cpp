// The scan's per-file cost, side by side over one folder of fonts:
//   walk          the breadth-first walk alone
//   walk+read     the walk, opening every file and reading its first 4 KiB (what any reader pays)
//   walk+face     the walk with the face name of every file
//   fc-scan       fontconfig's scanner over the same folder, for comparison
// Each pass runs once to warm the page cache and then `rounds` times; the best round counts.
//
//   glyvora-bench-scan FOLDER [ROUNDS]
#include "fonts/face_name.h"
#include "fonts/folder_walk.h"
#include "platform/files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <time.h>

namespace {

using glyvora::Text;

double now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The best of `rounds` timed runs after one untimed one.
double bestSeconds(int rounds, const std::function<void()>& pass) {
    pass();
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const double start = now();
        pass();
        const double seconds = now() - start;
        if (seconds < best) best = seconds;
    }
    return best;
}

std::size_t walkAlone(const Text& folder) {
    std::size_t files = 0;
    glyvora::fonts::FolderWalkHooks hooks;
    hooks.file = [&](const Text&) { ++files; };
    glyvora::fonts::walkFolder(folder, hooks);
    return files;
}

std::size_t walkAndRead(const Text& folder) {
    std::size_t bytes = 0;
    glyvora::fonts::FolderWalkHooks hooks;
    hooks.file = [&](const Text& path) {
        glyvora::OpenedFile opened =
            glyvora::fileSystem().open(path, glyvora::FileAccess::Read, glyvora::FileSharing::DenyNone,
                                       glyvora::FileCreation::OpenExisting);
        if (!opened.file) return;
        unsigned char block[4096];
        bytes += opened.file->readAt(0, block, sizeof block).bytes;
    };
    glyvora::fonts::walkFolder(folder, hooks);
    return bytes;
}

std::size_t walkAndFaceNames(const Text& folder) {
    std::size_t named = 0;
    glyvora::fonts::FolderWalkHooks hooks;
    hooks.file = [&](const Text& path) {
        if (!glyvora::fonts::faceNameOf(path).empty()) ++named;
    };
    glyvora::fonts::walkFolder(folder, hooks);
    return named;
}

std::string shellQuoted(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

void report(const char* what, std::size_t files, double seconds, double baseline) {
    std::printf("%-12s %10.0f files/s %9.2f us/file", what, static_cast<double>(files) / seconds,
                seconds * 1e6 / static_cast<double>(files));
    if (baseline > 0) std::printf("   %6.2fx the walk+face time", seconds / baseline);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: glyvora-bench-scan FOLDER [ROUNDS]\n");
        return 2;
    }
    const std::string unixFolder = argv[1];
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    Text folder;
    for (char c : unixFolder)
        folder.push_back(c == '/' ? '\\' : c);

    const std::size_t files = walkAlone(folder);
    if (files == 0) {
        std::fprintf(stderr, "glyvora-bench-scan: no files below %s\n", unixFolder.c_str());
        return 1;
    }
    std::size_t named = 0;
    const double walk = bestSeconds(rounds, [&] { walkAlone(folder); });
    const double read = bestSeconds(rounds, [&] { walkAndRead(folder); });
    const double face = bestSeconds(rounds, [&] { named = walkAndFaceNames(folder); });
    const std::string fcScan = "fc-scan --format '%{file}\\n' " + shellQuoted(unixFolder) + " >/dev/null";
    bool fcFailed = false;
    const double fc = bestSeconds(std::min(rounds, 2), [&] { fcFailed |= std::system(fcScan.c_str()) != 0; });

    std::printf("%zu files below %s, %zu with a face name; best of %d rounds\n", files, unixFolder.c_str(),
                named, rounds);
    report("walk", files, walk, face);
    report("walk+read", files, read, face);
    report("walk+face", files, face, 0);
    if (fcFailed) {
        std::printf("fc-scan      failed (is the fontconfig package installed?)\n");
        return 1;
    }
    report("fc-scan", files, fc, face);
    std::printf("face names: %.1fx faster per file than fc-scan (goal >= 20), %.2fx the open-and-read walk "
                "(goal <= 2)\n",
                fc / face, face / read);
    return 0;
}
