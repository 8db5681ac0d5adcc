#include "qq_show.h"

#include "core/paths.h"
#include "core/text.h"
#include "core/twips.h"
#include "core/urls.h"

namespace tovlo {

QQShow::QQShow(Forms& forms, EventLoop& loop, const Desktop& desktop, const PublicParm& parm,
               std::function<void()> onUnload)
    : form_(forms.create(FormDescription("QQShow", {.frameless = true, .topMost = true, .showsWithoutFocus = true})
                             .browserViews({"WebBrowser1"}))),
      timer1_(loop.createTimer(kSlideIntervalMs, false, TimerKind::MovesWindows)),
      screenHeight_(pixelsToTwips(desktop.screenSize().height)),
      onUnload_(std::move(onUnload)) {
    WebBrowser1().setGeometry({twipsToPixels(kViewLeftTwips), twipsToPixels(kViewTopTwips),
                               twipsToPixels(kViewSizeTwips), twipsToPixels(kViewSizeTwips)});
    const std::string ver = parm.ini.GetIniKey("application", "ver");
    WebBrowser1().navigate(withQuery(fileUrl(joinPath(parm.app, {"w", "QQShow.html"})), {{"v", ver}}));
    moveTo(pixelsToTwips(desktop.screenSize().width) - kSizeTwips, screenHeight_ - kPeekTwips);
    timer1_->onTick = [this] { timer1Tick(); };
    // Every other command leaves the window as it is.
    commands_ = CommandTable{{"close", [this](const std::string&) { close(); }}};
    timer1_->setEnabled(true);
}

void QQShow::moveTo(int leftTwips, int topTwips) {
    left_ = leftTwips;
    top_ = topTwips;
    form_->setGeometry(
        {twipsToPixels(left_), twipsToPixels(top_), twipsToPixels(kSizeTwips), twipsToPixels(kSizeTwips)});
}

void QQShow::timer1Tick() {
    moveTo(left_, top_ - kStepTwips);
    // Rest once the window has risen past the point where its bottom edge
    // would sit kPeekTwips above the screen's bottom.
    if (screenHeight_ - kSizeTwips - kPeekTwips > top_) timer1_->setEnabled(false);
}

// The command is the text before the first "||": a bare "close" counts too.
void QQShow::callVb(const std::string& Text) { commands_.dispatch(contains(Text, "||") ? Text : Text + "||"); }

void QQShow::close() {
    timer1_->setEnabled(false);
    form_->hide();
    if (onUnload_) onUnload_();
}

}  // namespace tovlo
