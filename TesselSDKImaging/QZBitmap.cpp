#include "TesselSDKImaging/QZBitmap.h"

#include "TesselSDKImaging/QZPixelSize.h"

#include "Foundation/NSLog.h"

#include <cstring>

namespace {

// How often the walk looks at the stop flag: reading it costs more than most pixel blocks.
constexpr std::size_t kPixelsBetweenStopChecks = 1000;

}  // namespace

CGContextRef QZCGContextCreateWithData(void* data, CGSize size)
{
    CGContextRef context = nullptr;
    if (std::optional<QZPixelSize> pixels = QZPixelSizeFromCGSize(size)) {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        context = CGBitmapContextCreate(data, pixels->width, pixels->height, kQZBitsPerComponent,
                                        pixels->width * kQZBytesPerPixel, space, kQZBitmapInfo);
        CGColorSpaceRelease(space);
    }
    if (!context) NSLog("%s %@", "CGContextRef QZCGContextCreateWithData(void *, CGSize)", "NULL context encountered");
    return context;
}

CGContextRef QZCGContextCreate(CGSize size)
{
    return QZCGContextCreateWithData(nullptr, size);
}

CGContextRef QZCGContextCreateWithContext(CGContextRef oldContext)
{
    if (!oldContext) return nullptr;
    const std::size_t width = CGBitmapContextGetWidth(oldContext);
    const std::size_t height = CGBitmapContextGetHeight(oldContext);
    CGContextRef context = QZCGContextCreate(CGSizeMake(CGFloat(width), CGFloat(height)));
    void* to = CGBitmapContextGetData(context);
    const void* from = CGBitmapContextGetData(oldContext);
    // A size that does not survive the trip through floats gives a context of another size.
    if (!to || !from || CGBitmapContextGetWidth(context) != width || CGBitmapContextGetHeight(context) != height) {
        CGContextRelease(context);
        return nullptr;
    }
    std::memcpy(to, from, width * height * kQZBytesPerPixel);
    return context;
}

void QZBitmapRunPixelBlock(CGContextRef context, const std::atomic<bool>* stop, const QZBitmapPixelBlock& block)
{
    if (!block) return;
    const std::size_t width = CGBitmapContextGetWidth(context);
    const std::size_t height = CGBitmapContextGetHeight(context);
    auto* pixel = static_cast<QZPixel*>(CGBitmapContextGetData(context));
    if (!pixel) return;
    QZPixelContext position{0, 0, width, height, nullptr};
    const std::size_t count = width * height;
    for (std::size_t i = 0; i < count; ++i, ++pixel) {
        if (i % kPixelsBetweenStopChecks == 0 && stop && stop->load()) return;
        block(pixel, &position);
        if (++position.x == width) {
            position.x = 0;
            ++position.y;
        }
    }
}

QZBitmapBlock QZBitmapBlockCreateWithPixelBlock(QZBitmapPixelBlock block)
{
    if (!block) return nullptr;
    return [block = std::move(block)](CGContextRef context, const std::atomic<bool>* stop) {
        QZBitmapRunPixelBlock(context, stop, block);
    };
}
