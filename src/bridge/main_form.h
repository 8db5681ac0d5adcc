#pragma once
// mainForm: Tovlo's face panel. It holds the three page views (web, Web2,
// web3), the panel area Frame1 with its three panel slots, the timers of
// tracking (Timer1), the server parameters (Timer3), re-showing (Timer4) and
// pasting (the inserter's Timer5), the tray icon and its menu, and the page
// command interpreter callVb.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bridge/about_form.h"
#include "bridge/panel_factory.h"
#include "core/command_target.h"
#include "core/debug_form.h"
#include "core/public_parm.h"
#include "platform/desktop.h"
#include "platform/history_db.h"
#include "platform/platform.h"
#include "plugins/plugin_registry.h"
#include "qq/buttom_frm.h"
#include "qq/chat_tracker.h"
#include "qq/face_inserter.h"
#include "qq/history_store.h"
#include "qq/qq_show.h"

namespace tovlo {

// Windows and procedures of other parts of the program that the main window
// opens. One that is not set is not part of this build: the command that
// needs it fails back to the page and changes nothing.
struct MainFormHooks {
    std::function<void()> openSettings;                        // the settings dialog
    std::function<void(const std::string& pack)> openFaceCopy;  // copy a pack to the moved face folder
    std::function<void()> runUpdateCheck;                      // the update check on entering the main page
};

class MainForm : public CommandTarget {
public:
    struct Deps {
        Platform& platform;
        PublicParm& parm;
        DebugForm& debug;
        Desktop& desktop;
        HistoryDb& historyDb;
        PanelFactory& panels;
        PluginRegistry& plugins;
    };

    MainForm(Deps deps, MainFormHooks hooks);
    ~MainForm() override;

    // The load handler: views, start-up, version, debug window, first page, tray.
    void load(const std::string& commandLine);

    // Runs one page command ("name||argument"); failures throw back to the page.
    void callVb(const std::string& Text) override;

    IniCls& getInic() { return parm_.ini; }
    std::string getUserName() const { return parm_.userName; }
    void setUserName(const std::string& name) { parm_.userName = name; }
    std::string getver() const { return parm_.ver; }
    void onHtmlLoadOver();
    void debugLog(const std::string& text) { debug_.log(text); }

    // Panel slots.
    void loadUserControl(const std::string& className);
    void loadUserControl2(const std::string& className);
    void loadPlusControl(const std::string& className);
    // The panel loaded under a control name, or null.
    Panel* control(const std::string& slotName);
    void exitControl();
    void exitManage() { exitControl(); }
    void exitAddFace() { exitControl(); }
    void exitAddFace2() { exitControl(); }
    void exitDownMyFace(const std::string& classId, const std::string& pg);
    void exitDownPublicFace(const std::string& pack);
    void exitProcessFace();
    // Shows a pack that is in the face folder: the catalogue view goes and
    // the main page switches to the pack ("changeClass").
    void showClass(const std::string& pack);
    void exitAddFaceOverAlert();
    // Closes the plug-in panel the way exitAddFaceOverAlert closes its slot.
    void exitPlusControl();
    void myHidden();
    void myNomal();
    void myAllShow();
    // Shows the window and gives it the keyboard focus (after another
    // program of ours had the screen, so that its pages may use the clipboard).
    void showFocused();
    void showMode_Buttom_showMainForm();

    void applyParam(const std::string& name, const std::string& value);
    // The tray menu's Exit.
    void exitMenu();
    // Unloads every window: the program ends.
    void unloadAll();
    bool unloaded() const { return unloaded_; }

    Form& window() { return *window_; }
    BrowserView& web() { return window_->browserView("web"); }
    BrowserView& Web2() { return window_->browserView("Web2"); }
    BrowserView& web3() { return window_->browserView("web3"); }
    Frame& Frame1() { return window_->frame("Frame1"); }
    const std::string& web3Tag() const { return web3Tag_; }
    Timer& Timer1() { return *timer1_; }
    Timer& Timer3() { return *timer3_; }
    Timer& Timer4() { return *timer4_; }
    ChatTracker& tracker() { return tracker_; }
    FaceInserter& inserter() { return inserter_; }
    ButtomFrm& bar() { return bar_; }
    QQShow* notice() { return qqShow_.get(); }
    AboutForm* about() { return about_.get(); }
    std::string trayTip() const { return trayTip_; }

    static constexpr const char* kSlot = "tempUserControl";
    static constexpr const char* kSlot2 = "tempUserControl2";
    static constexpr const char* kSlotPlus = "tempUserControl_plus";

private:
    // The command table: one handler per command name.
    using Handler = void (MainForm::*)(const std::string& arg);
    static const std::vector<std::pair<std::string, Handler>>& commands();

    void inputFace(const std::string& arg);
    void inputFaceAndHistory(const std::string& arg);
    void showSelect(const std::string& arg);
    void showFace(const std::string& arg);
    void showMySelect(const std::string& arg);
    void htmlLoadOver(const std::string& arg);
    void into(const std::string& arg);
    void exitFun(const std::string& arg);
    void config(const std::string& arg);
    void addFace(const std::string& arg);
    void showDownCustFaceClass(const std::string& arg);
    void loginSucc(const std::string& arg);
    void closeMyFace(const std::string& arg);
    void showMyOneClassFaces(const std::string& arg);
    void manage(const std::string& arg);
    void downAndShowOneFace(const std::string& arg);
    void regSucc(const std::string& arg);
    void closeWeb2(const std::string& arg);
    void web3returnasdg(const std::string& arg);
    void history(const std::string& arg);
    void getHistoryImg(const std::string& arg);
    void clearHistory(const std::string& arg);
    void loginout(const std::string& arg);
    void loadPlus(const std::string& arg);

    void loadSlot(const std::string& slot, const std::string& className);
    void removeSlot(const std::string& slot);
    void closeSlot(const std::string& slot);
    void hideFrameWhenEmpty();
    void onResized();
    void timer3Tick();
    void timer4Tick();
    void trayMenu();
    void openAbout();
    void showNotice();
    // Retired windows and panels are destroyed after the event that retired
    // them has returned (a panel may close itself from its own command).
    void retire(std::unique_ptr<CommandTarget> gone);
    std::string serviceUrl(const std::string& path) const;
    std::string ownFolder() const;
    std::string fetchService(const std::string& path);

    Platform& platform_;
    PublicParm& parm_;
    DebugForm& debug_;
    Desktop& desktop_;
    PanelFactory& panels_;
    PluginRegistry& plugins_;
    MainFormHooks hooks_;

    std::unique_ptr<Form> window_;
    std::unique_ptr<Timer> timer1_, timer3_, timer4_, reaper_;
    ButtomFrm bar_;
    ChatTracker tracker_;
    FaceInserter inserter_;
    HistoryStore history_;
    std::unique_ptr<QQShow> qqShow_;
    std::unique_ptr<AboutForm> about_;
    std::map<std::string, std::unique_ptr<Panel>> slots_;
    std::vector<std::unique_ptr<CommandTarget>> retired_;
    std::string web3Tag_;
    std::string trayTip_;
    bool unloaded_ = false;
};

}  // namespace tovlo
