#pragma once
// Auto-start entries in memory; a test can make writing them fail.
#include <map>
#include <string>

#include "platform/auto_start.h"

namespace tovlo {

class FakeAutoStart : public AutoStart {
public:
    bool enable(const std::string& entryName, const std::string& programPath) override {
        ++calls;
        if (failing) return false;
        entries[entryName] = programPath;
        return true;
    }
    bool disable(const std::string& entryName) override {
        ++calls;
        if (failing) return false;
        entries.erase(entryName);
        return true;
    }
    std::map<std::string, std::string> entries;  // entry name -> program path
    bool failing = false;
    int calls = 0;
};

}  // namespace tovlo
