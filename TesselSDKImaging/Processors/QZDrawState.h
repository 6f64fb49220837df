#pragma once
// Freehand line smoothing: the touch points joined by quadratic pieces through their midpoints,
// stroked on a Core Graphics context as the finger moves. The draw tool's overlay and the draw
// processor call the same functions, so the live line and the result share one shape. Every
// stroke uses the context's current width, cap, join, blend mode and colour.

#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGGeometry.h"

struct QZDrawState {
    CGContextRef context;
    // The last point added.
    CGPoint old;
    // Between the last two points: where the next piece starts.
    CGPoint oldMid;
};

// old and oldMid to (0, 0); the context stays as the caller set it.
void QZDrawStateInit(QZDrawState* state);
// A dot (a zero-length line with the context's cap) at the point, which becomes old and oldMid.
void QZDrawBegin(QZDrawState* state, CGPoint point);
// The piece from oldMid to the midpoint of old and the point, old its control point.
void QZDrawAddPoint(QZDrawState* state, CGPoint point);
// The straight end from oldMid to old; both back to (0, 0).
void QZDrawEnd(QZDrawState* state);
