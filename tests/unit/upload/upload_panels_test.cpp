// The add-face panel and the result panel in a real main window on the fake
// platform: the page and its class list, the picture taken from QQ's
// clipboard data, the upload's outcomes, and the result's countdown.
#include <filesystem>

#include "core/files.h"
#include "core/paths.h"
#include "core/urls.h"
#include "main_form_fixture.h"
#include "platform/fake/fake_clipboard.h"
#include "platform/fake/fake_tcp_client.h"
#include "upload/add_face_con.h"
#include "upload/addface_over_con.h"

namespace tovlo::test {

namespace fs = std::filesystem;

class UploadPanelsTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        fake.fetch.handler = [this](const std::string& url) -> std::optional<std::string> {
            if (url.find("/soft/manageClass_ajax.asp?action=classList_Script&userName=tom") == std::string::npos)
                return std::nullopt;
            ++classListFetches;
            return std::string("var classList = [{id: 12, name: 'x'}];");
        };
        start();
        registerUploadPanels(panels, UploadDeps{fake.platform, *parm, *debug, clipboard, connections});
        offerPanel("MyFaceDownLoader");
    }
    void TearDown() override { main.reset(); }

    void openAsTom() {
        parm->userName = "tom";
        main->callVb("addFace||-");
    }
    void copyInQQ(const std::string& path) {
        clipboard.put(49321, "QQ_RichEdit_Format",
                      fake.codec.utf8ToAnsi("<QQRichEditFormat><EditElement type=\"1\" filepath=\"" + path +
                                            "\" shortcut=\"\"/></QQRichEditFormat>"));
    }
    std::string picture(std::size_t bytes) {
        writeBytes(dir / "face.gif", std::string(bytes, 'g'));
        return dir / "face.gif";
    }
    AddFaceCon* addFace() { return dynamic_cast<AddFaceCon*>(main->control(MainForm::kSlot)); }
    AddfaceOverCon* result() { return dynamic_cast<AddfaceOverCon*>(main->control(MainForm::kSlot2)); }
    FakeBrowserView& page() { return fake.forms.find("AddFaceCon")->views["WebBrowser2"]; }
    std::string own(const std::string& rel) const { return dir / ("w/CustomFace/tom/" + rel); }

    FakeClipboard clipboard;
    FakeTcpClients connections;
    int classListFetches = 0;
};

TEST_F(UploadPanelsTest, WithoutAnAccountThePanelAsksForALogin) {
    main->loadUserControl("AddFaceCon");
    EXPECT_EQ(page().location(), fileUrl(dir / "w/needLogin.html"));
    page().pageCalls("addWeb", "toLogin||-");
    fake.loop.advance(10);
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
}

TEST_F(UploadPanelsTest, ThePageAndItsClassListAreMadeOnceAndTheCopiedPictureIsShown) {
    copyInQQ("/home/tom/QQ/Temp/{8F3A}it's.gif");
    openAsTom();
    EXPECT_EQ(page().location(), fileUrl(own("addFace.html")));
    EXPECT_EQ(readFileBytes(own("addFace.html")), "<html>add face</html>");
    EXPECT_EQ(readFileBytes(own("myClass.js")), "var classList = [{id: 12, name: 'x'}];");
    EXPECT_TRUE(page().scripts.empty()) << "the clipboard is read 200 ms later";
    fake.loop.advance(200);
    EXPECT_EQ(page().scripts, (std::vector<std::string>{"view('/home/tom/QQ/Temp/{8F3A}it\\'s.gif')", "start()"}));
    EXPECT_EQ(addFace()->picturePath(), "/home/tom/QQ/Temp/{8F3A}it's.gif");

    // "loadOver" reads the clipboard again; without QQ's data the error page shows.
    clipboard.formats.clear();
    page().pageCalls("addWeb", "loadOver||-");
    fake.loop.advance(200);
    EXPECT_EQ(page().location(), fileUrl(dir / "w/addFaceErr.html"));

    main->exitAddFace();
    fake.loop.advance(300);
    openAsTom();
    EXPECT_EQ(classListFetches, 1) << "the class list is kept";
}

TEST_F(UploadPanelsTest, ThePathIsPutIntoThePagesFieldOnlyOnce) {
    copyInQQ("/tmp/a.gif");
    openAsTom();
    fake.loop.advance(200);
    const std::size_t before = page().scripts.size();
    page().pageCalls("addWeb", "setFilePath||-");
    page().pageCalls("addWeb", "setFilePath||-");
    ASSERT_EQ(page().scripts.size(), before + 2);
    EXPECT_EQ(page().scripts[before], "document.execCommand('insertText', false, '/tmp/a.gif')");
    EXPECT_EQ(page().scripts[before + 1], "view('/tmp/a.gif')");
}

TEST_F(UploadPanelsTest, APictureOver100KbShowsTheSizeMessageWithoutAConnection) {
    copyInQQ(picture(102401));
    openAsTom();
    fake.loop.advance(200);
    page().pageCalls("addWeb", "upload||12");
    EXPECT_TRUE(connections.made.empty());
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    ASSERT_NE(result(), nullptr);
    EXPECT_EQ(result()->args(), "-0");
    EXPECT_EQ(result()->Label1().text(), "\r\n\r\n文件大小不能超过100KB！");
}

// The class on screen reaches the page's start() as a bare number; a text
// that is no class id never gets into the script.
TEST_F(UploadPanelsTest, OnlyAClassIdOfDigitsReachesThePage) {
    parm->userName = "tom";
    writeBytes(own("x1/1.html"), "page");
    main->callVb("showMyOneClassFaces||x1--1");
    copyInQQ(picture(300));
    main->callVb("addFace||-");
    fake.loop.advance(200);
    EXPECT_EQ(lastScript(page()), "start()");
}

TEST_F(UploadPanelsTest, ASuccessDropsTheClassAndShowsItAgainWhenItIsOnScreen) {
    writeBytes(own("12/1.html"), "page");
    writeBytes(own("12/1.gif"), "face");
    parm->userName = "tom";
    main->callVb("showMyOneClassFaces||12--1");  // the face view shows class 12
    web3().setVisible(true);
    copyInQQ(picture(300));
    main->callVb("addFace||-");
    fake.loop.advance(200);
    ASSERT_GE(page().scripts.size(), 2u);
    EXPECT_EQ(page().scripts[page().scripts.size() - 2], "view('" + inScriptLiteral(dir / "face.gif") + "')");
    EXPECT_EQ(lastScript(page()), "start(12)") << "the class on screen is chosen, a bare number";

    page().pageCalls("addWeb", "upload||12");
    FakeTcpClient& connection = *connections.made.back();
    EXPECT_EQ(connection.host, "svc");
    EXPECT_EQ(connection.port, 80);
    connection.accept();
    connection.drain();
    connection.drain();
    connection.answer("<script>parent.call(12)</script>");

    ASSERT_NE(result(), nullptr);
    EXPECT_EQ(result()->args(), "12");
    EXPECT_EQ(result()->Label1().text(), "\r\n\r\n添加成功");
    EXPECT_FALSE(fs::exists(own("12/1.html")));
    EXPECT_FALSE(fs::exists(own("12/1.gif")));
    EXPECT_EQ(panelLog, (std::vector<std::string>{"MyFaceDownLoader.PClassId=12", "MyFaceDownLoader.PPage=1"}))
        << "the class is fetched anew";
}

TEST_F(UploadPanelsTest, NoConnectionSaysSoAndLeavesThePanelOpen) {
    copyInQQ(picture(300));
    openAsTom();
    fake.loop.advance(200);
    page().pageCalls("addWeb", "upload||12");
    fake.loop.advance(10000);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "链接超时.");
    EXPECT_EQ(fake.messages.shown[0].title, "Error");
    EXPECT_NE(addFace(), nullptr);
}

// The panel's slot is taken from its start: a second opening while the
// class list is fetched (a command the fetch runs itself) is refused.
TEST_F(UploadPanelsTest, TheSlotIsTakenWhileThePanelFetchesItsClassList) {
    const auto serve = fake.fetch.handler;
    bool once = true;
    fake.fetch.handler = [&](const std::string& url) {
        if (std::exchange(once, false)) EXPECT_THROW(main->callVb("addFace||-"), TovloError);
        return serve(url);
    };
    openAsTom();
    EXPECT_NE(addFace(), nullptr);
    EXPECT_EQ(classListFetches, 1);
}

// The panel closed while its picture goes out drops the connection at once.
TEST_F(UploadPanelsTest, ClosingThePanelDuringAnUploadDropsItAtOnce) {
    copyInQQ(picture(300));
    openAsTom();
    fake.loop.advance(200);
    page().pageCalls("addWeb", "upload||12");
    ASSERT_EQ(connections.made.size(), 1u);
    main->exitControl();
    EXPECT_TRUE(connections.made[0]->closed);
    fake.loop.advance(10000);
    EXPECT_TRUE(fake.messages.shown.empty()) << "no time-out for an upload that was dropped";
}

TEST_F(UploadPanelsTest, FailureCodesShowTheirMessagesAndOthersCountAsSuccess) {
    // The message is centred in its label by line breaks in front of it:
    // the fake label has 16-pixel lines of 40 bytes, the label is 96 high.
    const std::string one = "\r\n\r\n";  // a one-line message: ((96 - 16) / 2) / 16 = 2
    const std::pair<std::string, std::string> cases[] = {
        {"-1", one + "文件格式只能是 gif，jpg，bmp！"},
        {"-2", one + "未知错误！"},
        // 104 bytes take three lines: ((96 - 48) / 2) / 48 = 0
        {"-3", "当前版本，或者你当前级别，一个类不能添加超过50个表情，详情请查看帮助！"},
        {"-4", one + "添加成功"},
    };
    parm->userName = "tom";
    for (const auto& [code, message] : cases) {
        writeBytes(own("4/1.gif"), "face");
        writeBytes(own("myClass.html"), "收藏 0 个表情");
        main->loadUserControl2("AddfaceOverCon");
        result()->setProperty("args", code);
        result()->invoke("dodo");
        EXPECT_EQ(result()->Label1().text(), message) << code;
        EXPECT_EQ(fs::exists(own("4")), code != "-4") << code;
        EXPECT_EQ(fs::exists(own("myClass.html")), code != "-4") << code << ": the cached class list";
        main->exitAddFaceOverAlert();
        fake.loop.advance(10);
    }
    EXPECT_TRUE(panelLog.empty()) << "class 4 is not on screen: no refresh";
}

TEST_F(UploadPanelsTest, TheResultClosesItselfOnTheThirdTick) {
    main->loadUserControl2("AddfaceOverCon");
    EXPECT_EQ(result()->Label3().text(), "2");
    fake.loop.advance(1000);
    EXPECT_EQ(result()->Label3().text(), "1");
    fake.loop.advance(1000);
    EXPECT_EQ(result()->Label3().text(), "0");
    fake.loop.advance(1000);
    EXPECT_EQ(main->control(MainForm::kSlot2), nullptr);
}

// The result panel closes itself while a plug-in panel opened after it is
// still in use: the plug-in panel must stay on screen and usable.
TEST_F(UploadPanelsTest, TheResultClosingItselfLeavesAPluginPanelOpen) {
    offerPanel("PlusControl");
    main->loadUserControl2("AddfaceOverCon");
    fake.loop.advance(500);
    main->loadPlusControl("PlusControl");
    fake.loop.advance(3000);
    ASSERT_EQ(main->control(MainForm::kSlot2), nullptr);
    EXPECT_TRUE(window().frames["Frame1"].visible);
    ASSERT_NE(main->control(MainForm::kSlotPlus), nullptr);
    EXPECT_TRUE(fake.forms.find("PlusControl")->visible);
    main->exitPlusControl();
    EXPECT_FALSE(window().frames["Frame1"].visible);
}

// The page leaves ("back") while the panel waits for one of its scripts,
// events running meanwhile: the panel stays alive until its own call is
// over, then goes.
TEST_F(UploadPanelsTest, ThePageLeavingDuringAScriptLeavesThePanelAliveUntilItsCallIsOver) {
    copyInQQ("/home/tom/a.gif");
    openAsTom();
    fake.loop.advance(200);
    FakeBrowserView& view = page();
    bool left = false;
    view.onScript = [&](const std::string&) {
        if (left) return;
        left = true;
        view.pageCalls("addWeb", "back||-");
        fake.loop.advance(50);  // events run inside the wait: the slot's reaper among them
    };
    view.pageCalls("addWeb", "setFilePath||-");
    EXPECT_TRUE(left);
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr) << "the panel left its slot at once";
    EXPECT_NE(fake.forms.find("AddFaceCon"), nullptr) << "and is still alive at the end of its call";
    fake.loop.advance(50);
    EXPECT_EQ(fake.forms.find("AddFaceCon"), nullptr) << "destroyed once nothing of it runs";
}

}  // namespace tovlo::test
