// Starting programs for real: the argument text reaches the program whole,
// as one argument, whatever spaces it holds, and empty when it is empty.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "core/files.h"
#include "platform/qt/qt_processes.h"
#include "run_events.h"
#include "support/temp_dir.h"

namespace tovlo::test {
namespace {

class ProcessesTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Writes how many arguments it got, then each between brackets.
        writeBytes(program,
                   "#!/bin/sh\nprintf '%s' \"$#\" > \"$0.tmp\"\n"
                   "for a in \"$@\"; do printf '[%s]' \"$a\" >> \"$0.tmp\"; done\n"
                   "mv \"$0.tmp\" \"$0.out\"\n");
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    }
    std::string answer() {
        auto bytes = readFileBytes(program + ".out");
        std::filesystem::remove(program + ".out");
        return bytes ? *bytes : std::string("(no answer)");
    }

    TempDir dir;
    std::string program = dir / "main.exe";
    QtProcesses processes;
};

TEST_F(ProcessesTest, TheArgumentTextArrivesWholeAsOneArgument) {
    const char* texts[] = {"random", "two  spaces", " leading", "trailing ", "", "a \"quoted\" 'word' $HOME"};
    for (const char* text : texts) {
        ASSERT_TRUE(processes.runAndWait(program, text)) << text;
        EXPECT_EQ(answer(), std::string("1[") + text + "]") << "waited for: " << text;
        ASSERT_TRUE(processes.startDetached(program, text)) << text;
        ASSERT_TRUE(runEventsUntil([&] { return std::filesystem::exists(program + ".out"); }, 10000)) << text;
        EXPECT_EQ(answer(), std::string("1[") + text + "]") << "started: " << text;
    }
    EXPECT_FALSE(processes.runAndWait(dir / "missing.exe", "x"));
}

TEST_F(ProcessesTest, AStartedProgramHoldsNothingOfOursOpen) {
    // A descriptor of ours without close-on-exec, as a listening socket or a
    // lock of a library may be.
    const int held = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(held, 3);
    const std::string lister = dir / "fds.exe";
    writeBytes(lister, "#!/bin/sh\nls /proc/$$/fd > \"$0.tmp\"; mv \"$0.tmp\" \"$0.out\"\n");
    std::filesystem::permissions(lister, std::filesystem::perms::owner_all);
    for (bool detached : {false, true}) {
        SCOPED_TRACE(detached ? "started" : "waited for");
        if (detached) {
            ASSERT_TRUE(processes.startDetached(lister, ""));
            ASSERT_TRUE(runEventsUntil([&] { return std::filesystem::exists(lister + ".out"); }, 10000));
        } else {
            ASSERT_TRUE(processes.runAndWait(lister, ""));
        }
        const std::string fds = readFileBytes(lister + ".out").value_or("");
        std::filesystem::remove(lister + ".out");
        // The shell's own: 0, 1, 2 and the one ls lists /proc with.
        EXPECT_EQ(fds.find("\n" + std::to_string(held) + "\n"), std::string::npos) << fds;
        EXPECT_NE(fds.find("2\n"), std::string::npos) << fds;
    }
    ::close(held);
}

}  // namespace
}  // namespace tovlo::test
