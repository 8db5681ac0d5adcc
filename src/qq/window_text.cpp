#include "window_text.h"

#include "char_limit.h"

namespace tovlo {

std::string getWindowTitle(const Desktop& desktop, WindowHandle window) {
    std::string title = desktop.windowTitle(window);
    keepFirstChars(title, kMaxTitleChars);
    return title;
}

std::string getWindowClass(const Desktop& desktop, WindowHandle window) {
    std::string name = desktop.windowClass(window);
    std::size_t nul = name.find('\0');
    if (nul != std::string::npos) name.resize(nul);
    keepFirstChars(name, kMaxClassChars);
    return name;
}

}  // namespace tovlo
