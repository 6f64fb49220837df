// QopBrushStroke.h: one scripted brush stroke painted with the red-eye brush, on the CPU (dabs into
// a mask bitmap, then the full-size render) and on the GPU (dots into a mask texture, then the
// masked redraw of the processed image), the two roads the editor's brush takes.
#pragma once

#include "QopLite/QopTypes.h"

#include <vector>

namespace qop_brush {

struct Dab {
    double x, y; // pixels of the image
};

// A wave across the middle of the image, dabs a quarter of the brush size apart.
std::vector<Dab> scriptedStroke(size_t width, size_t height, double radius);

// The red-eye brush at strength alpha along the dabs. CPU: the bitmap must have pixels and no GPU
// record; false when scratch memory was refused (the bitmap is then unchanged).
bool paintStrokeCpu(QopBitmap_t *bitmap, const std::vector<Dab> &dabs, double radius, double alpha);
// GPU: the bitmap carries an initialised record in Default mode with no effect open; the result
// is read back into its pixels. false when the mask could not be made or a program failed.
bool paintStrokeGpu(QopBitmap_t *bitmap, const std::vector<Dab> &dabs, double radius, double alpha);

} // namespace qop_brush
