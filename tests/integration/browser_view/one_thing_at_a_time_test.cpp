// One thing at a time on the real event loop: while a page's command waits
// (for a fetch, a script in its page, a program), the page's next call, a
// logic timer that falls due and a quit wait for it to end, then run in the
// order they came (a timer switched off meanwhile not at all); the tracking
// tick goes on meanwhile.
#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_processes.h"
#include "platform/qt/qt_waiting_fetch.h"
#include "view_fixture.h"

namespace tovlo::test {
namespace {

// A service that takes half a second to answer.
class SlowFetch : public UrlFetch {
public:
    bool fetchToFile(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> fetchBytes(const std::string&) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        return "1";
    }
};

using OneThingAtATime = ViewTest;

TEST_F(OneThingAtATime, WhatArrivesDuringACommandsWaitRunsAfterItInOrder) {
    QtEventLoop loop;
    SlowFetch slow;
    QtWaitingFetch fetch(slow);
    QtProcesses processes;
    const std::map<std::string, std::function<void()>> waits = {
        {"fetch", [&] { fetch.fetchBytes("http://service/soft/connect.html"); }},
        {"script", [&] { view->runScript("slow()"); }},
        {"program", [&] { processes.runAndWait("/bin/sleep", "0.5"); }},
    };
    load("page.html",
         "<script>"
         "function later() { setTimeout(function () { external.calls('web', 'B'); }, 150); }"
         "function slow() { var t = Date.now(); while (Date.now() - t < 150) {}"
         "  external.calls('web', 'B'); while (Date.now() - t < 450) {} }"
         "</script>");
    for (const auto& [what, wait] : waits) {
        SCOPED_TRACE(what);
        std::vector<std::string> log;
        bool inA = false;
        int trackingTicks = 0;
        auto logic = loop.createTimer(50, false);
        logic->onTick = [&] {
            logic->setEnabled(false);
            log.push_back("tick");
        };
        // A panel's timer that falls due during the wait, the panel being
        // taken out of its slot before the command ends: its tick never runs.
        auto retired = loop.createTimer(50, false);
        retired->onTick = [&] { log.push_back("retired panel's tick"); };
        auto tracking = loop.createTimer(20, true, TimerKind::MovesWindows);
        tracking->onTick = [&] { trackingTicks += inA; };
        onCall = [&](const std::string&, const std::string& text) {
            log.push_back(text);
            if (text != "A") return;
            inA = true;
            logic->setEnabled(true);
            retired->setEnabled(true);
            QTimer::singleShot(250, [&] { loop.quit(); });
            wait();
            retired->setEnabled(false);
            log.push_back("A ends");
            inA = false;
        };
        // The page starts it from inside the program's own loop, which the quit
        // ends (or, failing that, the time).
        const std::string start =
            what == "script" ? "external.calls('web', 'A')" : "later(); external.calls('web', 'A')";
        QTimer::singleShot(0, [&] { view->runScript(start); });
        bool timeUp = false;
        QTimer::singleShot(10000, [&] {
            timeUp = true;
            QCoreApplication::exit();
        });
        QCoreApplication::exec();
        EXPECT_FALSE(timeUp) << "the quit never came";
        log.push_back("quit");
        EXPECT_EQ(log, (std::vector<std::string>{"A", "A ends", "tick", "B", "quit"}));
        EXPECT_GT(trackingTicks, 5) << "the tracking tick went on during the wait";
        onCall = nullptr;
        form->show();  // the quit closed the windows
    }
}

}  // namespace
}  // namespace tovlo::test
