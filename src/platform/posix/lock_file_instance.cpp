#include "lock_file_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>

namespace tovlo {

LockFileInstance::LockFileInstance(std::string programFolder) : folder_(std::move(programFolder)) {}

LockFileInstance::~LockFileInstance() {
    if (fd_ >= 0) ::close(fd_);
}

bool LockFileInstance::acquire() {
    if (fd_ >= 0) return true;
    std::string path = folder_ + "/.tovlo.lock";
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        // A read-only program folder: lock a name derived from the folder instead.
        path = "/tmp/tovlo-" + std::to_string(std::hash<std::string>{}(folder_)) + ".lock";
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    }
    if (fd < 0) return true;  // no lock can be made at all: do not refuse to run
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

}  // namespace tovlo
