#include "selection_owner.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <cstdlib>
#include <map>

#include "test_display.h"

namespace tovlo::test {

SelectionOwner::SelectionOwner(std::vector<OfferedTarget> targets, std::size_t chunkSize)
    : targets_(std::move(targets)), chunkSize_(chunkSize), thread_([this] { serve(); }) {
    if (!waitUntil([this] { return owning_.load(); })) std::abort();
}

SelectionOwner::~SelectionOwner() {
    stop_ = true;
    thread_.join();
}

void SelectionOwner::serve() {
    Display* d = XOpenDisplay(nullptr);
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    const Atom targetsAtom = XInternAtom(d, "TARGETS", False);
    const Atom timestamp = XInternAtom(d, "TIMESTAMP", False);
    const Atom incr = XInternAtom(d, "INCR", False);
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(d, clipboard, w, CurrentTime);
    owning_ = XGetSelectionOwner(d, clipboard) == w;

    // INCR transfers under way, by requestor window and property.
    struct Pending {
        Atom type;
        std::string bytes;
        std::size_t sent = 0;
        bool done = false;
    };
    std::map<std::pair<Window, Atom>, Pending> pending;

    auto write = [&](Window to, Atom property, Atom type, std::string_view bytes) {
        XChangeProperty(d, to, property, type, 8, PropModeReplace, reinterpret_cast<const unsigned char*>(bytes.data()),
                        static_cast<int>(bytes.size()));
    };

    while (!stop_) {
        if (XPending(d) == 0) {
            pollfd socket{ConnectionNumber(d), POLLIN, 0};
            poll(&socket, 1, 20);
            continue;
        }
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == SelectionRequest) {
            const XSelectionRequestEvent& req = e.xselectionrequest;
            XSelectionEvent reply{};
            reply.type = SelectionNotify;
            reply.requestor = req.requestor;
            reply.selection = req.selection;
            reply.target = req.target;
            reply.time = req.time;
            reply.property = None;
            if (req.target == targetsAtom) {
                std::vector<Atom> list = {targetsAtom, timestamp};
                for (const OfferedTarget& t : targets_) list.push_back(XInternAtom(d, t.name.c_str(), False));
                XChangeProperty(d, req.requestor, req.property, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(list.data()), static_cast<int>(list.size()));
                reply.property = req.property;
            } else {
                for (const OfferedTarget& t : targets_) {
                    if (XInternAtom(d, t.name.c_str(), False) != req.target || !t.bytes) continue;
                    if (t.bytes->size() > chunkSize_) {
                        XSelectInput(d, req.requestor, PropertyChangeMask);
                        const long size = static_cast<long>(t.bytes->size());
                        XChangeProperty(d, req.requestor, req.property, incr, 32, PropModeReplace,
                                        reinterpret_cast<const unsigned char*>(&size), 1);
                        pending[{req.requestor, req.property}] = Pending{req.target, *t.bytes};
                        ++incremental_;
                    } else {
                        write(req.requestor, req.property, req.target, *t.bytes);
                    }
                    reply.property = req.property;
                }
            }
            XSendEvent(d, req.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
            XFlush(d);
        } else if (e.type == PropertyNotify && e.xproperty.state == PropertyDelete) {
            // The requestor took the last chunk: send the next, or the empty end mark.
            auto it = pending.find({e.xproperty.window, e.xproperty.atom});
            if (it == pending.end()) continue;
            Pending& p = it->second;
            const std::string_view rest = std::string_view(p.bytes).substr(p.sent);
            const std::string_view chunk = rest.substr(0, chunkSize_);
            write(e.xproperty.window, e.xproperty.atom, p.type, chunk);
            p.sent += chunk.size();
            if (chunk.empty()) pending.erase(it);
            XFlush(d);
        }
    }
    XDestroyWindow(d, w);
    XCloseDisplay(d);
}

}  // namespace tovlo::test
