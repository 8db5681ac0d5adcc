#include "win_dpi.h"

#include <cmath>
#include <map>
#include <mutex>

namespace tovlo {

namespace {

UINT systemDpi() {
    static const UINT dpi = [] {
        HDC screen = GetDC(nullptr);
        const int d = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return d > 0 ? static_cast<UINT>(d) : 96u;
    }();
    return dpi;
}

// Windows 10's per-monitor functions, looked up so the program still starts
// on systems without them.
template <typename F>
F user32Function(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int roundedTimes(int v, double f) { return static_cast<int>(std::lround(v * f)); }

}  // namespace

UINT dpiOf(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = getDpi && window ? getDpi(window) : 0;
    return dpi ? dpi : systemDpi();
}

double desktopScale() { return systemDpi() / 96.0; }

Rect toDesktop(const Rect& r) {
    const double f = desktopScale();
    const int left = roundedTimes(r.left, f), top = roundedTimes(r.top, f);
    return {left, top, roundedTimes(r.right(), f) - left, roundedTimes(r.bottom(), f) - top};
}

Rect toLogical(const Rect& r) {
    const double f = 1 / desktopScale();
    const int left = roundedTimes(r.left, f), top = roundedTimes(r.top, f);
    return {left, top, roundedTimes(r.right(), f) - left, roundedTimes(r.bottom(), f) - top};
}

HFONT messageFont(UINT dpi) {
    static std::mutex lock;
    static std::map<UINT, HFONT> fonts;
    std::lock_guard<std::mutex> hold(lock);
    HFONT& font = fonts[dpi];
    if (font) return font;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = user32Function<ForDpiFn>("SystemParametersInfoForDpi");
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        font = CreateFontIndirectW(&metrics.lfMessageFont);
    } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        // The system's font is given at the system DPI.
        metrics.lfMessageFont.lfHeight =
            MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi()));
        font = CreateFontIndirectW(&metrics.lfMessageFont);
    }
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return font;
}

}  // namespace tovlo
