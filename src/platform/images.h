#pragma once
// Still images: load a picture file (the first frame of an animated GIF,
// JPEG, BMP), draw pictures stretched into rectangles of a sheet, and save
// the sheet as a Windows bitmap.
#include <cstdint>
#include <memory>
#include <string>

#include "geometry.h"

namespace tovlo {

class Image {
public:
    virtual ~Image() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

class Sheet {
public:
    virtual ~Sheet() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Draws the whole image scaled to fill the rectangle (the aspect ratio is not kept).
    virtual void draw(const Image& image, const Rect& target) = 0;
    // Writes the sheet as a BMP file, replacing it. False on failure.
    virtual bool saveBmp(const std::string& path) const = 0;
};

class Images {
public:
    virtual ~Images() = default;
    // The image of the file, or null when it is missing or cannot be decoded.
    virtual std::unique_ptr<Image> load(const std::string& path) = 0;
    // A sheet of the size, filled with the colour (0xRRGGBB).
    virtual std::unique_ptr<Sheet> createSheet(int width, int height, std::uint32_t rgb) = 0;
};

}  // namespace tovlo
