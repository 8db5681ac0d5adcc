#pragma once
// Asynchronous URL reads: a read is started with a tag, runs while the
// event loop runs, and reports its progress and its end through the
// notifications below, always from the event loop (never from inside start).
// Status numbers: 0 error, 2 connecting, 3 redirecting, 4 receiving data,
// 6 end of data (every byte of the body arrived), 11 sending the request.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace tovlo {

inline constexpr int kReadError = 0;
inline constexpr int kReadConnecting = 2;
inline constexpr int kReadRedirecting = 3;
inline constexpr int kReadReceiving = 4;
inline constexpr int kReadEndOfData = 6;
inline constexpr int kReadSendingRequest = 11;

// A read that could not be started: an error number and its description.
class AsyncReadStartError : public std::runtime_error {
public:
    AsyncReadStartError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

class AsyncUrlRead {
public:
    virtual ~AsyncUrlRead() = default;
    // Starts reading the URL; throws AsyncReadStartError when it cannot. A
    // body longer than maxBytes (announced or received) ends the read with
    // an error.
    virtual void start(const std::string& url, const std::string& tag, std::int64_t maxBytes) = 0;
    // Stops the read with this tag; false when no such read is running.
    virtual bool cancel(const std::string& tag) = 0;

    // bytesRead so far, total (0 while unknown), status, tag.
    std::function<void(std::int64_t bytesRead, std::int64_t total, int status, const std::string& tag)> onProgress;
    // status (0 or 6 for the end of a read), the body, total, tag.
    std::function<void(int status, const std::string& bytes, std::int64_t total, const std::string& tag)> onComplete;
};

// Makes one reader per user, each with its own notifications.
class AsyncUrlReads {
public:
    virtual ~AsyncUrlReads() = default;
    virtual std::unique_ptr<AsyncUrlRead> create() = 0;
};

}  // namespace tovlo
