#include "forms/win32/dpi_win32.h"

namespace glyvora::win32 {

namespace {

template <typename Function>
Function user32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    // The cast through a generic function pointer is how a looked-up entry gets its real type.
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)))
                  : nullptr;
}

} // namespace

void declareDpiAwareness() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetAware = BOOL(WINAPI*)();
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; the manifest says the same where there is one.
    const auto perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    if (const auto set = user32Function<SetContext>("SetProcessDpiAwarenessContext");
        set && set(perMonitorV2))
        return;
    if (const auto set = user32Function<SetAware>("SetProcessDPIAware")) set();
}

int systemDpi() {
    using GetForSystem = UINT(WINAPI*)();
    static const auto get = user32Function<GetForSystem>("GetDpiForSystem");
    if (get)
        if (const UINT dpi = get(); dpi > 0) return static_cast<int>(dpi);
    int dpi = kLayerDpi;
    if (HDC dc = GetDC(nullptr)) {
        dpi = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(nullptr, dc);
    }
    return dpi > 0 ? dpi : kLayerDpi;
}

int dpiOfWindow(HWND window) {
    using GetForWindow = UINT(WINAPI*)(HWND);
    static const auto get = user32Function<GetForWindow>("GetDpiForWindow");
    if (get && window)
        if (const UINT dpi = get(window); dpi > 0) return static_cast<int>(dpi);
    return systemDpi();
}

} // namespace glyvora::win32
