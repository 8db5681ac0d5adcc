#pragma once
// Unattended runs (the environment variable TOVLO_UNATTENDED set to 1, as in
// the end-to-end tests): no modal box or dialog waits for a user. A message
// box writes "[message] title: text" to the standard error and counts as
// answered; the folder chooser writes "[folder] prompt" and answers with
// TOVLO_FOLDER_ANSWER (none when it is empty). Alike on every platform.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace tovlo {

inline bool unattendedRun() {
    const char* v = std::getenv("TOVLO_UNATTENDED");
    return v && std::strcmp(v, "1") == 0;
}

inline void unattendedMessage(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "[message] %s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
}

inline std::optional<std::string> unattendedFolder(const std::string& prompt) {
    std::fprintf(stderr, "[folder] %s\n", prompt.c_str());
    std::fflush(stderr);
    const char* answer = std::getenv("TOVLO_FOLDER_ANSWER");
    if (!answer || !*answer) return std::nullopt;
    return std::string(answer);
}

}  // namespace tovlo
