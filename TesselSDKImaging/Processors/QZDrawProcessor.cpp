#include "TesselSDKImaging/Processors/QZDrawProcessor.h"

#include "TesselSDKImaging/Processors/QZDrawState.h"

#include "QopLite/QopGLDrawing.h"
#include "UIKit/UIColor.h"

#include <cmath>
#include <optional>
#include <vector>

namespace {

bool stopped(const std::atomic<bool>* stop)
{
    return stop && stop->load();
}

// The GPU colour: transparent black for the eraser; RGB and grey colours as RGBA bytes, rounded.
// Nothing for no colour or a pattern: that stroke alone is skipped.
std::optional<QopColor_t> gpuColour(const QZBrushStroke::Snapshot& stroke)
{
    if (stroke.blendMode == kCGBlendModeClear) return QopColor_t{0, 0, 0, 0};
    CGFloat r = 0, g = 0, b = 0, a = 0;
    if (!stroke.color || !stroke.color->getRed(&r, &g, &b, &a)) return std::nullopt;
    const auto byte = [](CGFloat component) {
        return std::uint8_t(std::fmin(std::fmax(std::trunc(component * 255.0f + 0.5f), 0.0f), 255.0f));
    };
    return QopColor_t{byte(r), byte(g), byte(b), byte(a)};
}

}  // namespace

QZBitmapBlock QZDrawProcessor::bitmapBlock() const
{
    return [strokes = strokeSnapshots(), scale = scaleFactor()](CGContextRef context, const std::atomic<bool>* stop) {
        if (!context || stopped(stop)) return;
        const CGFloat width = CGFloat(CGBitmapContextGetWidth(context));
        const CGFloat height = CGFloat(CGBitmapContextGetHeight(context));
        CGContextSaveGState(context);
        CGContextTranslateCTM(context, 0, height);
        CGContextScaleCTM(context, 1, -1);
        CGContextBeginTransparencyLayer(context, nullptr);
        CGContextSetLineCap(context, kCGLineCapRound);
        CGContextSetLineJoin(context, kCGLineJoinRound);
        for (const QZBrushStroke::Snapshot& stroke : strokes) {
            if (stopped(stop)) break;
            const std::vector<CGPoint>& points = *stroke.points;
            if (points.empty()) continue;
            // Only the eraser draws without a colour.
            if (!stroke.color && stroke.blendMode != kCGBlendModeClear) continue;
            CGContextSetLineWidth(context, scale * stroke.brushSize);
            CGContextSetBlendMode(context, stroke.blendMode);
            if (stroke.color) CGContextSetStrokeColorWithColor(context, stroke.color->CGColor());
            const auto pixel = [&](CGPoint p) { return CGPointMake(p.x * width, p.y * height); };
            QZDrawState state{context, CGPointZero, CGPointZero};
            QZDrawStateInit(&state);
            QZDrawBegin(&state, pixel(points[0]));
            for (std::size_t i = 1; i < points.size() && !stopped(stop); ++i) QZDrawAddPoint(&state, pixel(points[i]));
            QZDrawEnd(&state);
        }
        CGContextEndTransparencyLayer(context);
        CGContextRestoreGState(context);
    };
}

QZQopBitmapBlock QZDrawProcessor::qopBitmapBlock() const
{
    return [strokes = strokeSnapshots(), scale = scaleFactor()](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
        if (!bitmap || stopped(stop)) return;
        QopGLBeginDrawingEffect(bitmap);
        for (const QZBrushStroke::Snapshot& stroke : strokes) {
            if (stopped(stop)) break;
            const std::optional<QopColor_t> colour = gpuColour(stroke);
            if (!colour) continue;
            const std::vector<CGPoint>& points = *stroke.points;
            std::vector<float> positions;
            positions.reserve(points.size() * 2);
            for (const CGPoint& point : points) {
                positions.push_back(2 * float(point.x) - 1);
                positions.push_back(2 * float(point.y) - 1);
            }
            QopGLDrawStrokeWithPoints(bitmap, positions.data(), int(points.size()), scale * stroke.brushSize, &*colour);
        }
        QopGLEndDrawingEffect(bitmap);
    };
}
