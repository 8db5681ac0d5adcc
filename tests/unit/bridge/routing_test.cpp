// How page calls reach their receivers, and how failures leave the state.
#include <algorithm>

#include "main_form_fixture.h"

namespace tovlo::test {

TEST_F(MainFormTest, EachWebNameReachesItsReceiver) {
    offerPanel("ClassManager");
    offerPanel("PlusControl");
    writeBytes(dir / "plus/demo/main.ini", "[main]\r\nid=7\r\nname=demo\r\n");
    start();
    plugins->loadPlugins();
    web().pageCalls("web", "closeWeb2||-");
    EXPECT_FALSE(web2().visible);

    web().pageCalls("web", "manage||-");
    web().pageCalls("web", "loadPlus||7");
    web3().pageCalls("manageWeb", "getName||-");
    web3().pageCalls("addWeb", "back||-");
    web().pageCalls("plus", "getInfor||-");
    EXPECT_EQ(panelLog,
              (std::vector<std::string>{"ClassManager:getName||-", "ClassManager:back||-", "PlusControl:getInfor||-"}));
    // A name nobody answers to does nothing, and no error.
    EXPECT_NO_THROW(web().pageCalls("nobody", "manage||-"));
    EXPECT_EQ(panelLog.size(), 3u);
}

TEST_F(MainFormTest, CallsToAMissingReceiverFailBackToThePage) {
    start();
    EXPECT_THROW(web().pageCalls("addWeb", "back||-"), TovloError) << "no panel loaded";
    EXPECT_THROW(web().pageCalls("plus", "getInfor||-"), TovloError);
    EXPECT_THROW(web().pageCalls("qqWeb", "close||-"), TovloError) << "the main window's pages have no notice window";
}

// The page hears a short Chinese sentence it can show the user; what went
// wrong, in the developer's words, goes to the debug log.
TEST_F(MainFormTest, AFailedCallTellsThePageInChineseAndLogsTheDetails) {
    offerPanel("ClassManager");
    start();
    std::vector<std::string> logged;
    debug->setEcho([&](const std::string& line) { logged.push_back(line); });
    main->callVb("manage||-");
    web().missingFunctions.insert("history");
    struct Row {
        const char* webName;
        const char* text;
        const char* told;
        const char* detail;
    };
    const Row rows[] = {
        {"web", "manage||-", "请先关闭已经打开的面板", "a panel is already loaded as tempUserControl"},
        {"plus", "getInfor||-", "这项操作无法完成", "nothing receives the commands of plus"},
        {"web", "closeWeb2", "这项操作无法完成", "not a command"},
        {"web", "history||-", "页面没有响应", "'history' is undefined"},
    };
    for (const Row& row : rows) {
        logged.clear();
        try {
            web().pageCalls(row.webName, row.text);
            ADD_FAILURE() << row.text << " did not fail";
        } catch (const TovloError& e) {
            EXPECT_STREQ(e.what(), row.told) << row.text;
        }
        const bool explained = std::any_of(logged.begin(), logged.end(), [&](const std::string& line) {
            return line.find(row.text) != std::string::npos && line.find(row.detail) != std::string::npos;
        });
        EXPECT_TRUE(explained) << row.text << " is not in the debug log with " << row.detail;
    }
}

TEST_F(MainFormTest, MalformedCommandsFailAndChangeNothing) {
    offerPanel("PublicFaceDownLoader");
    offerPanel("MyFaceDownLoader");
    start();
    parm->userName = "tom";
    web2().visible = true;
    const auto navigations = web3().navigations;
    EXPECT_THROW(main->callVb("closeWeb2"), TovloError) << "no \"||\"";
    EXPECT_TRUE(web2().visible);
    EXPECT_THROW(main->callVb("showFace||hot"), TovloError);
    EXPECT_THROW(main->callVb("showMyOneClassFaces||12"), TovloError);
    EXPECT_THROW(main->callVb("downAndShowOneFace||12"), TovloError);
    EXPECT_FALSE(parm->keepMainVisible);
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir / "w/CustomFace/tom/12"));
    EXPECT_EQ(web3().navigations, navigations);
    EXPECT_TRUE(web3().scripts.empty());
    // A command the window does not know is noted, and nothing else: pages
    // of the service may send commands of another build.
    std::vector<std::string> noted;
    debug->setEcho([&](const std::string& line) { noted.push_back(line); });
    EXPECT_NO_THROW(main->callVb("noSuchCommand||x"));
    EXPECT_EQ(noted, (std::vector<std::string>{"mainform=noSuchCommand||x", "unknown command: noSuchCommand"}));
}

TEST_F(MainFormTest, ValuesThatWouldLeaveTheirFolderAreRefused) {
    offerPanel("PublicFaceDownLoader");
    offerPanel("MyFaceDownLoader");
    start();
    EXPECT_THROW(main->callVb("loginSucc||../../etc"), TovloError);
    EXPECT_EQ(parm->userName, "");
    EXPECT_EQ(parm->ini.GetIniKey("run", "autoLoginName"), "");
    EXPECT_THROW(main->callVb("regSucc||a/b"), TovloError);
    EXPECT_THROW(main->callVb("showFace||..,1"), TovloError);
    parm->userName = "tom";
    EXPECT_THROW(main->callVb("showMyOneClassFaces||../x--1"), TovloError);
    EXPECT_THROW(main->callVb("showMyOneClassFaces||12--../../1"), TovloError);
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
}

TEST_F(MainFormTest, MissingPageFunctionFailsTheCommand) {
    start();
    web().missingFunctions.insert("history");
    EXPECT_THROW(main->callVb("history||-"), ScriptError);
    EXPECT_TRUE(web().visible) << "steps before the failing script stay done";
}

TEST_F(MainFormTest, PanelsThatAreNotBuiltFailBeforeAnyChange) {
    start();
    EXPECT_THROW(main->callVb("manage||-"), TovloError);
    EXPECT_THROW(main->callVb("showFace||hot,3"), TovloError);
    EXPECT_FALSE(parm->keepMainVisible);
    EXPECT_FALSE(window().frames["Frame1"].visible);
    EXPECT_THROW(main->callVb("config||-"), TovloError);
    EXPECT_THROW(main->callVb("loadPlus||7"), TovloError);
    EXPECT_EQ(plugins->currentPlugin(), "");
}

TEST_F(MainFormTest, ASlotHoldsOnePanel) {
    offerPanel("ClassManager");
    offerPanel("AddFaceCon");
    start();
    parm->userName = "tom";
    main->callVb("manage||-");
    EXPECT_THROW(main->callVb("addFace||-"), TovloError);
    EXPECT_EQ(panelIn(MainForm::kSlot)->className, "ClassManager");
    main->exitManage();
    EXPECT_THROW(main->exitManage(), TovloError) << "removing a panel that is not loaded fails";
    main->callVb("addFace||-");
    EXPECT_EQ(panelIn(MainForm::kSlot)->className, "AddFaceCon");
}

TEST_F(MainFormTest, APanelMayCloseItselfFromItsOwnCommand) {
    offerPanel("ClassManager");
    start();
    main->callVb("manage||-");
    panelIn(MainForm::kSlot)->onCommand = [this](const std::string&) { main->exitManage(); };
    web().pageCalls("manageWeb", "closeManage||-");
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    fake.loop.advance(5);  // the panel is destroyed after its event
    EXPECT_EQ(fake.forms.find("ClassManager"), nullptr);
}

}  // namespace tovlo::test
