#pragma once
#include "platform/processes.h"

namespace tovlo {

class QtProcesses : public Processes {
public:
    bool startDetached(const std::string& program, const std::string& argument) override;
    bool runAndWait(const std::string& program, const std::string& argument) override;
    bool openUrl(const std::string& url) override;
};

}  // namespace tovlo
