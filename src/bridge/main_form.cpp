#include "main_form.h"

#include "bridge/web_js.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/service.h"
#include "core/startup.h"
#include "core/text.h"
#include "core/twips.h"
#include "core/urls.h"

namespace tovlo {

namespace {

// The face panel's size when it is created; docking changes its height only.
constexpr int kWindowWidth = 360;
constexpr int kWindowHeight = 520;

}  // namespace

MainForm::MainForm(Deps deps, MainFormHooks hooks)
    : platform_(deps.platform),
      parm_(deps.parm),
      debug_(deps.debug),
      desktop_(deps.desktop),
      panels_(deps.panels),
      plugins_(deps.plugins),
      hooks_(std::move(hooks)),
      window_(platform_.forms.create("mainForm")),
      timer1_(platform_.loop.createTimer(20, true)),
      timer3_(platform_.loop.createTimer(1000, false)),
      timer4_(platform_.loop.createTimer(200, false)),
      reaper_(platform_.loop.createTimer(1, false)),
      bar_(platform_.forms, parm_.app,
           [this] {
               // A click gives the bar the focus (window managers may not do
               // it for a frameless button), so the next tick sees the bar
               // in front and leaves the panel shown.
               desktop_.setForegroundWindow(bar_.form().handle());
               showMode_Buttom_showMainForm();
           }),
      tracker_(desktop_, *window_, bar_, parm_),
      inserter_(desktop_, platform_.loop, debug_),
      history_(deps.historyDb, parm_) {
    window_->setTitle("Tovlo");
    window_->setGeometry({0, 0, kWindowWidth, kWindowHeight});
    window_->onResized = [this] { onResized(); };
    // A click into the panel gives it the focus at once (window managers may
    // not do it for a frameless tool window); the page needs the focus to
    // put the chosen face on the clipboard. While a paste is pending the
    // chat window gets the focus back (the window manager may have given it
    // to the panel for the click), so the paste still lands there.
    window_->onPressed = [this] {
        desktop_.setForegroundWindow(inserter_.inputBusy() ? inserter_.target() : window_->handle());
    };
    onResized();
    for (BrowserView* view : {&web(), &Web2(), &web3()}) WebJs(*this, this, nullptr).attachTo(*view);
    timer1_->onTick = [this] { tracker_.tick(); };
    timer3_->onTick = [this] { timer3Tick(); };
    timer4_->onTick = [this] { timer4Tick(); };
    reaper_->onTick = [this] {
        reaper_->setEnabled(false);
        retired_.clear();
    };
    platform_.tray.onClick = [this] {
        if (hooks_.openSettings) hooks_.openSettings();
    };
    platform_.tray.onMenuRequest = [this] { trayMenu(); };
}

MainForm::~MainForm() {
    platform_.tray.onClick = nullptr;
    platform_.tray.onMenuRequest = nullptr;
}

void MainForm::load(const std::string& commandLine) {
    // Web2 and web3 start small and hidden; the resize handler sizes them.
    const Rect w = window_->geometry();
    const Rect overlay{twipsToPixels(100), twipsToPixels(450), w.width - twipsToPixels(300), w.height};
    for (BrowserView* view : {&Web2(), &web3()}) {
        view->setGeometry(overlay);
        view->setVisible(false);
        view->navigate("about:blank");
    }
    window_->hide();
    startUp(parm_, platform_, debug_, [this](const std::string& name) { setUserName(name); });
    takeVersion(parm_, commandLine);
    if (parm_.isDebug) debug_.show();
    trayTip_ = trayTipText(parm_);
    web().navigate(fileUrl(joinPath(parm_.app, {"w", "nullInte.html"})));
    window_->setTopMost();
    platform_.tray.setToolTip(trayTip_);
    platform_.tray.setVisible(true);
    platform_.tray.showBalloon("标题", "Tovlo欢迎你!");
}

void MainForm::onResized() {
    const Rect w = window_->geometry();
    web().setGeometry({0, 0, w.width, w.height});
    if (w.height <= 50) return;
    for (BrowserView* view : {&Web2(), &web3()}) {
        Rect r = view->geometry();
        view->setGeometry({r.left, r.top, w.width - 15, w.height - 50});
    }
}

void MainForm::onHtmlLoadOver() { runPageScript(web(), "setNullMain(" + plugins_.pluginListText() + ")"); }

// Panel slots ---------------------------------------------------------------

Panel* MainForm::control(const std::string& slotName) {
    auto it = slots_.find(slotName);
    return it == slots_.end() ? nullptr : it->second.get();
}

void MainForm::loadUserControl(const std::string& className) { loadSlot(kSlot, className); }
void MainForm::loadUserControl2(const std::string& className) { loadSlot(kSlot2, className); }
void MainForm::loadPlusControl(const std::string& className) { loadSlot(kSlotPlus, className); }

void MainForm::loadSlot(const std::string& slot, const std::string& className) {
    // Both refusals come before any change, so a failed load leaves all as it was.
    if (control(slot)) throw TovloError(kErrSlotTaken, "a panel is already loaded as " + slot);
    if (!panels_.knows(className))
        throw TovloError(kErrInvalidArgument, "the panel " + className + " is not part of this build");
    Frame& frame = Frame1();
    frame.setVisible(true);
    const Rect w = window_->geometry();
    frame.setGeometry({twipsToPixels(90), twipsToPixels(480),
                       twipsToPixels(pixelsToTwips(w.width) - 190),
                       twipsToPixels(pixelsToTwips(w.height) - 800)});
    auto form = window_->createPanel("Frame1", className);
    Form& panelForm = *form;
    slots_[slot] = panels_.create(className, *this, std::move(form));
    panelForm.show();
    debug_.log("panel opened: " + slot + " " + className);
}

void MainForm::removeSlot(const std::string& slot) {
    auto it = slots_.find(slot);
    if (it == slots_.end()) throw TovloError(kErrInvalidArgument, "no panel is loaded as " + slot);
    it->second->form().hide();
    retire(std::move(it->second));
    slots_.erase(it);
    debug_.log("panel closed: " + slot);
}

void MainForm::retire(std::unique_ptr<CommandTarget> gone) {
    retired_.push_back(std::move(gone));
    reaper_->setEnabled(true);
}

// The three slots share Frame1: it goes away with the last panel only, so
// closing one slot never hides (and strands) the panel of another.
void MainForm::hideFrameWhenEmpty() {
    if (slots_.empty()) Frame1().setVisible(false);
}

// How a panel leaves its slot: the tick paused and the window shown around
// the removal, tracking resumed 200 ms later by Timer4.
void MainForm::closeSlot(const std::string& slot) {
    timer1_->setEnabled(false);
    window_->show();
    removeSlot(slot);
    hideFrameWhenEmpty();
    window_->show();
    timer4_->setEnabled(true);
}

void MainForm::exitControl() { closeSlot(kSlot); }

void MainForm::exitDownMyFace(const std::string& classId, const std::string& pg) {
    web3().navigate(fileUrl(joinPath(parm_.app, {"w", "CustomFace", getUserName(), classId, pg + ".html"})));
    web3Tag_ = classId;
    exitControl();
}

void MainForm::exitDownPublicFace(const std::string& pack) {
    exitControl();
    if (!pack.empty()) {
        loadUserControl("PublicFaceProcess");
        control(kSlot)->setProperty("PPath", pack);
    }
}

void MainForm::exitProcessFace() {
    removeSlot(kSlot);
    hideFrameWhenEmpty();
    timer4_->setEnabled(true);
}

void MainForm::exitAddFaceOverAlert() { closeSlot(kSlot2); }

void MainForm::exitPlusControl() { closeSlot(kSlotPlus); }

void MainForm::myHidden() {
    timer1_->setEnabled(false);
    window_->hide();
}

void MainForm::myNomal() { timer1_->setEnabled(true); }

void MainForm::showFocused() {
    window_->show();
    window_->activate();
}

void MainForm::myAllShow() {
    timer1_->setEnabled(false);
    window_->show();
}

void MainForm::showMode_Buttom_showMainForm() { tracker_.showMode_Buttom_showMainForm(*timer1_); }

// Timers --------------------------------------------------------------------

void MainForm::timer4Tick() {
    timer4_->setEnabled(false);
    window_->show();
    window_->setTopMost();
    parm_.keepMainVisible = false;
    timer1_->setEnabled(true);
}

void MainForm::timer3Tick() {
    timer3_->setEnabled(false);
    auto bytes = platform_.fetch.fetchBytes(serviceUrl("/soft/params.html"));
    std::string text = bytes ? platform_.codec.ansiToUtf8(*bytes) : std::string();
    if (!contains(text, "isQQShow")) return;
    for (const std::string& item : split(text, "||")) {
        // An item without "=" names nothing and is skipped; a value keeps any
        // further "=" it holds (addresses with a query do). Line breaks and
        // blanks around an item (a list written one item per line) are not
        // part of it: "true" must match, and config.ini must not get them.
        auto nameValue = splitFirst(trimSpace(item), "=");
        if (nameValue) applyParam(nameValue->first, nameValue->second);
    }
}

void MainForm::applyParam(const std::string& name, const std::string& value) {
    if (name == "isQQShow") {
        if (value == "true") showNotice();
    } else if (name == "faceHttpPath") {
        parm_.ini.WriteIniKey("run", "faceHttpPath", value);
        parm_.faceHttpPath = value;
    }
}

void MainForm::showNotice() {
    if (!qqShow_) {
        qqShow_ = std::make_unique<QQShow>(platform_.forms, platform_.loop, desktop_, parm_, [this] {
            if (qqShow_) {
                qqShow_->form().hide();
                retire(std::move(qqShow_));
            }
        });
        WebJs(*this, nullptr, qqShow_.get()).attachTo(qqShow_->WebBrowser1());
    }
    qqShow_->form().show();
}

// Tray, about, exit -----------------------------------------------------------

void MainForm::trayMenu() {
    desktop_.setForegroundWindow(window_->handle());
    platform_.tray.popupMenu({"设置", "关于", "退出"}, [this](int item) {
        if (item == 0 && hooks_.openSettings) hooks_.openSettings();
        if (item == 1) openAbout();
        if (item == 2) {
            try {
                exitMenu();
            } catch (const std::exception& e) {
                debug_.log(std::string("exit: ") + e.what());
            }
        }
    });
}

void MainForm::openAbout() {
    if (!about_) about_ = std::make_unique<AboutForm>(platform_, parm_.ini, serviceUrl("/"));
    about_->show();
}

void MainForm::exitMenu() {
    parm_.startWith = parm_.ini.GetIniKey("run", "startWith");
    if (parm_.startWith != "1") {
        // The page answers with "exitFun" and the class it shows. A page
        // that cannot (the offline notice has no exitFun) must not keep the
        // user from quitting: the program ends and the stored class stays.
        try {
            runPageScript(web(), "exitFun()");
            return;
        } catch (const ScriptError& e) {
            debug_.log(std::string("exit without the page: ") + e.what());
        }
    } else {
        parm_.ini.WriteIniKey("run", "defaultFaceClass", "没有分类");
    }
    platform_.tray.setVisible(false);
    unloadAll();
}

void MainForm::unloadAll() {
    if (unloaded_) return;
    unloaded_ = true;
    for (Timer* t : {timer1_.get(), timer3_.get(), timer4_.get()}) t->setEnabled(false);
    for (auto& [name, panel] : slots_) panel->form().hide();
    if (qqShow_) qqShow_->form().hide();
    if (about_) about_->form().hide();
    bar_.form().hide();
    window_->hide();
    platform_.tray.setVisible(false);
    platform_.loop.quit();
}

std::string MainForm::serviceUrl(const std::string& path) const {
    return tovlo::serviceUrl(parm_.serviceHost, path);
}

std::string MainForm::ownFolder() const {
    return joinPath(parm_.app, {"w", "CustomFace", parm_.userName});
}

std::string MainForm::fetchService(const std::string& path) {
    return fetchUrlText(platform_, parm_.app, serviceUrl(path));
}

}  // namespace tovlo
