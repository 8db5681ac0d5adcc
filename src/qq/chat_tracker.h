#pragma once
// Following the QQ chat window that has the focus. The main window's
// Timer1 runs tick() when the desktop changes (every 20 ms where the desktop
// cannot report its changes): it classifies the foreground window, remembers a chat
// window as the target of face insertion (qqwindow), docks the panel and the
// bottom bar beside it in the current display mode, and hides both when the
// focus is on some other program, or on the bare desktop (no window in front
// for longer than a focus change takes).
#include "buttom_frm.h"
#include "classify_window.h"
#include "core/public_parm.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/forms.h"

namespace tovlo {

class ChatTracker {
public:
    // panel is the main window; showModel and keepMainVisible are read from
    // parm at every tick.
    ChatTracker(const Desktop& desktop, Form& panel, ButtomFrm& bar, const PublicParm& parm);

    // The body of the main window's Timer1.
    void tick();
    // The bar's click: show or hide the panel with the tick paused. In
    // "fQQ" the panel shown by the click stays until another window comes
    // to the front, or an insertion ends the hold.
    void showMode_Buttom_showMainForm(Timer& timer1);
    // A face is being put into the chat window: the panel the bar opened
    // closes as the chat window comes to the front, even if the desktop
    // never saw the bar or the panel in front meanwhile.
    void endBarHold() { heldFor_ = 0; }
    // The hot key: the panel docked beside the chat window in front, or else
    // the one the user last worked in, and shown as the bar's click shows
    // it. Returns that chat window; 0 when there is none (or it is gone),
    // and the panel is then left where it is.
    WindowHandle summon();
    // Esc: the panel closes as the user left it (kept in "normal", where it
    // always stands beside the chat window), the bar closed too.
    void dismiss();

    // How many ticks in a row may find no window in front before it counts
    // as the bare desktop: the focus passing between two windows leaves a
    // gap of a tick or so, which must not make the panel flicker.
    static constexpr int kNoWindowTicks = 2;
    // Whether the last ticks found no window in front and have not yet taken
    // it for the bare desktop: a tick that only runs when the desktop reports
    // a change must then look again on its own.
    bool awaitsWindow() const { return ticksWithoutWindow_ > 0 && ticksWithoutWindow_ <= kNoWindowTicks; }

    // The last chat window seen; kept when the focus moves away.
    WindowHandle qqwindow() const { return qqwindow_; }
    // What the last tick found in front (kept while no window is in front).
    bool is09() const { return flags_.is09; }
    bool is08() const { return flags_.is08; }
    bool isQun() const { return flags_.isQun; }

private:
    void dock(WindowHandle chat);
    void hideBoth();

    const Desktop& desktop_;
    Form& panel_;
    ButtomFrm& bar_;
    const PublicParm& parm_;
    int ticksWithoutWindow_ = 0;
    // The window in front when the bar was clicked in "fQQ"; 0 when no
    // click holds the panel open.
    WindowHandle heldFor_ = 0;
    WindowHandle qqwindow_ = 0;
    ChatFlags flags_;
};

}  // namespace tovlo
