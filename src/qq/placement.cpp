#include "placement.h"

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
    switch (mode) {
        case DisplayMode::Normal: return dockNormal(chat, s);
        case DisplayMode::Buttom: return dockButtom(chat, s);
        case DisplayMode::Buttom2: return dockButtom2(chat, s);
        case DisplayMode::Buttom3: return dockButtom3(chat, s);
        case DisplayMode::FQQ: return dockFQQ(chat, s);
        case DisplayMode::None: break;
    }
    return std::nullopt;
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
