// The host policy under real input: no browser context menu, no browser
// shortcuts, no new windows, while typing and editing in page fields work.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <algorithm>

#include "desktop_input.h"

namespace tovlo::test {
namespace {

using HostPolicy = ViewTest;

const char* const kFieldPage =
    "<input id=\"f\" style=\"position:absolute; left:10px; top:10px; width:300px; height:30px\">"
    "<a id=\"l\" href=\"other.html\" target=\"_blank\""
    " style=\"position:absolute; left:10px; top:100px; font-size:40px\">link</a>"
    "<script>"
    "var f = document.getElementById('f');"
    "f.addEventListener('focus', function () { external.calls('f', 'focus'); });"
    "f.addEventListener('input', function () { external.calls('v', f.value); });"
    "document.addEventListener('keydown', function (e) {"
    "  external.calls('k', (e.ctrlKey ? 'ctrl+' : '') + (e.altKey ? 'alt+' : '') + e.key); });"
    "document.addEventListener('contextmenu', function () { external.calls('m', 'menu'); });"
    "</script>";

bool anyMenuShown() {
    if (QApplication::activePopupWidget()) return true;
    const auto tops = QApplication::topLevelWidgets();
    return std::any_of(tops.begin(), tops.end(), [](QWidget* w) { return w->isVisible() && qobject_cast<QMenu*>(w); });
}

int visibleWindows() {
    const auto tops = QApplication::topLevelWidgets();
    return static_cast<int>(std::count_if(tops.begin(), tops.end(), [](QWidget* w) { return w->isVisible(); }));
}

TEST_F(HostPolicy, TypingWorksWhileBrowserShortcutsDoNothing) {
    page("other.html", "<body onload=\"external.calls('t','loaded:other.html')\">other</body>");
    load("one.html", "one");
    load("two.html", kFieldPage);
    const std::string where = view->location();
    QWidget* web = viewWidget();
    ASSERT_TRUE(clickView(web, {20, 25}));
    ASSERT_TRUE(waitForCall("f", "focus"));

    // Typing and editing in the field.
    ASSERT_TRUE(typeText(QStringLiteral("abc")));
    ASSERT_TRUE(pressKeys({"Left", "BackSpace"}));
    ASSERT_TRUE(waitForCall("v", "ac"));
    QApplication::clipboard()->clear();
    ASSERT_TRUE(pressKeys({"ctrl+a", "ctrl+c", "End", "ctrl+v"}));
    ASSERT_TRUE(waitForCall("v", "acac"));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "ac");

    // Reload, find, history, new window, save, print, view source.
    const int windows = visibleWindows();
    ASSERT_TRUE(pressKeys({"F5", "ctrl+r", "ctrl+shift+r", "alt+Left", "alt+Right", "ctrl+f", "F3", "ctrl+n", "ctrl+t",
                           "ctrl+s", "ctrl+p", "ctrl+u", "ctrl+shift+i", "F12"}));
    ASSERT_TRUE(clickView(web, {400, 300}, 8));  // the mouse's back and forward buttons
    ASSERT_TRUE(clickView(web, {400, 300}, 9));
    ASSERT_TRUE(clickView(web, {20, 25}));
    ASSERT_TRUE(pressKeys({"End", "z"}));
    ASSERT_TRUE(waitForCall("v", "acacz"));
    // Outside a field too.
    ASSERT_TRUE(clickView(web, {400, 300}));
    ASSERT_TRUE(pressKeys({"BackSpace", "alt+Left", "F5"}));
    ASSERT_TRUE(waitFor([&] {
        const auto keys = textsOf("k");
        return std::count(keys.begin(), keys.end(), "F5") == 2;
    }));
    settle(800);

    EXPECT_EQ(textsOf("t"), (std::vector<std::string>{"loaded:one.html", "loaded:two.html"}));
    EXPECT_EQ(view->location(), where);
    EXPECT_EQ(visibleWindows(), windows);
    // The keys reached the page as ordinary key presses.
    const auto keys = textsOf("k");
    for (const char* k : {"F5", "ctrl+r", "alt+ArrowLeft", "ctrl+f", "ctrl+s", "ctrl+p", "ctrl+u", "Backspace"})
        EXPECT_NE(std::find(keys.begin(), keys.end(), k), keys.end()) << k;
}

TEST_F(HostPolicy, RightClickShowsNoMenuButReachesThePage) {
    load("menu.html", kFieldPage);
    ASSERT_TRUE(clickView(viewWidget(), {400, 300}, 3));
    ASSERT_TRUE(waitForCall("m", "menu"));
    ASSERT_TRUE(clickView(viewWidget(), {20, 25}, 3));  // over a field
    ASSERT_TRUE(waitFor([&] { return textsOf("m").size() == 2; }));
    settle(500);
    EXPECT_FALSE(anyMenuShown());
}

TEST_F(HostPolicy, PagesCannotOpenNewWindows) {
    page("other.html", "<body onload=\"external.calls('t','loaded:other.html')\">other</body>");
    load("windows.html", kFieldPage);
    const std::string where = view->location();
    const int windows = visibleWindows();
    view->runScript("window.open('other.html'); document.getElementById('l').click()");
    ASSERT_TRUE(clickView(viewWidget(), {40, 125}, 2));                          // middle click: a new tab
    ASSERT_TRUE(xdotool({"keydown", "ctrl", "click", "1", "keyup", "ctrl"}));    // ctrl+click
    ASSERT_TRUE(xdotool({"keydown", "shift", "click", "1", "keyup", "shift"}));  // shift+click: a new window
    view->runScript("external.calls('w', 'still here')");
    ASSERT_TRUE(waitForCall("w", "still here"));
    settle(800);
    EXPECT_EQ(textsOf("t"), (std::vector<std::string>{"loaded:windows.html"}));
    EXPECT_EQ(view->location(), where);
    EXPECT_EQ(visibleWindows(), windows);
}

}  // namespace
}  // namespace tovlo::test
