#include "class_manager.h"

#include <filesystem>

#include "bridge/web_js.h"
#include "core/command.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/service.h"
#include "core/text.h"
#include "core/urls.h"
#include "library/library_helpers.h"

namespace tovlo {

ClassManager::ClassManager(MainForm& main, std::unique_ptr<Form> form, const LibraryDeps& deps)
    : Panel(std::move(form)), main_(main), deps_(deps), timer1_(deps.platform.loop.createTimer(50, true)) {
    WebJs(main_, nullptr, nullptr).attachTo(WebBrowser1());
    WebBrowser1().navigate("about:blank");
    timer1_->onTick = [this] {
        timer1_->setEnabled(false);
        WebBrowser1().navigate(serviceUrl(deps_.parm.serviceHost, "/soft/manageClass.asp"));
    };
}

std::string ClassManager::userFolder() const {
    return joinPath(deps_.parm.app, {"w", "CustomFace", deps_.parm.userName});
}

void ClassManager::callVb(const std::string& Text) {
    const Command command = parseCommand(Text);
    if (command.name == "getName") {
        runPageScript(WebBrowser1(), "setName('" + deps_.parm.userName + "')");
    } else if (command.name == "deleteClass" || command.name == "addClass" || command.name == "changeClass") {
        deleteClassLists();
    } else if (command.name == "addFace") {
        const std::string address = removeClassFolder(command.arg);
        runPageScript(WebBrowser1(), "document.location.href='" + address + "';");
    } else if (command.name == "deleteFace") {
        removeClassFolder(command.arg);
        runPageScript(WebBrowser1(), "document.location.reload();");
    } else if (command.name == "closeManage") {
        closeManage();
    }
}

void ClassManager::deleteClassLists() {
    for (const char* name : {"myClass.html", "myClass.js"}) {
        const std::string path = joinPath(userFolder(), {name});
        if (fileExists(path)) std::filesystem::remove(path);
    }
}

// Deletes the folder of the class named before "--" with everything in it;
// returns the text after "--" (up to a further "--").
std::string ClassManager::removeClassFolder(const std::string& arg) {
    auto [classId, rest] = splitArgument(arg, "--");
    if (!isSafeName(classId)) throw TovloError(kErrInvalidArgument, "not a usable class id: " + classId);
    const std::string folder = joinPath(userFolder(), {classId});
    if (folderExists(folder)) std::filesystem::remove_all(folder);
    return split(rest, "--").front();
}

void ClassManager::closeManage() {
    if (main_.web3().isVisible()) {
        const std::string folder = userFolder();
        createFolder(folder);
        const std::string page = joinPath(folder, {"myClass.html"});
        if (!fileExists(page))
            writeTextFile(deps_.platform.codec, page,
                          fetchUrlText(deps_.platform, deps_.parm.app,
                                       serviceUrl(deps_.parm.serviceHost, withQuery("/soft/myClass.asp", {{"uName", deps_.parm.userName}}))));
        main_.web3().navigate(fileUrl(page));
    }
    main_.exitManage();
}

}  // namespace tovlo
