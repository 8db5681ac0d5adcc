#pragma once
// The result of a change the service was asked to make: done, or refused
// with an HTTP status and a Chinese message for the user.
#include <string>

namespace tovlo::devservice {

struct Outcome {
    int status = 200;
    std::string error;  // empty when the change was made
    long long id = 0;   // the id of what was created, when something was

    bool ok() const { return error.empty(); }
    static Outcome done(long long id = 0) { return {200, {}, id}; }
    static Outcome refused(int status, std::string error) { return {status, std::move(error), 0}; }
};

}  // namespace tovlo::devservice
