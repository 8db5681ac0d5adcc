#pragma once
// What kind of picture a file is, judged by its bytes, and the small copy
// ("s_" file) that class listings show as the thumbnail.
#include <QImage>

#include <optional>
#include <string>

namespace tovlo::devservice {

// Edge of the square a thumbnail fits in; smaller pictures keep their size.
inline constexpr int kThumbnailEdge = 48;

// "gif", "jpg" or "bmp" when the bytes start like such a file, else empty.
std::string pictureTypeOf(const std::string& bytes);

// The picture encoded as the given type ("gif", "jpg" or "bmp").
std::string encodePicture(const QImage& image, const std::string& type);

// The thumbnail of a picture, in the picture's own type (of an animation, its
// first frame); nothing when the bytes are no readable GIF, JPEG or BMP.
std::optional<std::string> makeThumbnail(const std::string& bytes);

}  // namespace tovlo::devservice
