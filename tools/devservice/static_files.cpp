// Plain files of soft/: connect.html, params.html, packs, class faces, the
// update tree. Query strings (the program's "?t=" and "?d=" stamps) play no
// part in finding the file. The path's non-ASCII text is GBK, as the program
// sends it; the files have UTF-8 names.
#include <cctype>
#include <thread>

#include "answers.h"
#include "core/files.h"
#include "request_path.h"
#include "routes.h"

namespace tovlo::devservice {

namespace {

std::string contentTypeOf(const std::string& file) {
    std::size_t dot = file.rfind('.');
    std::string ext = dot == std::string::npos ? "" : file.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "html" || ext == "htm" || ext == "asp") return "text/html; charset=gbk";
    if (ext == "txt") return "text/plain; charset=gbk";
    if (ext == "js") return "text/javascript; charset=gbk";
    if (ext == "css") return "text/css; charset=gbk";
    if (ext == "gif") return "image/gif";
    if (ext == "jpg" || ext == "jpeg") return "image/jpeg";
    if (ext == "bmp") return "image/bmp";
    if (ext == "png") return "image/png";
    return "application/octet-stream";
}

}  // namespace

void addStaticFiles(httplib::Server& server, Service& service) {
    server.Get("/soft/(.*)", [&service](const httplib::Request& req, httplib::Response& res) {
        // Held here, on this request's own thread, so that a test can stop
        // the service while a pack is still arriving.
        if (service.fileDelay.count() > 0) std::this_thread::sleep_for(service.fileDelay);
        std::optional<std::string> file = requestedFile(service.folder.soft(), req.matches[1].str(), service.codec);
        if (!file) return sendProblem(res, service, 400, "请求的路径无效");
        std::optional<std::string> bytes = fileExists(*file) ? readFileBytes(*file) : std::nullopt;
        if (!bytes) return sendProblem(res, service, 404, "找不到这个文件");
        sendBytes(res, std::move(*bytes), contentTypeOf(*file));
    });
}

}  // namespace tovlo::devservice
