#pragma once
// Invariant checks for the fuzz targets. A failed check prints what was
// expected, where, and the values involved, then aborts: libFuzzer keeps the
// input that did it as a crash.
#include <string>
#include <string_view>

namespace tovlo::fuzz {

[[noreturn]] void checkFailed(const char* condition, const char* file, int line, const std::string& detail);

// Whether the environment variable TOVLO_FUZZ_SKIP (names separated by
// commas) names the check.
bool skipped(const char* name);

// The bytes as readable text: printable ASCII as it is, everything else as
// \xNN, cut after a few hundred bytes.
std::string shown(std::string_view bytes);

}  // namespace tovlo::fuzz

#define CHECK(condition, detail)                                                                \
    do {                                                                                        \
        if (!(condition)) ::tovlo::fuzz::checkFailed(#condition, __FILE__, __LINE__, (detail)); \
    } while (0)

// A check with a name, for a fault that has been found and is not fixed yet:
// it fails like any other unless TOVLO_FUZZ_SKIP names it, so a run can go
// on looking for other faults in the meantime.
#define CHECK_NAMED(name, condition, detail)                                                    \
    do {                                                                                        \
        if (!(condition) && !::tovlo::fuzz::skipped(name))                                      \
            ::tovlo::fuzz::checkFailed("[" name "] " #condition, __FILE__, __LINE__, (detail)); \
    } while (0)
