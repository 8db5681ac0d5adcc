#pragma once
// The faces of the sample data, drawn in code: a coloured round smiley with
// its number on a badge. The number picks the colour and the expression.
#include <QImage>

#include <vector>

namespace tovlo::devservice {

// One face, edge x edge pixels on a transparent background. frame 0 is the
// still face; frames 1 to 3 bounce, blink and open the mouth. hueShift turns
// the colours, so that faces of different sets with the same number differ.
QImage drawFace(int edge, int number, int frame = 0, int hueShift = 0);
// The four frames of an animated face.
std::vector<QImage> faceAnimation(int edge, int number, int hueShift = 0);

}  // namespace tovlo::devservice
