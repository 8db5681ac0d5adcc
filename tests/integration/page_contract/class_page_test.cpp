// One page of an account's class, made from templates/myFaceOneClass.html:
// the listing shown as thumbnails, paging, going back, setImg and insertion.
#include "face_files.h"
#include "page_fixture.h"

namespace tovlo::test {
namespace {

class ClassPage : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        account = dir / "w/CustomFace/demo";
        saveFace(drawFace(QColor(250, 180, 60), 30), account + "/12/s_1.gif");
        saveFace(drawFace(QColor(250, 180, 60), 64), account + "/12/1.gif");
        saveFace(drawFace(QColor(100, 190, 120), 64), account + "/12/2.gif");  // its thumbnail is missing
    }

    // Writes the class page as the program does and shows it.
    void showPage(const std::string& listing, const std::string& page = "2") {
        const std::string file = account + "/12/" + page + ".html";
        instantiate("templates/myFaceOneClass.html", file,
                    {{"{{str}}", listing},
                     {"{{path}}", fileUrl(account)},
                     {"{{userName}}", "demo"},
                     {"{{plus}}", "[{},{id:'7',name:'demo'}]"}});
        show(file);
    }

    std::string account;
};

TEST_F(ClassPage, TemplateHoldsItsPlaceholders) {
    const std::string text = readBytes(programFile("templates/myFaceOneClass.html"));
    for (const char* p : {"{{str}}", "{{plus}}", "{{path}}", "{{userName}}"})
        EXPECT_NE(text.find(p), std::string::npos) << p;
}

TEST_F(ClassPage, ShowsTheListingAndPagesThroughTheClass) {
    showPage("开心||12/s_1.gif$$12/1.gif||12/s_2.gif$$12/2.gif--2,3");
    expectFunctions({"setImg"});
    EXPECT_EQ(evaluate("document.getElementById('className').textContent"), "开心");
    EXPECT_EQ(evaluate("document.querySelectorAll('#grid .face').length"), "2");
    EXPECT_EQ(evaluate("document.querySelector('#grid img').src"), fileUrl(account + "/12/s_1.gif"));

    const std::vector<std::pair<std::string, std::string>> buttons = {
        {"#pager .page:first-child", "showMyOneClassFaces||12--1"},
        {"#pager .page:last-child", "showMyOneClassFaces||12--3"},
        {"#btnBack", "web3returnasdg||-"},
        {"#plusBar button", "loadPlus||7"}};
    for (const auto& [selector, command] : buttons) {
        calls.clear();
        click(selector);
        EXPECT_TRUE(waitForCall("web", command)) << selector;
    }
    // The current page's own number does nothing.
    calls.clear();
    click("#pager .page[aria-current='page']");
    settle(300);
    EXPECT_TRUE(textsOf("web").empty());
}

TEST_F(ClassPage, MissingThumbnailAsksForTheLargeImageThroughSetImg) {
    showPage("开心||12/s_1.gif$$12/1.gif||12/s_2.gif$$12/2.gif--2,3");
    ASSERT_TRUE(waitForCall("web", "downAndShowOneFace||12/s_2.gif--12/2.gif"));
    // The program answers downAndShowOneFace||a--b with setImg('b','a').
    view->runScript("setImg('12/2.gif','12/s_2.gif')");
    ASSERT_TRUE(waitForPage("document.querySelectorAll('#grid img')[1].naturalWidth === 64"));
    EXPECT_EQ(evaluate("document.querySelectorAll('#grid img')[1].src"), fileUrl(account + "/12/2.gif"));
}

TEST_F(ClassPage, ClickedFaceInsertsTheLargeImage) {
    showPage("开心||12/s_1.gif$$12/1.gif||12/s_2.gif$$12/2.gif--2,3");
    clearClipboard();
    ASSERT_TRUE(mouseClick(centreOf("document.querySelector('#grid .face')")));
    ASSERT_TRUE(waitForCall("web", "inputFaceAndHistory||" + fileUrl(account + "/12/1.gif")));
    EXPECT_EQ(clipboardImage().size(), QSize(64, 64));
    // The face waits in the chat's input box: the page says so, once.
    EXPECT_TRUE(waitForPage("document.getElementById('status').textContent === '已放入聊天输入框'"));
    EXPECT_EQ(evaluate("document.body.innerText.split('已放入聊天输入框').length"), "2");
}

TEST_F(ClassPage, EmptyClassSaysSoAndHasNoPaging) {
    showPage("工作--1,1", "1");
    EXPECT_EQ(evaluate("document.getElementById('className').textContent"), "工作");
    EXPECT_TRUE(holds("!document.getElementById('empty').hidden"));
    EXPECT_TRUE(holds("document.getElementById('pager').hidden"));
    click("#btnClasses");
    EXPECT_TRUE(waitForCall("web", "showMySelect||-"));
}

// Class names come from the user; quotes and markup in them stay text.
TEST_F(ClassPage, ClassNameWithQuotesAndMarkupIsShownAsText) {
    showPage("it's <b>\"x\"</b>||12/s_1.gif$$12/1.gif--1,1", "1");
    EXPECT_EQ(evaluate("document.getElementById('className').textContent"), "it's <b>\"x\"</b>");
    EXPECT_EQ(evaluate("document.querySelectorAll('#grid .face').length"), "1");
}

}  // namespace
}  // namespace tovlo::test
