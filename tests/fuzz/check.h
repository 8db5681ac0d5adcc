#pragma once
// Invariant checks for the fuzz targets. A failed check prints what was
// expected, where, and the values involved, then aborts: libFuzzer keeps the
// input that did it as a crash.
#include <string>
#include <string_view>

namespace tovlo::fuzz {

[[noreturn]] void checkFailed(const char* condition, const char* file, int line, const std::string& detail);

// The bytes as readable text: printable ASCII as it is, everything else as
// \xNN, cut after a few hundred bytes.
std::string shown(std::string_view bytes);

}  // namespace tovlo::fuzz

#define CHECK(condition, detail)                                                                \
    do {                                                                                        \
        if (!(condition)) ::tovlo::fuzz::checkFailed(#condition, __FILE__, __LINE__, (detail)); \
    } while (0)
