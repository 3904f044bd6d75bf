// The whole scan as the user meets it: a program directory whose tree and folder table register
// one folder, the program started on a backend, and the time from the tree selection to page 1
// shown (the walks, the scan window with its half-second pause, the face names, the private loads
// and the first page). Beside it, in the same run, the walk with face names alone and, on Windows,
// the private adds and removes alone, so the ratios show what the scan adds to them.
//
//   glyvora-bench-whole-scan FOLDER WORKDIR [ROUNDS]     WORKDIR: an empty program directory
//
// Natively it runs on the headless backend (no font is really loaded there) and reports the
// resident memory the lists of the scan take; the Windows build runs on the Win32 backend.
#include "app/application.h"
#include "app/windows/ids.h"
#include "commands/file_commands.h"
#include "fontfile/face_name.h"
#include "fontfile/folder_walk.h"
#include "forms/commands.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/font_resources.h"
#include "tablefile/table_engine.h"
#include "tablefile/table_format.h"

#ifdef _WIN32
#include "forms/win32/make_backend.h"
#else
#include "forms/headless/headless_backend.h"
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace glyvora;

// The system's millisecond tick counter: <chrono> does not compile with the GBK literals.
double seconds(const std::function<void()>& pass) {
    const std::uint32_t start = systemClock().ticks();
    pass();
    return (systemClock().ticks() - start) / 1000.0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Resident memory in KiB; 0 where it cannot be read.
long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

void putLe32(ByteSet& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void addItem(ByteSet& blob, const Text& text, bool bold, int depth) {
    blob.insert(blob.end(), text.begin(), text.end());
    blob.push_back(0);
    for (int i = 0; i < 3; ++i)
        putLe32(blob, 0);
    putLe32(blob, bold ? 3u : 0u);
    putLe32(blob, static_cast<std::uint32_t>(depth));
}

// A category with one folder node, and its folder record.
bool makeProgramDirectory(const Text& directory, const Text& folder) {
    ByteSet tree;
    addItem(tree, "分类", true, 1);
    addItem(tree, "字体", false, 2);
    if (!WriteFileBytes(directory + "\\文件夹分类.dat", tree)) return false;
    const Text table = directory + "\\目录名称与地址数据库.qtb";
    if (!WriteFileBytes(table, table::emptyFolderTableImage())) return false;
    if (!OpenTable(Value(table))) return false;
    AppendBlankRecord();
    WriteField(Value(1), Value("字体"));
    WriteField(Value(2), Value(folder));
    CloseAllTables();
    return true;
}

std::unique_ptr<Backend> makeBackend() {
#ifdef _WIN32
    return win32::makeBackend();
#else
    return std::make_unique<headless::HeadlessBackend>();
#endif
}

Text programForm(std::string path) {
#ifndef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    while (path.size() > 1 && path.back() == '\\')
        path.pop_back();
    return path;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: glyvora-bench-whole-scan FOLDER WORKDIR [ROUNDS]\n");
        return 2;
    }
    const Text folder = programForm(argv[1]);
    const Text directory = programForm(argv[2]);
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;

    const std::vector<Text> files = fontfile::listFolderFiles(folder);
    std::printf("folder: %s, %zu files, %d rounds (medians)\n", argv[1], files.size(), rounds);
    if (files.empty()) return 1;

    // The walk with face names alone, warm.
    std::vector<double> faces;
    for (int r = 0; r <= rounds; ++r) {
        const double s = seconds([&] {
            fontfile::walkFolder(folder,
                                 {nullptr, [](const Text& path) { (void)fontfile::faceNameOf(path); }});
        });
        if (r > 0) faces.push_back(s);
    }
    const double faceSeconds = median(faces);
    std::printf("walk+face names:        %8.3f s\n", faceSeconds);

    double loadSeconds = 0;
#ifdef _WIN32
    std::vector<double> loads;
    for (int r = 0; r < rounds; ++r)
        loads.push_back(seconds([&] {
            for (const Text& f : files)
                fontResources().addPrivate(f);
            for (const Text& f : files)
                fontResources().removePrivate(f);
        }));
    loadSeconds = median(loads);
    std::printf("private adds+removes:   %8.3f s\n", loadSeconds);
#endif

    if (!makeProgramDirectory(directory, folder)) {
        std::fprintf(stderr, "cannot write the program directory %s\n", directory.c_str());
        return 1;
    }
    const long emptyKiB = residentKiB();
    std::unique_ptr<Backend> backend = makeBackend();
    app::Application application(*backend, directory);
    if (!application.start()) return 1;
    const long startedKiB = residentKiB();

    // Each selection is a whole scan: the category and its folder node gather the same folder.
    std::vector<double> scans;
    for (int r = 0; r <= rounds; ++r) {
        const int item = r % 2 == 0 ? 1 : 0;
        const double s = seconds(
            [&] { writeProperty(mainwin::window, mainwin::树型框1, prop::selectedItem, Value(item)); });
        if (r > 0) scans.push_back(s);
        if (application.state().fonts.fontPaths.size() != files.size()) {
            std::fprintf(stderr, "the scan listed %zu files, the walk %zu\n",
                         application.state().fonts.fontPaths.size(), files.size());
            return 1;
        }
    }
    const double scanSeconds = median(scans);
    const long scannedKiB = residentKiB();
    std::printf("whole scan:             %8.3f s   (tree selection to page 1, the 0.5 s pause included)\n",
                scanSeconds);
    const double pause = 0.5;
#ifdef _WIN32
    std::printf("scan - pause vs adds+removes + face names: %.3f s vs %.3f s: ratio %.2f (goal <= 1.3)\n",
                scanSeconds - pause, loadSeconds + faceSeconds,
                (scanSeconds - pause) / (loadSeconds + faceSeconds));
#else
    std::printf("scan - pause vs walk+face names: %.3f s vs %.3f s: ratio %.2f (goal <= 1.5)\n",
                scanSeconds - pause, faceSeconds, (scanSeconds - pause) / faceSeconds);
    std::printf("memory: started %ld KiB, after the scans %ld KiB: %.1f MiB above the started program "
                "(goal <= 64 MiB)\n",
                startedKiB, scannedKiB, (scannedKiB - startedKiB) / 1024.0);
#endif
    (void)loadSeconds;
    (void)emptyKiB;
    (void)startedKiB;
    (void)scannedKiB;
    CloseAllTables();
    return 0;
}
