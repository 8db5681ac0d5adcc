#pragma once
// A private X display for a test: Xvfb on the first free display number,
// stopped when the object goes.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace tovlo::test {

class Xvfb {
public:
    Xvfb() {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // The read end goes first: it may itself be descriptor 3.
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 01, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 01, 0);
        const char* argv[] = {"Xvfb", "-displayfd", "3", "-screen", "0", "1280x900x24", "-nolisten", "tcp", nullptr};
        if (posix_spawnp(&pid_, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // Xvfb writes the display number and a line end once it is ready.
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c >= '0' && c <= '9') number.push_back(c);
        close(fds[0]);
        if (!number.empty()) display_ = ":" + number;
    }
    ~Xvfb() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    // ":N", or empty when the server did not start.
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace tovlo::test
