#include "request_log.h"

namespace tovlo::devservice {

bool RequestLog::open(const std::string& path) {
    out_.open(path, std::ios::binary | std::ios::app);
    return out_.is_open();
}

void RequestLog::record(const httplib::Request& req) {
    std::lock_guard guard(lock_);
    if (!out_.is_open()) return;
    out_ << req.method << ' ' << req.target << '\n';
    out_.flush();
}

}  // namespace tovlo::devservice
