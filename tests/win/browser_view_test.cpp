// The system's browser control in our own container under Wine, which has
// no page engine here (no document ever loads): the control comes up in
// place in a form and asks for our handler of the page's interface, a
// navigation is accepted and keeps the address the program gave, the view
// is placed and hidden like a control, and a script with no page to run in
// fails as a script error.
#include <gtest/gtest.h>

#include "chat_window.h"
#include "platform/win/win_browser_view.h"

namespace tovlo::test {
namespace {

TEST(WinBrowserView, TheControlComesUpInPlaceInAForm) {
    WinForms forms{makeWinFormView};
    auto form = forms.create(FormDescription("mainForm").browserViews({"WebBrowser1"}));
    form->setGeometry({100, 100, 320, 240});
    form->show();
    BrowserView& view = form->browserView("WebBrowser1");
    runMessages(200);
    EXPECT_TRUE(static_cast<WinBrowserView&>(view).handlerAsked());

    view.navigate("C:\\Tovlo\\w\\main.html?v=3");
    EXPECT_EQ(view.location(), "C:\\Tovlo\\w\\main.html?v=3");
    view.setGeometry({6, 32, 200, 100});
    EXPECT_EQ(view.geometry(), (Rect{6, 32, 200, 100}));
    view.setVisible(false);
    EXPECT_FALSE(view.isVisible());
    view.stop();
    EXPECT_THROW(view.runScript("document.title"), ScriptError);
}

}  // namespace
}  // namespace tovlo::test
