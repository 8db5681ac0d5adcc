// window.external.calls from real pages reaches the view's handler, and the
// page's promise tells how the host took it.
#include <stdexcept>

#include "view_fixture.h"

namespace tovlo::test {
namespace {

using PageCalls = ViewTest;

TEST_F(PageCalls, OnloadAndInlineCallsArriveExactlyAndInTheOrderMade) {
    // Inline calls run before the page's channel is connected; they wait and
    // go out in order, before the onload call.
    load("calls.html",
         "<script>"
         "for (var i = 1; i <= 5; ++i) external.calls('web', 'inline' + i);"
         "</script>",
         "<script>external.calls('web', 'head||中文 \"引号\" \\'单\\' || 二||');</script>");
    const std::vector<PageCall> expected = {{"web", "head||中文 \"引号\" '单' || 二||"},
                                            {"web", "inline1"},
                                            {"web", "inline2"},
                                            {"web", "inline3"},
                                            {"web", "inline4"},
                                            {"web", "inline5"},
                                            {"t", "loaded:calls.html"}};
    EXPECT_EQ(calls, expected);
}

// The promise resolves after the handler ran and rejects with the text of
// the exception the handler threw.
TEST_F(PageCalls, PromiseRejectsWithTheHandlersErrorText) {
    onCall = [](const std::string&, const std::string& text) {
        if (text == "fail||x") throw std::runtime_error("命令失败: x");
    };
    load("promise.html",
         "<script>"
         "function report(what) { return function (e) { external.calls('r', what + (e === undefined ? '' : e)); }; }"
         "external.calls('web', 'fail||x').then(report('resolved'), report('rejected:'));"
         "external.calls('web', 'fine||y').then(report('resolved'), report('rejected:'));"
         "</script>");
    ASSERT_TRUE(waitFor([&] { return textsOf("r").size() == 2; }));
    EXPECT_EQ(textsOf("r"), (std::vector<std::string>{"rejected:命令失败: x", "resolved"}));
    EXPECT_EQ(textsOf("web"), (std::vector<std::string>{"fail||x", "fine||y"}));
}

// A page's command may close the window that shows the page (a panel that
// ends itself); the view goes away once the call has returned.
TEST_F(PageCalls, HandlerMayDestroyTheViewWhoseCallItAnswers) {
    bool closed = false;
    onCall = [&](const std::string&, const std::string& text) {
        if (text != "close||-") return;
        form.reset();
        closed = true;
    };
    load("close.html",
         "<script>setTimeout(function () {"
         "  external.calls('web', 'close||-'); external.calls('web', 'after||-'); }, 50);</script>");
    ASSERT_TRUE(waitFor([&] { return closed; }));
    settle(300);
    EXPECT_EQ(textsOf("web"), (std::vector<std::string>{"close||-"}));
}

}  // namespace
}  // namespace tovlo::test
