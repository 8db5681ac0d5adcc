#pragma once
// The real devservice binary, started for one test on a free loopback port
// with a fresh copy of the sample data.
#include <sys/types.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tovlo::test {

class DevServiceProcess {
public:
    // Copies the sample data and starts the service, with options after the
    // usual --root, --port and --log.
    explicit DevServiceProcess(std::vector<std::string> options = {});
    ~DevServiceProcess();
    DevServiceProcess(const DevServiceProcess&) = delete;
    DevServiceProcess& operator=(const DevServiceProcess&) = delete;

    // Stops the service and starts it again on the same data folder.
    void restart();
    // False once the process has ended.
    bool running();

    int port() const { return port_; }
    const std::string& firstLine() const { return firstLine_; }
    std::string dataFolder() const { return dir_ / "data"; }
    std::string logText() const;

private:
    void start();
    void stop();

    std::vector<std::string> options_;
    TempDir dir_;
    pid_t pid_ = -1;
    int port_ = 0;
    std::string firstLine_;
};

}  // namespace tovlo::test
