#pragma once
// One thing at a time. The program's logic runs one command at a time, as on
// a desktop where every event waits for the one before: a page's call, a
// logic timer's tick, a click on a button, a window or the tray, a download's
// or a connection's news. A command may wait for something (a fetch, a page
// script, a plug-in, a message box, the keys of a paste) while the event loop
// runs on, so that windows paint and move and the tracking tick follows the
// chat window; every other event of the logic that arrives meanwhile waits
// in line and runs when the running command has ended, in arrival order. A
// command that calls another itself runs it at once, inside.
//
// The platform hands every event of the logic in through an EventSource (a
// timer through TimerTicks), so the rule holds alike on every platform and
// on the fakes.
#include <cstdio>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "event_loop.h"

namespace tovlo {

class Commands {
public:
    // A command's extent. The events that waited in line run when the
    // outermost command has ended.
    class Scope {
    public:
        Scope() { ++depth_; }
        ~Scope() {
            if (--depth_ == 0) drain();
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };

    // Whether a command is running: the caller is inside one, or inside one
    // of its waits.
    static bool running() { return depth_ > 0; }

    // Runs the event as a command now, or queues it after the running one.
    // An exception of an event run now reaches the caller.
    static void deliver(std::function<void()> event) {
        if (running()) {
            queue_.push_back(std::move(event));
            return;
        }
        Scope scope;
        event();
    }

    // Runs the event, reporting an exception it throws instead of passing it
    // on: the event loop is no place for it.
    static void report(const std::function<void()>& event, const char* what) {
        try {
            event();
        } catch (const std::exception& e) {
            failed(std::string(what) + " failed: " + e.what());
        } catch (...) {
            failed(std::string(what) + " failed");
        }
    }
    // Where reported failures go besides the standard error (the program's
    // debug window).
    static void reportTo(std::function<void(const std::string&)> log) { log_ = std::move(log); }

    // Events waiting in line.
    static std::size_t waiting() { return queue_.size(); }

private:
    static void failed(const std::string& line) {
        std::fprintf(stderr, "%s\n", line.c_str());
        if (log_) log_(line);
    }
    static void drain() {
        while (!queue_.empty()) {
            std::function<void()> next = std::move(queue_.front());
            queue_.pop_front();
            ++depth_;
            report(next, "an event that waited");
            --depth_;
        }
    }

    static inline int depth_ = 0;
    static inline std::deque<std::function<void()>> queue_;
    static inline std::function<void(const std::string&)> log_;
};

// Something that hands events of the logic in: a control, a download, a
// connection, the tray icon, a page's bridge. An event that waited in line
// is dropped when its source is gone by its turn; an exception it throws is
// reported and goes no further.
class EventSource {
public:
    explicit EventSource(const char* what = "an event") : what_(what) {}
    void deliver(std::function<void()> event) const {
        Commands::deliver([alive = std::weak_ptr<bool>(alive_), what = what_, event = std::move(event)] {
            if (!alive.expired()) Commands::report(event, what);
        });
    }

private:
    const char* what_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// A timer's ticks, delivered as the rule says; every event loop's timers
// use it. A tick that falls due while a command runs waits in line, once
// however many fall due meanwhile; when its turn comes the timer ticks if it
// is still enabled, its count starting anew.
class TimerTicks {
public:
    TimerTicks(Timer& timer, TimerKind kind) : timer_(timer), kind_(kind) {}

    // The timer fell due. `restart` starts its count anew.
    void due(std::function<void()> restart) {
        if (!timer_.onTick) return;
        // A copy runs: the tick may replace the timer's tick, or end the timer.
        const std::function<void()> tick = timer_.onTick;
        if (kind_ == TimerKind::MovesWindows) {
            Commands::report(tick, "a timer's tick");
            return;
        }
        if (!Commands::running()) {
            source_.deliver(tick);
            return;
        }
        if (waiting_) return;
        waiting_ = true;
        source_.deliver([this, restart = std::move(restart)] {
            waiting_ = false;
            if (!timer_.enabled() || !timer_.onTick) return;
            restart();
            const std::function<void()> tick = timer_.onTick;
            tick();
        });
    }

private:
    Timer& timer_;
    TimerKind kind_;
    bool waiting_ = false;
    EventSource source_{"a timer's tick"};
};

}  // namespace tovlo
