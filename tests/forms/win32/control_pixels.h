#pragma once
// What a control shows on screen, for the cases that look at painted pixels.

#include <cstdint>
#include <vector>
#include <windows.h>

namespace glyvora::testing {

// The pixels of a control as the screen shows them, read through one blit.
inline std::vector<COLORREF> pixelsOf(HWND control, RECT& size) {
    GetClientRect(control, &size);
    const int w = size.right, h = size.bottom;
    HDC screen = GetDC(control);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> pixels;
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < w * h; ++i) {
        const std::uint32_t bgr = p[i];
        pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(control, screen);
    return pixels;
}

// A preview label's pixels without its two top and bottom rows: the separator lines between the
// labels lie over their edges.
inline std::vector<COLORREF> previewLabelPixels(HWND label) {
    RECT size{};
    std::vector<COLORREF> pixels = pixelsOf(label, size);
    const auto w = static_cast<std::ptrdiff_t>(size.right);
    if (size.bottom <= 4) return pixels;
    return std::vector<COLORREF>(pixels.begin() + 2 * w, pixels.end() - 2 * w);
}

} // namespace glyvora::testing
