// What Windows reads from glyvora.exe and glyvora-tool.exe before either runs: the version
// Explorer shows in the file's properties, and the manifest that chooses the common controls and
// the DPI awareness (this test executable carries the same manifest, so its process shows what the
// manifest gives the program).
#include "glyvora_version.h"

#include <cwctype>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace glyvora {
namespace {

std::wstring besideTests(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, n);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

// A function of a system DLL, looked up at run time (through void*: the types differ).
template <typename Function>
Function systemFunction(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::wstring widened(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

class ProgramResources : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(ProgramResources, theVersionResourceNamesTheProductAndTheProjectVersion) {
    const std::wstring exe = besideTests(GetParam());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD high = MAKELONG(GLYVORA_VERSION_MINOR, GLYVORA_VERSION_MAJOR);
    const DWORD low = MAKELONG(GLYVORA_VERSION_TWEAK, GLYVORA_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    // The strings under the one translation the resource lists.
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, sizeof *translation);
    EXPECT_EQ(translation->language, 0x0804);
    EXPECT_EQ(translation->codePage, 1200);
    auto value = [&](const wchar_t* key) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\080404B0\\") + key;
        wchar_t* text = nullptr;
        UINT n = 0;
        if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &n) || !text)
            return std::wstring(L"(missing)");
        return std::wstring(text);
    };
    EXPECT_EQ(value(L"ProductName"), L"Glyvora");
    EXPECT_EQ(value(L"ProductVersion"), widened(GLYVORA_VERSION_TEXT));
    const std::wstring four =
        std::to_wstring(GLYVORA_VERSION_MAJOR) + L"." + std::to_wstring(GLYVORA_VERSION_MINOR) + L"." +
        std::to_wstring(GLYVORA_VERSION_PATCH) + L"." + std::to_wstring(GLYVORA_VERSION_TWEAK);
    EXPECT_EQ(value(L"FileVersion"), four);
    EXPECT_EQ(value(L"OriginalFilename"), GetParam());
    // The Chinese texts arrive whole (the resource scripts are UTF-8).
    const std::wstring description =
        std::wstring(GetParam()) == L"glyvora.exe"
            ? L"Glyvora \u5B57\u4F53\u9884\u89C8\u4E0E\u5206\u7C7B" // 字体预览与分类
            : L"Glyvora \u547D\u4EE4\u884C\u5DE5\u5177";            // 命令行工具
    EXPECT_EQ(value(L"FileDescription"), description);
    const std::wstring copyright = value(L"LegalCopyright");
    EXPECT_EQ(copyright.rfind(L"\u00A9 ", 0), 0u) << "copyright starts with the sign";
    EXPECT_NE(copyright.find(L"Glyvora"), std::wstring::npos);
}

TEST_P(ProgramResources, theManifestAsksForCommonControlsSixAndPerMonitorDpiAwareness) {
    HMODULE exe = LoadLibraryExW(besideTests(GetParam()).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    ASSERT_NE(found, nullptr) << "no manifest";
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(exe, found)));
    ASSERT_NE(bytes, nullptr);
    const std::string manifest(bytes, SizeofResource(exe, found));
    FreeLibrary(exe);
    for (const char* wanted : {
             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
             ">PerMonitorV2</dpiAwareness>",
             ">true/pm</dpiAware>",
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10 and 11
             "level=\"asInvoker\"",
         })
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
}

INSTANTIATE_TEST_SUITE_P(Executables, ProgramResources,
                         ::testing::Values(L"glyvora.exe", L"glyvora-tool.exe"));

// The system acts on the manifest: the process loads the common controls of version 6 (from the
// side-by-side assembly; Wine's copy reports version 5.81 there) and is aware of each monitor's DPI.
TEST(ProgramManifest, givesTheProcessCommonControlsSixAndPerMonitorDpiAwareness) {
    HMODULE controls = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(controls, nullptr);
    wchar_t loaded[MAX_PATH];
    const DWORD n = GetModuleFileNameW(controls, loaded, MAX_PATH);
    std::wstring path(loaded, n);
    for (wchar_t& c : path)
        c = static_cast<wchar_t>(towlower(c));
    EXPECT_NE(path.find(L"\\winsxs\\"), std::wstring::npos) << "comctl32 not from the side-by-side store";
    EXPECT_NE(path.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."), std::wstring::npos)
        << "not the common controls of version 6";

    HMODULE user = GetModuleHandleW(L"user32.dll");
    using GetContext = HANDLE(WINAPI*)();
    using AwarenessOf = int(WINAPI*)(HANDLE);
    const auto getContext = systemFunction<GetContext>(user, "GetThreadDpiAwarenessContext");
    const auto awarenessOf = systemFunction<AwarenessOf>(user, "GetAwarenessFromDpiAwarenessContext");
    if (!getContext || !awarenessOf) GTEST_SKIP() << "a system without per-monitor DPI awareness";
    EXPECT_EQ(awarenessOf(getContext()), 2 /* DPI_AWARENESS_PER_MONITOR_AWARE */);
}

} // namespace
} // namespace glyvora
