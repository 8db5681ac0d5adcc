#pragma once
// QQShow: the small notice window that slides up from the lower right
// corner of the screen and shows the local page w/QQShow.html. The page
// closes it with the command "close". Positions are kept in twips, the unit
// the slide is defined in, and converted to pixels for the window.
#include <functional>
#include <memory>
#include <string>

#include "core/command_table.h"
#include "core/command_target.h"
#include "core/public_parm.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/forms.h"

namespace tovlo {

class QQShow : public CommandTarget {
public:
    // Loads the window: size, page, start position below the screen's edge,
    // and the slide timer. onUnload runs when the page asks to close; the
    // owner ends the window there (the call comes from inside the page, so
    // the owner should not destroy the window before the call returns).
    QQShow(Forms& forms, EventLoop& loop, const Desktop& desktop, const PublicParm& parm,
           std::function<void()> onUnload);

    void show() { form_->show(); }
    // Page commands: "close" unloads the window; any other command fails
    // back to the page and leaves the window as it is.
    void callVb(const std::string& Text) override;

    Form& form() { return *form_; }
    BrowserView& WebBrowser1() { return form_->browserView("WebBrowser1"); }
    Timer& Timer1() { return *timer1_; }
    int leftTwips() const { return left_; }
    int topTwips() const { return top_; }

    static constexpr int kSizeTwips = 3000;      // window width and height (200 pixels)
    static constexpr int kViewSizeTwips = 3200;  // the view overhangs the window ...
    static constexpr int kViewLeftTwips = -100;  // ... so its borders are not seen
    static constexpr int kViewTopTwips = -120;
    static constexpr int kPeekTwips = 405;  // how much shows above the screen's edge at the start
    static constexpr int kStepTwips = 50;   // rise per slide tick
    static constexpr int kSlideIntervalMs = 20;

private:
    void timer1Tick();
    void close();
    void moveTo(int leftTwips, int topTwips);

    std::unique_ptr<Form> form_;
    std::unique_ptr<Timer> timer1_;
    int screenHeight_;  // twips
    int left_ = 0;      // twips
    int top_ = 0;
    std::function<void()> onUnload_;
    CommandTable commands_;
};

}  // namespace tovlo
