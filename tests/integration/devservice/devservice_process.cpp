#include "devservice_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <stdexcept>
#include <utility>

namespace tovlo::test {

DevServiceProcess::DevServiceProcess(std::vector<std::string> options) : options_(std::move(options)) {
    std::filesystem::copy(DEVSERVICE_DATA, dataFolder(), std::filesystem::copy_options::recursive);
    start();
}

DevServiceProcess::~DevServiceProcess() { stop(); }

void DevServiceProcess::restart() {
    stop();
    start();
}

bool DevServiceProcess::running() {
    if (pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) != 0) pid_ = -1;
    return pid_ > 0;
}

std::string DevServiceProcess::logText() const { return readBytes(dir_ / "requests.log"); }

void DevServiceProcess::start() {
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe failed");
    std::string root = dataFolder(), log = dir_ / "requests.log";
    std::vector<std::string> args = {DEVSERVICE_BIN, "--root", root, "--port", "0", "--log", log};
    args.insert(args.end(), options_.begin(), options_.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execv(DEVSERVICE_BIN, argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    // The first line names the port; wait for it, but not for ever.
    firstLine_.clear();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    char c;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        if (::read(out[0], &c, 1) != 1 || c == '\n') break;
        firstLine_ += c;
    }
    ::close(out[0]);
    std::smatch m;
    if (!std::regex_match(firstLine_, m, std::regex(R"(devservice listening on 127\.0\.0\.1:(\d+))")))
        throw std::runtime_error("devservice did not start: " + firstLine_);
    port_ = std::stoi(m[1]);
}

void DevServiceProcess::stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

}  // namespace tovlo::test
