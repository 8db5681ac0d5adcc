#pragma once
// A small GIF89a encoder: Qt reads GIF but cannot write it, and both the
// sample faces and the thumbnails of uploaded GIFs need it.
#include <QImage>

#include <string>
#include <vector>

namespace tovlo::devservice {

// Encodes the frames (all drawn at the size of the first) into one GIF file.
// Colours are mapped to a fixed palette; pixels less than half opaque become
// transparent. More than one frame gives an endlessly looping animation that
// shows each frame for delayCentiseconds.
std::string encodeGif(const std::vector<QImage>& frames, int delayCentiseconds = 0);

}  // namespace tovlo::devservice
