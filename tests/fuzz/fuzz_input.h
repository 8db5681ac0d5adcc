#pragma once
// Cutting a fuzz input into the parts a target needs.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tovlo::fuzz {

// The bytes libFuzzer hands over, as text.
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Takes one byte off the front (0 when there is none).
inline std::uint8_t takeByte(std::string_view& data) {
    if (data.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(data.front());
    data.remove_prefix(1);
    return byte;
}

// Takes the bytes up to the next NUL off the front, and the NUL; all of
// them when there is no NUL.
inline std::string_view takeField(std::string_view& data) {
    const std::size_t end = data.find('\0');
    const std::string_view field = data.substr(0, end);
    data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
    return field;
}

}  // namespace tovlo::fuzz
