// The main window: load, geometry, timers, panel closing, parameters, tray and exit.
#include "core/twips.h"
#include "main_form_fixture.h"

namespace tovlo::test {

TEST_F(MainFormTest, LoadPreparesViewsFirstPageAndTray) {
    start("2.3");
    EXPECT_FALSE(window().visible);
    for (FakeBrowserView* v : {&web2(), &web3()}) {
        EXPECT_FALSE(v->visible);
        EXPECT_EQ(v->location(), "about:blank");
        EXPECT_EQ(v->rect.left, twipsToPixels(100));
        EXPECT_EQ(v->rect.top, twipsToPixels(450));
    }
    EXPECT_EQ(web().navigations, (std::vector<std::string>{fileUrlOf(file("w/nullInte.html"))}));
    EXPECT_GE(window().topMostCalls, 1);
    EXPECT_EQ(fake.tray.toolTip, "Tovlo2.3");
    EXPECT_TRUE(fake.tray.visible);
    EXPECT_EQ(fake.tray.balloons, (std::vector<std::string>{"标题|Tovlo欢迎你!"}));
    EXPECT_FALSE(main->tracker().is09() || main->tracker().is08() || main->tracker().isQun());
    EXPECT_FALSE(main->inserter().inputBusy());
}

TEST_F(MainFormTest, ResizeKeepsTheOverlaysInsideTheWindow) {
    start();
    window().setGeometry({0, 0, 360, 600});
    EXPECT_EQ(web().rect, (Rect{0, 0, 360, 600}));
    EXPECT_EQ(web2().rect.width, 345);
    EXPECT_EQ(web2().rect.height, 550);
    EXPECT_EQ(web3().rect.height, 550);
    window().setGeometry({0, 0, 360, 40});
    EXPECT_EQ(web().rect, (Rect{0, 0, 360, 40}));
    EXPECT_EQ(web2().rect.height, 550) << "a window at most 50 pixels high resizes web only";
}

TEST_F(MainFormTest, ClosingAPanelRestoresTrackingAfter200ms) {
    offerPanel("ClassManager");
    start();
    main->callVb("manage||-");
    const Rect frame = window().frames["Frame1"].rect;
    EXPECT_EQ(frame.left, 6);
    EXPECT_EQ(frame.top, 32);
    EXPECT_EQ(frame.width, (360 * 15 - 190) / 15);
    EXPECT_EQ(frame.height, (520 * 15 - 800) / 15);
    parm->keepMainVisible = true;
    main->exitManage();
    EXPECT_FALSE(main->Timer1().enabled());
    EXPECT_TRUE(window().visible);
    EXPECT_FALSE(window().frames["Frame1"].visible);
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    fake.loop.advance(199);
    EXPECT_FALSE(main->Timer1().enabled());
    const int topMost = window().topMostCalls;
    fake.loop.advance(1);
    EXPECT_TRUE(main->Timer1().enabled());
    EXPECT_FALSE(parm->keepMainVisible);
    EXPECT_EQ(window().topMostCalls, topMost + 1);

    EXPECT_THROW(main->exitManage(), TovloError) << "no panel left to close";
    fake.loop.advance(200);
    EXPECT_TRUE(main->Timer1().enabled()) << "tracking comes back all the same";
}

// The three slots share Frame1: whichever panel leaves, the others stay
// shown, and the frame goes with the last one.
TEST_F(MainFormTest, ClosingOneSlotLeavesTheOtherPanelsShown) {
    for (const char* name : {"ClassManager", "AddfaceOverCon", "PlusControl"}) offerPanel(name);
    start();
    struct Exit {
        const char* slot;
        void (MainForm::*close)();
    };
    const Exit exits[] = {
        {MainForm::kSlot, &MainForm::exitControl},
        {MainForm::kSlot, &MainForm::exitProcessFace},
        {MainForm::kSlot2, &MainForm::exitAddFaceOverAlert},
        {MainForm::kSlotPlus, &MainForm::exitPlusControl},
    };
    const char* slots[] = {MainForm::kSlot, MainForm::kSlot2, MainForm::kSlotPlus};
    for (const Exit& exit : exits) {
        if (!main->control(MainForm::kSlot)) main->loadUserControl("ClassManager");
        if (!main->control(MainForm::kSlot2)) main->loadUserControl2("AddfaceOverCon");
        if (!main->control(MainForm::kSlotPlus)) main->loadPlusControl("PlusControl");
        (main.get()->*exit.close)();
        fake.loop.advance(200);
        EXPECT_TRUE(window().frames["Frame1"].visible) << exit.slot;
        for (const char* other : slots) {
            if (std::string(other) == exit.slot) continue;
            ASSERT_NE(main->control(other), nullptr) << exit.slot << " closed " << other;
            EXPECT_TRUE(main->control(other)->form().isVisible()) << exit.slot << " hid " << other;
        }
    }
    main->loadPlusControl("PlusControl");
    main->exitControl();
    main->exitAddFaceOverAlert();
    EXPECT_TRUE(window().frames["Frame1"].visible) << "the plug-in panel is still open";
    main->exitPlusControl();
    EXPECT_FALSE(window().frames["Frame1"].visible);
}

TEST_F(MainFormTest, PackDownloadHandsOverToProcessing) {
    offerPanel("PublicFaceDownLoader");
    offerPanel("PublicFaceProcess");
    start();
    main->callVb("showFace||hot,3");
    main->exitDownPublicFace("hot");
    EXPECT_EQ(panelIn(MainForm::kSlot)->className, "PublicFaceProcess");
    EXPECT_EQ(panelLog.back(), "PublicFaceProcess.PPath=hot");
    fake.loop.advance(200);  // the download panel's exit re-shows and resumes tracking
    ASSERT_TRUE(main->Timer1().enabled());
    main->exitProcessFace();
    EXPECT_TRUE(main->Timer1().enabled()) << "processing's exit leaves the tick alone";
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    main->callVb("showFace||hot,3");
    main->exitDownPublicFace("");
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr) << "a cancelled download loads nothing";
}

TEST_F(MainFormTest, ServerParametersMoveFaceDownloadsAndShowTheNotice) {
    fake.fetch.answers[serviceUrl("/soft/connect.html")] = "1";
    fake.fetch.answers[serviceUrl("/soft/params.html")] =
        "isQQShow=false||faceHttpPath=http://cdn.example/soft/?a=b||junk||";
    start();
    main->callVb("into||-");
    fake.loop.advance(1000);
    EXPECT_EQ(parm->faceHttpPath, "http://cdn.example/soft/?a=b");
    EXPECT_EQ(parm->ini.GetIniKey("run", "faceHttpPath"), "http://cdn.example/soft/?a=b");
    EXPECT_EQ(main->notice(), nullptr);

    fake.fetch.answers[serviceUrl("/soft/params.html")] = "faceHttpPath=http://else/||isQQShow=true";
    main->callVb("into||-");
    fake.loop.advance(1000);
    ASSERT_NE(main->notice(), nullptr);
    EXPECT_TRUE(main->notice()->form().isVisible());
    main->notice()->WebBrowser1().setVisible(true);
    static_cast<FakeBrowserView&>(main->notice()->WebBrowser1()).pageCalls("qqWeb", "close||-");
    EXPECT_EQ(main->notice(), nullptr);
    fake.loop.advance(5);

    fake.fetch.answers[serviceUrl("/soft/params.html")] = "faceHttpPath=http://other/";
    main->callVb("into||-");
    fake.loop.advance(1000);
    EXPECT_EQ(parm->faceHttpPath, "http://else/") << "an answer without isQQShow changes nothing";
}

// A list written one item per line: the line breaks and blanks around items,
// names and values are no part of them.
TEST_F(MainFormTest, ServerParameterItemsAreTrimmed) {
    fake.fetch.answers[serviceUrl("/soft/connect.html")] = "1";
    fake.fetch.answers[serviceUrl("/soft/params.html")] =
        "isQQShow =\r\ntrue\r\n||\r\n faceHttpPath= http://cdn/soft/ \r\n";
    start();
    main->callVb("into||-");
    fake.loop.advance(1000);
    EXPECT_NE(main->notice(), nullptr);
    EXPECT_EQ(parm->faceHttpPath, "http://cdn/soft/");
    EXPECT_EQ(parm->ini.GetIniKey("run", "faceHttpPath"), "http://cdn/soft/");
}

TEST_F(MainFormTest, ExitWorksOnAPageWithoutExitFun) {
    start();
    web().missingFunctions.insert("exitFun");  // the offline notice
    parm->ini.WriteIniKey("run", "defaultFaceClass", "cute");
    fake.tray.onMenuRequest();
    fake.tray.choose(2);
    EXPECT_TRUE(fake.loop.quitRequested);
    EXPECT_FALSE(fake.tray.visible);
    EXPECT_EQ(parm->ini.GetIniKey("run", "defaultFaceClass"), "cute");
}

TEST_F(MainFormTest, ExitMenuAsksThePageOrEndsAtOnce) {
    start();
    main->exitMenu();
    EXPECT_EQ(lastScript(web()), "exitFun()");
    EXPECT_FALSE(fake.loop.quitRequested);

    writeBytes(dir / "config.ini", readBytes(dir / "config.ini") + "startWith=1\r\n");
    web().scripts.clear();
    fake.tray.onMenuRequest();
    EXPECT_EQ(fake.tray.menuItems, (std::vector<std::string>{"设置", "关于", "退出"}));
    fake.tray.choose(2);
    EXPECT_TRUE(web().scripts.empty()) << "startWith 1 does not call the page";
    EXPECT_EQ(parm->ini.GetIniKey("run", "defaultFaceClass"), "没有分类");
    EXPECT_FALSE(fake.tray.visible);
    EXPECT_TRUE(fake.loop.quitRequested);
}

TEST_F(MainFormTest, AboutWindowShowsTheVersionAndOpensTheHomePage) {
    start("2.3");
    fake.tray.onMenuRequest();
    fake.tray.choose(1);
    FakeForm* about = fake.forms.find("aboutForm");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->visible);
    EXPECT_EQ(about->title, "关于Tovlo");
    EXPECT_EQ(about->labelNamed("Label6").value, "2.3");
    EXPECT_EQ(about->labelNamed("Label1").value, "Tovlo - 分享快乐，从此快乐随身走");
    about->labelNamed("Label4").click();
    EXPECT_EQ(fake.processes.opened, (std::vector<std::string>{serviceUrl("/")}));
    EXPECT_TRUE(about->visible) << "the window stays open";
}

TEST_F(MainFormTest, BarClickTogglesThePanelAroundAPausedTick) {
    start();
    FakeForm* bar = fake.forms.find("ButtomFrm");
    ASSERT_NE(bar, nullptr);
    window().visible = false;
    bar->pictures["Image1"].click();
    EXPECT_TRUE(main->bar().isOpen());
    EXPECT_TRUE(window().visible);
    EXPECT_TRUE(main->Timer1().enabled());
    bar->pictures["Picture1"].click();
    EXPECT_FALSE(main->bar().isOpen());
    EXPECT_FALSE(window().visible);
}

}  // namespace tovlo::test

namespace tovlo::test {

TEST_F(MainFormTest, AClickFocusesThePanelUnlessAPasteIsPending) {
    start();
    desktop.addWindow(77, "TXGuiFoundation", "张三", {100, 100, 400, 500});
    desktop.foreground = 77;
    fake.loop.advance(20);
    window().onPressed();
    EXPECT_EQ(desktop.focusRequests.back(), window().windowHandle);
    main->callVb("inputFace||-");
    EXPECT_EQ(desktop.focusRequests.back(), 77u);
    desktop.foreground = window().windowHandle;  // the window manager focused the panel for the click
    window().onPressed();
    EXPECT_EQ(desktop.focusRequests.back(), 77u) << "the chat window gets the focus back for the paste";
    EXPECT_EQ(desktop.foreground, 77u);
    fake.loop.advance(250);
    window().onPressed();
    EXPECT_EQ(desktop.focusRequests.back(), window().windowHandle);
}

// The hot key: the panel docked beside the chat window in front (or the one
// last worked in), in front with the search box focused; Esc gives the chat
// window the keys back and closes the panel where the mode closes it.
TEST_F(MainFormTest, TheHotKeyCallsThePanelBesideTheChatWindowAndEscGivesTheKeysBack) {
    start();
    ASSERT_EQ(hotKey.bound, (HotKey{HotKey::Ctrl | HotKey::Alt, 'E'})) << "the default, written at the first start";
    struct Row {
        const char* mode;
        bool chatInFront;  // else another program is, the chat window seen before
        int panelLeft;
        bool shownAfterEsc;
    };
    const Row rows[] = {
        {"normal", true, 500, true},
        {"fQQ", true, 100, false},
        {"buttom2", false, 500, false},
    };
    desktop.addWindow(77, "TXGuiFoundation", "张三", {100, 100, 400, 500});
    desktop.addWindow(88, "gedit", "notes", {0, 0, 300, 300});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        parm->showModel = row.mode;
        desktop.foreground = 77;
        fake.loop.advance(20);
        desktop.foreground = row.chatInFront ? 77 : 88;
        fake.loop.advance(20);
        web().scripts.clear();
        hotKey.press();
        EXPECT_TRUE(window().visible);
        EXPECT_EQ(window().geometry().left, row.panelLeft);
        EXPECT_EQ(desktop.focusRequests.back(), window().windowHandle);
        EXPECT_EQ(lastScript(web()), "focusSearch()");
        fake.loop.advance(20);
        EXPECT_TRUE(window().visible) << "a tick before the panel comes to the front leaves it";
        desktop.foreground = window().windowHandle;
        fake.loop.advance(20);
        EXPECT_TRUE(window().visible) << "the tick leaves the panel in front alone";
        main->callVb("closePanel||-");
        EXPECT_EQ(desktop.focusRequests.back(), 77u);
        fake.loop.advance(20);
        EXPECT_EQ(window().visible, row.shownAfterEsc);
        EXPECT_FALSE(main->bar().isOpen());
    }
    EXPECT_TRUE(main->useHotKey("Alt+F2"));
    EXPECT_EQ(hotKey.bound, (HotKey{HotKey::Alt, kVkF1 + 1}));
    EXPECT_TRUE(main->useHotKey("none"));
    EXPECT_FALSE(hotKey.bound);
}

}  // namespace tovlo::test
