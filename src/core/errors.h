#pragma once
// Errors raised to callers. Each carries the error number the program's
// users (pages, panels) may tell apart, such as 53 for a missing file.
#include <stdexcept>
#include <string>

namespace tovlo {

class TovloError : public std::runtime_error {
public:
    TovloError(int number, const std::string& what) : std::runtime_error(what), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

inline constexpr int kErrFileNotFound = 53;
inline constexpr int kErrFileAccess = 75;
inline constexpr int kErrKeyExists = 457;
inline constexpr int kErrInvalidArgument = 5;
// A panel slot (a control name) that already holds a panel.
inline constexpr int kErrSlotTaken = 727;
// A command, property or method that its receiver does not have.
inline constexpr int kErrNoSuchMember = 438;

class FileNotFoundError : public TovloError {
public:
    explicit FileNotFoundError(const std::string& path) : TovloError(kErrFileNotFound, "file not found: " + path) {}
};

}  // namespace tovlo
