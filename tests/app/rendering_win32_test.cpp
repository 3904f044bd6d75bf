// What the preview labels really show under the Win32 backend: every font of a page in its own
// face, loaded into this process only, the default face for files that are no fonts, and a sample
// typed in Chinese.
#include "app/application.h"
#include "app/program_files.h"
#include "app/windows/ids.h"
#include "app_suite.h"
#include "commands/conversion.h"
#include "forms/commands.h"
#include "forms/win32/control_pixels.h"
#include "forms/win32/input_method_typing.h"
#include "forms/win32/win32_backend.h"
#include "forms/win32/win32_kit.h"
#include "support/temp_dir.h"
#include "tablefile/table_engine.h"
#include "tablefile/table_format.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <vector>
#include <windows.h>

namespace glyvora::testing {
namespace {

using glyvora::win32::Win32Backend;

// Eight families of the machine's font packages, each its own face.
const char* const kRealFonts[] = {
    "Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationSans-Regular.ttf",
    "Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationSerif-Regular.ttf",
    "Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationMono-Regular.ttf",
    "Z:\\usr\\share\\fonts\\opentype\\urw-base35\\C059-Roman.otf",
    "Z:\\usr\\share\\fonts\\opentype\\urw-base35\\P052-Roman.otf",
    "Z:\\usr\\share\\fonts\\opentype\\urw-base35\\URWBookman-Light.otf",
    "Z:\\usr\\share\\fonts\\opentype\\urw-base35\\URWGothic-Book.otf",
    "Z:\\usr\\share\\fonts\\opentype\\urw-base35\\Z003-MediumItalic.otf",
};

class PreviewRendering : public ::testing::Test {
protected:
    // A folder node 字体 for `folder`, the program started on the Win32 backend and the node
    // selected, with a Latin sample every face has glyphs for.
    void browse(const Text& folder) {
        const ByteSet tree = treeFileBytes({{1, "分类", true, true}, {2, "字体"}});
        writeTestFile(dir.file(app::kTreeFile), std::string(tree.begin(), tree.end()));
        const ByteSet empty = table::emptyFolderTableImage();
        writeTestFile(dir.file(app::kFolderTable), std::string(empty.begin(), empty.end()));
        ASSERT_TRUE(OpenTable(Value(dir.file(app::kFolderTable))));
        AppendBlankRecord();
        WriteField(Value(1), Value("字体"));
        WriteField(Value(2), Value(folder));
        CloseAllTables();

        backend = win32Kit().makeBackend();
        application = std::make_unique<app::Application>(*backend, dir.path());
        ASSERT_TRUE(application->start());
        writeProperty(mainwin::window, mainwin::编辑框_内容, prop::content, Value("AaBbGgQq 123"));
        writeProperty(mainwin::window, mainwin::树型框1, prop::selectedItem, Value(1));
        // The scan window's close is posted: it goes first, then everything under it is repainted.
        auto& b = static_cast<Win32Backend&>(*backend);
        b.processPending();
        RedrawWindow(b.windowHandle(mainwin::window), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        b.processPending();
    }

    std::vector<std::vector<COLORREF>> labelPixels() {
        auto& b = static_cast<Win32Backend&>(*backend);
        std::vector<std::vector<COLORREF>> labels;
        for (int k = 1; k <= 8; ++k)
            labels.push_back(previewLabelPixels(b.controlHandle(mainwin::window, mainwin::previewLabel(k))));
        return labels;
    }

    void TearDown() override {
        application.reset();
        backend.reset();
        CloseAllTables();
    }

    TempDir dir;
    std::unique_ptr<Backend> backend;
    std::unique_ptr<app::Application> application;
};

TEST_F(PreviewRendering, eightRealFontsPaintEightDifferentLabels) {
    const Text folder = dir.file("fonts");
    makeTestDirectory(folder);
    int copied = 0;
    for (const char* source : kRealFonts) {
        const std::string bytes = readTestFile(source);
        if (bytes.empty()) continue;
        const Text path = Text(source);
        writeTestFile(folder + "\\" + path.substr(path.rfind('\\') + 1), bytes);
        ++copied;
    }
    if (copied < 8) GTEST_SKIP() << "the machine's font packages are missing";
    browse(folder);
    ASSERT_EQ(application->state().fonts.fontPaths.size(), 8u);
    const auto labels = labelPixels();
    std::set<std::vector<COLORREF>> distinct(labels.begin(), labels.end());
    Text faces;
    for (const Text& face : application->state().fonts.faceNames)
        faces += "[" + face + "]";
    EXPECT_EQ(distinct.size(), 8u) << "two labels painted the same face: " << faces;
}

TEST_F(PreviewRendering, filesThatAreNoFontsPaintTheDefaultFaceAlike) {
    const Text folder = dir.file("notes");
    makeTestDirectory(folder);
    for (int i = 1; i <= 8; ++i)
        writeTestFile(folder + "\\note" + std::to_string(i) + ".ttf", "not a font " + std::to_string(i));
    browse(folder);
    ASSERT_EQ(application->state().fonts.fontPaths.size(), 8u);
    const auto labels = labelPixels();
    for (int k = 1; k < 8; ++k)
        EXPECT_EQ(labels[static_cast<std::size_t>(k)], labels[0]) << "label " << k + 1;
    EXPECT_GT(std::set<COLORREF>(labels[0].begin(), labels[0].end()).size(), 1u)
        << "the sample was not painted";
}

TEST(ProgramTyping, chineseTypedIntoTheSampleBoxShowsInAllEightLabels) {
    TempDir dir;
    auto backend = win32Kit().makeBackend();
    auto& b = static_cast<Win32Backend&>(*backend);
    auto application = std::make_unique<app::Application>(*backend, dir.path());
    ASSERT_TRUE(application->start());
    b.processPending();
    // The user empties the box, then types with an input method.
    HWND box = b.controlHandle(mainwin::window, mainwin::编辑框_内容);
    SetForegroundWindow(b.windowHandle(mainwin::window));
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, WM_CLEAR, 0, 0);
    ASSERT_TRUE(typeAsInputMethod(L"中文样例Ab"));
    const auto labelText = [&](int k) {
        wchar_t text[64] = {};
        GetWindowTextW(b.controlHandle(mainwin::window, mainwin::previewLabel(k)), text, 64);
        return std::wstring(text);
    };
    const DWORD start = GetTickCount();
    while (labelText(8) != L"中文样例Ab" && GetTickCount() - start < 3000) {
        b.processPending();
        Sleep(5);
    }
    EXPECT_EQ(readProperty(mainwin::window, mainwin::编辑框_内容, prop::content).as<Text>(), "中文样例Ab");
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(labelText(k), L"中文样例Ab") << k;
        EXPECT_EQ(readProperty(mainwin::window, mainwin::previewLabel(k), prop::caption).as<Text>(),
                  "中文样例Ab")
            << k;
    }
    application.reset();
    CloseAllTables();
}

} // namespace
} // namespace glyvora::testing
