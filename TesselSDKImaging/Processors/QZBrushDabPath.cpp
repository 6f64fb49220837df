#include "TesselSDKImaging/Processors/QZBrushDabPath.h"

#include <cmath>

namespace {

struct MaskPoint {
    float x;
    float y;
};

MaskPoint toMask(CGPoint point, CGSize maskSize)
{
    return {float(point.x) * float(maskSize.width), float(point.y) * float(maskSize.height)};
}

void append(MaskPoint point, std::vector<CGPoint>& points, CGSize maskSize)
{
    points.push_back(CGPointMake(point.x / float(maskSize.width), point.y / float(maskSize.height)));
}

MaskPoint midpoint(MaskPoint a, MaskPoint b)
{
    return {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f};
}

float distance(MaskPoint a, MaskPoint b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

// How many dabs fit strictly between the ends. A separation of 0 or a non-finite distance (a
// replay file may hold any number) adds none; a huge count is capped so a run stays bounded.
std::size_t dabsBetween(float length, float maxSeparation)
{
    constexpr float kMostDabs = 1 << 20;
    if (!(maxSeparation > 0)) return 0;
    const float count = length / maxSeparation;
    if (!(count >= 1)) return 0;
    return std::size_t(std::fmin(count, kMostDabs));
}

template <class At>
void appendAlong(std::size_t count, At at, MaskPoint closing, std::vector<CGPoint>& points, CGSize maskSize)
{
    for (std::size_t i = 1; i <= count; ++i) append(at(float(i) / float(count + 1)), points, maskSize);
    append(closing, points, maskSize);
}

}  // namespace

void QZBrushAddBeginningLineSegment(CGPoint p0, CGPoint p1, float maxSeparation, std::vector<CGPoint>& points,
                                    CGSize maskSize)
{
    const MaskPoint start = toMask(p0, maskSize);
    const MaskPoint mid = midpoint(start, toMask(p1, maskSize));
    appendAlong(
        dabsBetween(distance(mid, start), maxSeparation),
        [&](float t) {
            return MaskPoint{(1 - t) * mid.x + t * start.x, (1 - t) * mid.y + t * start.y};
        },
        mid, points, maskSize);
}

void QZBrushAddBezierQuadCurve(CGPoint p1, CGPoint p2, CGPoint p3, float maxSeparation, std::vector<CGPoint>& points,
                               CGSize maskSize)
{
    const MaskPoint control = toMask(p2, maskSize);
    const MaskPoint from = midpoint(toMask(p1, maskSize), control);
    const MaskPoint to = midpoint(control, toMask(p3, maskSize));
    appendAlong(
        dabsBetween(distance(from, control) + distance(to, control), maxSeparation),
        [&](float t) {
            const float a = (1 - t) * (1 - t), b = 2 * (1 - t) * t, c = t * t;
            return MaskPoint{a * from.x + b * control.x + c * to.x, a * from.y + b * control.y + c * to.y};
        },
        to, points, maskSize);
}

void QZBrushAddEndingLineSegment(CGPoint previous, CGPoint last, float maxSeparation, std::vector<CGPoint>& points,
                                 CGSize maskSize)
{
    const MaskPoint end = toMask(last, maskSize);
    const MaskPoint mid = midpoint(toMask(previous, maskSize), end);
    appendAlong(
        dabsBetween(distance(mid, end), maxSeparation),
        [&](float t) {
            return MaskPoint{(1 - t) * end.x + t * mid.x, (1 - t) * end.y + t * mid.y};
        },
        end, points, maskSize);
}

std::vector<CGPoint> QZBrushStrokeDabPoints(const std::vector<CGPoint>& touches, std::size_t startIndex,
                                            bool isComplete, float maxSeparation, CGSize maskSize)
{
    std::vector<CGPoint> dabs;
    const std::size_t count = touches.size();
    for (std::size_t index = startIndex; index < count; ++index) {
        if (index == 0) {
            dabs.push_back(touches[0]);
        } else if (index == 1) {
            QZBrushAddBeginningLineSegment(touches[0], touches[1], maxSeparation, dabs, maskSize);
        } else if (isComplete && index == count - 1) {
            // The curve up to the last midpoint first: the ending segment alone would leave a gap
            // there in a full-size run, which the preview painted while the finger moved.
            QZBrushAddBezierQuadCurve(touches[index - 2], touches[index - 1], touches[index], maxSeparation, dabs,
                                      maskSize);
            QZBrushAddEndingLineSegment(touches[index - 1], touches[index], maxSeparation, dabs, maskSize);
        } else {
            QZBrushAddBezierQuadCurve(touches[index - 2], touches[index - 1], touches[index], maxSeparation, dabs,
                                      maskSize);
        }
    }
    return dabs;
}
