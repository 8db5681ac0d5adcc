// The Win32 desktop against the test chat window under Wine: what the
// tracking tick reads of the window in front, bringing a window to the front,
// and a face insertion whose Ctrl+V arrives in the chat window's input box.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "chat_window.h"
#include "core/debug_form.h"
#include "platform/fake/fake_platform.h"
#include "platform/win/win_desktop.h"
#include "platform/win/win_event_loop.h"
#include "qq/classify_window.h"
#include "qq/face_inserter.h"

namespace tovlo::test {

TEST(WinDesktop, ChatWindowsInFrontAreReadAndRecognised) {
    struct Row {
        std::string title;
        int width, height;
        ChatFlags flags;
    };
    const Row rows[] = {
        {"张三", 500, 600, {.is09 = true}},
        {"开发组 － 群", 640, 480, {.is08 = true, .isQun = true}},
        {"李四 - 正在输入...", 420, 560, {.is08 = true}},
        {"TXFloatingWnd", 300, 200, {}},
    };
    WinDesktop desktop;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        ChatWindow chat({row.title, "--size", std::to_string(row.width) + "x" + std::to_string(row.height)});
        ASSERT_NE(chat.window(), 0u);
        desktop.setForegroundWindow(chat.window());
        ASSERT_TRUE(waitUntil([&] { return desktop.foregroundWindow() == chat.window(); }));
        const std::string title = desktop.windowTitle(chat.window());
        const std::string className = desktop.windowClass(chat.window());
        EXPECT_EQ(title, row.title);
        EXPECT_EQ(className, "TXGuiFoundation");
        EXPECT_EQ(classifyWindow(className, title), row.flags);
        const Rect r = desktop.windowRect(chat.window());
        EXPECT_EQ(r.left, 100);
        EXPECT_EQ(r.top, 100);
        EXPECT_EQ(r.width, row.width) << "the outer frame, not the client area";
        EXPECT_EQ(r.height, row.height);
    }
}

TEST(WinDesktop, AClosedWindowReadsAsNothing) {
    WinDesktop desktop;
    WindowHandle gone = 0;
    {
        ChatWindow chat({"王五"});
        gone = chat.window();
        ASSERT_NE(gone, 0u);
        EXPECT_EQ(desktop.windowTitle(gone), "王五");
    }
    EXPECT_EQ(desktop.windowTitle(gone), "");
    EXPECT_EQ(desktop.windowClass(gone), "");
    const Rect r = desktop.windowRect(gone);
    EXPECT_EQ(r.width, 0);
    EXPECT_EQ(r.height, 0);
    desktop.setForegroundWindow(gone);  // ignored, as a failure is
    desktop.setForegroundWindow(0);
    EXPECT_NE(desktop.foregroundWindow(), gone);
}

TEST(WinDesktop, RaisingMovesTheFocusBetweenChatWindows) {
    WinDesktop desktop;
    ChatWindow first({"张三"});
    ChatWindow second({"李四"});
    ASSERT_NE(first.window(), 0u);
    ASSERT_NE(second.window(), 0u);
    for (const ChatWindow* chat : {&first, &second, &first}) {
        desktop.setForegroundWindow(chat->window());
        EXPECT_TRUE(waitUntil([&] { return desktop.foregroundWindow() == chat->window(); }))
            << desktop.windowTitle(chat->window()) << " did not come to the front";
    }
    const ScreenSize screen = desktop.screenSize();
    EXPECT_GT(screen.width, 0);
    EXPECT_GT(screen.height, 0);
    // A window half off the screen's right edge and one far outside it are
    // both on the one screen: its work area lies inside the screen.
    for (const Rect& window : {Rect{screen.width - 50, 10, 300, 200}, Rect{screen.width * 3, -900, 10, 10}}) {
        const Rect work = desktop.workArea(window);
        EXPECT_GT(work.width, screen.width / 2);
        EXPECT_GT(work.height, screen.height / 2);
        EXPECT_TRUE(work.left >= 0 && work.top >= 0 && work.right() <= screen.width && work.bottom() <= screen.height);
    }
}

// What a user sees: a face chosen while another window was in front lands
// in the chat window's input box, pasted by Control down, V down, Control
// up, V up, 250 ms after the command.
TEST(WinDesktop, AnInsertionPastesIntoTheChatWindowsInputBox) {
    WinDesktop desktop;
    WinEventLoop loop;
    FakePlatform fake;
    DebugForm debug(fake.platform);
    FaceInserter inserter(desktop, loop, debug);

    ChatWindow chat({"张三", "--copy-text", "表情 face"});
    ChatWindow other({"李四"});
    ASSERT_NE(chat.window(), 0u);
    ASSERT_NE(other.window(), 0u);
    desktop.setForegroundWindow(other.window());
    ASSERT_TRUE(waitUntil([&] { return desktop.foregroundWindow() == other.window(); }));

    ASSERT_TRUE(inserter.insert(chat.window()));
    EXPECT_FALSE(inserter.insert(chat.window())) << "a second command while the first is pending is dropped";
    runMessages(150);
    EXPECT_EQ(desktop.foregroundWindow(), chat.window()) << "the chat window comes to the front at once";
    EXPECT_EQ(chat.lines().size(), 1u) << "nothing typed before the paste time";
    ASSERT_TRUE(chat.waitForLine("pasted text 表情 face", 3000));
    EXPECT_FALSE(inserter.inputBusy());

    const std::string control = std::to_string(0x11), v = std::to_string(0x56);
    // The keys let go come in after the paste itself.
    EXPECT_TRUE(chat.waitForLine("key up " + v, 3000));
    std::vector<std::string> keys;
    for (const std::string& line : chat.lines())
        if (line.rfind("key ", 0) == 0) keys.push_back(line);
    EXPECT_EQ(keys,
              (std::vector<std::string>{"key down " + control, "key down " + v, "key up " + control, "key up " + v}));
    for (const std::string& line : other.lines()) EXPECT_EQ(line.rfind("key ", 0), std::string::npos) << line;
}

}  // namespace tovlo::test
