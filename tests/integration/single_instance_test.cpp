// Two real Tovlo.exe processes in one program folder: the second is refused
// with a message and the first keeps running.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "support/temp_dir.h"
#include "support/xvfb.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using tovlo::test::readBytes;

// Starts the program with stderr sent to a file; returns its pid.
pid_t spawnTovlo(const std::string& exe, const std::string& arg, const std::string& errFile,
                 const std::string& display) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    // Web engine code is not built with the sanitizers and trips them.
    std::vector<std::string> env = {"DISPLAY=" + display, "TOVLO_UNATTENDED=1",
                                    "ASAN_OPTIONS=detect_leaks=0:new_delete_type_mismatch=0"};
    for (char** e = environ; *e; ++e) {
        std::string s = *e;
        if (s.rfind("DISPLAY=", 0) && s.rfind("QT_QPA_PLATFORM=", 0) && s.rfind("TOVLO_UNATTENDED=", 0) &&
            s.rfind("ASAN_OPTIONS=", 0))
            env.push_back(s);
    }
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<char*> argv = {const_cast<char*>(exe.c_str()), const_cast<char*>(arg.c_str()), nullptr};
    pid_t pid = -1;
    posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

}  // namespace

TEST(SingleInstance, SecondStartIsRefusedWhileTheFirstKeepsRunning) {
    tovlo::test::Xvfb x;
    ASSERT_FALSE(x.display().empty()) << "Xvfb did not start";
    tovlo::test::TempDir dir;
    // A program folder of its own: the executable and an empty configuration.
    fs::copy_file(fs::path(TOVLO_PROGRAM_DIR) / "Tovlo.exe", dir / "Tovlo.exe");
    fs::create_directory(dir / "temp");
    fs::create_directory(dir / "w");

    pid_t first = spawnTovlo(dir / "Tovlo.exe", "2.3", dir / "first.err", x.display());
    ASSERT_GT(first, 0);
    ASSERT_TRUE(waitFor([&] { return readBytes(dir / "first.err").find("started") != std::string::npos; },
                        std::chrono::seconds(60)))
        << readBytes(dir / "first.err");
    const std::string configAfterFirst = readBytes(dir / "config.ini");
    EXPECT_NE(configAfterFirst.find("ver=2.3"), std::string::npos);
    EXPECT_NE(configAfterFirst.find("historyNub=16"), std::string::npos);
    EXPECT_NE(configAfterFirst.find("updateFaseMainhtml=1"), std::string::npos);

    pid_t second = spawnTovlo(dir / "Tovlo.exe", "9.9", dir / "second.err", x.display());
    ASSERT_GT(second, 0);
    int status = 0;
    ASSERT_TRUE(waitFor([&] { return waitpid(second, &status, WNOHANG) == second; }, std::chrono::seconds(60)));
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(readBytes(dir / "second.err").find("程序已经运行！"), std::string::npos) << readBytes(dir / "second.err");
    EXPECT_EQ(readBytes(dir / "config.ini"), configAfterFirst) << "the refused start touched nothing";

    EXPECT_EQ(waitpid(first, &status, WNOHANG), 0) << "the first instance is still running";
    kill(first, SIGTERM);
    waitpid(first, &status, 0);

    // With the first gone, a new start is accepted again.
    pid_t third = spawnTovlo(dir / "Tovlo.exe", "", dir / "third.err", x.display());
    EXPECT_TRUE(waitFor([&] { return readBytes(dir / "third.err").find("Tovlo 2.3 started") != std::string::npos; },
                        std::chrono::seconds(60)))
        << readBytes(dir / "third.err");
    kill(third, SIGTERM);
    waitpid(third, &status, 0);
}
