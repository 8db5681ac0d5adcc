#pragma once
// Sharp text and pictures at any scale. The program is aware of each
// monitor's DPI: its windows draw their text at the DPI of the monitor they
// are on. Positions and sizes in the program's logic are logical pixels
// (96 to the inch), as on the other platforms; the desktop's pixels are that
// times the system's scale.
#include <windows.h>

#include "platform/geometry.h"

namespace tovlo {

// The DPI the window is drawn at (its monitor's, where the system can tell).
UINT dpiOf(HWND window);
// The desktop's pixels per logical pixel: the system DPI over 96.
double desktopScale();
Rect toDesktop(const Rect& logical);
Rect toLogical(const Rect& desktop);
// The system's message font at the DPI; made once per DPI and kept.
HFONT messageFont(UINT dpi);
inline int atDpi(int logicalPixels, UINT dpi) { return MulDiv(logicalPixels, static_cast<int>(dpi), 96); }

}  // namespace tovlo
