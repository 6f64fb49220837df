#include "TesselSDKImaging/Processors/QZDrawState.h"

namespace {

void strokeLine(CGContextRef context, CGPoint from, CGPoint to)
{
    CGContextBeginPath(context);
    CGContextMoveToPoint(context, from.x, from.y);
    CGContextAddLineToPoint(context, to.x, to.y);
    CGContextStrokePath(context);
}

CGPoint midpoint(CGPoint a, CGPoint b)
{
    return CGPointMake((a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f);
}

}  // namespace

void QZDrawStateInit(QZDrawState* state)
{
    state->old = CGPointZero;
    state->oldMid = CGPointZero;
}

void QZDrawBegin(QZDrawState* state, CGPoint point)
{
    strokeLine(state->context, point, point);
    state->old = point;
    state->oldMid = point;
}

void QZDrawAddPoint(QZDrawState* state, CGPoint point)
{
    const CGPoint mid = midpoint(state->old, point);
    CGContextBeginPath(state->context);
    CGContextMoveToPoint(state->context, state->oldMid.x, state->oldMid.y);
    CGContextAddQuadCurveToPoint(state->context, state->old.x, state->old.y, mid.x, mid.y);
    CGContextStrokePath(state->context);
    state->old = point;
    state->oldMid = mid;
}

void QZDrawEnd(QZDrawState* state)
{
    strokeLine(state->context, state->oldMid, state->old);
    state->old = CGPointZero;
    state->oldMid = CGPointZero;
}
