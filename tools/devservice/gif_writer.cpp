#include "gif_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace tovlo::devservice {

namespace {

// The palette: a 6 x 6 x 6 colour cube (indices 0-215), 39 greys (216-254)
// and the transparent entry 255.
constexpr int kCubeSize = 216;
constexpr int kGreys = 39;
constexpr int kTransparent = 255;

std::array<QRgb, 256> makePalette() {
    std::array<QRgb, 256> palette{};
    for (int i = 0; i < kCubeSize; ++i) palette[i] = qRgb(i / 36 * 51, i / 6 % 6 * 51, i % 6 * 51);
    for (int i = 0; i < kGreys; ++i) {
        int v = (i + 1) * 255 / (kGreys + 1);
        palette[kCubeSize + i] = qRgb(v, v, v);
    }
    palette[kTransparent] = qRgb(0, 0, 0);
    return palette;
}

const std::array<QRgb, 256>& palette() {
    static const std::array<QRgb, 256> colours = makePalette();
    return colours;
}

int distance(QRgb a, QRgb b) {
    int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

std::uint8_t paletteIndex(QRgb pixel) {
    if (qAlpha(pixel) < 128) return kTransparent;
    auto level = [](int v) { return (v + 25) / 51; };
    int cube = level(qRed(pixel)) * 36 + level(qGreen(pixel)) * 6 + level(qBlue(pixel));
    int grey = (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 3;
    int greyIndex = kCubeSize + std::clamp(grey * (kGreys + 1) / 255 - 1, 0, kGreys - 1);
    return distance(pixel, palette()[greyIndex]) < distance(pixel, palette()[cube])
               ? static_cast<std::uint8_t>(greyIndex)
               : static_cast<std::uint8_t>(cube);
}

void putWord(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

// Packs variable-width codes least significant bit first and cuts the bytes
// into the data sub-blocks of at most 255 bytes that GIF expects.
class CodeWriter {
public:
    void put(int code, int width) {
        bits_ |= static_cast<std::uint32_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_ += static_cast<char>(bits_ & 0xFF);
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    std::string finish() {
        if (count_ > 0) bytes_ += static_cast<char>(bits_ & 0xFF);
        std::string blocks;
        for (std::size_t pos = 0; pos < bytes_.size(); pos += 255) {
            std::string piece = bytes_.substr(pos, 255);
            blocks += static_cast<char>(piece.size());
            blocks += piece;
        }
        blocks += '\0';
        return blocks;
    }

private:
    std::uint32_t bits_ = 0;
    int count_ = 0;
    std::string bytes_;
};

// LZW with 8-bit pixels: the table restarts with a clear code when full.
std::string compress(const std::vector<std::uint8_t>& pixels) {
    constexpr int kMinCodeSize = 8;
    constexpr int kClear = 1 << kMinCodeSize;
    constexpr int kEnd = kClear + 1;
    CodeWriter writer;
    std::unordered_map<std::uint32_t, int> table;
    int width = kMinCodeSize + 1;
    int lastCode = kEnd;
    writer.put(kClear, width);
    int current = -1;
    for (std::uint8_t pixel : pixels) {
        if (current < 0) {
            current = pixel;
            continue;
        }
        std::uint32_t key = static_cast<std::uint32_t>(current) << 8 | pixel;
        auto found = table.find(key);
        if (found != table.end()) {
            current = found->second;
            continue;
        }
        writer.put(current, width);
        table[key] = ++lastCode;
        if (lastCode >= (1 << width)) ++width;
        if (lastCode == 4095) {
            writer.put(kClear, width);
            table.clear();
            width = kMinCodeSize + 1;
            lastCode = kEnd;
        }
        current = pixel;
    }
    if (current >= 0) writer.put(current, width);
    writer.put(kEnd, width);
    return static_cast<char>(kMinCodeSize) + writer.finish();
}

}  // namespace

std::string encodeGif(const std::vector<QImage>& frames, int delayCentiseconds) {
    if (frames.empty()) return {};
    const int w = frames.front().width(), h = frames.front().height();
    std::string out = "GIF89a";
    putWord(out, w);
    putWord(out, h);
    out += static_cast<char>(0xF7);  // global colour table of 256 entries
    out += static_cast<char>(kTransparent);
    out += '\0';
    for (QRgb c : palette()) {
        out += static_cast<char>(qRed(c));
        out += static_cast<char>(qGreen(c));
        out += static_cast<char>(qBlue(c));
    }
    if (frames.size() > 1) {
        out += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
        putWord(out, 0);  // loop for ever
        out += '\0';
    }
    for (const QImage& frame : frames) {
        QImage image = frame.scaled(w, h).convertToFormat(QImage::Format_ARGB32);
        std::vector<std::uint8_t> pixels;
        pixels.reserve(static_cast<std::size_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < w; ++x) pixels.push_back(paletteIndex(line[x]));
        }
        // Graphic control: each frame replaces the previous one, index 255 is clear.
        out += "\x21\xF9\x04";
        out += static_cast<char>(0x09);
        putWord(out, delayCentiseconds);
        out += static_cast<char>(kTransparent);
        out += '\0';
        out += ',';
        putWord(out, 0);
        putWord(out, 0);
        putWord(out, w);
        putWord(out, h);
        out += '\0';
        out += compress(pixels);
    }
    out += ';';
    return out;
}

}  // namespace tovlo::devservice
