#pragma once
// Frames: lines placed in a rectangle.

#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "CoreText/CTLine.h"

struct CTFrame;
typedef const CTFrame* CTFrameRef;

CTFrameRef CFRetain(CTFrameRef frame);
void CFRelease(CTFrameRef frame);

// Owned by the frame.
const std::vector<CTLineRef>& CTFrameGetLines(CTFrameRef frame);
// The UTF-16 range of the text the frame's lines hold.
CFRange CTFrameGetVisibleStringRange(CTFrameRef frame);
// Baseline origins of the lines of `range` (length 0: to the last line), from the bottom left of the
// path's bounding box, y up.
void CTFrameGetLineOrigins(CTFrameRef frame, CFRange range, CGPoint origins[]);
