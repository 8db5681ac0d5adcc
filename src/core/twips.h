#pragma once
// Window positions given in twips are converted at 15 twips per pixel.
namespace tovlo {

inline constexpr int kTwipsPerPixel = 15;
constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }
constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace tovlo
