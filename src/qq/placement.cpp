#include "placement.h"

#include <algorithm>

namespace tovlo {

DisplayMode displayModeOf(std::string_view showModel) {
    if (showModel == "normal") return DisplayMode::Normal;
    if (showModel == "buttom") return DisplayMode::Buttom;
    if (showModel == "buttom2") return DisplayMode::Buttom2;
    if (showModel == "buttom3") return DisplayMode::Buttom3;
    if (showModel == "fQQ") return DisplayMode::FQQ;
    return DisplayMode::None;
}

namespace {

// The common part of the four modes with a bottom bar: the bar under the
// lower left corner, the panel at the chat window's top with the capped
// height, shown only while the bar is open and then made top-most.
Placement withBar(const Rect& chat, const DockState& s, int panelLeft) {
    Placement p;
    p.placeBar = true;
    p.barLeft = chat.left;
    p.barTop = chat.bottom();
    p.panelLeft = panelLeft;
    p.panelTop = chat.top;
    p.panelHeight = panelHeightFor(chat.height);
    p.visibility = s.barOpen ? PanelVisibility::Show : PanelVisibility::Unchanged;
    p.topMost = PanelTopMost::IfVisible;
    return p;
}

}  // namespace

Placement dockNormal(const Rect& chat, const DockState&) {
    Placement p;
    p.panelLeft = chat.right();
    p.panelTop = chat.top;
    p.panelHeight = panelHeightFor(chat.height);
    p.visibility = PanelVisibility::Show;
    p.topMost = PanelTopMost::Always;
    return p;
}

Placement dockButtom(const Rect& chat, const DockState& s) {
    return withBar(chat, s, chat.right() - (s.isQun ? kButtomInsetGroup : kButtomInsetPerson));
}

Placement dockButtom2(const Rect& chat, const DockState& s) { return withBar(chat, s, chat.right()); }

Placement dockButtom3(const Rect& chat, const DockState& s) { return withBar(chat, s, chat.left - s.panelWidth); }

Placement dockFQQ(const Rect& chat, const DockState& s) {
    Placement p = withBar(chat, s, chat.left);
    p.visibility = s.keepMainVisible ? PanelVisibility::Show : PanelVisibility::Hide;
    p.topMost = PanelTopMost::Never;
    return p;
}

std::optional<Placement> dockFor(DisplayMode mode, const Rect& chat, const DockState& s) {
    std::optional<Placement> p;
    switch (mode) {
        case DisplayMode::Normal: p = dockNormal(chat, s); break;
        case DisplayMode::Buttom: p = dockButtom(chat, s); break;
        case DisplayMode::Buttom2: p = dockButtom2(chat, s); break;
        case DisplayMode::Buttom3: p = dockButtom3(chat, s); break;
        case DisplayMode::FQQ: p = dockFQQ(chat, s); break;
        case DisplayMode::None: break;
    }
    if (p) p = keepInWorkArea(*p, mode, chat, s);
    return p;
}

namespace {

// `start` moved so that [start, start + length) lies in [low, high) where it
// can; a span longer than the room starts at `low`.
int within(int start, int length, int low, int high) {
    if (start + length > high) start = high - length;
    return start < low ? low : start;
}

}  // namespace

Placement keepInWorkArea(Placement p, DisplayMode mode, const Rect& chat, const DockState& s) {
    const Rect& work = s.workArea;
    if (work.width <= 0 || work.height <= 0) return p;
    const int width = s.panelWidth;
    const bool outsideRight = mode == DisplayMode::Normal || mode == DisplayMode::Buttom2;
    const bool outsideLeft = mode == DisplayMode::Buttom3;
    if (outsideRight && p.panelLeft + width > work.right() && chat.left - width >= work.left)
        p.panelLeft = chat.left - width;
    else if (outsideLeft && p.panelLeft < work.left && chat.right() + width <= work.right())
        p.panelLeft = chat.right();
    p.panelLeft = within(p.panelLeft, width, work.left, work.right());
    p.panelHeight = std::min(p.panelHeight, work.height);
    p.panelTop = within(p.panelTop, p.panelHeight, work.top, work.bottom());
    if (p.placeBar) {
        p.barLeft = within(p.barLeft, s.barWidth, work.left, work.right());
        p.barTop = within(p.barTop, s.barHeight, work.top, work.bottom());
    }
    return p;
}

void applyPlacement(const Placement& p, Form& panel, Form& bar) {
    if (p.placeBar) {
        Rect b = bar.geometry();
        bar.setGeometry({p.barLeft, p.barTop, b.width, b.height});
        bar.show();
        bar.setTopMost();
    }
    panel.setGeometry({p.panelLeft, p.panelTop, panel.geometry().width, p.panelHeight});
    switch (p.visibility) {
        case PanelVisibility::Show: panel.show(); break;
        case PanelVisibility::Hide: panel.hide(); break;
        case PanelVisibility::Unchanged: break;
    }
    if (p.topMost == PanelTopMost::Always || (p.topMost == PanelTopMost::IfVisible && panel.isVisible()))
        panel.setTopMost();
}

}  // namespace tovlo
