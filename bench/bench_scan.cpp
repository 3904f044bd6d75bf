// The scan's per-file cost, side by side over one folder of fonts:
//   plain walk       opendir/readdir, written here in plain C: the floor of any walk
//   plain walk+read  the same walk opening every file, reading its first 4 KiB and closing it:
//                    the floor of any reader
//   walk             the program's breadth-first walk alone
//   walk+face        the program's walk with the face name of every file
//   fc-scan          fontconfig's scanner over the same folder, for comparison
// The plain passes are this file's own, so the ratio of walk+face to plain walk+read is what the
// program adds over the system calls any reader has to make. Each pass runs once to warm the page
// cache and then `rounds` times; the median round counts. Wall time is what the user waits; the
// processor time beside it is steadier on a machine that others share.
//
//   glyvora-bench-scan FOLDER [ROUNDS]
#include "fontfile/face_name.h"
#include "fontfile/folder_walk.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

using glyvora::Text;

struct Timing {
    double wall = 0; // seconds
    double cpu = 0;  // seconds of this process and its children
};

double seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double childrenCpu() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto toSeconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
}

Timing sample() {
    return {seconds(CLOCK_MONOTONIC), seconds(CLOCK_PROCESS_CPUTIME_ID) + childrenCpu()};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The median of `rounds` timed runs after one untimed one, wall and processor time each.
Timing medianTiming(int rounds, const std::function<void()>& pass) {
    pass();
    std::vector<double> walls, cpus;
    for (int i = 0; i < rounds; ++i) {
        const Timing start = sample();
        pass();
        const Timing end = sample();
        walls.push_back(end.wall - start.wall);
        cpus.push_back(end.cpu - start.cpu);
    }
    return {median(walls), median(cpus)};
}

// A plain breadth-first walk: each folder read once with readdir, a stat only where the entry's
// type is unknown or a link. Calls `file` with the path of every file.
void plainWalk(const std::string& root, const std::function<void(const std::string&)>& file) {
    std::deque<std::string> queue{root};
    while (!queue.empty()) {
        const std::string directory = queue.front();
        queue.pop_front();
        DIR* dir = opendir(directory.c_str());
        if (!dir) continue;
        while (const dirent* e = readdir(dir)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            const std::string path = directory + "/" + name;
            bool isDirectory = e->d_type == DT_DIR;
            if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
                struct stat st {};
                isDirectory = stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            }
            if (isDirectory)
                queue.push_back(path);
            else
                file(path);
        }
        closedir(dir);
    }
}

std::size_t plainWalkAlone(const std::string& root) {
    std::size_t files = 0;
    plainWalk(root, [&](const std::string&) { ++files; });
    return files;
}

std::size_t plainWalkAndRead(const std::string& root) {
    std::size_t bytes = 0;
    plainWalk(root, [&](const std::string& path) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return;
        unsigned char block[4096];
        const ssize_t n = read(fd, block, sizeof block);
        if (n > 0) bytes += static_cast<std::size_t>(n);
        close(fd);
    });
    return bytes;
}

std::size_t walkAlone(const Text& folder) {
    std::size_t files = 0;
    glyvora::fontfile::FolderWalkHooks hooks;
    hooks.file = [&](const Text&) { ++files; };
    glyvora::fontfile::walkFolder(folder, hooks);
    return files;
}

std::size_t walkAndFaceNames(const Text& folder) {
    std::size_t named = 0;
    glyvora::fontfile::FolderWalkHooks hooks;
    hooks.file = [&](const Text& path) {
        if (!glyvora::fontfile::faceNameOf(path).empty()) ++named;
    };
    glyvora::fontfile::walkFolder(folder, hooks);
    return named;
}

std::string shellQuoted(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

void report(const char* what, std::size_t files, const Timing& t, const Timing& baseline) {
    const auto n = static_cast<double>(files);
    std::printf("%-16s %9.0f files/s %8.2f us/file %8.2f cpu us/file", what, n / t.wall, t.wall * 1e6 / n,
                t.cpu * 1e6 / n);
    if (baseline.wall > 0) std::printf("  %6.2fx the plain walk+read", t.wall / baseline.wall);
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
    const std::size_t plainFiles = plainWalkAlone(unixFolder);
    std::size_t named = 0;
    const Timing plain = medianTiming(rounds, [&] { plainWalkAlone(unixFolder); });
    const Timing plainRead = medianTiming(rounds, [&] { plainWalkAndRead(unixFolder); });
    const Timing walk = medianTiming(rounds, [&] { walkAlone(folder); });
    const Timing face = medianTiming(rounds, [&] { named = walkAndFaceNames(folder); });
    const std::string fcScan = "fc-scan --format '%{file}\\n' " + shellQuoted(unixFolder) + " >/dev/null";
    bool fcFailed = false;
    const Timing fc =
        medianTiming(std::min(rounds, 3), [&] { fcFailed |= std::system(fcScan.c_str()) != 0; });

    std::printf("%zu files below %s, %zu with a face name; median of %d rounds\n", files, unixFolder.c_str(),
                named, rounds);
    if (plainFiles != files)
        std::printf("the plain walk found %zu files, the program's walk %zu\n", plainFiles, files);
    report("plain walk", files, plain, plainRead);
    report("plain walk+read", files, plainRead, {});
    report("walk", files, walk, plainRead);
    report("walk+face", files, face, plainRead);
    if (fcFailed) {
        std::printf("fc-scan          failed (is the fontconfig package installed?)\n");
        return 1;
    }
    report("fc-scan", files, fc, plainRead);
    std::printf("walk with face names: %.2fx the plain walk+read (goal <= 2; processor time %.2fx), "
                "%.1fx faster per file than fc-scan (goal >= 20)\n",
                face.wall / plainRead.wall, face.cpu / plainRead.cpu, fc.wall / face.wall);
    return 0;
}
