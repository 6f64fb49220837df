#pragma once
// The arithmetic of the text core, apart from any drawing: where each line of a frame goes, and
// the rectangles of the GPU path. The core (QZText.h) calls these; tests check them with numbers.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSLocale.h"
#include "QopLite/QopTypes.h"

#include <vector>

enum QZTextVerticalAlignment : int {
    QZTextTopAlign = 0,
    QZTextCenterAlign = 1,
    QZTextBottomAlign = 2,
};

// One line of a frame as the placement needs it: its origin in the frame, its typographic ascent
// and descent, and its pen offset for centring (flush 0.5) within the frame's width.
struct QZTextLineMetrics {
    CGPoint origin;
    CGFloat ascent;
    CGFloat descent;
    CGFloat centredPenOffset;
};

// The text positions (baseline starts) of the lines inside `textBounds`. Top alignment keeps the
// frame's own origins; the others move every line by the last line's baseline less its descent
// (less its whole height when the text ends with a line feed): all of it for bottom alignment,
// half for centre alignment when `scale` is at least 1, none below. Right-to-left lines subtract
// their pen offset instead of adding it.
std::vector<CGPoint> QZTextLinePositions(const std::vector<QZTextLineMetrics>& lines, CGRect textBounds,
                                         QZTextVerticalAlignment alignment, NSLocaleLanguageDirection languageDirection,
                                         CGFloat scale, bool newLineTerminated);

// Where text drawn enlarged by `scale` about the box's centre is laid out: the box itself when the
// enlargement is at least 1 (the text, centred, has room to spare), else the box enlarged by
// 1 / scale about its centre, so the text is laid out at its own size and shrunk into the box
// rather than wrapped into lines the box has no room for (and then dropped).
CGRect QZTextLayoutRectForScale(CGRect box, CGFloat scale);

// The GPU path pads the text box by max(height / 80, 2) pixels on every side, whole pixels.
CGRect QZTextPaddedRect(CGRect textRect);
// The rectangle shrunk, if need be, to fit within `maxSize` (its proportions and centre kept); the
// factor applied (1 when it fits) goes to `factor` when given.
CGRect QZScaledAndCenteredRectForMaxSize(CGRect rect, CGSize maxSize, CGFloat* factor);
// The corners of `rect` turned about its centre by `rotation` (pixels, y down) in clip space of an
// image `width` x `height`: lowerLeft is the corner (minX, minY), upperRight (maxX, maxY).
QopBitmapResizeRect_t QZTextQuadrilateral(CGRect rect, CGFloat rotation, CGFloat width, CGFloat height);
// The enlargement both paths draw at: `scale` times the image's larger side, times the factor by
// which the GPU's texture was shrunk to the GL limit (1 on the CPU). 0 (draw nothing) unless the
// relative rectangle's sides are positive and finite and the result is positive and finite.
CGFloat QZTextImageResolutionScale(CGRect relativeRect, CGFloat imageWidth, CGFloat imageHeight, CGFloat scale,
                                   CGFloat textureFactor);
