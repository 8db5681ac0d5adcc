#pragma once
// Auto-start on Linux desktops: an XDG autostart entry, the file
// "<entry name>.desktop" in $XDG_CONFIG_HOME/autostart (~/.config/autostart
// when the variable is unset or not an absolute path).
#include <string>

#include "platform/auto_start.h"

namespace tovlo {

// The program path as the Exec key of a desktop entry must hold it: quoted
// when it has characters the format reserves, with the escapes of the format.
std::string desktopExecValue(const std::string& programPath);

class XdgAutoStart : public AutoStart {
public:
    // The folder holding the entries.
    explicit XdgAutoStart(std::string autostartFolder) : folder_(std::move(autostartFolder)) {}
    // The folder of the user's session, from the environment.
    static XdgAutoStart forThisUser();

    bool enable(const std::string& entryName, const std::string& programPath) override;
    bool disable(const std::string& entryName) override;
    std::string entryPath(const std::string& entryName) const;

private:
    std::string folder_;
};

}  // namespace tovlo
