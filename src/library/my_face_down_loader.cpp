#include "my_face_down_loader.h"

#include <filesystem>

#include "core/errors.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/service.h"
#include "core/text.h"
#include "core/urls.h"
#include "library/face_listing.h"
#include "library/library_helpers.h"

namespace tovlo {

namespace {

std::string checkedPanelName(const std::string& value, const char* what) {
    if (!isSafeName(value)) throw TovloError(kErrInvalidArgument, std::string("not a usable ") + what + ": " + value);
    return value;
}

}  // namespace

FormDescription MyFaceDownLoader::formDescription() {
    return FormDescription("MyFaceDownLoader")
        .groups({"progress"})
        .labels({"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"})
        .progressBars({"ProgressBar1", "ProgressBar2", "ProgressBar3"});
}

MyFaceDownLoader::MyFaceDownLoader(PanelHost& host, std::unique_ptr<Form> form, const LibraryDeps& deps)
    : Panel(std::move(form)),
      host_(host),
      deps_(deps),
      timer1_(deps.platform.loop.createTimer(100, false)),
      deadline_(deps.platform.loop.createTimer(deps.batchTotalMs, false)),
      downloader1_(deps.reads.create(), deps.platform.messages) {
    Form& f = this->form();
    f.label("Label4").setText("当本地表情数据和服务器数据不相同的时候，会触发自动下载；一般在下面几种情况下发生：");
    f.label("Label5").setText("1.您换了机器登陆Tovlo，将会下载你服务器的表情道本地");
    f.label("Label6").setText("2.你对该分类进行了修改分类名称、添加表情、删除表情等操作，需要再次和服务器同步！");
    // Each bar stands beside its label.
    progress().label("Label1").setText("总下载进度：");
    progress().progressBar("ProgressBar1");
    progress().label("Label2").setText("当前缩略表情下载进度：");
    progress().progressBar("ProgressBar2");
    progress().label("Label3").setText("当前表情下载进度：");
    progress().progressBar("ProgressBar3");
    timer1_->onTick = [this] { guardEvent(deps_.debug, "MyFaceDownLoader.Timer1", [this] { timer1Tick(); }); };
    downloader1_.DownloadProgress = [this](std::int64_t cur, std::int64_t max, const std::string& saveFile) {
        const char* bar = contains(saveFile, "s_") ? "ProgressBar2" : "ProgressBar3";
        progress().progressBar(bar).setValue(percentOf(static_cast<double>(cur), static_cast<double>(max)));
    };
    downloader1_.DownloadAllComplete = [this](const std::vector<std::string>& failed) {
        failed_.insert(failed_.end(), failed.begin() + 1, failed.end());
        guardEvent(deps_.debug, "MyFaceDownLoader.DownloadAllComplete", [this] { allComplete(); });
    };
    deadline_->onTick = [this] { guardEvent(deps_.debug, "MyFaceDownLoader.deadline", [this] { timeUp(); }); };
}

void MyFaceDownLoader::setProperty(const std::string& name, const std::string& value) {
    if (name == "PClassId")
        setPClassId(value);
    else if (name == "PPage")
        setPPage(value);
    else
        Panel::setProperty(name, value);
}

void MyFaceDownLoader::setPClassId(const std::string& id) { classId_ = checkedPanelName(id, "class id"); }

void MyFaceDownLoader::setPPage(const std::string& page) {
    page_ = checkedPanelName(page, "page");
    isNewList_ = true;
    faceIndex_ = 1;
    failed_.clear();
    timer1_->setEnabled(true);
    deadline_->setEnabled(true);
}

void MyFaceDownLoader::setPar(const std::string& classId, const std::string& page) {
    classId_ = checkedPanelName(classId, "class id");
    page_ = checkedPanelName(page, "page");
}

bool MyFaceDownLoader::accountLeft() {
    if (host_.session().userName() == user_) return false;
    deps_.debug.log("MyFaceDownLoader: " + user_ + " logged out; the download ends");
    deadline_->setEnabled(false);
    timer1_->setEnabled(false);
    downloader1_.CancelAllDownload();
    host_.exitControl();
    return true;
}

std::string MyFaceDownLoader::listingFile() const { return joinPath(deps_.parm.app, {"temp", "tempMyFaceClass.txt"}); }

std::string MyFaceDownLoader::serviceUrl(const std::string& path) const {
    return tovlo::serviceUrl(deps_.parm.serviceHost, path);
}

void MyFaceDownLoader::timer1Tick() {
    timer1_->setEnabled(false);
    // Without an account there is no folder to fill: nothing is fetched.
    const auto folder = host_.session().accountFolderInUse();
    if (!folder) {
        deadline_->setEnabled(false);
        deps_.debug.log("MyFaceDownLoader: nobody is logged in");
        host_.exitControl();
        return;
    }
    user_ = host_.session().userName();
    userFolder_ = *folder;
    std::error_code ec;
    std::filesystem::remove(fsPath(listingFile()), ec);
    // A listing that cannot even be requested is handled like one that
    // failed: the page is built from nothing, and the panel hands back.
    if (!downloader1_.BeginDownload(
            serviceUrl(withServiceQuery("/soft/showFace.asp", {{"classId", classId_}, {"PageNo", page_}})),
            listingFile(), limits::kTextBytes))
        allComplete();
}

void MyFaceDownLoader::allComplete() {
    if (accountLeft()) return;
    if (isNewList_) {
        isNewList_ = false;
        // A listing that did not arrive reads as empty; one without "--" is
        // taken whole as the face list.
        try {
            listText_ = readTextFile(deps_.platform.codec, listingFile());
        } catch (const TovloError&) {
            listText_.clear();
        }
        faceList_ = faceListOf(listText_);
    }
    const int last = static_cast<int>(faceList_.size()) - 1;
    const std::string& folder = userFolder_;
    while (faceIndex_ <= last) {
        // Paths that would leave the user's folder come back empty: never written.
        const auto [a, b] = facePathsOf(faceList_[static_cast<std::size_t>(faceIndex_)]);
        if (contains(b, "/")) makeDirectories(localPath(folder, b.substr(0, b.rfind('/'))));
        progress().progressBar("ProgressBar1").setValue(percentOf(faceIndex_, last));
        ++faceIndex_;
        bool queued = false;
        for (const std::string& path : {a, b}) {
            if (path.empty() || fileExists(localPath(folder, path))) continue;
            queued = downloader1_.BeginDownload(serviceUrl("/soft/" + servicePath(path)), localPath(folder, path),
                                                limits::kFaceFileBytes) ||
                     queued;
        }
        // The next entry comes with the next DownloadAllComplete; an entry
        // with nothing to fetch is passed over at once.
        if (queued) return;
    }
    buildPage(last < 1);
}

// The total time is up (a service that trickles bytes): the faces that did
// not arrive count as failed, and the page is made from what is there.
void MyFaceDownLoader::timeUp() {
    deps_.debug.log("下载超时：" + classId_);
    for (std::size_t i = 1; i < downloader1_.SaveFiles().size(); ++i)
        if (downloader1_.FileStates()[i] != Downloader::kDone) failed_.push_back(downloader1_.SaveFiles()[i]);
    downloader1_.CancelAllDownload();
    timer1_->setEnabled(false);
    buildPage(faceList_.size() < 2);
}

void MyFaceDownLoader::buildPage(bool withoutEntries) {
    if (accountLeft()) return;
    deadline_->setEnabled(false);
    if (!failed_.empty()) deps_.debug.log("没有下载成功：" + join(failed_, "/"));
    const TextCodec& codec = deps_.platform.codec;
    std::string text;
    try {
        text = readTextFile(codec, joinPath(deps_.parm.app, {"templates", "myFaceOneClass.html"}));
    } catch (const TovloError& e) {
        deps_.debug.log(std::string("MyFaceDownLoader: ") + e.what());
    }
    const std::string& user = user_;
    // The listing goes into a script block of the page as it came, except
    // that it cannot end the block early and run as script.
    const std::pair<std::string, std::string> str{"{{str}}", scriptBlockText(listText_)};
    const std::pair<std::string, std::string> path{"{{path}}",
                                                   fileUrl(joinPath(deps_.parm.app, {"w", "CustomFace", user}))};
    const std::pair<std::string, std::string> userName{"{{userName}}", user};
    const std::pair<std::string, std::string> plus{"{{plus}}", deps_.plugins.pluginListText()};
    text = withoutEntries ? fillPlaceholders(text, {str, plus, path, userName})
                          : fillPlaceholders(text, {str, path, userName, plus});
    try {
        writeTextFile(codec, joinPath(userFolder_, {classId_, page_ + ".html"}), text);
    } catch (const TovloError& e) {
        deps_.debug.log(std::string("MyFaceDownLoader: ") + e.what());
    }
    host_.exitDownMyFace(classId_, page_);
}

}  // namespace tovlo
