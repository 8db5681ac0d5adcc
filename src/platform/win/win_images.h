#pragma once
// Still images on GDI+ (no window needed): GIF (the first frame of an
// animation), JPEG, BMP and PNG in, smooth stretched drawing, BMP out.
// GDI+ is started once per process, by the first WinImages, and left
// running until the process ends.
#include "platform/images.h"

namespace tovlo {

class WinImages : public Images {
public:
    WinImages();
    std::unique_ptr<Image> load(const std::string& path) override;
    std::unique_ptr<Sheet> createSheet(int width, int height, std::uint32_t rgb) override;
};

}  // namespace tovlo
