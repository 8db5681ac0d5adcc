#pragma once
// Putting the face that the page has put on the clipboard into the chat
// window: bring the remembered chat window to the front, and a quarter of a
// second later type Ctrl+V into it. One insertion at a time: while a paste
// is pending the inserter is busy, and the main window drops further
// insertion commands (and their history entries).
#include <memory>

#include "core/debug_form.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"

namespace tovlo {

class FaceInserter {
public:
    FaceInserter(Desktop& desktop, EventLoop& loop, DebugForm& debug);

    // True from an accepted insertion until its paste keys have been sent.
    bool inputBusy() const { return inputBusy_; }
    // Starts an insertion into the chat window: focus it now, paste in
    // 250 ms. Does nothing and returns false while another one is pending.
    bool insert(WindowHandle qqwindow);
    // The chat window the pending paste goes to (0 when none is pending).
    WindowHandle target() const { return inputBusy_ ? target_ : 0; }

    // The one-shot paste timer.
    Timer& Timer5() { return *timer5_; }
    static constexpr int kPasteDelayMs = 250;
    // When the chat window is not in front at paste time: how often it is
    // asked for again, and how long each time the keys wait for it.
    static constexpr int kRefocusTries = 5;
    static constexpr int kRefocusDelayMs = 50;

private:
    void pasteIntoQQ();

    Desktop& desktop_;
    EventLoop& loop_;
    DebugForm& debug_;
    std::unique_ptr<Timer> timer5_;
    std::unique_ptr<Timer> refocus_;
    int refocusTries_ = 0;
    bool inputBusy_ = false;
    WindowHandle target_ = 0;
};

}  // namespace tovlo
