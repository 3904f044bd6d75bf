// The tray icon's bytes: one 32 x 32 image of 32 bits per pixel that the form layer accepts, a real
// picture rather than a clear square, and the same bytes as the .ico file the exe is built with.
#include "app/tray_icon.h"
#include "forms/dialogs.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace glyvora {
namespace {

std::uint32_t u16(const ByteSet& b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}
std::uint32_t u32(const ByteSet& b, std::size_t at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}

TEST(TrayIcon, isOneThirtyTwoPixelImageOfThirtyTwoBits) {
    const ByteSet icon = app::trayIconFile();
    ASSERT_EQ(icon.size(), 4286u);
    EXPECT_TRUE(isUsableIcon(icon));
    // the directory: reserved, type icon, one image
    EXPECT_EQ(u16(icon, 0), 0u);
    EXPECT_EQ(u16(icon, 2), 1u);
    EXPECT_EQ(u16(icon, 4), 1u);
    // its entry: 32 x 32, no palette, 1 plane, 32 bits, the image's size and where it starts
    EXPECT_EQ(icon[6], 32);
    EXPECT_EQ(icon[7], 32);
    EXPECT_EQ(icon[8], 0);
    EXPECT_EQ(u16(icon, 10), 1u);
    EXPECT_EQ(u16(icon, 12), 32u);
    EXPECT_EQ(u32(icon, 14), 40u + 4096u + 128u);
    EXPECT_EQ(u32(icon, 18), 22u);
    // the bitmap header: the height counts the colour and the mask rows, uncompressed
    EXPECT_EQ(u32(icon, 22), 40u);
    EXPECT_EQ(u32(icon, 26), 32u);
    EXPECT_EQ(u32(icon, 30), 64u);
    EXPECT_EQ(u16(icon, 34), 1u);
    EXPECT_EQ(u16(icon, 36), 32u);
    EXPECT_EQ(u32(icon, 38), 0u);
}

TEST(TrayIcon, drawsAPictureWithSoftEdgesAndAMaskThatMatchesIt) {
    const ByteSet icon = app::trayIconFile();
    ASSERT_EQ(icon.size(), 4286u);
    const std::size_t pixels = 62, mask = pixels + 4096;
    int opaque = 0, partial = 0, clear = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const std::uint8_t alpha = icon[pixels + (y * 32 + x) * 4 + 3];
            const bool masked = (icon[mask + y * 4 + x / 8] >> (7 - x % 8)) & 1;
            EXPECT_EQ(masked, alpha == 0) << x << "," << y;
            if (alpha == 255)
                ++opaque;
            else if (alpha == 0)
                ++clear;
            else
                ++partial;
        }
    }
    EXPECT_GT(opaque, 600); // the tile fills most of the square
    EXPECT_GT(partial, 20); // its rounded corners are smoothed
    EXPECT_GT(clear, 20);   // and the corners themselves are clear
}

TEST(TrayIcon, equalsTheIconFileTheExeIsBuiltWith) {
    // The build names the icon file by its absolute path: __FILE__ may be relative.
    std::string path = GLYVORA_ICON_FILE;
#ifdef _WIN32
    if (path[0] == '/') path = "Z:" + path; // a Linux path seen from Wine
#endif
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const ByteSet onDisk{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(onDisk, app::trayIconFile());
}

} // namespace
} // namespace glyvora
