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

    // A pack "grid" beside "flowers": twelve faces fill rows 1 and 2 of a
    // sheet of three rows.
    std::string makeGrid() {
        const std::string faceFolder = makeFlowers();
        std::vector<PackFace> faces;
        for (int i = 0; i < 12; ++i) faces.push_back({i / 6 + 1, i % 6 + 1, ".gif", QColor::fromHsv(i * 30, 160, 240)});
        const int height = makePack(faceFolder + "/grid", faces);
        instantiate("templates/faceMain.html", faceFolder + "/grid/main.html",
                    {{"{{pathName}}", "grid"}, {"{{cellDivHeight}}", std::to_string(height)}});
        return faceFolder;
    }

    static constexpr const char* kPack = "document.getElementById('packFrame').contentDocument";

    // The top left corner of a cell of the pack page's sheet, in view coordinates.
    QPoint cellCorner(int row, int column) {
        const QPoint centre = centreOf(std::string(kPack) + ".getElementById('sheet')");
        const int height = std::stoi(evaluate(std::string(kPack) + ".getElementById('sheet').offsetHeight"));
        return {centre.x() - 90 + (column - 1) * 30, centre.y() - height / 2 + (row - 1) * 30};
    }

    // The selected cell the pack page shows, "row,column", or "none".
    std::string selection() {
        return evaluate(
            "(function (m) { return m.hidden ? 'none' : (parseInt(m.style.top, 10) / 30 + 1) + ','"
            " + (parseInt(m.style.left, 10) / 30 + 1); })(" +
            std::string(kPack) + ".getElementById('marker'))");
    }

    // Whether the view shows the selection's orange edge on the cell: a
    // pixel just inside its left edge, where a face leaves white.
    static bool edgeDrawn(const QImage& image, QPoint corner) {
        return similar(image.pixelColor(corner + QPoint(1, 8)), QColor(0xf0, 0x80, 0x1e));
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

// Keyboard in the face panel: Tab passes the tabs' close buttons into the
// faces; there, and after a click into the pack page, the arrow keys move a
// selection the user can see over the sheet's grid and Enter inserts the
// selected face as a click does.
TEST_F(MainPage, KeyboardMovesAVisibleSelectionOverThePackAndEnterInsertsIt) {
    const std::string faces = makeGrid();
    view->runScript("changeClass('grid','" + faces + "'); changeClass('flowers','" + faces + "')");
    ASSERT_TRUE(mouseClick(centreOf("document.querySelector('.tab:nth-child(1) .name')")));
    ASSERT_TRUE(waitForPage(std::string(kPack) + ".title === 'grid' && " + kPack + ".getElementById('sheet')"));
    ASSERT_TRUE(pressKeys({"Tab"}));
    EXPECT_TRUE(
        waitForPage("document.activeElement.className === 'name' &&"
                    " document.activeElement.textContent === 'flowers'"))
        << evaluate("document.activeElement.outerHTML");
    ASSERT_TRUE(pressKeys({"Tab", "Right"}));  // the first arrow selects the first cell
    EXPECT_TRUE(waitFor([&] { return selection() == "1,1"; }, 3000))
        << selection() << " " << evaluate("document.activeElement.outerHTML");

    // A click on a face inserts it and selects it; the mouse then rests on the toolbar.
    ASSERT_TRUE(mouseClick(cellCorner(1, 2) + QPoint(15, 15)));
    ASSERT_TRUE(waitForCall("web", "inputFaceAndHistory||" + fileUrl(faces + "/grid/1-2.gif")));
    ASSERT_TRUE(mouseMove({300, 15}));
    struct Move {
        QStringList keys;
        int row, column;
    };
    const std::vector<Move> moves = {
        {{"Down", "Right", "Right"}, 2, 4},
        {{"Right", "Right", "Right"}, 2, 6},                               // stops at the last column
        {{"Up", "Up"}, 1, 6},                                              // and the first row
        {{"Down", "Down", "Down"}, 3, 6},                                  // and the sheet's last row
        {{"Left", "Left", "Left", "Left", "Left", "Left", "Left"}, 3, 1},  // and the first column
        {{"Up"}, 2, 1},
    };
    QPoint before = cellCorner(1, 2);
    for (const Move& m : moves) {
        const std::string where = std::to_string(m.row) + "," + std::to_string(m.column);
        ASSERT_TRUE(pressKeys(m.keys));
        EXPECT_TRUE(waitFor([&] { return selection() == where; }, 3000)) << where << " shows " << selection();
        const QPoint corner = cellCorner(m.row, m.column);
        QImage image;
        EXPECT_TRUE(waitFor([&] { return edgeDrawn(image = viewWidget("web")->grab().toImage(), corner); }, 3000))
            << "no visible selection at " << where;
        EXPECT_FALSE(edgeDrawn(image, before)) << "the selection stayed drawn before " << where;
        before = corner;
    }
    calls.clear();
    clearClipboard();
    ASSERT_TRUE(pressKeys({"Return"}));
    ASSERT_TRUE(waitForCall("web", "inputFaceAndHistory||" + fileUrl(faces + "/grid/2-1.gif")));
    EXPECT_TRUE(similar(clipboardImage().pixelColor(24, 24), QColor::fromHsv(180, 160, 240)));
    EXPECT_EQ(textsOf("web").size(), 1u);
    EXPECT_EQ(evaluate("document.querySelectorAll('.tab').length"), "2");

    // A click beside the faces gives the keys back, the selection where it was.
    ASSERT_TRUE(mouseClick(centreOf(std::string(kPack) + ".querySelector('header .name')")));
    ASSERT_TRUE(pressKeys({"Up"}));
    EXPECT_TRUE(waitFor([&] { return selection() == "1,1"; }, 3000)) << selection();
    // Back on a tab, Delete closes it.
    ASSERT_TRUE(pressKeys({"shift+Tab", "Delete"}));
    EXPECT_TRUE(waitForPage("document.querySelectorAll('.tab').length === 1"));
    EXPECT_EQ(evaluate("document.querySelector('.tab .name').textContent"), "grid");
}

// The footer's status line tells in fitting words that the face is in the
// chat's input box, once, and is emptied whenever the view changes.
TEST_F(MainPage, StatusLineTellsOfTheInsertionUntilTheViewChanges) {
    const std::string faces = makeGrid();
    view->runScript(
        "setNullMain([{},{id:'7',name:'demo'}]);"
        "changeClass('grid','" +
        faces + "'); changeClass('flowers','" + faces + "')");
    ASSERT_TRUE(mouseClick(centreOf("document.getElementById('status')")));  // the page has the focus
    const std::string insert = "insertFace(" + jsString(fileUrl(faces + "/flowers/1-1.gif")) + ")";
    const std::string status = "document.getElementById('status').textContent";

    const std::vector<std::pair<std::string, std::string>> changes = {
        {"another tab", "document.querySelector('.tab:nth-child(1) .name').click()"},
        {"a pack the program shows", "changeClass('flowers','" + faces + "')"},
        {"the history", "history()"},
        {"the history button", "document.getElementById('btnHistory').click()"},
        {"the catalogue", "document.getElementById('btnSelect').click()"},
        {"the account's faces", "document.getElementById('btnMine').click()"},
        {"the add-face panel", "document.getElementById('btnAdd').click()"},
        {"a plug-in", "document.querySelector('#plusMenu button').click()"},
        {"closing the tab", "document.querySelector('.tab.active .close').click()"},
    };
    for (const auto& [change, script] : changes) {
        view->runScript(insert);
        EXPECT_TRUE(waitForPage(status + " === '已放入聊天输入框'")) << change << ": " << evaluate(status);
        EXPECT_EQ(evaluate("document.body.innerText.split('已放入聊天输入框').length"), "2") << change;
        view->runScript(script);
        EXPECT_EQ(evaluate(status), "") << change;
    }

    // News of an insertion that arrives after the view changed is dropped.
    calls.clear();
    view->runScript(insert + "; document.getElementById('btnMine').click()");
    ASSERT_TRUE(waitForCall("web", "inputFaceAndHistory||" + fileUrl(faces + "/flowers/1-1.gif")));
    settle(300);
    EXPECT_EQ(evaluate(status), "");
}

}  // namespace
}  // namespace tovlo::test
