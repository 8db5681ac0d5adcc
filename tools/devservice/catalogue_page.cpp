// The public pack catalogue. data/packs.txt lists the packs on offer, one
// line each: folder name, version, display name (tab-separated, UTF-8); the
// face count and the preview come from the pack's own imgs.txt.
#include "answers.h"
#include "core/files.h"
#include "core/text.h"
#include "core/urls.h"
#include "pages.h"
#include "routes.h"

namespace tovlo::devservice {

namespace {

std::string packCard(const Service& service, const std::string& pack, const std::string& version,
                     const std::string& title) {
    std::optional<std::string> list = readFileBytes(service.folder.soft() + "/" + pack + "/imgs.txt");
    if (!list) return {};
    std::vector<std::string> faces;
    for (const std::string& name : split(service.codec.ansiToUtf8(*list), "/"))
        if (!name.empty() && !startsWith(name, "ver-")) faces.push_back(name);
    // The preview's address is written out as percent-encoded GBK, the
    // way the program addresses the service, so that the browser sends
    // exactly those bytes for a Chinese pack name.
    std::string preview = faces.empty() ? "" : "/soft/" + urlPath(service.codec.utf8ToAnsi(pack + "/" + faces.front()));
    return itemButton("showFace||" + pack + "," + version, preview, title,
                      std::to_string(faces.size()) + " 个表情 · 版本 " + version);
}

}  // namespace

void addCataloguePage(httplib::Server& server, Service& service) {
    server.Get("/soft/select.html", [&service](const httplib::Request&, httplib::Response& res) {
        std::string cards;
        for (const std::string& line : split(readFileBytes(service.folder.packsFile()).value_or(""), "\n")) {
            std::vector<std::string> fields = split(line, "\t");
            if (fields.size() == 3) cards += packCard(service, fields[0], fields[1], fields[2]);
        }
        if (cards.empty()) cards = "<p class=\"empty\">暂时没有表情包</p>";
        sendText(res, service, renderPage("select.html", {{"packs", cards}}), "text/html");
    });
}

}  // namespace tovlo::devservice
