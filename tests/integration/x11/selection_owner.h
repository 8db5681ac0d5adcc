#pragma once
// Another program's clipboard: a thread with its own X connection that owns
// the CLIPBOARD selection and answers requests for its targets, sending data
// larger than a chunk in INCR steps.
#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tovlo::test {

struct OfferedTarget {
    std::string name;
    std::optional<std::string> bytes;  // nothing: listed, but conversion is refused
};

class SelectionOwner {
public:
    explicit SelectionOwner(std::vector<OfferedTarget> targets, std::size_t chunkSize = 64 * 1024);
    ~SelectionOwner();
    SelectionOwner(const SelectionOwner&) = delete;
    SelectionOwner& operator=(const SelectionOwner&) = delete;

    // The number of INCR transfers the owner has begun.
    int incrementalTransfers() const { return incremental_; }

private:
    void serve();

    std::vector<OfferedTarget> targets_;
    std::size_t chunkSize_;
    std::atomic<bool> owning_{false};
    std::atomic<bool> stop_{false};
    std::atomic<int> incremental_{0};
    std::thread thread_;
};

}  // namespace tovlo::test
