// The main command table: each command's effects and their order.
#include <filesystem>

#include "core/urls.h"
#include "main_form_fixture.h"

namespace tovlo::test {

namespace fs = std::filesystem;

// A plug-in that cannot be registered (its id taken) is left out; the main
// page comes all the same, and only then does the window take the focus.
TEST_F(MainFormTest, IntoOnlineShowsTheMainPageAndFetchesParametersOnce) {
    writeBytes(dir / "plus/a/main.ini", "[main]\r\nid=1\r\nname=a\r\n");
    writeBytes(dir / "plus/b/main.ini", "[main]\r\nid=1\r\nname=b\r\n");
    fake.fetch.answers[serviceUrl("/soft/connect.html")] = "1";
    start("2.3");
    EXPECT_EQ(web().navigations.back(), fileUrlOf(file("w/nullInte.html")));
    web().pageCalls("web", "into||-");
    EXPECT_TRUE(window().visible);
    EXPECT_EQ(web().navigations.back(), fileUrlOf(file("w/main.html")) + "?v=2.3");
    EXPECT_EQ(desktop.focusRequests.size(), 1u);
    EXPECT_EQ(plugins->pluginListText(), "[{},{id:'1',name:'a'}]");
    EXPECT_EQ(fake.fetch.requests, (std::vector<std::string>{serviceUrl("/soft/connect.html")}))
        << "the connection check is fetched without a time stamp";
    EXPECT_EQ(web().stops, 1);
    EXPECT_EQ(web2().stops, 1);
    EXPECT_EQ(web3().stops, 1);
    fake.loop.advance(999);
    EXPECT_EQ(fake.fetch.requests.size(), 1u);
    fake.loop.advance(1);
    EXPECT_EQ(fake.fetch.requests.back(), serviceUrl("/soft/params.html"));
    fake.loop.advance(5000);
    EXPECT_EQ(fake.fetch.requests.size(), 2u) << "the parameter fetch runs once per into";
}

TEST_F(MainFormTest, IntoOfflineRunsDfAndLocalFacesOpenTheMainPageWithoutTheService) {
    start();
    main->callVb("into||-");
    EXPECT_EQ(lastScript(web()), "df()");
    EXPECT_TRUE(window().visible) << "the offline notice is seen";
    EXPECT_TRUE(desktop.focusRequests.empty()) << "the chat window keeps the focus";
    fake.loop.advance(2000);
    EXPECT_EQ(fake.fetch.requests.size(), 1u) << "no parameter fetch when offline";
    // 使用本地表情: the main page with what is on disk, the service left alone.
    web().pageCalls("web", "localFaces||-");
    EXPECT_EQ(web().navigations.back(), fileUrlOf(file("w/main.html")) + "?v=1.2&offline=1");
    fake.loop.advance(2000);
    EXPECT_EQ(fake.fetch.requests.size(), 1u);
}

TEST_F(MainFormTest, ShowSelectChecksTheConnectionOnlyWhileTheCatalogueIsBlank) {
    start();
    web3().visible = true;
    main->callVb("showSelect||-");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "您没有连接网络！请先连接网络然后再试");
    EXPECT_FALSE(web2().visible);
    EXPECT_TRUE(web3().visible) << "offline changes nothing";

    fake.fetch.answers[serviceUrl("/soft/connect.html")] = "1";
    main->callVb("showSelect||-");
    EXPECT_EQ(web2().location(), serviceUrl("/soft/select.html"));
    EXPECT_TRUE(web2().visible);
    EXPECT_FALSE(web3().visible);
    main->callVb("closeWeb2||-");
    EXPECT_FALSE(web2().visible);
    const auto fetches = fake.fetch.requests.size();
    main->callVb("showSelect||-");
    EXPECT_TRUE(web2().visible);
    EXPECT_EQ(fake.fetch.requests.size(), fetches) << "a loaded catalogue is only shown again";
}

TEST_F(MainFormTest, ShowFaceOfAPackOnDiskSwitchesThePage) {
    test::TempDir faces;
    writeBytes(faces / "hot/ver-3.txt", "");
    start();
    parm->facePath = faces.path();
    web2().visible = true;
    main->callVb("showFace||hot,3");
    EXPECT_FALSE(web2().visible);
    EXPECT_EQ(lastScript(web()), "changeClass('hot','" + slashed(faces.path()) + "')");
    EXPECT_FALSE(parm->keepMainVisible);
}

TEST_F(MainFormTest, ShowFaceOfAMissingPackLoadsTheDownloadPanel) {
    offerPanel("PublicFaceDownLoader");
    start();
    writeBytes(dir / "w/hot/ver-2.txt", "");  // an older version only
    main->callVb("showFace||hot,3");
    EXPECT_TRUE(parm->keepMainVisible);
    EXPECT_EQ(panelLog, (std::vector<std::string>{"PublicFaceDownLoader.PPath=hot"}));
    EXPECT_TRUE(window().frames["Frame1"].visible);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(MainFormTest, ShowFaceOfAPackLeftInTheDefaultFolderOffersTheCopy) {
    std::vector<std::string> copies;
    hooks.openFaceCopy = [&](const std::string& pack) { copies.push_back(pack); };
    test::TempDir faces;
    writeBytes(dir / "w/hot/ver-3.txt", "");
    start();
    parm->facePath = faces.path();
    main->callVb("showFace||hot,3");
    EXPECT_TRUE(parm->keepMainVisible);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "您已经修改过表情存放目录，需要复制原来的表情到新目录下！");
    EXPECT_EQ(copies, (std::vector<std::string>{"hot"}));
}

TEST_F(MainFormTest, ShowMySelectFetchesTheClassListOnce) {
    start();
    main->callVb("showMySelect||-");
    EXPECT_TRUE(web3().visible);
    EXPECT_EQ(web3().location(), serviceUrl("/soft/login2.asp"));

    fake.fetch.handler = [](const std::string& url) -> std::optional<std::string> {
        if (url.rfind("http://svc/soft/myClass.asp?uName=tom&t=", 0) == 0) return std::string("<b>classes</b>");
        return std::nullopt;
    };
    main->callVb("loginSucc||tom");
    EXPECT_EQ(parm->userName, "tom");
    EXPECT_EQ(parm->ini.GetIniKey("run", "autoLoginName"), "tom");
    EXPECT_EQ(readBytes(dir / "w/CustomFace/tom/myClass.html"), "<b>classes</b>");
    EXPECT_EQ(web3().location(), fileUrlOf(file("w/CustomFace/tom/myClass.html")));
    const auto fetches = fake.fetch.requests.size();
    main->callVb("showMySelect||-");
    EXPECT_EQ(fake.fetch.requests.size(), fetches);
}

// Offline, the class list does not arrive: nothing is kept in its place
// (it would be shown empty for good), the user is told, and the next
// showing fetches it.
TEST_F(MainFormTest, ShowMySelectOfflineKeepsNothingAndFetchesNextTime) {
    start();
    main->callVb("loginSucc||tom");
    EXPECT_FALSE(fs::exists(dir / "w/CustomFace/tom/myClass.html"));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "您没有连接网络！请先连接网络然后再试");
    fake.fetch.handler = [](const std::string&) -> std::optional<std::string> { return std::string("<b>classes</b>"); };
    main->callVb("showMySelect||-");
    EXPECT_EQ(readBytes(dir / "w/CustomFace/tom/myClass.html"), "<b>classes</b>");
}

// A click on 公共表情 while the login's class list is on its way waits for
// the login to end: the account keeps its own list, and the click runs after.
TEST_F(MainFormTest, APageCallDuringTheLoginsFetchRunsAfterIt) {
    start();
    fake.fetch.handler = [&](const std::string& url) -> std::optional<std::string> {
        if (url.find("/soft/myClass.asp") == std::string::npos) return std::string("1");
        web().pageCalls("web", "showSelect||-");
        EXPECT_FALSE(web2().visible) << "not inside the login";
        return std::string("<b>classes</b>");
    };
    web().pageCalls("web", "loginSucc||tom");
    EXPECT_EQ(readBytes(dir / "w/CustomFace/tom/myClass.html"), "<b>classes</b>");
    EXPECT_TRUE(web2().visible) << "the click ran after the login";
}

TEST_F(MainFormTest, LoginIsRememberedForTheNextStart) {
    start();
    main->callVb("loginSucc||张三");
    main.reset();
    start();
    EXPECT_EQ(parm->userName, "张三");
    main->callVb("loginout||-");
    EXPECT_EQ(parm->userName, "");
    EXPECT_EQ(parm->autoLoginName, "");
    EXPECT_FALSE(web3().visible);
    EXPECT_EQ(web3().location(), "about:blank");
    EXPECT_EQ(parm->ini.GetIniKey("run", "autoLoginName"), "");
}

TEST_F(MainFormTest, RegSuccPreparesTheAccountFolderButDoesNotLogIn) {
    start();
    writeBytes(dir / "w/CustomFace/neo/addFace.html", "old copy");
    main->callVb("regSucc||neo");
    EXPECT_TRUE(fs::is_directory(dir / "w/CustomFace/neo"));
    EXPECT_EQ(readBytes(dir / "w/CustomFace/neo/addFace.html"), "<html>add face</html>");
    main->callVb("regSucc||amy");
    EXPECT_TRUE(fs::is_directory(dir / "w/CustomFace/amy/users"));
    EXPECT_EQ(parm->userName, "");
    EXPECT_EQ(web3().location(), serviceUrl("/soft/login2.asp")) << "showMySelect ran for nobody";
}

TEST_F(MainFormTest, ShowMyOneClassFacesShowsAPageOrFetchesIt) {
    offerPanel("MyFaceDownLoader");
    start();
    parm->userName = "tom";
    writeBytes(dir / "w/CustomFace/tom/12/1.html", "page");
    main->callVb("showMyOneClassFaces||12--1");
    EXPECT_EQ(web3().location(), fileUrlOf(file("w/CustomFace/tom/12/1.html")));
    EXPECT_EQ(main->web3Tag(), "12");
    main->callVb("showMyOneClassFaces||13--2");
    EXPECT_TRUE(fs::is_directory(dir / "w/CustomFace/tom/13"));
    EXPECT_EQ(panelLog, (std::vector<std::string>{"MyFaceDownLoader.PClassId=13", "MyFaceDownLoader.PPage=2"}));
    main->exitDownMyFace("13", "2");
    EXPECT_EQ(web3().location(), fileUrlOf(file("w/CustomFace/tom/13/2.html")));
    EXPECT_EQ(main->web3Tag(), "13");
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
}

// Values from pages and the service reach page functions as string literals
// that nothing in them can end.
TEST_F(MainFormTest, ValuesGoIntoPageCallsAsLiteralsTheyCannotLeave) {
    start();
    struct Row {
        const char* command;
        bool inWeb3;
        const char* script;
    };
    const Row rows[] = {
        {"downAndShowOneFace||12--a.gif", true, "setImg('a.gif','12')"},
        {"downAndShowOneFace||1'2--a');alert(1);('", true, "setImg('a\\');alert(1);(\\'','1\\'2')"},
        {"downAndShowOneFace||12--</script>", true, "setImg('\\u003c/script>','12')"},
        {"showFace||it's,3", false, nullptr},  // no marker anywhere: no script
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        FakeBrowserView& view = row.inWeb3 ? web3() : web();
        const std::size_t before = view.scripts.size();
        try {
            main->callVb(row.command);
        } catch (const TovloError&) {
        }
        if (row.script)
            EXPECT_EQ(lastScript(view), row.script);
        else
            EXPECT_EQ(view.scripts.size(), before);
    }
    // A pack that is in the face folder, its name holding a quote.
    writeBytes(dir / "w/it's/ver-3.txt", "3");
    parm->facePath = dir / "w";
    main->callVb("showFace||it's,3");
    EXPECT_EQ(lastScript(web()), "changeClass('it\\'s','" + slashed(file("w")) + "')");
}

TEST_F(MainFormTest, HistoryCommands) {
    start();
    web3().visible = true;
    web().visible = false;
    main->callVb("history||");
    EXPECT_TRUE(web().visible);
    EXPECT_FALSE(web3().visible);
    EXPECT_EQ(lastScript(web()), "history()");
    main->callVb("getHistoryImg||-");
    EXPECT_EQ(lastScript(web()), "setHistoryImg(',')");
    historyDb.seed({"a.gif", "it's.gif"});
    main->callVb("getHistoryImg||-");
    EXPECT_EQ(lastScript(web()), "setHistoryImg(',||it\\'s.gif||a.gif')");
    main->callVb("clearHistory||-");
    EXPECT_TRUE(historyDb.rows.empty());
    EXPECT_EQ(lastScript(web()), "setHistoryImg(',')");
}

// The history never offers a broken picture: a face whose file has gone is
// fetched again from where it came, or left out when it cannot be.
TEST_F(MainFormTest, AHistoryFaceWhoseFileHasGoneIsFetchedAgainOrLeftOut) {
    start();
    parm->facePath = file("w");
    parm->faceHttpPath = serviceUrl("/faces/");
    struct Row {
        std::string path;  // in the program folder
        bool onDisk;
        std::string origin;  // where the service has it; "" for nowhere
        bool shown;
    };
    const Row rows[] = {
        {"w/经典/1-1.gif", true, "", true},
        {"w/CustomFace/demo/12/3.gif", false, serviceUrl("/soft/12/3.gif"), true},
        {"w/经典/1-2.gif", false, serviceUrl("/faces/经典/1-2.gif"), true},
        {"w/经典/1-3.gif", false, "", false},  // the service has lost it too
        {"w/recent/x.gif", false, "", false},  // came from nowhere the program knows
    };
    std::vector<std::string> images, expected;
    for (const Row& r : rows) {
        images.push_back(fileUrl(file(r.path)));
        if (r.onDisk) writeBytes(file(r.path), "GIF");
        if (!r.origin.empty()) fake.fetch.answers[r.origin] = "GIF89a " + r.path;
        if (r.shown) expected.push_back(images.back());
    }
    images.push_back("http://elsewhere/a.gif");
    expected.push_back(images.back());
    historyDb.seed(images);
    main->callVb("getHistoryImg||-");
    EXPECT_EQ(lastScript(web()), "setHistoryImg('" + historyListTextOf({expected.rbegin(), expected.rend()}) + "')");
    EXPECT_EQ(readBytes(file("w/CustomFace/demo/12/3.gif")), "GIF89a w/CustomFace/demo/12/3.gif");
    EXPECT_FALSE(fs::exists(file("w/经典/1-3.gif")));
}

TEST_F(MainFormTest, InsertionRecordsHistoryAndPastesOneAtATime) {
    start();
    desktop.addWindow(77, "TXGuiFoundation", "张三", {100, 100, 400, 500});
    desktop.foreground = 77;
    fake.loop.advance(20);
    ASSERT_EQ(main->tracker().qqwindow(), 77u);
    desktop.foreground = window().windowHandle;  // the user clicks into the panel

    main->callVb("inputFaceAndHistory||a.gif");
    fake.loop.advance(100);
    main->callVb("inputFaceAndHistory||b.gif");
    EXPECT_EQ(historyDb.images(), (std::vector<std::string>{"a.gif"})) << "a second insertion is dropped whole";
    EXPECT_EQ(desktop.focusRequests.back(), 77u);
    EXPECT_TRUE(desktop.keys.empty());
    fake.loop.advance(150);
    EXPECT_EQ(desktop.keys.size(), 4u);
    main->callVb("inputFace||-");
    fake.loop.advance(250);
    EXPECT_EQ(desktop.keys.size(), 8u) << "an insertion after the paste is accepted";
}

TEST_F(MainFormTest, ExitFunStoresTheClassAndEndsTheProgram) {
    start();
    main->callVb("exitFun||没有分类");
    EXPECT_EQ(parm->ini.GetIniKey("run", "defaultFaceClass"), "没有分类");
    EXPECT_TRUE(fake.loop.quitRequested);
    EXPECT_FALSE(window().visible);
    EXPECT_FALSE(fake.tray.visible);
}

TEST_F(MainFormTest, HtmlLoadOverHandsThePluginListToThePage) {
    writeBytes(dir / "plus/demo/main.ini", "[main]\r\nid=7\r\nname=demo\r\n");
    writeBytes(dir / "plus/x.old/main.ini", "[main]\r\nid=8\r\nname=old\r\n");
    fake.fetch.answers[serviceUrl("/soft/connect.html")] = "1";
    start();
    main->callVb("into||-");
    web3().visible = true;
    main->callVb("htmlLoadOver||-");
    EXPECT_FALSE(web3().visible);
    EXPECT_EQ(lastScript(web()), "setNullMain([{},{id:'7',name:'demo'}])");
}

}  // namespace tovlo::test
