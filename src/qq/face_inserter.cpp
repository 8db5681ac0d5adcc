#include "face_inserter.h"

namespace tovlo {

FaceInserter::FaceInserter(Desktop& desktop, EventLoop& loop, DebugForm& debug)
    : desktop_(desktop),
      loop_(loop),
      debug_(debug),
      timer5_(loop.createTimer(kPasteDelayMs, false)),
      refocus_(loop.createTimer(kRefocusDelayMs, false)) {
    timer5_->onTick = [this] {
        timer5_->setEnabled(false);
        pasteIntoQQ();
    };
    refocus_->onTick = [this] {
        refocus_->setEnabled(false);
        pasteIntoQQ();
    };
}

bool FaceInserter::insert(WindowHandle qqwindow) {
    if (inputBusy_) return false;
    inputBusy_ = true;
    target_ = qqwindow;
    refocusTries_ = 0;
    // A window that is gone (or was never seen, 0) is simply not focused;
    // the paste then goes to whatever has the focus.
    desktop_.setForegroundWindow(qqwindow);
    debug_.log("聚焦");
    timer5_->setEnabled(true);
    return true;
}

void FaceInserter::pasteIntoQQ() {
    // A window of ours shown focused just before (the plug-in panel's window
    // after its program ran) can take the focus back from the chat window
    // when the window manager carries its activation out late. The keys must
    // not land there: the chat window is asked for again and the keys wait a
    // little, a few times, before they go to whatever is in front.
    if (target_ != 0 && desktop_.foregroundWindow() != target_ && refocusTries_ < kRefocusTries) {
        ++refocusTries_;
        desktop_.setForegroundWindow(target_);
        refocus_->setEnabled(true);
        return;
    }
    // Control is released before V, each key event followed by one pass of
    // the event loop so the chat window sees them as typed.
    constexpr struct {
        int key;
        bool down;
    } kCtrlV[] = {{kVkControl, true}, {kVkV, true}, {kVkControl, false}, {kVkV, false}};
    for (const auto& k : kCtrlV) {
        desktop_.sendKey(k.key, k.down);
        loop_.processEvents();
    }
    inputBusy_ = false;
}

}  // namespace tovlo
