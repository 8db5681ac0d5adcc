#pragma once
// Single instance per program folder: a named mutex whose name is made from
// the folder's full path (case and separators as the system compares paths).
// The system removes it when the last process holding it ends, however it
// ends.
#include <string>

#include "platform/single_instance.h"

namespace tovlo {

// The mutex name for a program folder: the same for every spelling of the
// same folder, different for different folders.
std::wstring instanceMutexName(const std::string& programFolder);

class MutexInstance : public SingleInstance {
public:
    explicit MutexInstance(std::string programFolder) : folder_(std::move(programFolder)) {}
    ~MutexInstance() override;
    MutexInstance(const MutexInstance&) = delete;
    MutexInstance& operator=(const MutexInstance&) = delete;
    bool acquire() override;

private:
    std::string folder_;
    void* mutex_ = nullptr;
};

}  // namespace tovlo
