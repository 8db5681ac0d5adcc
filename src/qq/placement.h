#pragma once
// Where the panel (the main window) and the bottom bar go beside a chat
// window, for each display mode. The arithmetic is plain: a chat window's
// frame and the panel's state in, target positions and rules out;
// applyPlacement then carries them out on the two windows in a fixed order.
#include <optional>
#include <string_view>

#include "platform/forms.h"
#include "platform/geometry.h"

namespace tovlo {

enum class DisplayMode { None, Normal, Buttom, Buttom2, Buttom3, FQQ };

// "normal", "buttom", "buttom2", "buttom3", "fQQ"; any other text docks nothing.
DisplayMode displayModeOf(std::string_view showModel);

// The panel is as tall as the chat window, at most 700 pixels.
inline constexpr int kMaxPanelHeight = 700;
constexpr int panelHeightFor(int chatHeight) { return chatHeight <= kMaxPanelHeight ? chatHeight : kMaxPanelHeight; }

// How far the panel reaches into the chat window from its right edge in the
// "buttom" mode: further for a group chat, whose member list is wider.
inline constexpr int kButtomInsetGroup = 210;
inline constexpr int kButtomInsetPerson = 160;

// What the placement needs to know besides the chat window's frame.
struct DockState {
    int panelWidth = 0;
    bool isQun = false;
    bool barOpen = false;          // the bottom bar's isOpen
    bool keepMainVisible = false;  // the global parameter
    // The work area of the screen that holds the chat window (the screen
    // without task bars and docks); an empty one keeps nothing in.
    Rect workArea;
    int barWidth = 0;  // the bottom bar's size
    int barHeight = 0;
};

enum class PanelVisibility { Show, Hide, Unchanged };
enum class PanelTopMost { Always, IfVisible, Never };

struct Placement {
    // The bar goes under the chat window's lower left corner, is shown and
    // made top-most; when false it is left alone.
    bool placeBar = false;
    int barLeft = 0;
    int barTop = 0;
    int panelLeft = 0;
    int panelTop = 0;
    int panelHeight = 0;
    PanelVisibility visibility = PanelVisibility::Unchanged;
    PanelTopMost topMost = PanelTopMost::Never;
    bool operator==(const Placement&) const = default;
};

// Panel outside the chat window's right edge, always shown and top-most.
Placement dockNormal(const Rect& chat, const DockState& s);
// Bar below; panel over the chat window's right-hand strip while the bar is open.
Placement dockButtom(const Rect& chat, const DockState& s);
// Bar below; panel outside the right edge while the bar is open.
Placement dockButtom2(const Rect& chat, const DockState& s);
// Bar below; panel outside the left edge while the bar is open.
Placement dockButtom3(const Rect& chat, const DockState& s);
// Bar below; panel over the chat window's left part, shown only while
// keepMainVisible holds, never made top-most here.
Placement dockFQQ(const Rect& chat, const DockState& s);

// The placement of a mode, kept inside the work area (keepInWorkArea);
// nothing for DisplayMode::None.
std::optional<Placement> dockFor(DisplayMode mode, const Rect& chat, const DockState& s);

// Keeps the panel and the bar inside the work area, so the user can reach
// them: a panel that docks outside the chat window goes to the chat
// window's other side when its own side has no room, and is pushed in where
// neither side has; the panel's height is cut to the work area's, and its
// top and the bar are moved in. A placement that fits stays as it is.
Placement keepInWorkArea(Placement p, DisplayMode mode, const Rect& chat, const DockState& s);

// Carries a placement out: bar position, bar shown, bar top-most; then the
// panel's left, top and height (its width is kept); then the visibility
// rule; then the top-most rule, which looks at the panel's visibility as the
// previous step left it.
void applyPlacement(const Placement& p, Form& panel, Form& bar);

}  // namespace tovlo
