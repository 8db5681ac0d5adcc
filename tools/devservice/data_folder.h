#pragma once
// The layout of the service's data folder. "soft/" is what the service serves
// below /soft/ (packs, class faces, the update tree, plain pages); "data/"
// holds accounts, classes and the pack catalogue and is never served.
#include <string>

namespace tovlo::devservice {

struct DataFolder {
    std::string root;

    std::string soft() const { return root + "/soft"; }
    std::string data() const { return root + "/data"; }
    std::string accountsFile() const { return data() + "/accounts.txt"; }
    std::string classesFile() const { return data() + "/classes.txt"; }
    std::string countersFile() const { return data() + "/counters.txt"; }
    std::string packsFile() const { return data() + "/packs.txt"; }
    std::string classFolder(long long classId) const { return soft() + "/" + std::to_string(classId); }
};

}  // namespace tovlo::devservice
