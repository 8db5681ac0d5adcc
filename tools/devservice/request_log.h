#pragma once
// The --log file: one line per request, "<METHOD> <path>" and "?<query>" when
// there is one, exactly as the request line carried them (still
// percent-encoded), written before the request is answered so that whoever
// got the answer also finds the line.
#include <httplib.h>

#include <fstream>
#include <mutex>
#include <string>

namespace tovlo::devservice {

class RequestLog {
public:
    // False when the file cannot be opened for appending.
    bool open(const std::string& path);
    void record(const httplib::Request& req);

private:
    std::mutex lock_;
    std::ofstream out_;
};

}  // namespace tovlo::devservice
