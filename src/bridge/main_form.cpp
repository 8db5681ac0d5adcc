#include "main_form.h"

#include "bridge/web_js.h"
#include "core/functions.h"
#include "core/hot_key_text.h"
#include "core/paths.h"
#include "core/service.h"
#include "core/startup.h"
#include "core/text.h"
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
      plugins_(deps.plugins),
      hotKey_(deps.hotKey),
      hooks_(std::move(hooks)),
      session_(parm_),
      window_(platform_.forms.create(
          FormDescription("mainForm", {.frameless = true, .topMost = true, .showsWithoutFocus = true})
              .browserViews({"web", "Web2", "web3"})
              .frames({"Frame1"}))),
      timer1_(std::make_unique<TrackingTimer>(platform_.loop, desktop_, 20, true)),
      timer4_(platform_.loop.createTimer(200, false)),
      reaper_(platform_.loop),
      views_(*window_),
      slots_(*window_, deps.panels, *this, reaper_, debug_),
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
      history_(deps.historyDb, parm_),
      marks_(deps.historyDb),
      faceIndex_(platform_.codec),
      params_(platform_, parm_, desktop_, reaper_,
              [this](QQShow& notice) { WebJs(slots_, debug_, nullptr, &notice).attachTo(notice.WebBrowser1()); }),
      tray_(platform_, desktop_, *window_, parm_, debug_, {hooks_.openSettings, [this] { exitMenu(); }}),
      commands_(*this) {
    window_->setTitle("Tovlo");
    window_->setGeometry({0, 0, kWindowWidth, kWindowHeight});
    window_->onResized = [this] { views_.fitToWindow(); };
    // A click into the panel gives it the focus at once (window managers may
    // not do it for a frameless tool window); the page needs the focus to
    // put the chosen face on the clipboard. While a paste is pending the
    // chat window gets the focus back (the window manager may have given it
    // to the panel for the click), so the paste still lands there.
    window_->onPressed = [this] {
        desktop_.setForegroundWindow(inserter_.inputBusy() ? inserter_.target() : window_->handle());
    };
    views_.fitToWindow();
    for (BrowserView* view : {&views_.web(), &views_.Web2(), &views_.web3()}) connectPage(*view, true);
    timer1_->onTick = [this] { tracker_.tick(); };
    timer1_->wantsAnotherLook = [this] { return tracker_.awaitsWindow(); };
    timer1_->watch([this] { return std::vector<WindowHandle>{window_->handle(), bar_.form().handle()}; });
    timer4_->onTick = [this] { timer4Tick(); };
}

void MainForm::load(const std::string& commandLine) {
    views_.prepareOverlays();
    window_->hide();
    startUp(parm_, platform_, debug_, [this](const std::string& name) { session_.setUserName(name); });
    takeVersion(parm_, commandLine);
    if (parm_.isDebug) debug_.show();
    if (!useHotKey(parm_.hotKey)) debug_.log("the hot key " + parm_.hotKey + " cannot be used");
    trayTip_ = trayTipText(parm_);
    views_.web().navigate(fileUrl(joinPath(parm_.app, {"w", "nullInte.html"})));
    window_->setTopMost();
    platform_.tray.setToolTip(trayTip_);
    platform_.tray.setVisible(true);
    platform_.tray.showBalloon("标题", "Tovlo欢迎你!");
}

void MainForm::onHtmlLoadOver() { runPageScript(views_.web(), "setNullMain(" + plugins_.pluginListText() + ")"); }

void MainForm::connectPage(BrowserView& view, bool mainCommands) {
    WebJs(slots_, debug_, mainCommands ? &commands_ : nullptr, nullptr).attachTo(view);
}

// Panel slots ---------------------------------------------------------------

void MainForm::closeSlot(const std::string& slot) {
    timer1_->setEnabled(false);
    window_->show();
    // Tracking comes back 200 ms later whatever the removal does (it fails
    // for a slot without a panel).
    timer4_->setEnabled(true);
    slots_.remove(slot);
    window_->show();
}

void MainForm::exitDownMyFace(const std::string& classId, const std::string& pg) {
    views_.showClassPage(fileUrl(joinPath(session_.classFolder(classId), {pg + ".html"})), classId);
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
    slots_.remove(kSlot);
    timer4_->setEnabled(true);
}

// Pages ---------------------------------------------------------------------

void MainForm::showClass(const std::string& pack) {
    views_.Web2().setVisible(false);
    callPageFunction(views_.web(), "changeClass", {pack, pageSlashes(parm_.facePath)});
}

// Window --------------------------------------------------------------------

void MainForm::showFocused() {
    window_->show();
    window_->activate();
}

void MainForm::showMode_Buttom_showMainForm() { tracker_.showMode_Buttom_showMainForm(*timer1_); }

bool MainForm::useHotKey(const std::string& text) {
    if (!hotKey_) return false;
    if (text.empty() || text == kNoHotKey) {
        hotKey_->unbind();
        return true;
    }
    const std::optional<HotKey> key = parseHotKey(text);
    return key && hotKey_->bind(*key, [this] { hotKeyPressed(); });
}

void MainForm::hotKeyPressed() {
    if (unloaded_) return;
    // Without a chat window the panel shows where it was, for a look.
    tracker_.summon();
    window_->show();
    window_->setTopMost();
    // The hot key is the user's request: the panel may take the focus.
    desktop_.setForegroundWindow(window_->handle());
    views_.web().focus();
    try {
        runPageScript(views_.web(), "focusSearch()");
    } catch (const ScriptError& e) {
        debug_.log(std::string("the page has no search box: ") + e.what());
    }
}

void MainForm::closeByKeyboard() {
    tracker_.dismiss();
    if (tracker_.qqwindow() != 0) desktop_.setForegroundWindow(tracker_.qqwindow());
}

void MainForm::timer4Tick() {
    timer4_->setEnabled(false);
    window_->show();
    window_->setTopMost();
    parm_.keepMainVisible = false;
    timer1_->setEnabled(true);
}

// Exit ----------------------------------------------------------------------

void MainForm::exitMenu() {
    parm_.startWith = parm_.ini.GetIniKey("run", "startWith");
    if (parm_.startWith != "1") {
        // The page answers with "exitFun" and the class it shows. A page
        // that cannot (the offline notice has no exitFun) must not keep the
        // user from quitting: the program ends and the stored class stays.
        try {
            runPageScript(views_.web(), "exitFun()");
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
    for (Timer* t : {static_cast<Timer*>(timer1_.get()), timer4_.get(), &params_.Timer3()}) t->setEnabled(false);
    slots_.hideAll();
    params_.hideNotice();
    tray_.hideAbout();
    bar_.form().hide();
    window_->hide();
    platform_.tray.setVisible(false);
    platform_.loop.quit();
}

}  // namespace tovlo
