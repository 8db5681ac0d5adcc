#include "face_inserter.h"

namespace tovlo {

FaceInserter::FaceInserter(Desktop& desktop, EventLoop& loop, DebugForm& debug)
    : desktop_(desktop), loop_(loop), debug_(debug), timer5_(loop.createTimer(kPasteDelayMs, false)) {
    timer5_->onTick = [this] { pasteIntoQQ(); };
}

bool FaceInserter::insert(WindowHandle qqwindow) {
    if (inputBusy_) return false;
    inputBusy_ = true;
    target_ = qqwindow;
    // A window that is gone (or was never seen, 0) is simply not focused;
    // the paste then goes to whatever has the focus.
    desktop_.setForegroundWindow(qqwindow);
    debug_.log("聚焦");
    timer5_->setEnabled(true);
    return true;
}

void FaceInserter::pasteIntoQQ() {
    timer5_->setEnabled(false);
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
