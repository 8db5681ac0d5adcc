#include "fake_services.h"

#include <fstream>

namespace tovlo {

std::optional<std::string> FakeUrlFetch::fetchBytes(const std::string& url) {
    requests.push_back(url);
    if (handler) {
        if (auto answer = handler(url)) return answer;
    }
    auto it = answers.find(url);
    if (it == answers.end()) return std::nullopt;
    return it->second;
}

bool FakeUrlFetch::fetchToFile(const std::string& url, const std::string& path) {
    auto body = fetchBytes(url);
    if (!body) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << *body;
    return static_cast<bool>(out);
}

}  // namespace tovlo
