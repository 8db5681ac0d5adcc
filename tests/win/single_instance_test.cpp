// One running copy per program folder: a named mutex, checked across
// processes (the test chat window can hold it) and across spellings of the
// same folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chat_window.h"
#include "platform/win/win_single_instance.h"

namespace tovlo::test {

TEST(MutexInstance, ASecondCopyInTheSameFolderIsRefused) {
    const std::string folder = "C:\\Tovlo Test\\程序";
    ChatWindow first({"张三", "--instance", folder});
    ASSERT_TRUE(first.waitForLine("instance held"));
    ChatWindow second({"李四", "--instance", folder});
    EXPECT_TRUE(second.waitForLine("instance refused"));
    ChatWindow elsewhere({"王五", "--instance", "C:\\Other\\程序"});
    EXPECT_TRUE(elsewhere.waitForLine("instance held")) << "another program folder runs its own copy";

    // Every spelling of the folder is the same folder.
    for (const std::string spelling :
         {folder.c_str(), "c:\\tovlo test\\程序\\", "C:/Tovlo Test/程序", "C:\\Tovlo Test\\.\\程序"}) {
        SCOPED_TRACE(spelling);
        MutexInstance here(spelling);
        EXPECT_FALSE(here.acquire());
    }
}

TEST(MutexInstance, TheLockGoesWithTheProcessThatHeldIt) {
    const std::string folder = "C:\\Tovlo\\ends";
    {
        ChatWindow holder({"张三", "--instance", folder});
        ASSERT_TRUE(holder.waitForLine("instance held"));
        EXPECT_FALSE(MutexInstance(folder).acquire());
    }  // killed, not ended in order: the system still lets go
    auto here = std::make_unique<MutexInstance>(folder);
    EXPECT_TRUE(here->acquire());
    EXPECT_TRUE(here->acquire()) << "asking again keeps it";
    ChatWindow late({"李四", "--instance", folder});
    EXPECT_TRUE(late.waitForLine("instance refused"));
    here.reset();
    ChatWindow after({"王五", "--instance", folder});
    EXPECT_TRUE(after.waitForLine("instance held"));
}

}  // namespace tovlo::test
