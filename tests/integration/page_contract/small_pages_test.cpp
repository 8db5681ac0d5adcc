// The first page w/nullInte.html, the notice page w/QQShow.html and the
// sample plug-in's page.
#include <QApplication>
#include <QClipboard>
#include <filesystem>
#include <stdexcept>

#include "page_fixture.h"

namespace tovlo::test {
namespace {

using SmallPages = PageTest;

TEST_F(SmallPages, FirstPageConnectsAndOffersARetryWhenOffline) {
    show(programFile("w/nullInte.html"));
    ASSERT_TRUE(waitForCall("web", "into||-"));
    expectFunctions({"df"});
    view->runScript("df()");
    EXPECT_TRUE(holds("!document.getElementById('offline').hidden"));
    EXPECT_NE(evaluate("document.body.innerText").find("无法连接到 Tovlo 服务"), std::string::npos);
    calls.clear();
    click("#btnRetry");
    ASSERT_TRUE(waitForCall("web", "into||-"));
    EXPECT_TRUE(holds("document.getElementById('offline').hidden"));
}

TEST_F(SmallPages, NoticeClosesAndFitsItsWindow) {
    show(programFile("w/QQShow.html"));
    // The window is 200 x 200 px and shows the page from about (7, 8) on.
    EXPECT_TRUE(
        holds("(function (r) { return r.left >= 6 && r.top >= 8 && r.right <= 208 && r.bottom <= 209; })"
              "(document.querySelector('.card').getBoundingClientRect())"));
    EXPECT_FALSE(evaluate("document.getElementById('tipText').textContent").empty());
    click("#btnClose");
    EXPECT_TRUE(waitForCall("qqWeb", "close||-"));
    calls.clear();
    click("#btnOk");
    EXPECT_TRUE(waitForCall("qqWeb", "close||-"));
}

class PluginPage : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        for (const auto& entry : std::filesystem::directory_iterator(programFile("plus")))
            if (entry.is_directory()) folders.push_back(entry.path().string());
        ASSERT_EQ(folders.size(), 1u) << "one sample plug-in";
    }
    std::vector<std::string> folders;
};

// The plug-in registry finds the page and executable under the folder named
// like the plug-in's name.
TEST_F(PluginPage, DescriptionIsGbkAndNamesItsFolder) {
    const std::string ini = codec.ansiToUtf8(readBytes(folders[0] + "/main.ini"));
    EXPECT_EQ(ini.find("\xEF\xBF\xBD"), std::string::npos) << "not GBK";
    const std::string folderName = std::filesystem::path(folders[0]).filename().string();
    EXPECT_NE(ini.find("[main]"), std::string::npos);
    EXPECT_NE(ini.find("\nname=" + folderName + "\r"), std::string::npos);
    for (const char* key : {"\nid=", "\ninfor=", "\nauthor=", "\nversion="})
        EXPECT_NE(ini.find(key), std::string::npos) << key;
}

TEST_F(PluginPage, AsksForItsInformationAndClosesItself) {
    show(folders[0] + "/main.html");
    expectFunctions({"showInfor", "bs_callBack", "bs_insertText", "bs_insertPic"});
    ASSERT_TRUE(waitForCall("plus", "getInfor||-"));
    ASSERT_TRUE(waitForCall("plus", "getSoftInfor||userName"));
    view->runScript("showInfor({id:'kaomoji',name:'颜文字',author:'Tovlo',version:'1.0',infor:'挑一个'})");
    EXPECT_EQ(evaluate("document.getElementById('version').textContent"), "v1.0");
    view->runScript("bs_callBack('userName','demo')");
    EXPECT_NE(evaluate("document.getElementById('status').textContent").find("demo"), std::string::npos);
    click("#btnClose");
    EXPECT_TRUE(waitForCall("plus", "plusClose||-"));
}

TEST_F(PluginPage, TextGoesOnTheClipboardBeforeTheMainWindowPastesIt) {
    show(folders[0] + "/main.html");
    clearClipboard();
    ASSERT_TRUE(mouseClick(centreOf("document.querySelector('#list .kao')")));
    ASSERT_TRUE(waitForCall("plus", "inputFace||-"));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              evaluate("document.querySelector('#list .kao').textContent"));
    EXPECT_TRUE(
        waitForPage("document.getElementById('status').textContent === '已放入聊天输入框：' +"
                    " document.querySelector('#list .kao').textContent"));
}

// Until its executable is installed "doExe" fails; the page picks one itself.
TEST_F(PluginPage, CopesWhenTheExecutableCannotRun) {
    onCall = [](const std::string&, const std::string& text) {
        if (text.rfind("doExe||", 0) == 0) throw std::runtime_error("main.exe not found");
    };
    show(folders[0] + "/main.html");
    ASSERT_TRUE(mouseClick(centreOf("document.getElementById('btnRandom')")));
    ASSERT_TRUE(waitForCall("plus", "doExe||random"));
    ASSERT_TRUE(waitForCall("plus", "inputFace||-"));
    EXPECT_FALSE(QApplication::clipboard()->text().isEmpty());
}

TEST_F(PluginPage, PictureFromThePluginIsCopiedAndInserted) {
    show(folders[0] + "/main.html");
    const std::string picture = programFile("w/btn1.jpg");
    ASSERT_TRUE(mouseClick(centreOf("document.getElementById('name')")));  // the page has the focus
    clearClipboard();
    view->runScript("bs_insertPic('" + picture + "')");
    ASSERT_TRUE(waitForCall("plus", "inputFaceAndHistory||" + fileUrl(picture)));
    // The engine hands the picture to the system clipboard in a task of its
    // own; the program pastes it only after its paste delay.
    EXPECT_TRUE(waitFor([] { return QApplication::clipboard()->image().size() == QSize(65, 43); }, 1000))
        << "the clipboard holds a picture of " << QApplication::clipboard()->image().width() << "x"
        << QApplication::clipboard()->image().height();
}

}  // namespace
}  // namespace tovlo::test
