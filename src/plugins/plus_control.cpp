#include "plus_control.h"

#include <filesystem>
#include <variant>

#include "core/command.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/urls.h"
#include "plugins/plugin_answer.h"
#include "plugins/soft_info.h"

namespace tovlo {

namespace {

constexpr int kPageDelayMs = 200;

// One value of the plug-in's description, "" when it has none.
std::string describe(const std::shared_ptr<HashMap>& info, const std::string& key) {
    if (!info || !info->exists(key)) return {};
    const auto* text = std::get_if<std::string>(&info->value(key));
    return text ? *text : std::string();
}

}  // namespace

FormDescription PlusControl::formDescription() { return FormDescription("PlusControl").browserViews({"WebBrowser1"}); }

PlusControl::PlusControl(PanelHost& host, std::unique_ptr<Form> form, const PluginDeps& deps)
    : Panel(std::move(form)), host_(host), deps_(deps), timer1_(deps.platform.loop.createTimer(kPageDelayMs, false)) {
    // The page reaches this panel's commands only ("plus"): a plug-in is
    // not the program's own, and the main window's commands (the account,
    // the settings) are not its business. To put what it chose into the chat
    // it has the two insertion commands of the main page.
    host_.connectPage(WebBrowser1(), false);
    setCommands(
        {
            {"plusClose", [this](const std::string&) { host_.exitPlusControl(); }},
            {"inputFace", [this](const std::string&) { host_.inputFace({}, false); }},
            {"inputFaceAndHistory", [this](const std::string& entry) { host_.inputFace(entry, true); }},
            {"getInfor", [this](const std::string&) { getInfor(); }},
            {"getSoftInfor", [this](const std::string& key) { getSoftInfor(key); }},
            {"doExe", [this](const std::string& argument) { doExe(argument); }},
        },
        deps_.debug);
    WebBrowser1().navigate("about:blank");
    timer1_->onTick = [this] {
        timer1_->setEnabled(false);
        guardEvent(deps_.debug, "PlusControl.Timer1",
                   [this] { WebBrowser1().navigate(fileUrl(joinPath(folder(), {"main.html"}))); });
    };
    timer1_->setEnabled(true);
}

std::string PlusControl::folder() const { return deps_.plugins.pluginFolder(); }

void PlusControl::getSoftInfor(const std::string& key) {
    const std::string value = softInfo(key, deps_.parm, deps_.clipboard, deps_.platform.codec, deps_.platform.loop);
    callPageFunction(WebBrowser1(), "bs_callBack", {key, value});
}

// The description's texts are escaped for the script's string literals, so
// an apostrophe in a description cannot break the call.
void PlusControl::getInfor() {
    const std::shared_ptr<HashMap> info = deps_.plugins.currentPluginInfo();
    std::string object;
    for (const char* key : {"id", "name", "author", "version", "infor"}) {
        if (!object.empty()) object += ",";
        object += std::string(key) + ":'" + scriptStringText(describe(info, key)) + "'";
    }
    runPageScript(WebBrowser1(), "showInfor({" + object + "})");
}

void PlusControl::doExe(const std::string& argument) {
    // The page can ask again while the program runs: one run at a time.
    if (running_) throw TovloError(kErrSlotTaken, "the plug-in's program is running already");
    // The folder of this panel's plug-in: while the program runs, this panel
    // may be closed and another plug-in opened.
    const std::string plugin = folder();
    const std::string answer = joinPath(plugin, {"param"});
    // An answer left by an earlier run must not be taken for this run's.
    std::error_code ignored;
    std::filesystem::remove(fsPath(answer), ignored);

    host_.pauseTracking();
    host_.hideWindow();
    running_ = true;
    const bool ran = deps_.platform.processes.runAndWait(joinPath(plugin, {"main.exe"}), argument);
    running_ = false;
    // The window comes back whether or not the plug-in could run, with the
    // focus: the page may need it to put the plug-in's answer on the clipboard.
    host_.showFocused();
    host_.resumeTracking();
    // Closed while the program ran: nobody is left to show the answer to.
    if (host_.control(PanelHost::kSlotPlus) != this) return;
    WebBrowser1().focus();
    if (!ran) throw TovloError(kErrFileNotFound, "the plug-in program cannot be started: " + plugin);
    afterUnloadPlusExe(answer);
}

// Applies the plug-in's answer: items "command**value" separated by "||".
void PlusControl::afterUnloadPlusExe(const std::string& answer) {
    const PluginAnswer parsed = parsePluginAnswer(readTextFile(deps_.platform.codec, answer));
    // The values go in unchanged: the plug-in, a program of the user's own
    // choosing, writes them for the page and may have escaped them itself.
    for (const PluginAnswerItem& item : parsed.items) {
        if (item.command == "reload")
            runPageScript(WebBrowser1(), "location.reload()");
        else if (item.command == "insertText")
            runPageScript(WebBrowser1(), "bs_insertText('" + item.value + "')");
        else if (item.command == "insertPic")
            runPageScript(WebBrowser1(), "bs_insertPic('" + item.value + "')");
    }
    if (parsed.broken) throw TovloError(kErrInvalidArgument, "a plug-in answer without \"**\": " + *parsed.broken);
}

}  // namespace tovlo
