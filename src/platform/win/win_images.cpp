#include "win_images.h"

#include <windows.h>
// After windows.h: what gdiplus.h needs that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
// After objidl.h:
#include <gdiplus.h>

#include <cstring>
#include <cwchar>
#include <optional>
#include <vector>

#include "platform/part_file.h"
#include "win_files.h"
#include "win_text.h"

namespace tovlo {

namespace {

namespace gp = Gdiplus::DllExports;
using Gdiplus::Ok;

// Pictures larger than this are refused (4 bytes a pixel: 256 MiB, Qt's
// default limit for a decoded image).
constexpr std::uint64_t kMaxPixels = 64u * 1024 * 1024;

// GDI+ for the whole process, started the first time (thread-safe) and never
// shut down: images may outlive any owner, and a shutdown at exit would race
// with objects destroyed later.
bool gdiplusStarted() {
    static const bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Ok;
    }();
    return started;
}

// The pixels in memory of their own (premultiplied ARGB), so that no file
// stays open behind them.
class WinImage : public Image {
public:
    WinImage(int width, int height, std::vector<std::uint32_t> pixels)
        : width_(width), height_(height), pixels_(std::move(pixels)) {
        if (gp::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                                          reinterpret_cast<BYTE*>(pixels_.data()), &bitmap) != Ok)
            bitmap = nullptr;
    }
    ~WinImage() override {
        if (bitmap) gp::GdipDisposeImage(bitmap);
    }
    WinImage(const WinImage&) = delete;
    WinImage& operator=(const WinImage&) = delete;
    int width() const override { return width_; }
    int height() const override { return height_; }

    Gdiplus::GpBitmap* bitmap = nullptr;

private:
    int width_, height_;
    std::vector<std::uint32_t> pixels_;
};

// The BMP encoder of GDI+, looked up once; null when there is none.
const CLSID* bmpEncoder() {
    static const std::optional<CLSID> encoder = []() -> std::optional<CLSID> {
        UINT count = 0, bytes = 0;
        if (gp::GdipGetImageEncodersSize(&count, &bytes) != Ok || bytes == 0) return std::nullopt;
        std::vector<unsigned char> buffer(bytes);
        auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
        if (gp::GdipGetImageEncoders(count, bytes, codecs) != Ok) return std::nullopt;
        for (UINT i = 0; i < count; ++i)
            if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, L"image/bmp") == 0) return codecs[i].Clsid;
        return std::nullopt;
    }();
    return encoder ? &*encoder : nullptr;
}

class WinSheet : public Sheet {
public:
    WinSheet(int width, int height, std::uint32_t rgb) : width_(width), height_(height) {
        if (width <= 0 || height <= 0 || !gdiplusStarted()) return;
        if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat24bppRGB, nullptr, &bitmap_) != Ok) {
            bitmap_ = nullptr;
            return;
        }
        if (Gdiplus::GpGraphics* g = graphics()) {
            gp::GdipGraphicsClear(g, 0xFF000000u | rgb);
            gp::GdipDeleteGraphics(g);
        }
    }
    ~WinSheet() override {
        if (bitmap_) gp::GdipDisposeImage(bitmap_);
    }
    WinSheet(const WinSheet&) = delete;
    WinSheet& operator=(const WinSheet&) = delete;
    int width() const override { return width_; }
    int height() const override { return height_; }

    void draw(const Image& image, const Rect& target) override {
        const auto& source = static_cast<const WinImage&>(image);
        Gdiplus::GpGraphics* g = source.bitmap ? graphics() : nullptr;
        if (!g) return;
        // Bilinear, with pixel centres where they belong, and the picture's
        // edge continued past it (not blended with transparency), so that a
        // stretched face fills its cell to the border.
        gp::GdipSetInterpolationMode(g, Gdiplus::InterpolationModeHighQualityBilinear);
        gp::GdipSetPixelOffsetMode(g, Gdiplus::PixelOffsetModeHalf);
        Gdiplus::GpImageAttributes* edges = nullptr;
        if (gp::GdipCreateImageAttributes(&edges) == Ok)
            gp::GdipSetImageAttributesWrapMode(edges, Gdiplus::WrapModeTileFlipXY, 0, FALSE);
        gp::GdipDrawImageRectRectI(g, source.bitmap, target.left, target.top, target.width, target.height, 0, 0,
                                   source.width(), source.height(), Gdiplus::UnitPixel, edges, nullptr, nullptr);
        if (edges) gp::GdipDisposeImageAttributes(edges);
        gp::GdipDeleteGraphics(g);
    }

    bool saveBmp(const std::string& path) const override {
        // Written beside and renamed over, so an old sheet is never left torn.
        const CLSID* encoder = bitmap_ ? bmpEncoder() : nullptr;
        if (!encoder) return false;
        const std::string part = partFileOf(path);
        if (gp::GdipSaveImageToFile(bitmap_, widen(part).c_str(), encoder, nullptr) == Ok && moveOver(part, path))
            return true;
        removeFile(part);
        return false;
    }

private:
    Gdiplus::GpGraphics* graphics() {
        Gdiplus::GpGraphics* g = nullptr;
        return gp::GdipGetImageGraphicsContext(bitmap_, &g) == Ok ? g : nullptr;
    }

    int width_, height_;
    Gdiplus::GpBitmap* bitmap_ = nullptr;
};

}  // namespace

WinImages::WinImages() { gdiplusStarted(); }

std::unique_ptr<Image> WinImages::load(const std::string& path) {
    Gdiplus::GpBitmap* file = nullptr;
    if (!gdiplusStarted() || gp::GdipCreateBitmapFromFile(widen(path).c_str(), &file) != Ok) return nullptr;
    // The active frame of a new GIF is its first. Its pixels are copied out,
    // so the file is let go at once.
    std::unique_ptr<Image> image;
    UINT width = 0, height = 0;
    gp::GdipGetImageWidth(file, &width);
    gp::GdipGetImageHeight(file, &height);
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (width > 0 && height > 0 && std::uint64_t{width} * height <= kMaxPixels &&
        gp::GdipBitmapLockBits(file, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) == Ok) {
        std::vector<std::uint32_t> pixels(std::size_t{width} * height);
        for (UINT row = 0; row < height; ++row)
            std::memcpy(&pixels[std::size_t{row} * width],
                        static_cast<const BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(row) * data.Stride,
                        std::size_t{width} * 4);
        gp::GdipBitmapUnlockBits(file, &data);
        auto decoded = std::make_unique<WinImage>(static_cast<int>(width), static_cast<int>(height), std::move(pixels));
        if (decoded->bitmap) image = std::move(decoded);
    }
    gp::GdipDisposeImage(file);
    return image;
}

std::unique_ptr<Sheet> WinImages::createSheet(int width, int height, std::uint32_t rgb) {
    return std::make_unique<WinSheet>(width, height, rgb);
}

}  // namespace tovlo
