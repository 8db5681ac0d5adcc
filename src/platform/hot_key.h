#pragma once
// A key combination that reaches the program whichever window has the
// keyboard focus (the chat window, usually): the user's way to call the face
// panel without the mouse.
#include <functional>

namespace tovlo {

struct HotKey {
    enum Modifier : unsigned { Ctrl = 1, Alt = 2, Shift = 4, Win = 8 };
    unsigned modifiers = 0;  // Modifier bits
    // The key's virtual key code: 'A'-'Z', '0'-'9', or F1-F12 (0x70-0x7B).
    int key = 0;
    bool operator==(const HotKey&) const = default;
};

inline constexpr int kVkF1 = 0x70;
inline constexpr int kVkF12 = 0x7B;

class GlobalHotKey {
public:
    virtual ~GlobalHotKey() = default;
    // Takes the combination from the desktop: from now on `pressed` runs, as
    // an event of the logic, each time the user presses it (held down, once).
    // False when the desktop refuses it (another program holds it): the
    // combination bound before then stays bound.
    virtual bool bind(const HotKey& key, std::function<void()> pressed) = 0;
    // Gives the combination back; the keys reach the window in front again.
    virtual void unbind() = 0;
};

}  // namespace tovlo
