#include <stdexcept>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/text.h"
#include "gif_writer.h"
#include "sample_data.h"
#include "sample_faces.h"

namespace tovlo::devservice {

namespace {

// Newest first. The program shows the news from the first mention of the
// version it offers to the end, so each version's part starts with the
// version itself and its own lines do not name a later one.
const std::vector<std::string> kNews = {
    "1.2 新版本特性：", "· 上传表情时显示进度，失败时给出原因",     "· 表情面板可以停靠在聊天窗口下方",
    "1.1 新版本特性：", "· 新增表情分类管理：新建、改名、删除分类", "· 修正下载表情包时偶尔停住的问题",
    "1.0 第一个版本",
};

// Runs once a version's files are in place, with that version: starts the
// updater again, which moves on to the next version or, at the newest one,
// reports success and starts Tovlo.
const char* kUpdateAft =
    "#!/bin/sh\n"
    "# Tovlo: after an update step, the updater goes on from the version just installed.\n"
    "cd \"$(dirname \"$0\")\" || exit 1\n"
    "exec \"$PWD/Kestrup.exe\" \"$1\"\n";

std::string crlfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
    return text;
}

std::string readSource(const std::string& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) throw std::runtime_error("cannot read " + path);
    return *bytes;
}

// The main page with the release in its footer ("Tovlo 1.2") set to the version.
std::string pageOfRelease(const std::string& page, const std::string& version) {
    const std::string open = "<span id=\"release\">";
    const std::size_t start = page.find(open);
    const std::size_t end = start == std::string::npos ? start : page.find("</span>", start);
    if (end == std::string::npos) throw std::runtime_error("the main page has no release in its footer");
    return page.substr(0, start + open.size()) + "Tovlo " + version + page.substr(end);
}

}  // namespace

void writeUpdateTree(const DataFolder& folder, const TextCodec& codec, const UpdateSources& sources) {
    const std::string update = folder.soft() + "/update";
    writeSampleFile(update + "/update.txt", "1.0-1.1-1.2-");
    writeSampleFile(update + "/news.txt", codec.utf8ToAnsi(crlfLines(kNews)));

    const std::string mainPage = readSource(sources.mainPage);
    // Each version brings its main page, its post-update step (served as
    // updateAft__exe.txt), a notes file served as notes__md.txt (it lands in
    // the program folder as notes.md) and a change list under docs/.
    for (const char* version : {"1.1", "1.2"}) {
        const std::string v = version;
        const std::string dir = update + "/" + v;
        writeSampleFile(dir + "/w/main.html", pageOfRelease(mainPage, v));
        writeSampleFile(dir + "/updateAft__exe.txt", kUpdateAft);
        writeSampleFile(
            dir + "/notes__md.txt",
            codec.utf8ToAnsi(crlfLines({"# Tovlo " + v, "", "本次更新的说明见 docs/changes-" + v + ".txt。"})));
        writeSampleFile(dir + "/docs/changes-" + v + ".txt",
                        codec.utf8ToAnsi(crlfLines({"Tovlo " + v + " 更新内容", "· 修正若干问题"})));
    }
    writeSampleFile(update + "/1.1/urls.txt", "w/main.html--updateAft__exe.txt--notes__md.txt--docs/changes-1.1.txt");
    // 1.2 also delivers a fresh updater; the program puts it in place at its
    // next update check.
    writeSampleFile(update + "/1.2/Kestrup_updateSelf__exe.txt", readSource(sources.updater));
    writeSampleFile(update + "/1.2/docs/logo.gif", encodeGif({drawFace(32, 12)}));
    writeSampleFile(update + "/1.2/urls.txt",
                    "w/main.html--updateAft__exe.txt--Kestrup_updateSelf__exe.txt--notes__md.txt--"
                    "docs/changes-1.2.txt--docs/logo.gif");
}

}  // namespace tovlo::devservice
