#include <string>
#include <vector>

#include "gif_writer.h"
#include "sample_data.h"
#include "sample_faces.h"

namespace tovlo::devservice {

namespace {

// Newest first: the program shows the news from the first mention of the
// version it offers to the end, so each version's own lines must not name a
// later one.
const std::vector<std::string> kNews = {
    "<b>Tovlo 1.2 新版本特性</b>",
    "· 上传表情时显示进度，失败时给出原因",
    "· 表情面板可以停靠在聊天窗口下方",
    "<b>Tovlo 1.1 新版本特性</b>",
    "· 新增表情分类管理：新建、改名、删除分类",
    "· 修正下载表情包时偶尔停住的问题",
    "<b>Tovlo 1.0</b>",
    "· 第一个版本",
};

std::string crlfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
    return text;
}

}  // namespace

void writeUpdateTree(const DataFolder& folder, const TextCodec& codec) {
    std::string update = folder.soft() + "/update";
    writeSampleFile(update + "/update.txt", "1.0-1.1-1.2-");
    writeSampleFile(update + "/news.txt", codec.utf8ToAnsi(crlfLines(kNews)));

    // Each version installs a notes file served as notes__md.txt (it lands in
    // the program folder as notes.md) and a change list under docs/.
    for (const char* version : {"1.1", "1.2"}) {
        std::string v = version;
        std::string dir = update + "/" + v;
        writeSampleFile(dir + "/notes__md.txt",
                        codec.utf8ToAnsi(crlfLines({"# Tovlo " + v, "", "本次更新的说明见 docs/changes-" + v + ".txt。"})));
        writeSampleFile(dir + "/docs/changes-" + v + ".txt",
                        codec.utf8ToAnsi(crlfLines({"Tovlo " + v + " 更新内容", "· 修正若干问题"})));
    }
    writeSampleFile(update + "/1.1/urls.txt", "notes__md.txt--docs/changes-1.1.txt");
    writeSampleFile(update + "/1.2/docs/logo.gif", encodeGif({drawFace(32, 12)}));
    writeSampleFile(update + "/1.2/urls.txt", "notes__md.txt--docs/changes-1.2.txt--docs/logo.gif");
}

}  // namespace tovlo::devservice
