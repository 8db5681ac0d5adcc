#include "addface_over_con.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "core/files.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/urls.h"

namespace tovlo {

namespace {

// The failures the service reports; any other code is a success.
const std::pair<const char*, const char*> kFailures[] = {
    {"-0", "文件大小不能超过100KB！"},
    {"-1", "文件格式只能是 gif，jpg，bmp！"},
    {"-2", "未知错误！"},
    {"-3", "当前版本，或者你当前级别，一个类不能添加超过50个表情，详情请查看帮助！"},
};

}  // namespace

FormDescription AddfaceOverCon::formDescription() {
    return FormDescription("AddfaceOverCon")
        .flow(Flow::Centred)
        .labels({"Label1", "Label2", "Label3"})
        .groups({"countdown"})
        .buttons({"Command1"});
}

AddfaceOverCon::AddfaceOverCon(PanelHost& host, std::unique_ptr<Form> form, const UploadDeps& deps)
    : Panel(std::move(form)), host_(host), deps_(deps), timer1_(deps.platform.loop.createTimer(1000, true)) {
    Label1().setHeight(kMessageHeight);
    Label1().setText("当前版本");
    Label3().setText("2");
    countdown().label("Label2").setText("秒内自动确定......");
    Command1().setText("立即确定");
    Command1().onClick = [this] { host_.exitAddFaceOverAlert(); };
    timer1_->onTick = [this] { timer1Tick(); };
}

void AddfaceOverCon::setProperty(const std::string& name, const std::string& value) {
    if (name == "args")
        args_ = value;
    else
        Panel::setProperty(name, value);
}

void AddfaceOverCon::invoke(const std::string& method) {
    if (method == "dodo")
        dodo();
    else
        Panel::invoke(method);
}

void AddfaceOverCon::dodo() {
    const auto failure =
        std::find_if(std::begin(kFailures), std::end(kFailures), [this](const auto& f) { return args_ == f.first; });
    if (failure != std::end(kFailures)) {
        Label1().setText(failure->second);
    } else {
        Label1().setText("添加成功");
        args_ = args_.empty() ? args_ : args_.substr(1);
        refreshClass(args_);
    }
    centreMessage();
}

// Line breaks in front of the message centre it in the label: as many as
// half the room left over holds lines of the message's height.
void AddfaceOverCon::centreMessage() {
    const int room = Label1().height();
    const int fitted = Label1().fittedHeight();
    if (fitted <= 0) return;
    const int lines = ((room - fitted) / 2) / fitted;
    std::string text = Label1().text();
    for (int i = 0; i < lines; ++i) text = "\r\n" + text;
    Label1().setText(text);
}

// The class's local pages and the class list are out of date: drop them,
// and show the class again when the face view shows one of its pages.
void AddfaceOverCon::refreshClass(const std::string& classId) {
    const std::string user = host_.session().userName();
    deps_.debug.log("args=" + classId);
    if (!isSafeName(user)) return;
    // The cached class list counts each class's faces: the next showing
    // fetches it anew.
    std::error_code ec;
    std::filesystem::remove(fsPath(joinPath(host_.session().ownFolder(), {"myClass.html"})), ec);
    // An empty id names no class, and an id that is no single folder name
    // must not reach the file system.
    if (classId.empty() || !isSafeName(classId)) return;
    const std::string folder = host_.session().classFolder(classId);
    deps_.debug.log(folder);
    if (folderExists(folder)) {
        deps_.debug.log("有，开始删除。。。。");
        removeTree(folder);
        deps_.debug.log("删除成功。。");
    }
    host_.showWindow();
    // The view's address is encoded; the class's folder is looked for in its decoded path.
    if (host_.web3().isVisible() && contains(percentDecode(host_.web3().location()), "/" + user + "/" + classId + "/"))
        host_.showMyOneClassFaces(classId, "1");
}

// A countdown of three ticks: "2", "1", "0", then the panel closes.
void AddfaceOverCon::timer1Tick() {
    const std::string shown = Label3().text();
    if (shown == "2")
        Label3().setText("1");
    else if (shown == "1")
        Label3().setText("0");
    else
        host_.exitAddFaceOverAlert();
}

}  // namespace tovlo
