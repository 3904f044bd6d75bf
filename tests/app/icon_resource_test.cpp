// glyvora.exe carries the tray icon's picture as its own icon, as Explorer and the taskbar load it.
#include "app/tray_icon.h"

#include <gtest/gtest.h>
#include <string>
// <windows.h> first: <shellapi.h> relies on its types.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace glyvora {
namespace {

std::wstring programPath() {
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, n);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"glyvora.exe";
}

TEST(ProgramIcon, explorerFindsOneThirtyTwoPixelIconInTheExe) {
    const std::wstring exe = programPath();
    EXPECT_EQ(ExtractIconExW(exe.c_str(), -1, nullptr, nullptr, 0), 1u);
    HICON large = nullptr;
    ASSERT_EQ(ExtractIconExW(exe.c_str(), 0, &large, nullptr, 1), 1u);
    ASSERT_NE(large, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(large, &info));
    BITMAP colour{};
    ASSERT_NE(info.hbmColor, nullptr);
    ASSERT_NE(GetObjectW(info.hbmColor, sizeof colour, &colour), 0);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(large);
}

TEST(ProgramIcon, holdsTheSameImageAsTheTrayIcon) {
    HMODULE exe = LoadLibraryExW(programPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    HICON loaded = static_cast<HICON>(LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(loaded, nullptr);
    if (loaded) DestroyIcon(loaded);
    // The image resource is the .ico file's image, without its directory.
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(3) /* RT_ICON */);
    ASSERT_NE(found, nullptr);
    const DWORD size = SizeofResource(exe, found);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(exe, found)));
    ASSERT_NE(bytes, nullptr);
    const ByteSet icon = app::trayIconFile();
    ASSERT_EQ(icon.size(), 4286u);
    EXPECT_EQ(ByteSet(bytes, bytes + size), ByteSet(icon.begin() + 22, icon.end()));
    FreeLibrary(exe);
}

} // namespace
} // namespace glyvora
