// The plug-in panel in a real main window on the fake platform: its page,
// its answers to the page, and a run of the plug-in's program with the
// answer file it leaves.
#include "plugins/plus_control.h"
#include "core/files.h"
#include "core/paths.h"
#include "core/urls.h"
#include "main_form_fixture.h"
#include "platform/fake/fake_clipboard.h"
#include "plugins/plugin_panels.h"

namespace tovlo::test {

class PlusControlTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        writeBytes(dir / "plus/demo/main.ini",
                   fake.codec.utf8ToAnsi("[main]\r\nid=7\r\nname=demo\r\ninfor=it's 好\r\nauthor=A\r\nversion=2\r\n"));
        writeBytes(dir / "plus/noid/main.ini", "[main]\r\nname=noid\r\n");  // listed, with an empty id
        start();
        plugins->loadPlugins();
        registerPluginPanels(panels, PluginDeps{fake.platform, *parm, *debug, *plugins, clipboard});
    }
    void TearDown() override { main.reset(); }
    void open() {
        main->callVb("loadPlus||7");
        fake.loop.advance(200);
    }
    FakeBrowserView& page() { return fake.forms.find("PlusControl")->views["WebBrowser1"]; }
    std::string inPlugin(const std::string& name) const { return dir / ("plus/demo/" + name); }
    // The plug-in's program: it leaves this answer.
    void answers(const std::string& param) {
        fake.processes.whileRunning = [this, param](const std::string&, const std::string&) {
            EXPECT_FALSE(window().visible) << "the main window is hidden while the plug-in runs";
            EXPECT_FALSE(main->Timer1().enabled());
            writeBytes(inPlugin("param"), fake.codec.utf8ToAnsi(param));
        };
    }
    std::vector<std::string> scriptsAfter(std::size_t from) {
        return {page().scripts.begin() + static_cast<std::ptrdiff_t>(from), page().scripts.end()};
    }

    FakeClipboard clipboard;
};

TEST_F(PlusControlTest, ThePageOfTheOpenPlugInIsShownAfter200ms) {
    main->callVb("loadPlus||7");
    EXPECT_EQ(page().location(), "about:blank");
    fake.loop.advance(200);
    EXPECT_EQ(page().location(), fileUrl(inPlugin("main.html")));
    EXPECT_THROW(main->callVb("loadPlus||8"), TovloError) << "another panel is open";
    page().pageCalls("plus", "plusClose||-");
    fake.loop.advance(300);
    EXPECT_EQ(main->control(MainForm::kSlotPlus), nullptr);
    EXPECT_THROW(main->callVb("loadPlus||8"), TovloError) << "no such plug-in";
    EXPECT_THROW(main->callVb("loadPlus||"), TovloError) << "a plug-in without id cannot be the open one";
    EXPECT_EQ(main->control(MainForm::kSlotPlus), nullptr);
}

// The plug-in's page reaches its panel only: the main window's commands
// are not there for it, the two insertion commands are.
TEST_F(PlusControlTest, ThePageReachesItsPanelAndTheInsertionOnly) {
    parm->userName = "tom";
    open();
    EXPECT_THROW(page().pageCalls("web", "loginout||-"), TovloError);
    EXPECT_EQ(parm->userName, "tom");
    desktop.addWindow(77, "TXGuiFoundation", "张三", {100, 100, 400, 500});
    desktop.foreground = 77;
    fake.loop.advance(20);
    page().pageCalls("plus", "inputFaceAndHistory||file:///f/a.gif");
    EXPECT_EQ(historyDb.images(), std::vector<std::string>{"file:///f/a.gif"});
    EXPECT_EQ(desktop.focusRequests.back(), 77u) << "the paste goes to the chat window";
}

TEST_F(PlusControlTest, ThePageLearnsAboutThePlugInAndTheProgram) {
    open();
    page().pageCalls("plus", "getInfor||-");
    EXPECT_EQ(lastScript(page()), "showInfor({id:'7',name:'demo',author:'A',version:'2',infor:'it\\'s 好'})");
    parm->userName = "tom";
    page().pageCalls("plus", "getSoftInfor||userName");
    EXPECT_EQ(lastScript(page()), "bs_callBack('userName','tom')");
    page().pageCalls("plus", "getSoftInfor||version");
    EXPECT_EQ(lastScript(page()), "bs_callBack('version','1.2')");
    page().pageCalls("plus", "getSoftInfor||appPath");
    EXPECT_EQ(lastScript(page()), "bs_callBack('appPath','" + inScriptLiteral(dir.path()) + "')");
    page().pageCalls("plus", "getSoftInfor||facePath");
    EXPECT_EQ(lastScript(page()), "bs_callBack('facePath','" + inScriptLiteral(dir / "w") + "')");
    page().pageCalls("plus", "getSoftInfor||copyPicSrc");
    EXPECT_EQ(lastScript(page()), "bs_callBack('copyPicSrc','')") << "nothing copied in QQ";
    clipboard.put(49321, "QQ_RichEdit_Format", "<QQRichEditFormat filepath=\"/tmp/q.gif\"/>");
    page().pageCalls("plus", "getSoftInfor||copyPicSrc");
    EXPECT_EQ(lastScript(page()), "bs_callBack('copyPicSrc','/tmp/q.gif')");
    // A Windows path reaches the page as it is: its "\" escaped once, by the literal.
    clipboard.formats.clear();
    clipboard.put(49321, "QQ_RichEdit_Format", "<QQRichEditFormat filepath=\"C:\\QQ\\q.gif\"/>");
    page().pageCalls("plus", "getSoftInfor||copyPicSrc");
    EXPECT_EQ(lastScript(page()), "bs_callBack('copyPicSrc','C:\\\\QQ\\\\q.gif')");
    page().pageCalls("plus", "getSoftInfor||password");
    EXPECT_EQ(lastScript(page()), "bs_callBack('password','')");
}

TEST_F(PlusControlTest, ARunAppliesTheAnswerItemsInOrder) {
    open();
    writeBytes(inPlugin("param"), "insertText**stale");
    answers("reload**x||insertText**abc||ignored**1||insertPic**C:\\\\x.gif");
    const std::size_t before = page().scripts.size();
    page().pageCalls("plus", "doExe||random 3");
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].program, inPlugin("main.exe"));
    EXPECT_EQ(fake.processes.started[0].argument, "random 3");
    EXPECT_EQ(scriptsAfter(before),
              (std::vector<std::string>{"location.reload()", "bs_insertText('abc')", "bs_insertPic('C:\\\\x.gif')"}));
    EXPECT_TRUE(window().visible);
    EXPECT_TRUE(main->Timer1().enabled());
}

TEST_F(PlusControlTest, AnAnswerThatIsMissingOrBrokenFailsBackToThePage) {
    open();
    writeBytes(inPlugin("param"), "insertText**stale");
    answers("");
    fake.processes.whileRunning = nullptr;  // the plug-in leaves no answer
    EXPECT_THROW(page().pageCalls("plus", "doExe||"), TovloError) << "the stale answer is not applied";
    EXPECT_TRUE(window().visible);

    answers("insertText**a||broken||insertText**b");
    const std::size_t before = page().scripts.size();
    EXPECT_THROW(page().pageCalls("plus", "doExe||"), TovloError);
    EXPECT_EQ(scriptsAfter(before), std::vector<std::string>{"bs_insertText('a')"});

    fake.processes.canStart = false;
    EXPECT_THROW(page().pageCalls("plus", "doExe||"), TovloError);
    EXPECT_TRUE(window().visible) << "the window comes back when the plug-in cannot start";
    EXPECT_TRUE(main->Timer1().enabled());
}

// The panel is closed while its program runs (events run during the wait):
// it lives until the wait is over, applies nothing, and the window comes
// back; another plug-in may be opened meanwhile, and a second run of the
// same panel is refused.
// While the plug-in's program runs, the page's calls wait for the run to
// end: its answer goes into the page first, then the next run, then the
// panel closes, as the user asked, one thing at a time.
TEST_F(PlusControlTest, CallsMadeWhileTheProgramRunsWaitForItsEnd) {
    open();
    FakeBrowserView& view = page();
    int runs = 0;
    fake.processes.whileRunning = [&](const std::string&, const std::string&) {
        writeBytes(inPlugin("param"), "insertText**run" + std::to_string(++runs));
        if (runs > 1) return;
        view.pageCalls("plus", "doExe||again");
        view.pageCalls("plus", "plusClose||-");
        fake.loop.advance(300);  // the reaper's and the re-show's ticks wait too
        EXPECT_NE(main->control(MainForm::kSlotPlus), nullptr) << "nothing closed the panel inside the run";
    };
    const std::size_t before = view.scripts.size();
    view.pageCalls("plus", "doExe||x");
    EXPECT_EQ(runs, 2) << "the second run came after the first";
    ASSERT_GE(view.scripts.size(), before + 2);
    EXPECT_NE(view.scripts[before].find("run1"), std::string::npos) << view.scripts[before];
    EXPECT_NE(view.scripts[before + 1].find("run2"), std::string::npos) << view.scripts[before + 1];
    EXPECT_EQ(main->control(MainForm::kSlotPlus), nullptr) << "then the panel closed";
    EXPECT_TRUE(view.failedCalls.empty());
    fake.loop.advance(300);
    EXPECT_TRUE(main->Timer1().enabled());
}

}  // namespace tovlo::test
