#pragma once
// What a panel may ask of the main window that hosts it: the panel slots,
// the account pages view (web3), tracking and the window, the page bridge
// for its own views, and the session. Panels get this and nothing more of
// the main window.
#include <string>

#include "core/session.h"
#include "platform/browser_view.h"

namespace tovlo {

class Panel;

class PanelHost {
public:
    virtual ~PanelHost() = default;

    // The panel slots: "tempUserControl" (task panels), "tempUserControl2"
    // (the upload result) and "tempUserControl_plus" (the plug-in panel).
    static constexpr const char* kSlot = "tempUserControl";
    static constexpr const char* kSlot2 = "tempUserControl2";
    static constexpr const char* kSlotPlus = "tempUserControl_plus";

    virtual void loadUserControl(const std::string& className) = 0;
    virtual void loadUserControl2(const std::string& className) = 0;
    // The panel loaded in a slot, or null.
    virtual Panel* control(const std::string& slotName) = 0;

    // How panels leave their slots.
    virtual void exitControl() = 0;
    void exitManage() { exitControl(); }
    void exitAddFace() { exitControl(); }
    void exitAddFace2() { exitControl(); }
    virtual void exitDownMyFace(const std::string& classId, const std::string& pg) = 0;
    virtual void exitDownPublicFace(const std::string& pack) = 0;
    virtual void exitProcessFace() = 0;
    virtual void exitAddFaceOverAlert() = 0;
    virtual void exitPlusControl() = 0;

    // The account pages: the view, the class it shows, and showing a class
    // page (made first when it is missing).
    virtual BrowserView& web3() = 0;
    virtual const std::string& web3Tag() const = 0;
    virtual void showMyOneClassFaces(const std::string& classId, const std::string& page) = 0;
    // Shows the account's class list page (fetched first when it is missing).
    virtual void showMySelect() = 0;
    // Switches the main page to a pack that is in the face folder.
    virtual void showClass(const std::string& pack) = 0;

    // Gives a panel's view the page bridge: its pages reach the panels by
    // their web names, and with mainCommands also the main window ("web").
    virtual void connectPage(BrowserView& view, bool mainCommands) = 0;

    // The window and the tracking tick.
    virtual void pauseTracking() = 0;
    virtual void resumeTracking() = 0;
    virtual void showWindow() = 0;
    virtual void hideWindow() = 0;
    // Shows the window and gives it the keyboard focus.
    virtual void showFocused() = 0;

    // Pastes what a panel's page put on the clipboard into the chat window;
    // with record, the history entry is kept first.
    virtual void inputFace(const std::string& historyEntry, bool record) = 0;

    virtual Session& session() = 0;
};

}  // namespace tovlo
