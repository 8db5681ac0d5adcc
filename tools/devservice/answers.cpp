#include "answers.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "core/text.h"
#include "pages.h"

namespace tovlo::devservice {

namespace {

bool isPlainHost(const std::string& host) {
    if (host.empty() || host.size() > 255) return false;
    for (char c : host) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
                  c == ':' || c == '[' || c == ']';
        if (!ok) return false;
    }
    return true;
}

bool bodyIsUtf8(const httplib::Request& req) {
    std::string type = req.get_header_value("Content-Type");
    for (char& c : type) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return contains(type, "charset=utf-8");
}

}  // namespace

void sendBytes(httplib::Response& res, std::string bytes, const std::string& type, int status) {
    res.status = status;
    // A body given through a provider of known length goes out unchanged;
    // one set with set_content would be gzipped for clients that accept it.
    auto body = std::make_shared<const std::string>(std::move(bytes));
    res.set_content_provider(body->size(), type.c_str(),
                             [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                 return sink.write(body->data() + offset, std::min(length, body->size() - offset));
                             });
}

void sendText(httplib::Response& res, const Service& service, const std::string& utf8, const std::string& mime,
              int status) {
    sendBytes(res, service.codec.utf8ToAnsi(utf8), mime + "; charset=gbk", status);
}

void sendProblem(httplib::Response& res, const Service& service, int status, const std::string& message) {
    sendText(res, service, renderPage("message.html", {{"message", htmlEscape(message)}}), "text/html", status);
}

std::string requestValue(const httplib::Request& req, const Service& service, const std::string& key) {
    if (!req.has_param(key.c_str())) return {};
    std::string raw = req.get_param_value(key.c_str());
    if (req.method == "POST" && bodyIsUtf8(req)) return raw;
    return service.codec.ansiToUtf8(raw);
}

std::string serviceOrigin(const httplib::Request& req, const Service& service) {
    std::string host = req.get_header_value("Host");
    if (!isPlainHost(host)) host = "127.0.0.1:" + std::to_string(service.port);
    return "http://" + host;
}

}  // namespace tovlo::devservice
