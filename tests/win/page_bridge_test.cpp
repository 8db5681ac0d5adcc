// The pages' bridge object for the browser control, driven by Wine's
// JScript as a page's script drives it: a call runs as a command of the
// program and returns when it has run, a failed command is an exception in
// the script with the command's message, and a call that comes while a
// command runs waits its turn.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "jscript.h"
#include "platform/commands.h"
#include "platform/win/win_page_bridge.h"

namespace tovlo::test {
namespace {

TEST(WinPageBridge, PageCallsRunAsCommandsOneAtATime) {
    std::vector<std::string> ran;
    WinPageBridge* bridge = WinPageBridge::create();
    bridge->setHandler([&](const std::string& webName, const std::string& text) {
        if (text == "nothing||-") throw std::runtime_error("没有这个命令");
        EXPECT_TRUE(Commands::running()) << "a call runs as a command";
        ran.push_back(webName + " " + text);
    });
    JScript page;
    page.add(L"external", bridge);
    bridge->Release();

    struct Row {
        const char* script;
        std::string result;  // what the script gives (a prefix for errors)
        std::vector<std::string> ran;
    };
    const Row rows[] = {
        {"external.calls('web', 'into||-')", "undefined", {"web into||-"}},
        {"external.calls('addWeb', 'upload||表情 1')", "undefined", {"addWeb upload||表情 1"}},
        {"external.calls('web', 7)", "undefined", {"web 7"}},
        {"(function () { try { external.calls('web', 'nothing||-'); return 'went on'; }"
         " catch (e) { return e.message; } })()",
         "没有这个命令",
         {}},
        {"external.calls('web')", "error: ", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.script);
        ran.clear();
        EXPECT_EQ(page.value(row.script).substr(0, row.result.size()), row.result);
        EXPECT_EQ(ran, row.ran);
    }

    ran.clear();
    {
        Commands::Scope waiting;  // a command of the program waits (a message box, say)
        EXPECT_EQ(page.value("external.calls('web', 'first||-'); external.calls('web', 'second||-'); 'back'"), "back");
        EXPECT_TRUE(ran.empty()) << "the calls wait for the running command";
    }
    EXPECT_EQ(ran, (std::vector<std::string>{"web first||-", "web second||-"}));

    // A page the program does not trust gets an error.
    ran.clear();
    bridge->setPageCheck([] { return false; });
    EXPECT_EQ(
        page.value("(function () { try { external.calls('web', 'into||-'); } catch (e) { return e.message; } })()"),
        "这个页面不能调用程序");
    EXPECT_TRUE(ran.empty());
    bridge->setPageCheck({});

    // The view went; its page may still call.
    bridge->setHandler({});
    EXPECT_EQ(page.value("external.calls('web', 'into||-')"), "undefined");
}

}  // namespace
}  // namespace tovlo::test
