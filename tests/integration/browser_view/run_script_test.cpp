// runScript evaluates code in the page's global scope, in call order, waits
// for it, and turns script failures into ScriptError.
#include <QWebEnginePage>
#include <QWebEngineView>

#include "core/functions.h"
#include "desktop_input.h"

namespace tovlo::test {
namespace {

using RunScript = ViewTest;

const char* const kReporter =
    "<script>function report(x) { document.title = String(x); external.calls('r', String(x)); }</script>";

std::string scriptError(BrowserView& view, const std::string& code) {
    try {
        view.runScript(code);
    } catch (const ScriptError& e) {
        return e.what();
    }
    return "no error";
}

TEST_F(RunScript, DefinedFunctionsRunAndDeclarationsBecomeGlobal) {
    load("run.html", kReporter);
    view->runScript("report('一')");
    view->runScript("var g = 41; function twice(v) { return v * 2; }");
    view->runScript("report(twice(g) + 1 + ':' + document.title)");
    ASSERT_TRUE(waitFor([&] { return textsOf("r").size() == 2; }));
    EXPECT_EQ(textsOf("r"), (std::vector<std::string>{"一", "83:一"}));
}

// Values that would end or bend a hand-built literal reach the page function
// exactly as they are, and nothing of them runs as script.
TEST_F(RunScript, EveryArgumentArrivesExactlyAsItWas) {
    load("args.html",
         "<script>var ran = 0; function two(a, b) { external.calls('a', a); external.calls('b', b); }</script>");
    const std::vector<std::string> values = {
        "it's",
        "x');ran=1;('",
        "a\\'b",
        "\"quoted\"",
        "line\r\nbreak",
        "</script><script>ran=1</script>",
        "tab\tbell\x07 nul-free",
        "sep\xE2\x80\xA8"
        "ara\xE2\x80\xA9",
        "C:\\faces\\hot",
        "表情 😀",
    };
    for (const std::string& value : values) callPageFunction(*view, "two", {value, "second " + value});
    ASSERT_TRUE(waitFor([&] { return textsOf("b").size() == values.size(); }));
    EXPECT_EQ(textsOf("a"), values);
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(textsOf("b")[i], "second " + values[i]);
    view->runScript("external.calls('ran', String(ran))");
    ASSERT_TRUE(waitFor([&] { return textsOf("ran").size() == 1; }));
    EXPECT_EQ(textsOf("ran")[0], "0") << "no value ran as script";
}

TEST_F(RunScript, MissingFunctionsAndThrowsRaiseScriptErrorWithTheirText) {
    load("errors.html", kReporter);
    EXPECT_NE(scriptError(*view, "changeClass('hot','/x')").find("changeClass is not defined"), std::string::npos);
    EXPECT_NE(scriptError(*view, "report.missing()").find("report.missing is not a function"), std::string::npos);
    EXPECT_NE(scriptError(*view, "throw new Error('坏了')").find("坏了"), std::string::npos);
    EXPECT_NE(scriptError(*view, "report(").find("SyntaxError"), std::string::npos);
    // The page is unharmed and the scripts before a failure did run.
    EXPECT_EQ(scriptError(*view, "report('before'); nothing();").find("no error"), std::string::npos);
    view->runScript("report('still fine')");
    ASSERT_TRUE(waitFor([&] { return textsOf("r").size() == 2; }));
    EXPECT_EQ(textsOf("r"), (std::vector<std::string>{"before", "still fine"}));
}

// Scripts and the page's calls keep their order, also when the host answers
// a page call by running a script in the same page (nested, events running).
TEST_F(RunScript, ScriptsAndCallsKeepTheirOrder) {
    load("order.html", kReporter);
    onCall = [&](const std::string& webName, const std::string& text) {
        if (webName == "web" && text == "ask||-") view->runScript("report('answer')");
    };
    for (int i = 1; i <= 20; ++i) view->runScript("report(" + std::to_string(i) + ")");
    view->runScript("external.calls('web', 'ask||-'); report('after ask')");
    ASSERT_TRUE(waitFor([&] { return textsOf("r").size() == 22; }));
    std::vector<std::string> expected;
    for (int i = 1; i <= 20; ++i) expected.push_back(std::to_string(i));
    expected.push_back("after ask");
    expected.push_back("answer");
    EXPECT_EQ(textsOf("r"), expected);
}

// A script run from a queued call that the engine's own work posted (here
// a title change), while another script waits: the engine must keep going.
TEST_F(RunScript, ScriptsFromQueuedCallsAreNotHeldBack) {
    load("queued.html", kReporter);
    auto* page = qobject_cast<QWebEngineView*>(viewWidget())->page();
    int inner = 0;
    QObject::connect(
        page, &QWebEnginePage::titleChanged, page,
        [&](const QString& title) {
            if (!title.startsWith(QStringLiteral("outer"))) return;
            try {
                view->runScript("external.calls('r', 'inner')");
                ++inner;
            } catch (const ScriptError& e) {
                ADD_FAILURE() << e.what();
            }
        },
        Qt::QueuedConnection);
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        view->runScript("report('outer" + std::to_string(i) + "')");
        ASSERT_TRUE(waitFor([&] { return inner == i + 1; }));
        EXPECT_LT(clock.elapsed(), 3000);
    }
}

TEST_F(RunScript, ScriptRightAfterNavigateReachesTheNewPage) {
    load("first.html", "<script>function whoami() { external.calls('r', 'first'); }</script>");
    const std::string second = page("second.html",
                                    "<html><body><script>"
                                    "function whoami() { external.calls('r', 'second:' + location.search); }"
                                    "</script><img src=\"missing.gif\"></body></html>");
    view->navigate(second + "?v=3");
    view->runScript("whoami()");
    ASSERT_TRUE(waitFor([&] { return !textsOf("r").empty(); }));
    EXPECT_EQ(textsOf("r"), (std::vector<std::string>{"second:?v=3"}));
    EXPECT_EQ(view->location(), second + "?v=3");
}

}  // namespace
}  // namespace tovlo::test
