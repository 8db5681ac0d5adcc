#include "main_commands.h"

#include <charconv>
#include <map>

#include "bridge/main_form.h"
#include "core/command.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/service.h"
#include "core/text.h"
#include "core/urls.h"
#include "platform/read_limits.h"
#include "qq/history_pictures.h"

namespace tovlo {

namespace {

// A name from a page that becomes a folder or file name must stay one name.
const std::string& checkedName(const std::string& name, const char* what) {
    if (!isSafeName(name)) throw TovloError(kErrInvalidArgument, std::string("unusable ") + what + ": " + name);
    return name;
}

// A face to mark: a reference of one of the pages' faces, not an empty text.
const std::string& checkedFace(const std::string& ref) {
    if (ref.empty() || ref.size() > limits::kFaceRefBytes)
        throw TovloError(kErrInvalidArgument, "unusable face reference: " + ref.substr(0, 100));
    return ref;
}

std::size_t placeNumber(const std::string& text) {
    std::size_t n = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        throw TovloError(kErrInvalidArgument, "unusable place: " + text);
    return n;
}

// How many faces the search and the frequent faces hand to the page at most.
constexpr std::size_t kFacesShown = 300;
constexpr std::size_t kFrequentShown = 48;

}  // namespace

MainCommands::MainCommands(MainForm& main) : main_(main) {
    PageViews& views = main.views_;
    table_ = CommandTable{
        {"inputFace", [this](const std::string&) { inputFace({}, false); }},
        {"inputFaceAndHistory", [this](const std::string& arg) { inputFace(arg, true); }},
        {"showSelect", [this](const std::string&) { showSelect(); }},
        {"showFace", [this](const std::string& arg) { showFace(arg); }},
        {"showMySelect", [this](const std::string&) { showMySelect(); }},
        {"htmlLoadOver",
         [this](const std::string&) {
             hideWeb3();
             main_.onHtmlLoadOver();
         }},
        {"into", [this](const std::string&) { into(); }},
        {"localFaces", [this](const std::string&) { localFaces(); }},
        {"exitFun", [this](const std::string& arg) { exitFun(arg); }},
        {"config", [this](const std::string&) { config(); }},
        {"addFace", [this](const std::string&) { addFace(); }},
        {"showDownCustFaceClass", [this](const std::string&) { hideWeb3(); }},
        {"loginSucc", [this](const std::string& arg) { loginSucc(arg); }},
        {"closeMyFace", [this](const std::string&) { hideWeb3(); }},
        {"showMyOneClassFaces",
         [this](const std::string& arg) {
             auto [classId, rest] = splitArgument(arg, "--");
             showMyOneClassFaces(classId, split(rest, "--").front());
         }},
        {"manage", [this](const std::string&) { main_.loadUserControl("ClassManager"); }},
        {"downAndShowOneFace", [this](const std::string& arg) { downAndShowOneFace(arg); }},
        {"regSucc", [this](const std::string& arg) { regSucc(arg); }},
        {"closeWeb2",
         [&views](const std::string&) {
             views.Web2().setVisible(false);
             views.web().setVisible(true);
         }},
        {"web3returnasdg",
         [&views](const std::string&) {
             views.web3().setVisible(false);
             views.web().setVisible(true);
         }},
        {"closePanel", [this](const std::string&) { main_.closeByKeyboard(); }},
        {"history", [this](const std::string&) { history(); }},
        {"getHistoryImg", [this](const std::string&) { getHistoryImg(); }},
        {"clearHistory", [this](const std::string&) { clearHistory(); }},
        {"loginout", [this](const std::string&) { loginout(); }},
        {"loadPlus", [this](const std::string& arg) { loadPlus(arg); }},
        {"searchFaces", [this](const std::string& arg) { searchFaces(arg); }},
        {"getFavourites", [this](const std::string&) { getFavourites(); }},
        {"getFrequent", [this](const std::string&) { getFrequent(); }},
        {"favourite",
         [this](const std::string& arg) {
             main_.marks_.addFavourite(checkedFace(arg));
             getFavourites();
         }},
        {"unfavourite",
         [this](const std::string& arg) {
             main_.marks_.removeFavourite(arg);
             getFavourites();
         }},
        {"moveFavourite",
         [this](const std::string& arg) {
             auto [place, ref] = splitArgument(arg, "--");
             main_.marks_.moveFavourite(ref, placeNumber(place));
             getFavourites();
         }},
        {"setTags",
         [this](const std::string& arg) {
             auto [words, ref] = splitArgument(arg, "--");
             main_.marks_.setTags(checkedFace(ref), words);
         }},
    };
    noteUnknown();
}

void MainCommands::noteUnknown() {
    table_.noteUnknownIn([this](const std::string& line) { main_.debug_.log(line); });
}

void MainCommands::callVb(const std::string& Text) {
    main_.debug_.log("mainform=" + Text);
    table_.dispatch(Text);
}

void MainCommands::hideWeb3() { main_.views_.web3().setVisible(false); }

void MainCommands::inputFace(const std::string& historyEntry, bool record) {
    if (main_.inserter_.inputBusy()) return;
    if (record) {
        main_.history_.addHistory(historyEntry);
        main_.marks_.recordUse(historyEntry, main_.platform_.loop.nowMs());
    }
    main_.tracker_.endBarHold();
    main_.inserter_.insert(main_.tracker_.qqwindow());
}

void MainCommands::showSelect() {
    PageViews& views = main_.views_;
    if (views.Web2().location() == "about:blank") {
        const PublicParm& parm = main_.parm_;
        if (fetchUrlText(main_.platform_, serviceUrl(parm.serviceHost, "/soft/connect.html")) != "1") {
            main_.platform_.messages.show("您没有连接网络！请先连接网络然后再试");
            return;
        }
        views.Web2().navigate(serviceUrl(parm.serviceHost, "/soft/select.html"));
    }
    views.Web2().setVisible(true);
    views.web3().setVisible(false);
}

void MainCommands::showFace(const std::string& arg) {
    PublicParm& parm = main_.parm_;
    auto [pack, version] = splitArgument(arg, ",");
    checkedName(pack, "pack name");
    // The panel stays shown while the pack comes (keepMainVisible); a panel
    // that could not be loaded leaves it as it was.
    const bool keptBefore = parm.keepMainVisible;
    try {
        showPack(pack, version);
    } catch (...) {
        parm.keepMainVisible = keptBefore;
        throw;
    }
}

void MainCommands::showPack(const std::string& pack, const std::string& version) {
    PublicParm& parm = main_.parm_;
    const MainFormHooks& hooks = main_.hooks_;
    const std::string marker = "ver-" + version + ".txt";
    if (fileExists(joinPath(parm.facePath, {pack, marker}))) {
        // Downloaded, but the program ended before the pack's page was made:
        // the pack is processed now instead of shown without its page.
        if (!fileExists(joinPath(parm.facePath, {pack, "main.html"})) && main_.slots_.knows("PublicFaceProcess")) {
            parm.keepMainVisible = true;
            main_.loadUserControl("PublicFaceProcess");
            main_.control(PanelHost::kSlot)->setProperty("PPath", pack);
            return;
        }
        main_.showClass(pack);
        return;
    }
    const bool inDefaultFolder = fileExists(joinPath(parm.app, {"w", pack, marker}));
    if (inDefaultFolder && !hooks.openFaceCopy)
        throw TovloError(kErrInvalidArgument, "copying faces to the moved face folder is not part of this build");
    if (!inDefaultFolder && !main_.slots_.knows("PublicFaceDownLoader"))
        throw TovloError(kErrInvalidArgument, "the panel PublicFaceDownLoader is not part of this build");
    parm.keepMainVisible = true;
    if (inDefaultFolder) {
        main_.platform_.messages.show("您已经修改过表情存放目录，需要复制原来的表情到新目录下！");
        hooks.openFaceCopy(pack);
    } else {
        main_.loadUserControl("PublicFaceDownLoader");
        main_.control(PanelHost::kSlot)->setProperty("PPath", pack);
    }
}

void MainCommands::showMySelect() {
    const PublicParm& parm = main_.parm_;
    BrowserView& web3 = main_.views_.web3();
    const Session& session = main_.session_;
    if (!session.loggedIn()) {
        web3.setVisible(true);
        web3.navigate(serviceUrl(parm.serviceHost, "/soft/login2.asp"));
        return;
    }
    const std::string own = session.ownFolder();
    if (!folderExists(own)) createFolder(own);
    const std::string page = joinPath(own, {"myClass.html"});
    if (!fileExists(page)) {
        const std::string list = fetchUrlText(
            main_.platform_,
            serviceUrl(parm.serviceHost, withServiceQuery("/soft/myClass.asp", {{"uName", session.userName()}})));
        // A list that did not arrive is not kept: it would stand for the
        // account's classes for good.
        if (list.empty()) {
            main_.platform_.messages.show("您没有连接网络！请先连接网络然后再试");
            return;
        }
        writeTextFile(main_.platform_.codec, page, list);
    }
    web3.setVisible(true);
    web3.navigate(fileUrl(page));
}

void MainCommands::into() {
    PageViews& views = main_.views_;
    const PublicParm& parm = main_.parm_;
    Platform& platform = main_.platform_;
    views.stopAll();
    auto bytes = platform.fetch.fetchBytes(serviceUrl(parm.serviceHost, "/soft/connect.html"));
    // The window is still hidden at start; it shows either way, so the user
    // sees the offline notice (and its retry) instead of nothing at all.
    main_.showWindow();
    if (!bytes || platform.codec.ansiToUtf8(*bytes) != "1") {
        runPageScript(views.web(), "df()");
        return;
    }
    openMainPage(false);
    if (main_.hooks_.runUpdateCheck) main_.hooks_.runUpdateCheck();
    main_.Timer3().setEnabled(true);
}

void MainCommands::localFaces() {
    main_.views_.stopAll();
    main_.showWindow();
    openMainPage(true);
}

void MainCommands::openMainPage(bool offline) {
    const PublicParm& parm = main_.parm_;
    for (const std::string& leftOut : main_.plugins_.loadPlugins()) main_.debug_.log("plug-in left out: " + leftOut);
    QueryParams query{{"v", parm.ver}};
    if (offline) query.emplace_back("offline", "1");
    main_.views_.web().navigate(withQuery(fileUrl(joinPath(parm.app, {"w", "main.html"})), query));
    // The window comes to the front with the main page only: a start that
    // fails leaves the focus where the user is.
    main_.desktop_.setForegroundWindow(main_.window_->handle());
}

void MainCommands::exitFun(const std::string& defaultClass) {
    main_.parm_.ini.WriteIniKey("run", "defaultFaceClass", defaultClass);
    main_.unloadAll();
}

void MainCommands::config() {
    if (!main_.hooks_.openSettings)
        throw TovloError(kErrInvalidArgument, "the settings dialog is not part of this build");
    main_.hooks_.openSettings();
}

void MainCommands::addFace() {
    if (main_.session_.loggedIn()) {
        main_.loadUserControl("AddFaceCon");
        return;
    }
    BrowserView& web3 = main_.views_.web3();
    web3.setVisible(true);
    web3.navigate(fileUrl(joinPath(main_.parm_.app, {"w", "needLogin.html"})));
}

void MainCommands::loginSucc(const std::string& account) {
    Session& session = main_.session_;
    session.setUserName(checkedName(account, "account name"));
    main_.parm_.ini.WriteIniKey("run", "autoLoginName", session.userName());
    showMySelect();
}

void MainCommands::showMyOneClassFaces(const std::string& classId, const std::string& page) {
    checkedName(classId, "class id");
    checkedName(page, "page");
    const Session& session = main_.session_;
    checkedName(session.userName(), "account name");
    const std::string folder = session.classFolder(classId);
    if (!folderExists(folder)) createFolder(folder);
    const std::string file = joinPath(folder, {page + ".html"});
    if (!fileExists(file)) {
        main_.loadUserControl("MyFaceDownLoader");
        Panel* loader = main_.control(PanelHost::kSlot);
        loader->setProperty("PClassId", classId);
        loader->setProperty("PPage", page);
        return;
    }
    main_.views_.showClassPage(fileUrl(file), classId);
}

void MainCommands::downAndShowOneFace(const std::string& arg) {
    auto [a, rest] = splitArgument(arg, "--");
    const std::string b = split(rest, "--").front();
    callPageFunction(main_.views_.web3(), "setImg", {b, a});
}

void MainCommands::regSucc(const std::string& account) {
    const std::string folder = main_.session_.accountFolder(checkedName(account, "account name"));
    if (!folderExists(folder)) {
        createFolder(folder);
        createFolder(joinPath(folder, {"users"}));
    }
    if (!copyFile(joinPath(main_.parm_.app, {"templates", "addFace.html"}), joinPath(folder, {"addFace.html"})))
        throw TovloError(kErrFileAccess, "cannot copy the add-face page into " + folder);
    showMySelect();
}

void MainCommands::history() {
    PageViews& views = main_.views_;
    views.web().setVisible(true);
    views.web3().setVisible(false);
    runPageScript(views.web(), "history()");
}

void MainCommands::getHistoryImg() {
    // A face whose file has gone is fetched again, or left out.
    const std::vector<std::string> images =
        picturesToShow(main_.history_.historyImages(), main_.parm_, main_.platform_.fetch);
    // The store keeps any character; escaping keeps an apostrophe in a stored
    // reference from breaking the page call for good.
    callPageFunction(main_.views_.web(), "setHistoryImg", {historyListTextOf(images)});
}

void MainCommands::clearHistory() {
    main_.history_.clearAllHistory();
    getHistoryImg();
}

void MainCommands::loginout() {
    PublicParm& parm = main_.parm_;
    main_.session_.setUserName("");
    BrowserView& web3 = main_.views_.web3();
    web3.setVisible(false);
    web3.navigate("about:blank");
    parm.autoLoginName.clear();
    parm.ini.WriteIniKey("run", "autoLoginName", "");
}

void MainCommands::refreshFaceIndex() {
    const std::optional<std::string> account = main_.session_.accountFolderInUse();
    main_.faceIndex_.refresh(main_.parm_.facePath, account ? *account : std::string());
}

void MainCommands::searchFaces(const std::string& query) {
    refreshFaceIndex();
    const std::vector<std::string> history = main_.history_.historyImages(), favourites = main_.marks_.favourites();
    const std::map<std::string, std::string> words = main_.marks_.tags();
    const SearchResult found = tovlo::searchFaces(main_.faceIndex_, {history, favourites, words}, query, kFacesShown);
    callPageFunction(main_.views_.web(), "setSearchResults",
                     {query, foundFacesText(found.faces), std::to_string(found.total)});
}

void MainCommands::showMarkedFaces(const char* function, const std::vector<std::string>& refs, const char* label) {
    refreshFaceIndex();
    const std::vector<std::string> favourites = main_.marks_.favourites();
    const std::map<std::string, std::string> words = main_.marks_.tags();
    const std::vector<FoundFace> faces = facesOf(main_.faceIndex_, {{}, favourites, words}, refs, label);
    callPageFunction(main_.views_.web(), function, {foundFacesText(faces)});
}

void MainCommands::getFavourites() { showMarkedFaces("setFavourites", main_.marks_.favourites(), "收藏"); }

void MainCommands::getFrequent() {
    showMarkedFaces("setFrequentFaces", main_.marks_.frequent(main_.platform_.loop.nowMs(), kFrequentShown), "常用");
}

void MainCommands::loadPlus(const std::string& id) {
    if (main_.control(PanelHost::kSlotPlus)) throw TovloError(kErrSlotTaken, "a plug-in panel is already open");
    if (!main_.slots_.knows("PlusControl"))
        throw TovloError(kErrInvalidArgument, "the panel PlusControl is not part of this build");
    // Its panel would have no description, folder or page to show.
    PluginRegistry& plugins = main_.plugins_;
    if (!plugins.registry().exists(id)) throw TovloError(kErrInvalidArgument, "no plug-in is installed as " + id);
    // An empty id is the registry's "none open": a description without an id
    // is listed but cannot be opened.
    if (id.empty()) throw TovloError(kErrInvalidArgument, "the plug-in has no id in its main.ini");
    plugins.openPlugin(id);
    main_.loadPlusControl("PlusControl");
}

}  // namespace tovlo
