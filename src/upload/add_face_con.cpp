#include "add_face_con.h"

#include <algorithm>
#include <filesystem>

#include "core/command.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/service.h"
#include "core/text.h"
#include "core/urls.h"
#include "qq/qq_clipboard.h"

namespace tovlo {

namespace {

constexpr int kPickUpDelayMs = 200;

}  // namespace

FormDescription AddFaceCon::formDescription() { return FormDescription("AddFaceCon").browserViews({"WebBrowser2"}); }

AddFaceCon::AddFaceCon(PanelHost& host, std::unique_ptr<Form> form, const UploadDeps& deps)
    : Panel(std::move(form)),
      host_(host),
      deps_(deps),
      timer1_(deps.platform.loop.createTimer(kPickUpDelayMs, false)),
      upload_(deps.connections, deps.platform.loop, deps.platform.codec, deps.parm.serviceHost) {
    host_.connectPage(WebBrowser2(), false);
    setCommands(
        {
            {"setFilePath", [this](const std::string&) { setFilePath(); }},
            {"loadOver", [this](const std::string&) { timer1_->setEnabled(true); }},
            {"addOver", [this](const std::string& code) { addOver(code); }},
            {"manage",
             [this](const std::string&) {
                 host_.exitManage();
                 host_.loadUserControl("ClassManager");
             }},
            {"upload", [this](const std::string& classId) { upload(classId); }},
            {"toLogin", [this](const std::string&) { host_.exitAddFace2(); }},
            {"back",
             [this](const std::string&) {
                 host_.exitAddFace();
                 host_.resumeTracking();
                 host_.showWindow();
             }},
        },
        deps_.debug);
    timer1_->onTick = [this] { guardEvent(deps_.debug, "AddFaceCon.Timer1", [this] { pickUp(); }); };
    upload_.onResult = [this](const std::string& value) {
        deps_.debug.log(value);
        guardEvent(deps_.debug, "AddFaceCon.answer", [&] { addOver("-" + value); });
    };
    upload_.onNoConnection = [this] { deps_.platform.messages.show("链接超时.", "Error"); };
    // An answer that never comes, or cannot be read, is the unknown error.
    upload_.onNoAnswer = [this] {
        deps_.debug.log("upload: no readable answer");
        guardEvent(deps_.debug, "AddFaceCon.noAnswer", [this] { addOver("-2"); });
    };
    panelStart();
}

void AddFaceCon::panelStart() {
    const std::string user = host_.session().userName();
    if (user.empty()) {
        WebBrowser2().navigate(fileUrl(joinPath(deps_.parm.app, {"w", "needLogin.html"})));
        return;
    }
    pathTyped_ = false;
    if (!isSafeName(user)) throw TovloError(kErrInvalidArgument, "not a usable account name: " + user);
    const std::string folder = host_.session().ownFolder();
    if (!folderExists(folder)) makeDirectories(folder);
    const std::string classList = joinPath(folder, {"myClass.js"});
    if (!fileExists(classList)) {
        const std::string script = fetchUrlText(
            deps_.platform,
            serviceUrl(deps_.parm.serviceHost, withServiceQuery("/soft/manageClass_ajax.asp",
                                                                {{"action", "classList_Script"}, {"userName", user}})));
        // One that did not arrive is not kept in its place: the next opening
        // asks again.
        if (!script.empty()) writeTextFile(deps_.platform.codec, classList, script);
    }
    const std::string page = joinPath(folder, {"addFace.html"});
    if (!fileExists(page) && !folderExists(page))
        std::filesystem::copy_file(fsPath(joinPath(deps_.parm.app, {"templates", "addFace.html"})), fsPath(page));
    WebBrowser2().navigate(fileUrl(page));
    timer1_->setEnabled(true);
}

// The picture last copied in a QQ chat, 200 ms after the page asked.
void AddFaceCon::pickUp() {
    timer1_->setEnabled(false);
    const std::string text = getClipboardText(deps_.clipboard, deps_.platform.codec,
                                              findQQRichEditFormat(deps_.clipboard, deps_.platform.loop));
    if (text.empty()) {
        WebBrowser2().navigate(fileUrl(joinPath(deps_.parm.app, {"w", "addFaceErr.html"})));
        return;
    }
    picturePath_ = getFilePath(text);
    // The path is escaped for the script string (a "\" doubled, a quote
    // escaped), so a name with an apostrophe cannot break the script.
    callPageFunction(WebBrowser2(), "view", {picturePath_});
    // The class on screen goes in as the page expects it, a bare number (or
    // nothing); any other text in its place is refused.
    std::string classId = host_.web3Tag();
    if (!std::all_of(classId.begin(), classId.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        deps_.debug.log("not a class id: " + classId);
        classId.clear();
    }
    runPageScript(WebBrowser2(), "start(" + classId + ")");
}

void AddFaceCon::callVb(const std::string& Text) {
    deps_.debug.log("addface=" + Text);
    Panel::callVb(Text);
}

void AddFaceCon::setFilePath() {
    if (pathTyped_) return;
    pathTyped_ = true;
    // The path goes into the page's focused field as typed text would.
    runPageScript(WebBrowser2(), "document.execCommand('insertText', false, " + scriptLiteral(picturePath_) + ")");
    callPageFunction(WebBrowser2(), "view", {picturePath_});
}

void AddFaceCon::upload(const std::string& classId) {
    if (picturePath_.empty()) throw FileNotFoundError("(no picture copied in a chat)");
    if (upload_.start(classId, picturePath_) == FaceUpload::Start::tooLarge) addOver("-0");
}

// The result panel takes over from this one: this panel is closed first, so
// nothing here may be used after exitManage.
void AddFaceCon::addOver(const std::string& code) {
    PanelHost& host = host_;
    host.exitManage();
    host.loadUserControl2("AddfaceOverCon");
    Panel* result = host.control(PanelHost::kSlot2);
    result->setProperty("args", code);
    result->invoke("dodo");
}

}  // namespace tovlo
