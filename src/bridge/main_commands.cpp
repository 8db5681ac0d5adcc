// The main window's page commands.
#include "bridge/main_form.h"
#include "core/command.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/urls.h"

namespace tovlo {

namespace {

// A name from a page that becomes a folder or file name must stay one name.
const std::string& checkedName(const std::string& name, const char* what) {
    if (!isSafeName(name)) throw TovloError(kErrInvalidArgument, std::string("unusable ") + what + ": " + name);
    return name;
}

}  // namespace

const std::vector<std::pair<std::string, MainForm::Handler>>& MainForm::commands() {
    static const std::vector<std::pair<std::string, Handler>> table = {
        {"inputFace", &MainForm::inputFace},
        {"inputFaceAndHistory", &MainForm::inputFaceAndHistory},
        {"showSelect", &MainForm::showSelect},
        {"showFace", &MainForm::showFace},
        {"showMySelect", &MainForm::showMySelect},
        {"htmlLoadOver", &MainForm::htmlLoadOver},
        {"into", &MainForm::into},
        {"exitFun", &MainForm::exitFun},
        {"config", &MainForm::config},
        {"addFace", &MainForm::addFace},
        {"showDownCustFaceClass", &MainForm::showDownCustFaceClass},
        {"loginSucc", &MainForm::loginSucc},
        {"closeMyFace", &MainForm::closeMyFace},
        {"showMyOneClassFaces", &MainForm::showMyOneClassFaces},
        {"manage", &MainForm::manage},
        {"downAndShowOneFace", &MainForm::downAndShowOneFace},
        {"regSucc", &MainForm::regSucc},
        {"closeWeb2", &MainForm::closeWeb2},
        {"web3returnasdg", &MainForm::web3returnasdg},
        {"history", &MainForm::history},
        {"getHistoryImg", &MainForm::getHistoryImg},
        {"clearHistory", &MainForm::clearHistory},
        {"loginout", &MainForm::loginout},
        {"loadPlus", &MainForm::loadPlus},
    };
    return table;
}

void MainForm::callVb(const std::string& Text) {
    debug_.log("mainform=" + Text);
    Command c = parseCommand(Text);
    for (const auto& [name, handler] : commands()) {
        if (name == c.name) {
            (this->*handler)(c.arg);
            return;
        }
    }
}

void MainForm::inputFace(const std::string&) {
    if (inserter_.inputBusy()) return;
    inserter_.insert(tracker_.qqwindow);
}

void MainForm::inputFaceAndHistory(const std::string& arg) {
    if (inserter_.inputBusy()) return;
    history_.addHistory(arg);
    inserter_.insert(tracker_.qqwindow);
}

void MainForm::showSelect(const std::string&) {
    if (Web2().location() == "about:blank") {
        if (fetchService("/soft/connect.html") != "1") {
            platform_.messages.show("您没有连接网络！请先连接网络然后再试");
            return;
        }
        Web2().navigate(serviceUrl("/soft/select.html"));
    }
    Web2().setVisible(true);
    web3().setVisible(false);
}

void MainForm::showFace(const std::string& arg) {
    auto [pack, version] = splitArgument(arg, ",");
    checkedName(pack, "pack name");
    const std::string marker = "ver-" + version + ".txt";
    if (fileExists(joinPath(parm_.facePath, {pack, marker}))) {
        showClass(pack);
        return;
    }
    const bool inDefaultFolder = fileExists(joinPath(parm_.app, {"w", pack, marker}));
    if (inDefaultFolder && !hooks_.openFaceCopy)
        throw TovloError(kErrInvalidArgument, "copying faces to the moved face folder is not part of this build");
    if (!inDefaultFolder && !panels_.knows("PublicFaceDownLoader"))
        throw TovloError(kErrInvalidArgument, "the panel PublicFaceDownLoader is not part of this build");
    parm_.keepMainVisible = true;
    if (inDefaultFolder) {
        platform_.messages.show("您已经修改过表情存放目录，需要复制原来的表情到新目录下！");
        hooks_.openFaceCopy(pack);
    } else {
        loadUserControl("PublicFaceDownLoader");
        control(kSlot)->setProperty("PPath", pack);
    }
}

void MainForm::showClass(const std::string& pack) {
    Web2().setVisible(false);
    runPageScript(web(), "changeClass('" + scriptStringText(pack) + "','" +
                             scriptStringText(pageSlashes(parm_.facePath)) + "')");
}

void MainForm::showMySelect(const std::string&) {
    if (parm_.userName.empty()) {
        web3().setVisible(true);
        web3().navigate(serviceUrl("/soft/login2.asp"));
        return;
    }
    const std::string own = ownFolder();
    if (!folderExists(own)) createFolder(own);
    const std::string page = joinPath(own, {"myClass.html"});
    if (!fileExists(page))
        writeTextFile(platform_.codec, page, fetchService(withQuery("/soft/myClass.asp", {{"uName", parm_.userName}})));
    web3().setVisible(true);
    web3().navigate(fileUrl(page));
}

void MainForm::htmlLoadOver(const std::string&) {
    web3().setVisible(false);
    onHtmlLoadOver();
}

void MainForm::into(const std::string&) {
    web().stop();
    Web2().stop();
    web3().stop();
    auto bytes = platform_.fetch.fetchBytes(serviceUrl("/soft/connect.html"));
    if (!bytes || platform_.codec.ansiToUtf8(*bytes) != "1") {
        // The window is still hidden at start; show it so the user sees the
        // offline notice (and its retry) instead of nothing at all.
        window_->show();
        runPageScript(web(), "df()");
        return;
    }
    window_->show();
    desktop_.setForegroundWindow(window_->handle());
    plugins_.loadPlugins();
    web().navigate(withQuery(fileUrl(joinPath(parm_.app, {"w", "main.html"})), {{"v", parm_.ver}}));
    if (hooks_.runUpdateCheck) hooks_.runUpdateCheck();
    timer3_->setEnabled(true);
}

void MainForm::exitFun(const std::string& arg) {
    parm_.ini.WriteIniKey("run", "defaultFaceClass", arg);
    unloadAll();
}

void MainForm::config(const std::string&) {
    if (!hooks_.openSettings) throw TovloError(kErrInvalidArgument, "the settings dialog is not part of this build");
    hooks_.openSettings();
}

void MainForm::addFace(const std::string&) {
    if (!getUserName().empty()) {
        loadUserControl("AddFaceCon");
        return;
    }
    web3().setVisible(true);
    web3().navigate(fileUrl(joinPath(parm_.app, {"w", "needLogin.html"})));
}

void MainForm::showDownCustFaceClass(const std::string&) { web3().setVisible(false); }

void MainForm::loginSucc(const std::string& arg) {
    setUserName(checkedName(arg, "account name"));
    parm_.ini.WriteIniKey("run", "autoLoginName", parm_.userName);
    callVb("showMySelect||-");
}

void MainForm::closeMyFace(const std::string&) { web3().setVisible(false); }

void MainForm::showMyOneClassFaces(const std::string& arg) {
    auto [classId, rest] = splitArgument(arg, "--");
    const std::string page = split(rest, "--").front();
    checkedName(classId, "class id");
    checkedName(page, "page");
    checkedName(parm_.userName, "account name");
    const std::string folder = joinPath(ownFolder(), {classId});
    if (!folderExists(folder)) createFolder(folder);
    const std::string file = joinPath(folder, {page + ".html"});
    if (!fileExists(file)) {
        loadUserControl("MyFaceDownLoader");
        control(kSlot)->setProperty("PClassId", classId);
        control(kSlot)->setProperty("PPage", page);
        return;
    }
    web3().navigate(fileUrl(file));
    web3Tag_ = classId;
}

void MainForm::manage(const std::string&) { loadUserControl("ClassManager"); }

void MainForm::downAndShowOneFace(const std::string& arg) {
    auto [a, rest] = splitArgument(arg, "--");
    const std::string b = split(rest, "--").front();
    runPageScript(web3(), "setImg('" + b + "','" + a + "')");
}

void MainForm::regSucc(const std::string& arg) {
    const std::string account = joinPath(parm_.app, {"w", "CustomFace", checkedName(arg, "account name")});
    if (!folderExists(account)) {
        createFolder(account);
        createFolder(joinPath(account, {"users"}));
    }
    if (!copyFile(joinPath(parm_.app, {"templates", "addFace.html"}), joinPath(account, {"addFace.html"})))
        throw TovloError(kErrFileAccess, "cannot copy the add-face page into " + account);
    callVb("showMySelect||-");
}

void MainForm::closeWeb2(const std::string&) {
    Web2().setVisible(false);
    web().setVisible(true);
}

void MainForm::web3returnasdg(const std::string&) {
    web3().setVisible(false);
    web().setVisible(true);
}

void MainForm::history(const std::string&) {
    web().setVisible(true);
    web3().setVisible(false);
    runPageScript(web(), "history()");
}

void MainForm::getHistoryImg(const std::string&) {
    // The store keeps any character; escaping keeps an apostrophe in a stored
    // reference from breaking the page call for good.
    runPageScript(web(), "setHistoryImg('" + scriptStringText(history_.historyListText()) + "')");
}

void MainForm::clearHistory(const std::string&) {
    history_.clearAllHistory();
    callVb("getHistoryImg||-");
}

void MainForm::loginout(const std::string&) {
    parm_.userName.clear();
    web3().setVisible(false);
    web3().navigate("about:blank");
    parm_.autoLoginName.clear();
    parm_.ini.WriteIniKey("run", "autoLoginName", "");
}

void MainForm::loadPlus(const std::string& arg) {
    if (control(kSlotPlus)) throw TovloError(kErrSlotTaken, "a plug-in panel is already open");
    if (!panels_.knows("PlusControl"))
        throw TovloError(kErrInvalidArgument, "the panel PlusControl is not part of this build");
    // Its panel would have no description, folder or page to show.
    if (!plugins_.registry().exists(arg)) throw TovloError(kErrInvalidArgument, "no plug-in is installed as " + arg);
    plugins_.openPlugin(arg);
    loadPlusControl("PlusControl");
}

}  // namespace tovlo
