#include "chat_tracker.h"

#include "placement.h"
#include "window_text.h"

namespace tovlo {

ChatTracker::ChatTracker(const Desktop& desktop, Form& panel, ButtomFrm& bar, const PublicParm& parm)
    : desktop_(desktop), panel_(panel), bar_(bar), parm_(parm) {}

void ChatTracker::tick() {
    const WindowHandle h = desktop_.foregroundWindow();
    if (h == 0) {
        // Focus in transition: change nothing. A desktop that goes on
        // without an active window is the bare desktop, which on Windows
        // is a window of its own and hides the panel like any other.
        if (++ticksWithoutWindow_ > kNoWindowTicks) hideBoth();
        return;
    }
    ticksWithoutWindow_ = 0;
    // The bar's hold lasts while the window that was in front at its click
    // is: any change of the window in front (the bar's own activation
    // arriving, the user going elsewhere) ends it.
    if (h != heldFor_) heldFor_ = 0;

    const std::string title = getWindowTitle(desktop_, h);
    const std::string className = getWindowClass(desktop_, h);
    flags_ = classifyWindow(className, title);

    // The user is working in the panel itself: leave everything where it is.
    if (h == panel_.handle()) return;

    if (flags_.is09 || flags_.is08) {
        dock(h);
        qqwindow_ = h;
    } else if (h != bar_.form().handle() && h != heldFor_) {
        hideBoth();
    }
}

void ChatTracker::hideBoth() {
    bar_.form().hide();
    panel_.hide();
}

void ChatTracker::dock(WindowHandle chat) {
    const DisplayMode mode = displayModeOf(parm_.showModel);
    if (mode == DisplayMode::None) return;
    const Rect chatRect = desktop_.windowRect(chat);
    const Rect barRect = bar_.form().geometry();
    const DockState state{.panelWidth = panel_.geometry().width,
                          .isQun = flags_.isQun,
                          .barOpen = bar_.isOpen(),
                          .keepMainVisible = parm_.keepMainVisible || heldFor_ != 0,
                          .workArea = desktop_.workArea(chatRect),
                          .barWidth = barRect.width,
                          .barHeight = barRect.height};
    if (auto p = dockFor(mode, chatRect, state)) applyPlacement(*p, panel_, bar_.form());
}

WindowHandle ChatTracker::summon() {
    WindowHandle chat = 0;
    const WindowHandle front = desktop_.foregroundWindow();
    for (WindowHandle h : {front, qqwindow_}) {
        if (h == 0 || h == panel_.handle() || desktop_.windowRect(h).width <= 0) continue;
        const ChatFlags flags = classifyWindow(getWindowClass(desktop_, h), getWindowTitle(desktop_, h));
        if (!flags.is09 && !flags.is08) continue;
        chat = h;
        flags_ = flags;
        break;
    }
    if (chat == 0) return 0;
    qqwindow_ = chat;
    // Held like the bar's click: the panel stays while the window that was
    // in front at the press still is (the panel is yet to come to the
    // front), until the user goes elsewhere or a face is put in.
    heldFor_ = front != 0 ? front : chat;
    bar_.setOpen(true);
    dock(chat);
    panel_.show();
    panel_.setTopMost();
    return chat;
}

void ChatTracker::dismiss() {
    heldFor_ = 0;
    bar_.setOpen(false);
    if (displayModeOf(parm_.showModel) != DisplayMode::Normal) panel_.hide();
}

void ChatTracker::showMode_Buttom_showMainForm(Timer& timer1) {
    timer1.setEnabled(false);
    if (displayModeOf(parm_.showModel) == DisplayMode::FQQ) {
        // The click makes the bar the window in front, but the desktop may
        // say so only after the next ticks: until the window in front
        // changes, the panel stays as if the bar were in front already.
        heldFor_ = desktop_.foregroundWindow();
        panel_.show();
    } else if (!panel_.isVisible()) {
        panel_.show();
    } else {
        panel_.hide();
    }
    panel_.setTopMost();
    timer1.setEnabled(true);
}

}  // namespace tovlo
