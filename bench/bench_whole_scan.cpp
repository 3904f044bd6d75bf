// The whole scan as the user meets it, beside what the system itself costs for the same files.
//
//   glyvora-bench-whole-scan FOLDER WORKDIR [ROUNDS] [--search=TEXT] [--summary=FILE]
//
// WORKDIR: an empty directory, which becomes the program directory (a tree of one category with
// one folder node for FOLDER, and an empty second category). After one warm-up round, ROUNDS
// rounds (3 by default) give the medians of:
// - the floor: the system's breadth-first walk alone, opening every file + reading its first
//   4 KiB + closing it, and where the system has them the private adds and removes of every file;
// - one started program: the tree click to page 1 shown (the first visit), the longest stretch the
//   window went without answering during it and during the face names derived after it, a search
//   for TEXT once those have ended (the reference), a page turn, the other category and then the
//   folder again (the second visit), the tray exit;
// - a second started program: the first visit and at once the search, whose result must be the
//   reference's; then its exit.
// Natively the program runs on the headless backend and the resident memory the scan adds to the
// started program is reported; the Windows build runs on the Win32 backend. --summary writes one
// line per figure for scripts/bench-whole-scan's side-by-side table.
#include "app/application.h"
#include "app/shell_handlers.h"
#include "app/windows/ids.h"
#include "commands/conversion.h"
#include "commands/file_commands.h"
#include "fontfile/folder_walk.h"
#include "fonts/preview_pages.h"
#include "fonts/scan.h"
#include "forms/commands.h"
#include "tablefile/table_engine.h"
#include "tablefile/table_format.h"
#include "whole_scan_counters.h"
#include "whole_scan_floor.h"
#include "whole_scan_report.h"
#include "whole_scan_timing.h"
#include "whole_scan_watch.h"

#ifdef _WIN32
#include "forms/win32/make_backend.h"
#else
#include "forms/headless/headless_backend.h"
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace glyvora::bench {

namespace {

// The scan window keeps its full bar in sight this long.
constexpr double kPause = 0.5;
// Longer than any scan worth timing, even on a loaded machine.
constexpr double kLongestWait = 600;
// Without the program's word on its face-name pass, the pass counts as ended once the program
// has opened no file below the folder and added or removed no font for this long.

// The tree of the program directory: item 1 is the folder node, item 2 a category with nothing.
constexpr int kFolderItem = 1;
constexpr int kEmptyCategory = 2;

struct Options {
    std::string nativeFolder;
    Text folder;
    Text directory;
    int rounds = 3;
    Text search = "Sans";
    std::string summary;
};

Text programForm(std::string path) {
#ifndef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    while (path.size() > 1 && path.back() == '\\')
        path.pop_back();
    return path;
}

std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--search=", 0) == 0)
            options.search = arg.substr(9);
        else if (arg.rfind("--summary=", 0) == 0)
            options.summary = arg.substr(10);
        else
            positional.push_back(arg);
    }
    if (positional.size() < 2 || options.search.empty()) return std::nullopt;
    options.nativeFolder = positional[0];
    options.folder = programForm(positional[0]);
    options.directory = programForm(positional[1]);
    if (positional.size() > 2) options.rounds = std::max(1, std::atoi(positional[2].c_str()));
    return options;
}

// Resident memory in KiB; none where it cannot be read.
std::optional<long> residentKiB() {
#ifdef _WIN32
    return std::nullopt;
#else
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return std::nullopt;
#endif
}

// ---- the program directory ----

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

bool makeProgramDirectory(const Text& directory, const Text& folder) {
    ByteSet tree;
    addItem(tree, "分类", true, 1);
    addItem(tree, "字体", false, 2);
    addItem(tree, "其他", true, 1);
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

// ---- the floor ----

struct FloorRounds {
    Samples walk, reads, adds, removes;
    std::size_t files = 0;
    std::size_t opened = 0;
    std::size_t accepted = 0;
};

FloorRounds measureFloor(const std::string& folder, int rounds) {
    FloorRounds floor;
    for (int r = 0; r <= rounds; ++r) {
        double t = now();
        const std::vector<std::string> files = systemWalk(folder);
        const double walked = now() - t;
        t = now();
        floor.opened = readFirstBlocks(files);
        const double read = now() - t;
        floor.files = files.size();
        // Round 0 warms the caches and is not counted.
        if (r > 0) {
            floor.walk.add(walked);
            floor.reads.add(read);
        }
        if (!hasPrivateFonts()) continue;
        t = now();
        floor.accepted = addPrivately(files);
        const double added = now() - t;
        t = now();
        removePrivately(files);
        const double removed = now() - t;
        if (r > 0) {
            floor.adds.add(added);
            floor.removes.add(removed);
        }
    }
    return floor;
}

// ---- the program ----

std::unique_ptr<Backend> makeBackend() {
#ifdef _WIN32
    return win32::makeBackend();
#else
    return std::make_unique<headless::HeadlessBackend>();
#endif
}

Text pageLabel(int page, int pages) {
    return "页次：" + std::to_string(page) + "/" + std::to_string(pages);
}

// One started program and what the user does in it.
class Program {
public:
    explicit Program(const Text& directory)
        : watch_(makeUnansweredWatch(makeBackend())),
          application_(watch_->backend(), directory, {[this](int) { exitedAt_ = now(); }, {}}) {}
    ~Program() { watch_->stop(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool start() {
        if (!application_.start()) return false;
        watch_->start(mainwin::window);
        return true;
    }

    app::MainState& state() { return application_.state(); }
    UnansweredWatch& watch() { return *watch_; }

    void select(int item) {
        writeProperty(mainwin::window, mainwin::树型框1, prop::selectedItem, Value(item));
    }
    void click(UnitId button) { FormLayer::current().raise(mainwin::window, button, event::clicked); }
    void typeSearch(const Text& text) {
        writeProperty(mainwin::window, mainwin::编辑框_搜索字体内容, prop::content, Value(text));
    }
    Text shownPage() { return ToText(readProperty(mainwin::window, mainwin::标签_页次, prop::caption)); }

    // Message turns, as the program's own loop gives them, until `shown` holds or `limit`
    // seconds have passed; whether it holds.
    bool turnUntil(const std::function<bool()>& shown, double limit = kLongestWait) {
        const double start = now();
        while (!shown()) {
            if (now() - start > limit || FormLayer::current().ended()) return false;
            FormLayer::current().processEvents();
            watch_->backend().waitForMessages(1);
        }
        return true;
    }
    void turnFor(double seconds) {
        const double until = now() + seconds;
        turnUntil([&] { return now() >= until; });
    }

    // After page 1: message turns until the background pass has derived every face name.
    double waitForNamePass() {
        turnUntil([&] { return !state().faceNamePass.deriving(); });
        return now();
    }

    // The tray menu's exit; seconds until the process would end, none when it never would.
    std::optional<double> exit() {
        exitedAt_.reset();
        const double start = now();
        app::exitProgram(state());
        if (!exitedAt_) return std::nullopt;
        return *exitedAt_ - start;
    }

private:
    std::unique_ptr<UnansweredWatch> watch_;
    app::Application application_;
    std::optional<double> exitedAt_;
};

struct SearchResult {
    app::TextList faceNames, paths;
    friend bool operator==(const SearchResult&, const SearchResult&) = default;
};

struct ProgramRounds {
    Samples firstVisit, secondVisit, pageTurn, search, exit, namePass;
    Samples unansweredFirst, unansweredPass, unansweredSecond;
    Activity firstActivity, passActivity, secondActivity, exitActivity, wholeActivity;
    const char* watchMethod = "";
    std::optional<double> memoryMiB;
    int searchesSame = 0, searchesDiffering = 0;
    std::size_t searchFonts = 0;
    std::string error;
};

class Rounds {
public:
    Rounds(const Options& options, std::size_t files)
        : options_(options), files_(files), pages_(app::pageCountFor(files)), counters_(options.folder) {}

    ProgramRounds run() {
        for (int r = 0; r <= options_.rounds && result_.error.empty(); ++r) {
            counted_ = r > 0;
            if (!browseFolder(r == 0)) break;
            if (!searchAtOnce()) break;
        }
        return result_;
    }

private:
    bool fail(std::string what) {
        result_.error = std::move(what);
        return false;
    }
    void add(Samples& samples, double value) {
        if (counted_) samples.add(value);
    }

    bool pageOneShown(Program& program) {
        return program.shownPage() == pageLabel(1, pages_) &&
               program.state().fonts.fontPaths.size() == files_;
    }

    bool searchShown(Program& program) {
        const app::MainState& state = program.state();
        return state.fonts.searchMode == app::PageSource::SearchResult && !state.search.resultPaths.empty() &&
               program.shownPage() == pageLabel(1, app::pageCountFor(state.search.resultPaths.size()));
    }

    // Click, then page 1 shown: its seconds, none when it never showed.
    std::optional<double> visit(Program& program) {
        const double start = now();
        program.select(kFolderItem);
        if (!program.turnUntil([&] { return pageOneShown(program); })) return std::nullopt;
        return now() - start;
    }

    // The first program: everything but the search right after page 1.
    bool browseFolder(bool measureMemory) {
        Program program(options_.directory);
        const Activity before = counters_.counted();
        if (!program.start()) return fail("the main window could not be created");
        result_.watchMethod = program.watch().method();
        const std::optional<long> startedKiB = residentKiB();
        if (!firstVisit(program)) return false;
        if (measureMemory) {
            if (const std::optional<long> scannedKiB = residentKiB(); scannedKiB && startedKiB)
                result_.memoryMiB = static_cast<double>(*scannedKiB - *startedKiB) / 1024;
        }
        if (!referenceSearch(program) || !pageTurn(program) || !secondVisit(program) || !exit(program))
            return false;
        result_.wholeActivity = counters_.counted() - before;
        return true;
    }

    // The click to page 1, and the face names derived after it until they are all there.
    bool firstVisit(Program& program) {
        program.watch().takeLongest();
        const Activity before = counters_.counted();
        const std::optional<double> shown = visit(program);
        if (!shown)
            return fail("page 1 of the first visit never showed (" + std::to_string(files_) +
                        " files, label " + program.shownPage() + ")");
        add(result_.firstVisit, *shown);
        add(result_.unansweredFirst, program.watch().takeLongest() * 1000);
        result_.firstActivity = counters_.counted() - before;

        const double pageOne = now();
        const Activity beforePass = counters_.counted();
        add(result_.namePass, program.waitForNamePass() - pageOne);
        add(result_.unansweredPass, program.watch().takeLongest() * 1000);
        result_.passActivity = counters_.counted() - beforePass;
        return true;
    }

    // The search once every face name is there, then the empty search back to page 1.
    bool referenceSearch(Program& program) {
        program.typeSearch(options_.search);
        program.click(mainwin::按钮_搜索字体);
        if (!program.turnUntil([&] { return searchShown(program); }))
            return fail("the search for \"" + options_.search +
                        "\" found nothing: choose a text that matches");
        reference_ = {program.state().search.resultFaceNames, program.state().search.resultPaths};
        result_.searchFonts = reference_.paths.size();
        program.typeSearch("");
        program.click(mainwin::按钮_搜索字体);
        if (!program.turnUntil([&] { return pageOneShown(program); }))
            return fail("the empty search left no page 1");
        return true;
    }

    bool pageTurn(Program& program) {
        const double start = now();
        program.click(mainwin::按钮_下一页);
        if (!program.turnUntil([&] { return program.shownPage() == pageLabel(2, pages_); }))
            return fail("the page turn never showed page 2");
        add(result_.pageTurn, (now() - start) * 1000);
        return true;
    }

    // The other category, then the folder again.
    bool secondVisit(Program& program) {
        program.select(kEmptyCategory);
        program.turnFor(0.1);
        program.watch().takeLongest();
        const Activity before = counters_.counted();
        const std::optional<double> shown = visit(program);
        if (!shown) return fail("page 1 of the second visit never showed");
        add(result_.secondVisit, *shown);
        add(result_.unansweredSecond, program.watch().takeLongest() * 1000);
        result_.secondActivity = counters_.counted() - before;
        program.waitForNamePass();
        return true;
    }

    bool exit(Program& program) {
        const Activity before = counters_.counted();
        const std::optional<double> exited = program.exit();
        if (!exited) return fail("the tray exit never ended the process");
        add(result_.exit, *exited);
        result_.exitActivity = counters_.counted() - before;
        return true;
    }

    // The second program: the search clicked the moment page 1 appears.
    bool searchAtOnce() {
        Program program(options_.directory);
        if (!program.start()) return fail("the main window could not be created");
        program.typeSearch(options_.search);
        if (!visit(program)) return fail("page 1 of the first visit never showed");
        const double start = now();
        program.click(mainwin::按钮_搜索字体);
        if (!program.turnUntil([&] { return searchShown(program); }))
            return fail("the search right after page 1 showed no result page");
        add(result_.search, (now() - start) * 1000);
        const SearchResult found{program.state().search.resultFaceNames, program.state().search.resultPaths};
        if (counted_) ++(found == reference_ ? result_.searchesSame : result_.searchesDiffering);
        program.waitForNamePass();
        if (!program.exit()) return fail("the tray exit never ended the process");
        return true;
    }

    const Options& options_;
    const std::size_t files_;
    const int pages_;
    ActivityCounters counters_;
    ProgramRounds result_;
    SearchResult reference_;
    bool counted_ = false;
};

// ---- the report ----

Figure timeFigure(std::string key, std::string label, const Samples& seconds, std::optional<Goal> goal = {}) {
    Figure figure(std::move(key), std::move(label), "s");
    figure.samples = seconds;
    figure.goal = std::move(goal);
    return figure;
}

Figure notHere(std::string key, std::string label, std::string why) {
    Figure figure(std::move(key), std::move(label));
    figure.text = "n/a (" + why + ")";
    return figure;
}

std::string describe(const Activity& a) {
    return std::to_string(a.opens) + " files below the folder opened, " + std::to_string(a.adds) + " adds, " +
           std::to_string(a.removes) + " removes";
}

std::string seconds(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    return buffer;
}

std::vector<Figure> figures(const FloorRounds& floor, const ProgramRounds& program, std::size_t files) {
    std::vector<Figure> out;
    const bool win32 = hasPrivateFonts();

    out.push_back(timeFigure("floor.walk", "floor: the breadth-first walk alone", floor.walk));
    Figure reads = timeFigure("floor.read", "floor: open + read 4 KiB + close, every file", floor.reads);
    reads.activity = std::to_string(floor.opened) + " files opened";
    out.push_back(reads);
    if (win32) {
        Figure adds =
            timeFigure("floor.add", "floor: private adds (AddFontResourceExA FR_PRIVATE)", floor.adds);
        adds.activity = std::to_string(floor.accepted) + " files accepted";
        out.push_back(adds);
        out.push_back(timeFigure("floor.remove", "floor: private removes", floor.removes));
    } else {
        out.push_back(notHere("floor.add", "floor: private adds (AddFontResourceExA FR_PRIVATE)", "no GDI"));
        out.push_back(notHere("floor.remove", "floor: private removes", "no GDI"));
    }

    // Under Wine: two walks, the pause and 0.4 s. Headless: the pause and 0.1 s for every 10,000
    // files (10,000 within 0.6 s, 100,000 within 1.5 s).
    std::optional<Goal> visitGoal;
    if (win32) {
        const double walk = floor.walk.median();
        visitGoal = Goal(2 * walk + kPause + 0.4, false, "2*walk+0.5+0.4 s");
    } else {
        const double tenThousands = std::max(1.0, std::round(static_cast<double>(files) / 10000));
        visitGoal = Goal(kPause + 0.1 * tenThousands, false, "0.5+" + seconds(0.1 * tenThousands) + " s");
    }
    Figure first =
        timeFigure("visit.first", "first visit: tree click to page 1 shown", program.firstVisit, visitGoal);
    first.activity = describe(program.firstActivity);
    out.push_back(first);
    Figure second = timeFigure("visit.second", "second visit: other item, then the folder again",
                               program.secondVisit, win32 ? visitGoal : std::nullopt);
    second.activity = describe(program.secondActivity);
    out.push_back(second);

    Figure opens("visit.second.opens", "second visit: files below the folder opened", "files");
    opens.samples.add(static_cast<double>(program.secondActivity.opens));
    opens.goal = Goal(0);
    out.push_back(opens);

    Figure pass = timeFigure("pass", "face names after page 1, until they are all there", program.namePass);
    pass.activity = describe(program.passActivity);
    out.push_back(pass);

    Figure turn("page.turn", "page turn: next-page click to page 2 shown", "ms");
    turn.samples = program.pageTurn;
    if (win32) turn.goal = Goal(50);
    out.push_back(turn);

    Figure search("search", "search right after page 1: click to the result page shown", "ms");
    search.samples = program.search;
    out.push_back(search);
    Figure same("search.same", "search right after page 1 against the search after the full pass");
    const int searches = program.searchesSame + program.searchesDiffering;
    if (searches == 0) {
        same.text = "no round";
    } else {
        same.text =
            program.searchesDiffering == 0
                ? "same " + std::to_string(program.searchFonts) + " fonts"
                : "differs in " + std::to_string(program.searchesDiffering) + "/" + std::to_string(searches);
        same.activity = std::to_string(searches) + " rounds";
        same.textMet = program.searchesDiffering == 0;
    }
    out.push_back(same);

    Figure exit = timeFigure("exit", "tray exit after the scan", program.exit,
                             win32 ? std::optional(Goal(1)) : std::nullopt);
    exit.activity = describe(program.exitActivity);
    out.push_back(exit);
    Figure balance("exit.unremoved", "private adds not removed by the exit", "adds");
    balance.samples.add(static_cast<double>(program.wholeActivity.adds - program.wholeActivity.removes));
    balance.goal = Goal(0);
    out.push_back(balance);

    const std::string how = program.watchMethod;
    for (auto [key, label, samples] :
         {std::tuple{"unanswered.first", "unanswered, first visit", &program.unansweredFirst},
          std::tuple{"unanswered.pass", "unanswered, face names after page 1", &program.unansweredPass},
          std::tuple{"unanswered.second", "unanswered, second visit", &program.unansweredSecond}}) {
        Figure f(key, label, "ms");
        f.samples = *samples;
        f.goal = Goal(100, true);
        f.activity = how;
        out.push_back(f);
    }

    if (program.memoryMiB) {
        Figure memory("memory", "resident memory the scan added to the started program", "MiB");
        memory.samples.add(*program.memoryMiB);
        memory.goal = Goal(64);
        out.push_back(memory);
    } else {
        out.push_back(
            notHere("memory", "resident memory the scan added to the started program", "headless only"));
    }
    return out;
}

} // namespace

} // namespace glyvora::bench

int main(int argc, char** argv) {
    using namespace glyvora;
    using namespace glyvora::bench;
    const std::optional<Options> options = parseArguments(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: glyvora-bench-whole-scan FOLDER WORKDIR [ROUNDS] [--search=TEXT] "
                             "[--summary=FILE]\n");
        return 2;
    }
    const std::size_t files = fontfile::listFolderFiles(options->folder).size();
    if (files == 0) {
        std::fprintf(stderr, "no files below %s\n", options->nativeFolder.c_str());
        return 1;
    }
    const FloorRounds floor = measureFloor(options->nativeFolder, options->rounds);
    if (floor.files != files) {
        std::fprintf(stderr, "the system's walk found %zu files, the program's %zu\n", floor.files, files);
        return 1;
    }
    if (!makeProgramDirectory(options->directory, options->folder)) {
        std::fprintf(stderr, "cannot write the program directory %s\n", options->directory.c_str());
        return 1;
    }
    const ProgramRounds program = Rounds(*options, files).run();
    CloseAllTables();

    const std::vector<Figure> all = figures(floor, program, files);
    char title[512];
    std::snprintf(title, sizeof title,
                  "%s backend, %zu files below %s; medians of %d rounds after a warm-up (min..max)",
                  hasPrivateFonts() ? "Win32" : "headless", files, options->nativeFolder.c_str(),
                  options->rounds);
    printBlock(title, all);
    if (!options->summary.empty() && !writeSummary(options->summary, all))
        std::fprintf(stderr, "cannot write %s\n", options->summary.c_str());
    if (!program.error.empty()) {
        std::fprintf(stderr, "the program's rounds stopped: %s\n", program.error.c_str());
        return 1;
    }
    return 0;
}
