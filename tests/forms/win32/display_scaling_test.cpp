// The two windows on a scaled display: the layer reads and writes its 96-DPI units while every
// window, control and font on screen is laid out at the monitor's DPI, and again at a new DPI when
// the window moves to another monitor. Run at any scaling; the test command runs them at 96 and
// at 144 DPI, and GLYVORA_EXPECT_DPI names the DPI the session was made with.
#include "app/windows/window_templates.h"
#include "control_pixels.h"
#include "forms/commands.h"
#include "forms/form_layer.h"
#include "forms/values.h"
#include "forms/win32/win32_backend.h"
#include "win32_kit.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include <windows.h>

namespace glyvora::testing {
namespace {

using glyvora::win32::Win32Backend;

int scaled(int units, int dpi) {
    return MulDiv(units, dpi, 96);
}
Rect scaled(const Rect& r, int dpi) {
    return {scaled(r.left, dpi), scaled(r.top, dpi), scaled(r.width, dpi), scaled(r.height, dpi)};
}

Rect outerRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}
Rect placeInParent(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}
LOGFONTA fontOf(HWND control) {
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
}
int readInt(WindowId window, UnitId unit, int property, int subField = -1) {
    return valueToInt(readProperty(window, unit, property, subField));
}

// The rows and columns of dark pixels on a light ground, bounded by their extremes.
struct Ink {
    int height = 0, width = 0;
};
Ink inkOf(const std::vector<COLORREF>& pixels, int width, int firstRow, int lastRow) {
    int top = -1, bottom = -1, left = width, right = -1;
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF p = pixels[static_cast<std::size_t>(y * width + x)];
            if (GetRValue(p) >= 128 || GetGValue(p) >= 128 || GetBValue(p) >= 128) continue;
            if (top < 0) top = y;
            bottom = y;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    if (top < 0) return {};
    return {bottom - top + 1, right - left + 1};
}

// The ink of `text` drawn in `font` (a LOGFONT as the system holds it) black on white, off screen.
Ink referenceInk(LOGFONTA font, const char* text) {
    constexpr int w = 1200, h = 300;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(memory, dib);
    HFONT f = CreateFontIndirectA(&font);
    HGDIOBJ oldFont = SelectObject(memory, f);
    RECT all{0, 0, w, h};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(memory, RGB(0, 0, 0));
    SetBkColor(memory, RGB(255, 255, 255));
    TextOutA(memory, 8, 8, text, static_cast<int>(strlen(text)));
    GdiFlush();
    std::vector<COLORREF> pixels;
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < w * h; ++i)
        pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
    SelectObject(memory, oldFont);
    DeleteObject(f);
    SelectObject(memory, oldBitmap);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return inkOf(pixels, w, 0, h - 1);
}

class DisplayScaling : public ::testing::Test {
protected:
    void SetUp() override {
        backendOwner = win32Kit().makeBackend();
        layer = std::make_unique<FormLayer>(*backendOwner);
        registerWindowTemplates(*layer);
        ASSERT_TRUE(LoadWindow(mainwin::ref));
        ASSERT_TRUE(LoadWindow(scanwin::ref, mainwin::ref));
        main = b().windowHandle(mainwin::window);
        HDC dc = GetDC(main);
        dpi = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(main, dc);
        if (const char* expected = std::getenv("GLYVORA_EXPECT_DPI")) {
            ASSERT_EQ(dpi, std::atoi(expected)) << "the session was not made at that scaling";
        }
    }
    void TearDown() override {
        layer.reset();
        backendOwner.reset();
    }
    Win32Backend& b() { return static_cast<Win32Backend&>(*backendOwner); }

    // Every control of the template at its place and size at `at` DPI, as the screen shows it.
    void expectControlsAt(const WindowTemplate& t, int at) {
        for (const UnitTemplate& u : t.units) {
            if (u.type == UnitType::Window || u.type == UnitType::Menu) continue;
            HWND c = b().controlHandle(t.window, u.id);
            ASSERT_NE(c, nullptr) << u.name;
            EXPECT_EQ(placeInParent(c), scaled(Rect{u.left, u.top, u.width, u.height}, at)) << u.name;
            if (u.font) {
                EXPECT_EQ(fontOf(c).lfHeight, scaled(u.font->height, at)) << u.name;
            }
            if (u.type == UnitType::TreeBox) {
                EXPECT_EQ(SendMessageA(c, TVM_GETITEMHEIGHT, 0, 0), scaled(u.tree.itemHeight, at)) << u.name;
            }
        }
    }

    std::unique_ptr<Backend> backendOwner;
    std::unique_ptr<FormLayer> layer;
    HWND main = nullptr;
    int dpi = 96;
};

TEST_F(DisplayScaling, windowsAndControlsAreLaidOutAtTheMonitorsDpiAndReadBackInTemplateUnits) {
    writeProperty(mainwin::window, mainwin::windowUnit, prop::height, Value(718));
    EXPECT_EQ(outerRect(main).width, scaled(700, dpi));  // 1050 at 144 DPI
    EXPECT_EQ(outerRect(main).height, scaled(718, dpi)); // 1077
    EXPECT_EQ(readInt(mainwin::window, mainwin::windowUnit, prop::width), 700);
    EXPECT_EQ(readInt(mainwin::window, mainwin::windowUnit, prop::height), 718);
    const HWND scan = b().windowHandle(scanwin::window);
    EXPECT_EQ(outerRect(scan).width, scaled(380, dpi));
    EXPECT_EQ(outerRect(scan).height, scaled(111, dpi));
    expectControlsAt(mainWindowTemplate(), dpi);
    expectControlsAt(scanWindowTemplate(), dpi);
    // The screen and its point sizes are the layer's units too, so centring and points agree.
    const ScreenInfo screen = b().screen();
    EXPECT_EQ(screen.dpiY, 96);
    EXPECT_EQ(screen.width, MulDiv(GetSystemMetrics(SM_CXSCREEN), 96, dpi));
    // A written width of 525 collapses the window to the preview column at any scaling.
    writeProperty(mainwin::window, mainwin::windowUnit, prop::width, Value(525));
    EXPECT_EQ(readInt(mainwin::window, mainwin::windowUnit, prop::width), 525);
    EXPECT_EQ(outerRect(main).width, scaled(525, dpi)); // 788 at 144 DPI
    // A control moved by a handler lands at its scaled place and reads back what was written.
    writeProperty(mainwin::window, mainwin::按钮_下一页, prop::left, Value(333));
    EXPECT_EQ(readInt(mainwin::window, mainwin::按钮_下一页, prop::left), 333);
    EXPECT_EQ(placeInParent(b().controlHandle(mainwin::window, mainwin::按钮_下一页)).left, scaled(333, dpi));
}

TEST_F(DisplayScaling, fontSizesInPointsAndPixelsGrowWithTheDpi) {
    const UnitId label = mainwin::previewLabel(2);
    const HWND h = b().controlHandle(mainwin::window, label);
    EXPECT_EQ(readInt(mainwin::window, label, prop::font, fontField::points), 48);
    writeProperty(mainwin::window, label, prop::font, Value(36), fontField::points);
    EXPECT_EQ(readInt(mainwin::window, label, prop::font, fontField::points), 36);
    EXPECT_EQ(fontOf(h).lfHeight, scaled(-48, dpi)); // 36 points are 48 pixels at 96 DPI
    // A label without a font of its own shows the system's GUI font, which already is the DPI's.
    const HWND page = b().controlHandle(mainwin::window, mainwin::标签_页次);
    LOGFONTA stock{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
    EXPECT_EQ(fontOf(page).lfHeight, stock.lfHeight);
}

TEST_F(DisplayScaling, thePreviewSampleIsDrawnAtTheDpisSize) {
    writeProperty(mainwin::window, mainwin::windowUnit, prop::top, Value(0));
    const UnitId label = mainwin::previewLabel(2);
    writeProperty(mainwin::window, label, prop::caption, Value("HHH"));
    const HWND h = b().controlHandle(mainwin::window, label);
    b().processPending();
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    b().processPending();
    RECT size{};
    const std::vector<COLORREF> pixels = pixelsOf(h, size);
    // The separator lines lie over the label's top and bottom rows.
    const int margin = scaled(2, dpi) + 1;
    const Ink shown = inkOf(pixels, size.right, margin, size.bottom - 1 - margin);
    // The same face at the template's 64 pixels, as a 96-DPI screen draws it.
    LOGFONTA design = fontOf(h);
    design.lfHeight = -64;
    const Ink reference = referenceInk(design, "HHH");
    ASSERT_GT(reference.height, 20);
    EXPECT_NEAR(shown.height, scaled(reference.height, dpi), 2);
    EXPECT_NEAR(shown.width, scaled(reference.width, dpi), 4);
}

TEST_F(DisplayScaling, aMoveToAMonitorOfAnotherDpiLaysTheWindowsOutAgainWithoutDrift) {
    const Rect before = outerRect(main);
    // 125 % or 150 %: the larger window still fits the test display, which would clip it.
    const int other = dpi == 120 ? 144 : 120;
    RECT suggested{before.left, before.top, before.left + scaled(700, other),
                   before.top + scaled(762, other)};
    SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(outerRect(main), (Rect{before.left, before.top, scaled(700, other), scaled(762, other)}));
    EXPECT_EQ(readInt(mainwin::window, mainwin::windowUnit, prop::width), 700);
    expectControlsAt(mainWindowTemplate(), other);
    // A handler's write at the new DPI lands scaled, and the units read back as written.
    writeProperty(mainwin::window, mainwin::windowUnit, prop::width, Value(525));
    EXPECT_EQ(outerRect(main).width, scaled(525, other));
    writeProperty(mainwin::window, mainwin::windowUnit, prop::width, Value(700));
    // Back to the first monitor: every pixel as before.
    suggested = {before.left, before.top, before.left + before.width, before.top + before.height};
    SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(outerRect(main), before);
    expectControlsAt(mainWindowTemplate(), dpi);
}

} // namespace
} // namespace glyvora::testing
