// The Win32 forms on the desktop beside the test chat window: the bar and a
// panel show and move without taking the keyboard from the chat window (in
// Wine, and under a window manager also in its record: x-focus.sh), a click
// on them takes it and reaches the logic, the bar's key colour is left out,
// and a dialog lays out its controls inside it, none over another.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "chat_window.h"
#include "platform/win/win_desktop.h"
#include "platform/win/win_form_controls.h"
#include "platform/win/win_forms.h"

namespace tovlo::test {
namespace {

HWND hwndOf(const Form& form) { return reinterpret_cast<HWND>(form.handle()); }

// A click in the middle of the control.
void click(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

TEST(WinForms, TheBarAndAPanelLeaveTheKeyboardWithTheChatWindowUntilClicked) {
    ChatWindow chat({"张三"});
    ASSERT_NE(chat.window(), 0u);
    WinDesktop desktop;
    desktop.setForegroundWindow(chat.window());
    ASSERT_TRUE(waitUntil([&] { return desktop.foregroundWindow() == chat.window(); }));

    WinForms forms;
    const WindowStyle quiet{.frameless = true, .topMost = true, .showsWithoutFocus = true};
    auto bar = forms.create(FormDescription("ButtomFrm", quiet).labels({"Label1"}));
    auto panel = forms.create(FormDescription("panel", quiet).buttons({"Command1"}));
    bar->setTransparentColour(0xFF00FF);
    bar->label("Label1").setText("表情");
    int clicks = 0;
    panel->button("Command1").setText("放入聊天框");
    panel->button("Command1").onClick = [&] { ++clicks; };
    // The tracking tick places and shows them again and again.
    const Rect chatRect = desktop.windowRect(chat.window());
    for (int tick = 0; tick < 5; ++tick) {
        bar->setGeometry({chatRect.left + tick, chatRect.bottom(), 80, 24});
        bar->show();
        panel->setGeometry({chatRect.right(), chatRect.top + tick, 200, 300});
        panel->show();
        runMessages(40);
    }
    EXPECT_TRUE(bar->isVisible() && panel->isVisible());
    EXPECT_EQ(panel->geometry(), (Rect{chatRect.right(), chatRect.top + 4, 200, 300}));
    EXPECT_EQ(desktop.foregroundWindow(), chat.window());
    keybd_event('A', 0, 0, 0);
    keybd_event('A', 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(chat.waitForLine("key down 65")) << "typing still reaches the chat window";
    // Under a window manager (x-focus.sh), its own record of the active
    // window is asked for too.
    if (const char* file = std::getenv("TOVLO_X_FOCUS")) {
        writeBytes(file, "shown");
        EXPECT_TRUE(waitUntil([&] { return readBytes(file) != "shown"; }, 10000));
        EXPECT_EQ(readBytes(file), "chat") << "the window manager's active window";
    }

    COLORREF key = 0;
    DWORD how = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(hwndOf(*bar), &key, nullptr, &how));
    EXPECT_EQ(key, RGB(255, 0, 255));
    EXPECT_TRUE(how & LWA_COLORKEY);

    click(controlNamed(hwndOf(*panel), "Command1"));
    EXPECT_TRUE(waitUntil([&] { return clicks == 1; }));
    EXPECT_TRUE(waitUntil([&] { return desktop.foregroundWindow() == panel->handle(); })) << "the user's click";
}

// The child windows of a window, each with its rectangle in the window's
// client area.
std::vector<std::pair<HWND, RECT>> shownChildren(HWND parent) {
    std::vector<std::pair<HWND, RECT>> out;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        out.push_back({child, r});
    }
    return out;
}

// A group's frame and a tab control are drawn round other controls.
bool holdsOthers(HWND control) {
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    if (wcscmp(kind, L"SysTabControl32") == 0) return true;
    return wcscmp(kind, L"Button") == 0 && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// Every shown control lies inside its container and beside the others.
void expectLaidOut(HWND parent) {
    RECT inside;
    GetClientRect(parent, &inside);
    const auto children = shownChildren(parent);
    for (const auto& [child, a] : children) {
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= inside.right && a.bottom <= inside.bottom)
            << "a control outside its container";
        EXPECT_GT(a.right - a.left, 0);
        for (const auto& [other, b] : children) {
            RECT both;
            if (other != child && !holdsOthers(child) && !holdsOthers(other)) {
                EXPECT_FALSE(IntersectRect(&both, &a, &b)) << "two controls over each other";
            }
        }
        expectLaidOut(child);
    }
}

TEST(WinForms, ADialogHoldsItsControlsInsideAndApart) {
    WinForms forms;
    auto dialog = forms.create(FormDescription("configForm", {.fixedSize = true})
                                   .tabs({"SSTab1"})
                                   .groups({"Frame1", "historyRow", "commands"})
                                   .labels({"Label1", "Label6", "Label7"})
                                   .optionButtons({"Option1", "Option2"})
                                   .dropDownLists({"historyNub"})
                                   .textBoxes({"facePath_text"})
                                   .buttons({"Command1", "Command2"}));
    Form& page = dialog->tabPage("SSTab1", "基本配置");
    Form& autoRun = page.group("Frame1", "开机运行");
    autoRun.optionButton("Option1").setText("开机自动运行");
    autoRun.optionButton("Option2").setText("开机不自动运行");
    page.textBox("facePath_text").setText("C:\\表情");
    Form& row = page.group("historyRow", "", Flow::Row);
    row.label("Label6").setText("保留");
    row.dropDownList("historyNub").addItem("24");
    row.label("Label7").setText("个表情");
    dialog->tabPage("SSTab1", "显示模式")
        .label("Label1")
        .setText("通过点击按钮显示，通过点击其他地方关闭、或者插入表情自动关闭，某种意义上类似QQ默认的表情显示方式");
    Form& commands = dialog->group("commands", "", Flow::Buttons);
    commands.button("Command1").setText("保存");
    commands.button("Command2").setText("放弃");
    dialog->setSize(200, 100);  // smaller than its content
    dialog->show();
    runMessages(50);
    const Rect at = dialog->geometry();
    EXPECT_GT(at.width, 200);
    EXPECT_GT(at.height, 100);
    expectLaidOut(hwndOf(*dialog));
    dialog->hide();
}

}  // namespace
}  // namespace tovlo::test
