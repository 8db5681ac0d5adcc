#pragma once
// How much a read from outside may bring, and how long a wait may last. The
// sizes are generous for real use (the largest face the service offers is
// far below its bound) and small enough that a broken or hostile service
// cannot exhaust memory; a read over its bound fails like any other failed
// read. Every network wait has a stall limit and a total limit.
#include <cstddef>
#include <cstdint>

namespace tovlo::limits {

inline constexpr std::int64_t kKiB = 1024;
inline constexpr std::int64_t kMiB = 1024 * kKiB;

// A face picture, or any file of a public pack.
inline constexpr std::int64_t kFaceFileBytes = 16 * kMiB;
// A text of the service: a pack list, a class listing, a class list, a
// version or file list, the news, the server parameters, any fetched page.
inline constexpr std::int64_t kTextBytes = 1 * kMiB;
// A face's reference as a page hands it over to be marked (a file: URL).
inline constexpr std::size_t kFaceRefBytes = 4096;
// A file of a new version (the programs among them).
inline constexpr std::int64_t kUpdateFileBytes = 256 * kMiB;
// The service's answer to an upload ("call(...)" and whatever is around it).
inline constexpr std::int64_t kUploadAnswerBytes = 64 * kKiB;

// A read whose connection or transfer makes no progress for this long fails.
inline constexpr int kStallMs = 15000;
// A synchronous fetch: connecting, and the whole transfer.
inline constexpr int kConnectMs = 10000;
inline constexpr int kFetchTotalMs = 60000;
// The whole of an own-faces page or a pack download, every file of it: a
// service that trickles bytes just fast enough to pass the stall limit
// still ends the batch, with what did not arrive counted as failed.
inline constexpr int kBatchTotalMs = 5 * 60 * 1000;
// The files of one version in the updater: large programs over a slow line.
inline constexpr int kUpdateTotalMs = 30 * 60 * 1000;
// The upload's answer, counted from when the request has been sent.
inline constexpr int kUploadAnswerMs = 30000;

}  // namespace tovlo::limits

namespace tovlo {

// The limits of one blocking fetch (UrlFetch), the same on every system.
struct FetchLimits {
    long connectTimeoutMs = limits::kConnectMs;
    long stallTimeoutMs = limits::kStallMs;
    long totalTimeoutMs = limits::kFetchTotalMs;
    std::int64_t maxBytes = limits::kTextBytes;
};

}  // namespace tovlo
