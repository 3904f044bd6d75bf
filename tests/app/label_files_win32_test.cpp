// What the preview labels really draw where face names clash, under the Win32 backend: each label's
// pixels are those of its own file shown alone in a fresh run of the program (a child process, so
// nothing this process loaded or bound a face name to reaches it). The impostor is DejaVu Sans under
// the names of Liberation Sans, which the system also has installed.
#include "app/application.h"
#include "app/program_files.h"
#include "app/windows/ids.h"
#include "app_suite.h"
#include "clashing_faces.h"
#include "forms/commands.h"
#include "forms/win32/control_pixels.h"
#include "forms/win32/win32_backend.h"
#include "forms/win32/win32_kit.h"
#include "tablefile/table_engine.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include <windows.h>

namespace glyvora::testing {
namespace {

using glyvora::win32::Win32Backend;

using Pixels = std::vector<COLORREF>;

// The child run's font file and where it leaves label 1's pixels.
constexpr const char* kAloneFont = "GLYVORA_ALONE_FONT";
constexpr const char* kAlonePixels = "GLYVORA_ALONE_PIXELS";

class LabelFilePixels : public ::testing::Test {
protected:
    // The tree and the tables of `folders` (folder nodes under one category, items 1..n) and of
    // one set 冲突 of `setFonts` (item n + 2), the program started with a Latin sample.
    void start(const std::vector<std::pair<Text, Text>>& folders, const std::vector<Text>& setFonts = {}) {
        std::vector<TreeEntry> tree{{1, "分类", true, true}};
        for (const auto& folder : folders)
            tree.push_back({2, folder.first});
        tree.push_back({1, "集", true, true});
        tree.push_back({2, "冲突"});
        const ByteSet treeBytes = treeFileBytes(tree);
        writeTestFile(dir.file(app::kTreeFile), std::string(treeBytes.begin(), treeBytes.end()));
        writeTable(app::kFolderTable, table::emptyFolderTableImage(), folders);
        std::vector<std::pair<Text, Text>> set;
        for (const Text& font : setFonts)
            set.emplace_back("冲突", font);
        writeTable(app::kSetTable, table::emptySetTableImage(), set);

        backend = win32Kit().makeBackend();
        application = std::make_unique<app::Application>(*backend, dir.path());
        ASSERT_TRUE(application->start());
        writeProperty(mainwin::window, mainwin::编辑框_内容, prop::content, Value("Hamburgefonstiv"));
    }

    void writeTable(const Text& name, const ByteSet& empty,
                    const std::vector<std::pair<Text, Text>>& records) {
        writeTestFile(dir.file(name), std::string(empty.begin(), empty.end()));
        ASSERT_TRUE(OpenTable(Value(dir.file(name))));
        for (const auto& [first, second] : records) {
            AppendBlankRecord();
            WriteField(Value(1), Value(first));
            WriteField(Value(2), Value(second));
        }
        CloseAllTables();
    }

    Win32Backend& win32() { return static_cast<Win32Backend&>(*backend); }

    // The selection's scan, then everything under the scan window repainted.
    void select(int item) {
        writeProperty(mainwin::window, mainwin::树型框1, prop::selectedItem, Value(item));
        repaint();
    }
    void repaint() {
        win32().processPending();
        RedrawWindow(win32().windowHandle(mainwin::window), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        win32().processPending();
    }

    Pixels label(int k) {
        return previewLabelPixels(win32().controlHandle(mainwin::window, mainwin::previewLabel(k)));
    }

    // Label 1's pixels when the program shows nothing but a copy of `font` in a run of its own.
    Pixels aloneInAFreshRun(const Text& font) {
        const Text out = dir.file("alone-" + std::to_string(++aloneRuns) + ".pixels");
        char exe[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string command =
            std::string("\"") + exe +
            "\" --gtest_also_run_disabled_tests --gtest_filter=LabelFileAlone.DISABLED_showOneFileAlone";
        SetEnvironmentVariableA(kAloneFont, font.c_str());
        SetEnvironmentVariableA(kAlonePixels, out.c_str());
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                            nullptr, &startup, &process);
        SetEnvironmentVariableA(kAloneFont, nullptr);
        SetEnvironmentVariableA(kAlonePixels, nullptr);
        if (!started) {
            ADD_FAILURE() << "the fresh run did not start";
            return {};
        }
        const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
        if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        EXPECT_EQ(waited, WAIT_OBJECT_0) << "the fresh run did not end within a minute";
        const std::string bytes = readTestFile(out);
        Pixels pixels(bytes.size() / sizeof(COLORREF));
        if (!pixels.empty()) std::memcpy(pixels.data(), bytes.data(), pixels.size() * sizeof(COLORREF));
        EXPECT_FALSE(pixels.empty()) << "the fresh run drew nothing for " << font;
        return pixels;
    }

    // The files of the issue: the impostor and the real Liberation Sans; false when missing.
    bool makeFiles() {
        real = realLiberationSans();
        impostor = impostorOfLiberationSans();
        return !real.empty() && !impostor.empty();
    }
    Text folderOf(const Text& name, const std::vector<std::pair<Text, const std::string*>>& files) {
        const Text folder = dir.file(name);
        makeTestDirectory(folder);
        for (const auto& [file, bytes] : files)
            writeTestFile(folder + "\\" + file, *bytes);
        return folder;
    }

    void TearDown() override {
        application.reset();
        backend.reset();
        CloseAllTables();
    }

    TempDir dir;
    std::string real, impostor;
    std::unique_ptr<Backend> backend;
    std::unique_ptr<app::Application> application;
    int aloneRuns = 0;
};

// The fresh run: a suite of its own, so that the scenarios' filter does not list it.
using LabelFileAlone = LabelFilePixels;

// Run by aloneInAFreshRun only: a copy of the font in a folder of its own, shown in label 1.
TEST_F(LabelFileAlone, DISABLED_showOneFileAlone) {
    const char* font = std::getenv(kAloneFont);
    const char* out = std::getenv(kAlonePixels);
    ASSERT_TRUE(font && out);
    const std::string bytes = readTestFile(font);
    ASSERT_FALSE(bytes.empty());
    // The file's own extension, so that the run sees the file as the scenario did.
    const Text name = std::string(font);
    const std::size_t dot = name.rfind('.');
    const Text extension =
        dot == Text::npos || name.find('\\', dot) != Text::npos ? ".ttf" : name.substr(dot);
    const Text folder = folderOf("alone", {{"alone" + extension, &bytes}});
    start({{"字体", folder}});
    select(1);
    const Pixels pixels = label(1);
    writeTestFile(
        out, std::string(reinterpret_cast<const char*>(pixels.data()), pixels.size() * sizeof(COLORREF)));
}

TEST_F(LabelFilePixels, theImpostorsFolderDrawsTheImpostor) {
    if (!makeFiles()) GTEST_SKIP() << "fonts-liberation or fonts-dejavu-core missing";
    const Text folder = folderOf("仿冒", {{"LiberationSans-Regular.ttf", &impostor}});
    const Text file = folder + "\\LiberationSans-Regular.ttf";
    start({{"仿冒", folder}});
    select(1);
    const Pixels shown = label(1);
    EXPECT_EQ(shown, aloneInAFreshRun(file));
    const Text reals = folderOf("正品", {{"LiberationSans-Regular.ttf", &real}});
    EXPECT_NE(shown, aloneInAFreshRun(reals + "\\LiberationSans-Regular.ttf")) << "the two files draw apart";
}

TEST_F(LabelFilePixels, theRealFileShownAfterTheImpostorDrawsTheRealFile) {
    if (!makeFiles()) GTEST_SKIP() << "fonts-liberation or fonts-dejavu-core missing";
    const Text copies = folderOf("仿冒", {{"LiberationSans-Regular.ttf", &impostor}});
    const Text reals = folderOf("正品", {{"LiberationSans-Regular.ttf", &real}});
    start({{"仿冒", copies}, {"正品", reals}});
    select(1);
    const Pixels impostorShown = label(1);
    select(2);
    const Pixels realShown = label(1);
    // And back: the copy loaded for the real file went with its label.
    select(1);
    EXPECT_EQ(label(1), impostorShown);
    EXPECT_NE(realShown, impostorShown);
    EXPECT_EQ(realShown, aloneInAFreshRun(reals + "\\LiberationSans-Regular.ttf"));
    EXPECT_EQ(impostorShown, aloneInAFreshRun(copies + "\\LiberationSans-Regular.ttf"));
}

TEST_F(LabelFilePixels, aFolderHoldingBothDrawsEachFileInItsLabel) {
    if (!makeFiles()) GTEST_SKIP() << "fonts-liberation or fonts-dejavu-core missing";
    const Text both = folderOf("两者", {{"a-impostor.ttf", &impostor}, {"b-real.ttf", &real}});
    start({{"两者", both}});
    select(1);
    ASSERT_EQ(application->state().fonts.fontPaths.size(), 2u);
    // Captured before the fresh runs put their windows over this one.
    const Pixels shown[] = {label(1), label(2)};
    EXPECT_NE(shown[0], shown[1]);
    for (int k = 1; k <= 2; ++k) {
        const Text path = application->state().fonts.pagePaths[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(shown[k - 1], aloneInAFreshRun(path)) << path;
    }
    EXPECT_LE(win32().privateCopiesLoaded(), 2u);
}

TEST_F(LabelFilePixels, aSetPageAndASearchPageDrawEachFileInItsLabel) {
    if (!makeFiles()) GTEST_SKIP() << "fonts-liberation or fonts-dejavu-core missing";
    const Text both = folderOf("两者", {{"a-impostor.ttf", &impostor}, {"b-real.ttf", &real}});
    const Text copies = folderOf("仿冒", {{"LiberationSans-Regular.ttf", &impostor}});
    const Text reals = folderOf("正品", {{"LiberationSans-Regular.ttf", &real}});
    const Text impostorFile = copies + "\\LiberationSans-Regular.ttf";
    const Text realFile = reals + "\\LiberationSans-Regular.ttf";
    start({{"两者", both}}, {realFile, impostorFile});
    const Pixels realAlone = aloneInAFreshRun(realFile);
    const Pixels impostorAlone = aloneInAFreshRun(impostorFile);

    select(3); // the set 冲突
    ASSERT_EQ(application->state().fonts.fontPaths.size(), 2u);
    EXPECT_EQ(label(1), realAlone);
    EXPECT_EQ(label(2), impostorAlone);

    select(1);
    writeProperty(mainwin::window, mainwin::编辑框_搜索字体内容, prop::content, Value("b-real"));
    ASSERT_TRUE(application->layer().raise(mainwin::window, mainwin::按钮_搜索字体, event::clicked));
    repaint();
    EXPECT_EQ(label(1), realAlone);
    writeProperty(mainwin::window, mainwin::编辑框_搜索字体内容, prop::content, Value("a-impostor"));
    ASSERT_TRUE(application->layer().raise(mainwin::window, mainwin::按钮_搜索字体, event::clicked));
    repaint();
    EXPECT_EQ(label(1), impostorAlone);
}

TEST_F(LabelFilePixels, noCopyIsLoadedWhereTheFaceNameLeadsToTheFileAndNoneOutlivesItsLabels) {
    if (!makeFiles()) GTEST_SKIP() << "fonts-liberation or fonts-dejavu-core missing";
    const std::string dejaVu = readTestFile(packageFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    const Text plain = folderOf("普通", {{"DejaVuSans.ttf", &dejaVu}});
    const Text both = folderOf("两者", {{"a-impostor.ttf", &impostor}, {"b-real.ttf", &real}});
    start({{"普通", plain}, {"两者", both}});
    select(1);
    EXPECT_EQ(win32().privateCopiesLoaded(), 0u) << "the only file of its name needs no copy";
    select(2);
    EXPECT_GE(win32().privateCopiesLoaded(), 1u);
    select(1);
    // Label 2, past the end of the page now, keeps its face and with it the copy it holds; label
    // 1's copy went with its font.
    const bool secondHoldsACopy =
        !win32().fontBindingOf(mainwin::window, mainwin::previewLabel(2)).privateFace.empty();
    EXPECT_EQ(win32().privateCopiesLoaded(), secondHoldsACopy ? 1u : 0u);
    EXPECT_TRUE(win32().fontBindingOf(mainwin::window, mainwin::previewLabel(1)).privateFace.empty());
}

// Bitmap fonts have no tables to tell two fonts of one name apart. The impostor here is Wine's
// Courier (coure.fon) under the face name of its MS Sans Serif (sserife.fon), which Wine also has
// installed; the twins are both files under a name no installed font has.
class LabelFileBitmapPixels : public LabelFilePixels {
protected:
    bool makeBitmapFiles() {
        const std::string sansSerif = readTestFile(packageFile("/usr/share/wine/fonts/sserife.fon"));
        const std::string courier = readTestFile(packageFile("/usr/share/wine/fonts/coure.fon"));
        if (sansSerif.empty() || courier.empty()) return false;
        real = sansSerif;
        impostor = renamed(courier, kInstalledBitmapFace);
        twinA = renamed(sansSerif, kTwinFace);
        twinB = renamed(courier, kTwinFace);
        return !impostor.empty() && !twinA.empty() && !twinB.empty();
    }
    static std::string renamed(const std::string& fon, const Text& face) {
        const std::vector<std::uint8_t> bytes = fontfile::renameResourceFile(
            {reinterpret_cast<const std::uint8_t*>(fon.data()), fon.size()}, face);
        return std::string(bytes.begin(), bytes.end());
    }
    // Each file's label 1 alone in a fresh run; the two must draw apart for the scenario to mean
    // anything.
    std::pair<Pixels, Pixels> aloneApart(const Text& first, const Text& second) {
        std::pair<Pixels, Pixels> alone{aloneInAFreshRun(first), aloneInAFreshRun(second)};
        EXPECT_NE(alone.first, alone.second) << "the two files draw apart";
        return alone;
    }

    static inline const Text kInstalledBitmapFace = "MS Sans Serif";
    static inline const Text kTwinFace = "Bitmap Twin";
    std::string twinA, twinB;
};

TEST_F(LabelFileBitmapPixels, aFolderHoldingTwoBitmapFontsOfOneFaceNameDrawsEachFileInItsLabel) {
    if (!makeBitmapFiles()) GTEST_SKIP() << "fonts-wine missing";
    // Under an installed font's name, and under a name only the two files have.
    for (const auto& [first, second] : {std::pair{&impostor, &real}, std::pair{&twinA, &twinB}}) {
        SCOPED_TRACE(first == &impostor ? "installed name" : "name of the two files alone");
        const Text both =
            folderOf(first == &impostor ? "两者" : "双胞胎", {{"a.fon", first}, {"b.fon", second}});
        start({{"两者", both}});
        select(1);
        ASSERT_EQ(application->state().fonts.fontPaths.size(), 2u);
        const Pixels shown[] = {label(1), label(2)};
        const Text paths[] = {application->state().fonts.pagePaths[0],
                              application->state().fonts.pagePaths[1]};
        const auto [firstAlone, secondAlone] = aloneApart(paths[0], paths[1]);
        EXPECT_EQ(shown[0], firstAlone) << paths[0];
        EXPECT_EQ(shown[1], secondAlone) << paths[1];
        EXPECT_LE(win32().privateCopiesLoaded(), 2u);
        TearDown();
    }
}

TEST_F(LabelFileBitmapPixels, aBitmapFontShownAfterAnotherOfItsFaceNameDrawsItsOwnFile) {
    if (!makeBitmapFiles()) GTEST_SKIP() << "fonts-wine missing";
    for (const auto& [first, second] : {std::pair{&impostor, &real}, std::pair{&twinA, &twinB}}) {
        SCOPED_TRACE(first == &impostor ? "installed name" : "name of the two files alone");
        const Text tag = first == &impostor ? "ms" : "twin";
        const Text one = folderOf("一" + tag, {{"face.fon", first}});
        const Text other = folderOf("二" + tag, {{"face.fon", second}});
        start({{"一", one}, {"二", other}});
        select(1);
        const Pixels firstShown = label(1);
        select(2);
        const Pixels secondShown = label(1);
        // And back: the first file keeps drawing its own glyphs.
        select(1);
        EXPECT_EQ(label(1), firstShown);
        const auto [firstAlone, secondAlone] = aloneApart(one + "\\face.fon", other + "\\face.fon");
        EXPECT_EQ(firstShown, firstAlone);
        EXPECT_EQ(secondShown, secondAlone);
        TearDown();
    }
}

TEST_F(LabelFileBitmapPixels, aBitmapFontWhoseNameIsItsOwnIsDrawnByNameWithoutACopy) {
    if (!makeBitmapFiles()) GTEST_SKIP() << "fonts-wine missing";
    const std::string lone = renamed(real, "Bitmap Alone");
    ASSERT_FALSE(lone.empty());
    const Text folder = folderOf("独", {{"lone.fon", &lone}});
    start({{"独", folder}});
    select(1);
    EXPECT_EQ(win32().privateCopiesLoaded(), 0u);
    EXPECT_TRUE(win32().fontBindingOf(mainwin::window, mainwin::previewLabel(1)).privateFace.empty());
    EXPECT_EQ(label(1), aloneInAFreshRun(folder + "\\lone.fon"));
}

} // namespace
} // namespace glyvora::testing
