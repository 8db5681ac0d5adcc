#pragma once
// A running test chat window (fakeqq_win.exe, beside the test program) and
// what it reports: started with a title and options, ended when the object
// goes. Waiting runs the test's own messages meanwhile, so timers of the
// test keep firing.
#include <string>
#include <vector>

#include "platform/forms.h"
#include "support/temp_dir.h"

namespace tovlo::test {

// The folder of the running test program (where fakeqq_win.exe is).
std::string programFolder();
// Runs the thread's messages for the time.
void runMessages(int ms);
// Runs the thread's messages until the check holds or the time is up; the
// check's last answer.
template <class Check>
bool waitUntil(Check check, int ms = 5000) {
    for (int waited = 0; waited < ms; waited += 20) {
        if (check()) return true;
        runMessages(20);
    }
    return check();
}

// Programs started while it lives report to the file (FAKEQQ_REPORT).
class ReportTo {
public:
    explicit ReportTo(const std::string& file);
    ~ReportTo();
    ReportTo(const ReportTo&) = delete;
    ReportTo& operator=(const ReportTo&) = delete;
};

class ChatWindow {
public:
    // Starts fakeqq with the arguments (each one argument) and waits for its
    // window; window() is 0 when it did not come.
    explicit ChatWindow(const std::vector<std::string>& arguments);
    ~ChatWindow();
    ChatWindow(const ChatWindow&) = delete;
    ChatWindow& operator=(const ChatWindow&) = delete;

    WindowHandle window() const { return window_; }
    // The report lines so far.
    std::vector<std::string> lines() const;
    // Waits until a report line equals the text.
    bool waitForLine(const std::string& line, int ms = 5000) const;

private:
    TempDir dir_;
    void* process_ = nullptr;
    WindowHandle window_ = 0;
};

}  // namespace tovlo::test
