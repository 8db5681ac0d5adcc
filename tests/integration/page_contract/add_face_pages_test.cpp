// The add-face panel's pages: the account's copy of templates/addFace.html
// beside its myClass.js, the no-picture page w/addFaceErr.html and the login
// page w/needLogin.html.
#include <stdexcept>

#include "face_files.h"
#include "page_fixture.h"

namespace tovlo::test {
namespace {

class AddFacePages : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        account = dir / "w/CustomFace/demo";
        writeBytes(account + "/myClass.js",
                   codec.utf8ToAnsi("var classList=[{id:'12',name:'开心'},{id:'13',name:'工作'}];"));
        writeBytes(account + "/addFace.html", readBytes(programFile("templates/addFace.html")));
        picture = dir / "qq/Image 1.gif";
        saveFace(drawFace(QColor(240, 120, 60), 40), picture);
    }

    std::string account;
    std::string picture;
};

TEST_F(AddFacePages, AddFacePreviewsThePictureAndUploadsToTheChosenClass) {
    show(account + "/addFace.html");
    expectFunctions({"view", "start"});
    EXPECT_EQ(evaluate("Array.prototype.map.call(document.getElementById('classSelect').options,"
                       " function (o) { return o.value + ':' + o.textContent; }).join(',')"),
              "12:开心,13:工作");
    EXPECT_TRUE(holds("document.getElementById('btnUpload').disabled"));

    // The program passes the path with every "\" doubled and the class id unquoted.
    view->runScript("view('" + picture + "');start(13)");
    ASSERT_TRUE(waitForPage("document.getElementById('preview').naturalWidth === 40"));
    EXPECT_EQ(evaluate("document.getElementById('preview').src"), fileUrl(picture));
    EXPECT_EQ(evaluate("document.getElementById('classSelect').value"), "13");
    view->runScript("start()");  // an empty class id keeps the choice
    EXPECT_EQ(evaluate("document.getElementById('classSelect').value"), "13");

    click("#btnUpload");
    EXPECT_TRUE(waitForCall("addWeb", "upload||13"));
    for (const auto& [selector, command] : std::vector<std::pair<std::string, std::string>>{
             {"#btnManage", "manage||-"}, {"#btnBack", "back||-"}, {"#btnReload", "loadOver||-"}}) {
        click(selector);
        EXPECT_TRUE(waitForCall("addWeb", command)) << selector;
    }
    EXPECT_TRUE(textsOf("web").empty());
}

TEST_F(AddFacePages, WindowsPathsBecomeDriveLetterUrls) {
    show(account + "/addFace.html");
    view->runScript("view('C:\\\\Users\\\\me\\\\QQ\\\\Image 1.gif')");
    EXPECT_EQ(evaluate("document.getElementById('preview').getAttribute('src')"),
              "file:///C:/Users/me/QQ/Image%201.gif");
}

TEST_F(AddFacePages, EmptyClassListLeavesUploadOff) {
    writeBytes(account + "/myClass.js", "");
    show(account + "/addFace.html");
    view->runScript("view('" + picture + "');start(12)");
    EXPECT_TRUE(holds("document.getElementById('classSelect').disabled"));
    EXPECT_TRUE(holds("document.getElementById('btnUpload').disabled"));
}

TEST_F(AddFacePages, ErrorPageRetriesAndGoesBack) {
    show(programFile("w/addFaceErr.html"));
    expectFunctions({"view", "start"});
    click("#btnRetry");
    EXPECT_TRUE(waitForCall("addWeb", "loadOver||-"));
    click("#btnBack");
    EXPECT_TRUE(waitForCall("addWeb", "back||-"));
}

// A retry on the error page that finds a picture: the panel runs view and
// start in the error page, which returns to the add-face page with them.
TEST_F(AddFacePages, PictureFoundFromTheErrorPageIsShownInTheAddFacePage) {
    show(account + "/addFace.html");
    show(programFile("w/addFaceErr.html"));
    view->runScript("view('" + picture + "');start(13)");
    ASSERT_TRUE(
        waitForPage("location.pathname.indexOf('/CustomFace/demo/addFace.html') > 0 &&"
                    " document.getElementById('preview').naturalWidth === 40"));
    EXPECT_EQ(evaluate("document.getElementById('classSelect').value"), "13");
    EXPECT_TRUE(holds("!document.getElementById('btnUpload').disabled"));
}

TEST_F(AddFacePages, LoginPageLeavesThePanelOrFallsBackToTheMainWindow) {
    show(programFile("w/needLogin.html"));
    click("#btnLogin");
    ASSERT_TRUE(waitForCall("addWeb", "toLogin||-"));
    ASSERT_TRUE(waitForCall("web", "showMySelect||-"));

    // Shown in the main window there is no panel to answer "addWeb".
    calls.clear();
    onCall = [](const std::string& webName, const std::string&) {
        if (webName == "addWeb") throw std::runtime_error("no panel");
    };
    click("#btnLogin");
    ASSERT_TRUE(waitForCall("web", "showMySelect||-"));
    const std::vector<PageCall> expected = {{"addWeb", "toLogin||-"}, {"web", "showMySelect||-"}};
    EXPECT_EQ(calls, expected);
}

}  // namespace
}  // namespace tovlo::test
