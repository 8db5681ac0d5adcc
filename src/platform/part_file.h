#pragma once
// Files are written beside their place and then renamed over it, so that a
// reader never sees half a file. The name they are written under marks them:
// a program killed half way through a write leaves such a file behind, and
// whoever writes into that folder again clears it away.
#include <atomic>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace tovlo {

inline constexpr std::string_view kPartMark = ".tovlo-part-";

// The name the file is written under first: one per process and per write,
// so that two writes of the same file never share it.
inline std::string partFileOf(const std::string& path) {
#ifdef _WIN32
    const int pid = _getpid();
#else
    const int pid = static_cast<int>(::getpid());
#endif
    static std::atomic<unsigned> writes{0};
    return path + std::string(kPartMark) + std::to_string(pid) + "-" + std::to_string(++writes);
}

inline bool isPartFile(std::string_view name) { return name.find(kPartMark) != std::string_view::npos; }

}  // namespace tovlo
