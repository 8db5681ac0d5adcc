#pragma once
// Both programs take their whole command line after the program name as one
// text (a version).
#include <string>

namespace tovlo {

inline std::string commandLineText(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

}  // namespace tovlo
