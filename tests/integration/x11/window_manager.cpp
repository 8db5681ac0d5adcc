#include "window_manager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "test_display.h"

extern char** environ;

namespace tovlo::test {

namespace {

Window checkWindowOf(Display* d, Window w, Atom check) {
    Atom type = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    Window result = 0;
    if (XGetWindowProperty(d, w, check, 0, 1, False, XA_WINDOW, &type, &format, &n, &after, &data) == Success && data &&
        n == 1)
        result = *reinterpret_cast<unsigned long*>(data);
    if (data) XFree(data);
    return result;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

// openbox announces itself before it has finished starting, and a window
// mapped in between is never shown: map a probe window, asking again now and
// then, until openbox shows it.
bool managesNewWindows() {
    TestDisplay x;
    const Window probe = XCreateSimpleWindow(x.display(), x.root(), 0, 0, 10, 10, 0, 0, 0);
    auto viewable = [&] {
        XWindowAttributes a{};
        return XGetWindowAttributes(x.display(), probe, &a) && a.map_state == IsViewable;
    };
    bool shown = false;
    for (int attempt = 0; attempt < 50 && !shown; ++attempt) {
        XMapWindow(x.display(), probe);
        XFlush(x.display());
        shown = waitUntil(viewable, std::chrono::milliseconds(100));
    }
    XDestroyWindow(x.display(), probe);
    XSync(x.display(), False);
    return shown;
}

}  // namespace

bool windowManagerAnnounced() {
    TestDisplay x;
    XErrorHandler previous = XSetErrorHandler(ignoreErrors);  // the check window may be gone
    const Atom check = x.atom("_NET_SUPPORTING_WM_CHECK");
    const Window w = checkWindowOf(x.display(), x.root(), check);
    const bool live = w != 0 && checkWindowOf(x.display(), w, check) == w;
    XSetErrorHandler(previous);
    return live;
}

bool WindowManager::start() {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>("openbox"), const_cast<char*>("--sm-disable"), nullptr};
    const int failed = posix_spawnp(&pid_, "openbox", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        pid_ = -1;
        return false;
    }
    return waitUntil(windowManagerAnnounced) && managesNewWindows();
}

void WindowManager::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

}  // namespace tovlo::test
