#pragma once
// Single instance per program folder: an advisory lock on a file in the
// folder, held for the life of the process and released by the system when
// the process ends, however it ends.
#include <string>

#include "platform/single_instance.h"

namespace tovlo {

class LockFileInstance : public SingleInstance {
public:
    explicit LockFileInstance(std::string programFolder);
    ~LockFileInstance() override;
    bool acquire() override;

private:
    std::string folder_;
    int fd_ = -1;
};

}  // namespace tovlo
