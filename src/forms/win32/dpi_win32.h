#pragma once
// The backend's two kinds of pixels. The layer and its templates count in pixels of a 96-DPI
// screen; every window is laid out in the real pixels of the monitor it is on. The DPI calls of
// newer systems are looked up at run time, so the program still starts where they are missing.

#include "forms/backend.h"

#include <windows.h>

namespace glyvora::win32 {

// The DPI the layer's units are counted in.
inline constexpr int kLayerDpi = 96;

// Layer units to pixels at `dpi` and back; MulDiv rounds, so a value survives the round trip.
inline int toPixels(int units, int dpi) {
    return dpi == kLayerDpi ? units : MulDiv(units, dpi, kLayerDpi);
}
inline int toUnits(int pixels, int dpi) {
    return dpi == kLayerDpi ? pixels : MulDiv(pixels, kLayerDpi, dpi);
}
inline Rect toPixels(const Rect& r, int dpi) {
    return {toPixels(r.left, dpi), toPixels(r.top, dpi), toPixels(r.width, dpi), toPixels(r.height, dpi)};
}
inline Rect toUnits(const Rect& r, int dpi) {
    return {toUnits(r.left, dpi), toUnits(r.top, dpi), toUnits(r.width, dpi), toUnits(r.height, dpi)};
}

// Declares the process aware of every monitor's DPI (v2: the system scales the frames and the
// common dialogs too), else of the system DPI on older systems. Before the first window.
void declareDpiAwareness();
// The DPI of the monitor before any window is on it: the system's.
int systemDpi();
// The DPI the window is laid out at: its monitor's, or the system's where that is not known.
int dpiOfWindow(HWND window);

} // namespace glyvora::win32
