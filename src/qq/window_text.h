#pragma once
// A window's title and class name as the tracking tick reads them, with the
// lengths of the window system's fixed text buffers.
#include <string>

#include "platform/desktop.h"

namespace tovlo {

// Titles come back through a buffer of 255 characters, so at most 254.
inline constexpr std::size_t kMaxTitleChars = 254;
// Class names come back through a buffer of 256 characters, so at most 255.
inline constexpr std::size_t kMaxClassChars = 255;

// The title, at most 254 characters; "" for a window that died.
std::string getWindowTitle(const Desktop& desktop, WindowHandle window);
// The class name up to its first NUL, at most 255 characters; "" on failure.
std::string getWindowClass(const Desktop& desktop, WindowHandle window);

}  // namespace tovlo
