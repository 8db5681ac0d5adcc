#include "class_manager.h"

#include <filesystem>

#include "core/command.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/service.h"
#include "core/text.h"
#include "core/urls.h"
#include "library/library_helpers.h"

namespace tovlo {

FormDescription ClassManager::formDescription() {
    return FormDescription("ClassManager").browserViews({"WebBrowser1"});
}

ClassManager::ClassManager(PanelHost& host, std::unique_ptr<Form> form, const LibraryDeps& deps)
    : Panel(std::move(form)), host_(host), deps_(deps), timer1_(deps.platform.loop.createTimer(50, true)) {
    host_.connectPage(WebBrowser1(), false);
    const auto dropClassLists = [this](const std::string&) { deleteClassLists(); };
    setCommands(
        {
            {"getName",
             [this](const std::string&) { callPageFunction(WebBrowser1(), "setName", {host_.session().userName()}); }},
            {"deleteClass", dropClassLists},
            {"addClass", dropClassLists},
            {"changeClass", dropClassLists},
            {"addFace",
             [this](const std::string& arg) {
                 const std::string address = removeClassFolder(arg);
                 runPageScript(WebBrowser1(), "document.location.href=" + scriptLiteral(address) + ";");
             }},
            {"deleteFace",
             [this](const std::string& arg) {
                 removeClassFolder(arg);
                 runPageScript(WebBrowser1(), "document.location.reload();");
             }},
            {"closeManage", [this](const std::string&) { closeManage(); }},
        },
        deps_.debug);
    WebBrowser1().navigate("about:blank");
    timer1_->onTick = [this] {
        timer1_->setEnabled(false);
        WebBrowser1().navigate(serviceUrl(deps_.parm.serviceHost, "/soft/manageClass.asp"));
    };
}

void ClassManager::deleteClassLists() {
    const auto account = host_.session().accountFolderInUse();
    if (!account) return;
    for (const char* name : {"myClass.html", "myClass.js"}) {
        const std::string path = joinPath(*account, {name});
        if (fileExists(path)) std::filesystem::remove(fsPath(path));
    }
}

// Deletes the folder of the class named before "--" with everything in it;
// returns the text after "--" (up to a further "--").
std::string ClassManager::removeClassFolder(const std::string& arg) {
    auto [classId, rest] = splitArgument(arg, "--");
    if (!isSafeName(classId)) throw TovloError(kErrInvalidArgument, "not a usable class id: " + classId);
    if (const auto account = host_.session().accountFolderInUse()) {
        const std::string folder = joinPath(*account, {classId});
        if (folderExists(folder)) removeTree(folder);
    }
    return split(rest, "--").front();
}

void ClassManager::closeManage() {
    // The account's class list page shows what the manager changed: fetched
    // again (its cached copy was dropped with the change), then shown.
    if (host_.web3().isVisible() && host_.session().accountFolderInUse()) host_.showMySelect();
    host_.exitManage();
}

}  // namespace tovlo
