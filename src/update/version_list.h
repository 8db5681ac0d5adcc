#pragma once
// The service's version list "update.txt": every released version in release
// order, each followed by "-" ("1.0-1.1-1.2-"). Both programs read it.
#include <string>
#include <string_view>

namespace tovlo {

struct VersionStep {
    enum Kind {
        kUnknown,  // the version is not an entry of the list
        kLast,     // the version is the newest one
        kNext,     // a newer version exists: `next` is the one right after it
    };
    Kind kind = kUnknown;
    std::string next;
};

// Where `version` stands in the list. Versions are matched as whole entries,
// so "1.1" is not found inside "11.1". Line breaks and spaces around the list
// are ignored, and so is a missing "-" after the last version.
VersionStep stepFrom(std::string_view list, std::string_view version);

}  // namespace tovlo
