// The face panel w/main.html: its toolbar commands, plug-in list, pack tabs,
// history view and the insertion of a face clicked in a pack page.
#include "face_files.h"
#include "page_fixture.h"

namespace tovlo::test {
namespace {

class MainPage : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        show(programFile("w/main.html?v=1.2"));
        ASSERT_TRUE(waitForCall("web", "htmlLoadOver||-"));
        // Tabs of earlier tests are kept by the page; start without any.
        view->runScript("localStorage.clear()");
        show(programFile("w/main.html?v=1.2"));
        calls.clear();
    }

    // A pack folder "flowers" under the face folder, with its page.
    std::string makeFlowers() {
        const std::string faceFolder = dir / "faces";
        const int height = makePack(faceFolder + "/flowers", {{1, 1, ".gif", QColor(255, 200, 40)},
                                                              {1, 2, ".jpg", QColor(120, 200, 90)},
                                                              {1, 3, ".jpg", QColor(230, 110, 90)}});
        instantiate("templates/faceMain.html", faceFolder + "/flowers/main.html",
                    {{"{{pathName}}", "flowers"}, {"{{cellDivHeight}}", std::to_string(height)}});
        writeBytes(faceFolder + "/cell.gif", readBytes(programFile("w/cell.gif")));
        return faceFolder;
    }
};

TEST_F(MainPage, DefinesTheFunctionsTheProgramCalls) {
    expectFunctions({"changeClass", "history", "setHistoryImg", "setNullMain", "exitFun"});
}

TEST_F(MainPage, ToolbarButtonsSendTheirCommandsAndFitTheTopStrip) {
    const std::vector<std::pair<std::string, std::string>> buttons = {
        {"#btnSelect", "showSelect||-"}, {"#btnMine", "showMySelect||-"}, {"#btnHistory", "history||-"},
        {"#btnAdd", "addFace||-"},       {"#btnConfig", "config||-"},     {"#btnExit", "exitFun||没有分类"}};
    for (const auto& [selector, command] : buttons) {
        calls.clear();
        click(selector);
        EXPECT_TRUE(waitForCall("web", command)) << selector;
        EXPECT_EQ(textsOf("web"), std::vector<std::string>{command}) << selector;
    }
    // The catalogue and account views cover everything below 30 px, and the
    // window is 360 px wide: every toolbar control must lie inside that strip.
    EXPECT_EQ(evaluate("innerWidth + 'x' + innerHeight"), "360x520");
    EXPECT_EQ(evaluate("Array.prototype.filter.call(document.querySelectorAll('#toolbar button'), function (b) {"
                       " var r = b.getBoundingClientRect(); return r.top < 0 || r.bottom > 30 || r.right > 360;"
                       "}).length"),
              "0");
}

TEST_F(MainPage, PluginMenuListsThePluginsAndOpensTheChosenOne) {
    view->runScript("setNullMain([{},{id:'7',name:'demo'},{id:'9',name:'颜文字'}])");
    click("#btnPlus");
    EXPECT_EQ(evaluate("Array.prototype.map.call(document.querySelectorAll('#plusMenu button'),"
                       " function (b) { return b.textContent; }).join(',')"),
              "demo,颜文字");
    EXPECT_TRUE(holds("!document.getElementById('plusMenu').hidden"));
    click("#plusMenu button:nth-child(2)");
    ASSERT_TRUE(waitForCall("web", "loadPlus||9"));
    EXPECT_TRUE(holds("document.getElementById('plusMenu').hidden"));

    // The list of no plug-in holds the empty object alone.
    view->runScript("setNullMain([{}])");
    EXPECT_EQ(evaluate("document.querySelectorAll('#plusMenu button').length"), "0");
}

TEST_F(MainPage, ChangeClassShowsThePackPageAndKeepsTabs) {
    const std::string faces = makeFlowers();
    view->runScript("changeClass('flowers','" + faces + "')");
    ASSERT_TRUE(waitForPage("document.getElementById('packFrame').contentDocument.getElementById('sheet')"));
    EXPECT_EQ(evaluate("document.getElementById('packFrame').contentWindow.location.href.split('?')[0]"),
              fileUrl(faces + "/flowers/main.html"));

    // A Windows face folder gives a drive-letter URL with three slashes.
    view->runScript("changeClass('hot','C:/Tovlo/w')");
    EXPECT_EQ(evaluate("document.getElementById('packFrame').getAttribute('src').split('?')[0]"),
              "file:///C:/Tovlo/w/hot/main.html");
    EXPECT_EQ(evaluate("Array.prototype.map.call(document.querySelectorAll('.tab .name'),"
                       " function (b) { return b.textContent; }).join(',')"),
              "flowers,hot");

    calls.clear();
    view->runScript("exitFun()");
    ASSERT_TRUE(waitForCall("web", "exitFun||hot"));

    // Tabs switch packs, survive a reload of the page, and close.
    click(".tab:nth-child(1) .name");
    EXPECT_TRUE(holds("document.querySelector('.tab.active .name').textContent === 'flowers'"));
    show(programFile("w/main.html?v=1.2"));
    EXPECT_EQ(evaluate("document.querySelectorAll('.tab').length"), "2");
    EXPECT_TRUE(holds("document.getElementById('packFrame').getAttribute('data-pack') === 'flowers'"));
    click(".tab:nth-child(1) .close");
    click(".tab:nth-child(1) .close");
    EXPECT_EQ(evaluate("document.querySelectorAll('.tab').length"), "0");
    EXPECT_TRUE(holds("!document.getElementById('emptyView').hidden"));
    calls.clear();
    view->runScript("exitFun()");
    ASSERT_TRUE(waitForCall("web", "exitFun||没有分类"));
}

TEST_F(MainPage, HistoryShowsTheReferencesNewestFirstAndClears) {
    const std::string faces = makeFlowers();
    view->runScript("history()");
    ASSERT_TRUE(waitForCall("web", "getHistoryImg||-"));
    EXPECT_TRUE(holds("!document.getElementById('historyView').hidden"));

    const std::string a = fileUrl(faces + "/flowers/1-1.gif");
    const std::string b = fileUrl(faces + "/flowers/1-2.jpg");
    view->runScript("setHistoryImg(',||" + a + "||" + b + "')");
    EXPECT_EQ(evaluate("Array.prototype.map.call(document.querySelectorAll('#historyGrid img'),"
                       " function (i) { return i.src; }).join(' ')"),
              a + " " + b);
    EXPECT_TRUE(waitForPage("document.querySelector('#historyGrid img').naturalWidth === 48"));

    click("#btnClearHistory");
    ASSERT_TRUE(waitForCall("web", "clearHistory||-"));
    view->runScript("setHistoryImg(',')");
    EXPECT_EQ(evaluate("document.querySelectorAll('#historyGrid img').length"), "0");
    EXPECT_TRUE(holds("!document.getElementById('historyEmpty').hidden"));
}

// A face clicked with the mouse in the pack page lands on the clipboard as a
// picture before the program is asked to paste it.
TEST_F(MainPage, ClickedFaceIsCopiedAsPictureThenInserted) {
    const std::string faces = makeFlowers();
    view->runScript("changeClass('flowers','" + faces + "')");
    ASSERT_TRUE(waitForPage("document.getElementById('packFrame').contentDocument.getElementById('sheet')"));
    const QPoint sheet = centreOf("document.getElementById('packFrame').contentDocument.getElementById('sheet')");
    // Cell row 1, column 2 (a JPEG face): 45 px right of the sheet's left edge.
    const QPoint cell(sheet.x() - 90 + 45, sheet.y() - 30 + 15);
    clearClipboard();
    ASSERT_TRUE(mouseClick(cell));
    const std::string ref = fileUrl(faces + "/flowers/1-2.jpg");
    ASSERT_TRUE(waitForCall("web", "inputFaceAndHistory||" + ref));
    EXPECT_EQ(clipboardImage().size(), QSize(48, 48));

    // From history, the same face goes the same way.
    view->runScript("setHistoryImg(',||" + fileUrl(faces + "/flowers/1-3.jpg") + "')");
    calls.clear();
    clearClipboard();
    ASSERT_TRUE(mouseClick(centreOf("document.querySelector('#historyGrid .face')")));
    ASSERT_TRUE(waitForCall("web", "inputFaceAndHistory||" + fileUrl(faces + "/flowers/1-3.jpg")));
    EXPECT_TRUE(similar(clipboardImage().pixelColor(24, 24), QColor(230, 110, 90)));
}

}  // namespace
}  // namespace tovlo::test
