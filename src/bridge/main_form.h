#pragma once
// mainForm: Tovlo's face panel. It holds the window with its page views,
// the panel area Frame1 with its three panel slots, the tracking tick
// (Timer1) and the re-show after a panel closes (Timer4), the bottom bar,
// face insertion, the usage history with the marks on faces and the index
// of the faces on disk; the server parameters (Timer3), the
// tray menu and the page commands are parts of their own. It is the host
// that panels talk to.
#include <functional>
#include <memory>
#include <string>

#include "bridge/main_commands.h"
#include "bridge/page_views.h"
#include "bridge/panel_factory.h"
#include "bridge/panel_slots.h"
#include "bridge/server_params.h"
#include "bridge/tray_menu.h"
#include "core/debug_form.h"
#include "core/public_parm.h"
#include "core/reaper.h"
#include "core/session.h"
#include "platform/desktop.h"
#include "platform/history_db.h"
#include "platform/hot_key.h"
#include "platform/platform.h"
#include "plugins/plugin_registry.h"
#include "qq/buttom_frm.h"
#include "qq/chat_tracker.h"
#include "qq/face_inserter.h"
#include "library/face_index.h"
#include "qq/face_marks.h"
#include "qq/history_store.h"
#include "qq/tracking_timer.h"

namespace tovlo {

// Windows and procedures of other parts of the program that the main window
// opens. One that is not set is not part of this build: the command that
// needs it fails back to the page and changes nothing.
struct MainFormHooks {
    std::function<void()> openSettings;                         // the settings dialog
    std::function<void(const std::string& pack)> openFaceCopy;  // copy a pack to the moved face folder
    std::function<void()> runUpdateCheck;                       // the update check on entering the main page
};

class MainForm : public PanelHost {
public:
    struct Deps {
        Platform& platform;
        PublicParm& parm;
        DebugForm& debug;
        Desktop& desktop;
        HistoryDb& historyDb;
        PanelFactory& panels;
        PluginRegistry& plugins;
        // The desktop's hot keys; without them the panel has no hot key.
        GlobalHotKey* hotKey = nullptr;
    };

    MainForm(Deps deps, MainFormHooks hooks);

    // The load handler: views, start-up, version, debug window, first page, tray.
    void load(const std::string& commandLine);

    // Runs one page command ("name||argument"); failures throw back to the page.
    void callVb(const std::string& Text) { commands_.callVb(Text); }
    // The plug-in list into the main page ("setNullMain").
    void onHtmlLoadOver();

    // Panel slots.
    void loadUserControl(const std::string& className) override { slots_.load(kSlot, className); }
    void loadUserControl2(const std::string& className) override { slots_.load(kSlot2, className); }
    void loadPlusControl(const std::string& className) { slots_.load(kSlotPlus, className); }
    Panel* control(const std::string& slotName) override { return slots_.control(slotName); }
    void exitControl() override { closeSlot(kSlot); }
    void exitDownMyFace(const std::string& classId, const std::string& pg) override;
    void exitDownPublicFace(const std::string& pack) override;
    void exitProcessFace() override;
    void exitAddFaceOverAlert() override { closeSlot(kSlot2); }
    void exitPlusControl() override { closeSlot(kSlotPlus); }

    // Pages.
    BrowserView& web3() override { return views_.web3(); }
    const std::string& web3Tag() const override { return views_.web3Tag(); }
    void showMySelect() override { commands_.showMySelect(); }
    void showMyOneClassFaces(const std::string& classId, const std::string& page) override {
        commands_.showMyOneClassFaces(classId, page);
    }
    void showClass(const std::string& pack) override;
    void connectPage(BrowserView& view, bool mainCommands) override;
    void inputFace(const std::string& historyEntry, bool record) override { commands_.inputFace(historyEntry, record); }

    // The window and tracking.
    void pauseTracking() override { timer1_->setEnabled(false); }
    void resumeTracking() override { timer1_->setEnabled(true); }
    void showWindow() override { window_->show(); }
    void hideWindow() override { window_->hide(); }
    void showFocused() override;
    // The bar's click: show or hide the panel (modes with a bottom bar).
    void showMode_Buttom_showMainForm();
    // Binds the hot key the settings name ("Ctrl+Alt+E"; "none" or "" for
    // none) to the panel. False when the text names no combination or the
    // desktop refuses it: the one bound before stays.
    bool useHotKey(const std::string& text);
    // The hot key: the panel beside the chat window, in front with the
    // keyboard focus in its search box.
    void hotKeyPressed();
    // Esc in the panel: the panel closes as the chat window's panel does
    // and the chat window gets the focus back.
    void closeByKeyboard();

    Session& session() override { return session_; }

    // The tray menu's Exit.
    void exitMenu();
    // Unloads every window: the program ends.
    void unloadAll();
    bool unloaded() const { return unloaded_; }

    Form& window() { return *window_; }
    PageViews& views() { return views_; }
    PanelSlots& panelSlots() { return slots_; }
    Timer& Timer1() { return *timer1_; }
    Timer& Timer3() { return params_.Timer3(); }
    ServerParams& params() { return params_; }
    ChatTracker& tracker() { return tracker_; }
    FaceInserter& inserter() { return inserter_; }
    ButtomFrm& bar() { return bar_; }
    QQShow* notice() { return params_.notice(); }
    TrayMenu& tray() { return tray_; }
    std::string trayTip() const { return trayTip_; }

private:
    // The command table is a part of this window and works on its members.
    friend class MainCommands;

    // How a panel leaves its slot: the tick paused and the window shown around
    // the removal, tracking resumed 200 ms later by Timer4.
    void closeSlot(const std::string& slot);
    void timer4Tick();

    Platform& platform_;
    PublicParm& parm_;
    DebugForm& debug_;
    Desktop& desktop_;
    PluginRegistry& plugins_;
    GlobalHotKey* hotKey_;
    MainFormHooks hooks_;
    Session session_;

    std::unique_ptr<Form> window_;
    // Timer1 runs the tracking tick when the desktop reports a change (every
    // 20 ms where it cannot).
    std::unique_ptr<TrackingTimer> timer1_;
    std::unique_ptr<Timer> timer4_;
    Reaper reaper_;
    PageViews views_;
    PanelSlots slots_;
    ButtomFrm bar_;
    ChatTracker tracker_;
    FaceInserter inserter_;
    HistoryStore history_;
    FaceMarks marks_;
    FaceIndex faceIndex_;
    ServerParams params_;
    TrayMenu tray_;
    MainCommands commands_;
    std::string trayTip_;
    bool unloaded_ = false;
};

}  // namespace tovlo
