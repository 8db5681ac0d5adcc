#pragma once
// How the tests expect a local path of their own folders (plain ASCII) to
// look in what pages receive: "/" between names, and file: addresses with
// three slashes ("file:///tmp/x" here, "file:///C:/Temp/x" on Windows).
#include <string>

#include "temp_dir.h"

namespace tovlo::test {

// The path with the system's separator written as "/".
inline std::string slashed(std::string path) {
    for (char& c : path)
        if (c == kSeparator) c = '/';
    return path;
}

// A local path as it stands inside a script's string literal: each "\"
// written twice (the page then receives the path itself).
inline std::string inScriptLiteral(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '\\') out.push_back(c);
        out.push_back(c);
    }
    return out;
}

inline std::string fileUrlOf(const std::string& path) {
    const std::string p = slashed(path);
    return p.starts_with("/") ? "file://" + p : "file:///" + p;
}

}  // namespace tovlo::test
