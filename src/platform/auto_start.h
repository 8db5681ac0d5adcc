#pragma once
// Starting a program when the user logs in (an autostart entry on Linux, the
// Run key of the registry on Windows), under an entry name.
#include <string>

namespace tovlo {

class AutoStart {
public:
    virtual ~AutoStart() = default;
    // Writes (or rewrites) the entry so that it starts the program at that
    // full path. False when it could not be written.
    virtual bool enable(const std::string& entryName, const std::string& programPath) = 0;
    // Removes the entry; true when none is left.
    virtual bool disable(const std::string& entryName) = 0;
};

}  // namespace tovlo
