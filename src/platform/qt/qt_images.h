#pragma once
// Still images on QImage (no display needed): GIF (first frame), JPEG and
// BMP in, stretched drawing, BMP out.
#include "platform/images.h"

namespace tovlo {

class QtImages : public Images {
public:
    std::unique_ptr<Image> load(const std::string& path) override;
    std::unique_ptr<Sheet> createSheet(int width, int height, std::uint32_t rgb) override;
};

}  // namespace tovlo
