#pragma once
// Small pictures made without an image library, so that every platform's
// tests can use them: an animated GIF, a JPEG and a PNG as bytes, BMP files
// of any size and colour, and the pixels of a saved BMP.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace tovlo::test {

inline std::string fromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

// 48 x 16, two frames a tenth of a second each: blue, then yellow.
inline const std::string kTwoFrameGif = fromHex(
    "474946383961300010008100000000ffffff0000000000000021f904040a0000002c000000003000100000021a848fa9cbed"
    "0fa39cb4da8bb3debcfb0f86e24896e689a6ea57000021f904040a0000002c000000003000100000021a8c8fa9cbed0fa39c"
    "b4da8bb3debcfb0f86e24896e689a6ea5700003b");
// 10 x 40, green (baseline, 4:4:4, the smallest tables that hold it).
inline const std::string kGreenJpeg = fromHex(
    "ffd8ffdb00430008010101010101010101010101010101010101010101010101010101010101010101010101010101010101"
    "010101010101010101010101010101010101010101ffc00011080028000a03011100021100031100ffc40016000003000000"
    "0000000000000000000000000507ffc40014100100000000000000000000000000000000ffda000c03010002000300003f00"
    "6c95a28000000000000000000007ffd9");
// 5 x 3, magenta.
inline const std::string kMagentaPng = fromHex(
    "89504e470d0a1a0a0000000d4948445200000005000000030802000000d45452af000000114944415478da63f8cff01f1931"
    "10e00300cd7e1de3de4c25670000000049454e44ae426082");

inline std::string littleEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
    return out;
}
// The number at the offset of the file (bytes past its end throw).
inline std::uint32_t littleEndianAt(const std::string& file, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(file.at(at + i));
    return value;
}

// A 24-bit bottom-up bitmap of the size, filled with the colour (0xRRGGBB).
inline std::string bmpFile(int width, int height, std::uint32_t rgb) {
    std::string row(static_cast<std::size_t>((width * 3 + 3) / 4 * 4), '\0');
    for (int x = 0; x < width; ++x) row.replace(x * 3, 3, littleEndian(rgb, 3));
    std::string pixels;
    for (int y = 0; y < height; ++y) pixels += row;
    const auto u32 = [](std::size_t v) { return littleEndian(static_cast<std::uint32_t>(v), 4); };
    return "BM" + u32(54 + pixels.size()) + u32(0) + u32(54) + u32(40) + u32(width) + u32(height) + littleEndian(1, 2) +
           littleEndian(24, 2) + std::string(24, '\0') + pixels;
}
// The size of a bitmap file, and a pixel's colour when it is 24-bit bottom-up.
inline std::pair<int, int> bmpSize(const std::string& file) {
    return {static_cast<int>(littleEndianAt(file, 18, 4)), static_cast<int>(littleEndianAt(file, 22, 4))};
}
inline std::uint32_t bmpPixel(const std::string& file, int x, int y) {
    const auto [width, height] = bmpSize(file);
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    return littleEndianAt(file, littleEndianAt(file, 10, 4) + stride * (height - 1 - y) + x * 3, 3);
}
// How far apart two colours are: the largest difference of a channel.
inline int colourDistance(std::uint32_t a, std::uint32_t b) {
    int most = 0;
    for (int shift : {0, 8, 16}) most = std::max(most, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return most;
}

}  // namespace tovlo::test
