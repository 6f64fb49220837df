#include "TesselSDKImaging/QZBitmapServerDrawing.h"

#include "TesselSDKImaging/QZBitmap.h"
#include "TesselSDKImaging/QZImageServer.h"
#include "TesselSDKImaging/QZStraightenedSize.h"

#include "Dispatch/DispatchApply.h"
#include "Foundation/NSLog.h"
#include "UIKit/UIGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Straightening draws in strips of rows on every core; a strip is no thinner than this, as each
// one sets up a drawing of its own.
constexpr std::size_t kMinimumStripRows = 64, kStripsPerDraw = 32;

// The float values of pi and pi / 2 the placement is defined with.
constexpr CGFloat kPi = 3.14159274f;
constexpr CGFloat kHalfPi = 1.57079637f;

// A context `width` pixels wide and `height` rows high over `context`'s buffer laid out at that
// width, from row `top` on (the caller keeps the rows within it); null when a side is 0.
CGContextRef createContextOverSameBytes(CGContextRef context, CGFloat width, CGFloat height, std::size_t top = 0)
{
    if (width < 1 || height < 1) return nullptr;
    auto* first = static_cast<std::uint8_t*>(CGBitmapContextGetData(context)) + top * std::size_t(width) * 4;
    return QZCGContextCreateWithData(first, CGSizeMake(width, height));
}

// When the image's pixels at (x, y) cover a fresh context exactly, one to one and all opaque,
// drawing them is copying them: done so, without the drawing's own full-size copy of the image.
// False, with nothing touched, otherwise (translucent pixels are composited over what the buffer
// holds, so they take the drawing path).
bool copyOpaquePixels(CGContextRef context, CGImageRef image, std::size_t x, std::size_t y)
{
    const std::size_t width = CGBitmapContextGetWidth(context), height = CGBitmapContextGetHeight(context);
    if (x + width > CGImageGetWidth(image) || y + height > CGImageGetHeight(image)) return false;
    const std::size_t stride = CGImageGetBytesPerRow(image), rowBytes = width * 4;
    const std::uint8_t* first = CGImageGetBytes(image) + y * stride + x * 4;
    for (std::size_t row = 0; row < height; ++row) {
        const std::uint8_t* pixels = first + row * stride;
        std::uint8_t all = 255;
        for (std::size_t i = 3; i < rowBytes; i += 4) all &= pixels[i];
        if (all != 255) return false;
    }
    auto* to = static_cast<std::uint8_t*>(CGBitmapContextGetData(context));
    const std::size_t toStride = CGBitmapContextGetBytesPerRow(context);
    for (std::size_t row = 0; row < height; ++row) std::memcpy(to + row * toStride, first + row * stride, rowBytes);
    return true;
}

}  // namespace

void QZBitmapServerDrawImage_UIKit(UIImageOrientation orientation, CGImageRef image, CGFloat imageScale,
                                   CGContextRef context, const std::atomic<bool>* stop)
{
    if ((stop && stop->load()) || !context) return;
    if (image && orientation == UIImageOrientationUp && imageScale == 1 &&
        CGImageGetWidth(image) == CGBitmapContextGetWidth(context) &&
        CGImageGetHeight(image) == CGBitmapContextGetHeight(context) && copyOpaquePixels(context, image, 0, 0))
        return;
    std::shared_ptr<UIImage> picture = UIImage::imageWithCGImage(image, imageScale, orientation);
    UIGraphicsPushContext(context);
    CGContextSaveGState(context);
    // UIKit's origin is the top left.
    CGContextTranslateCTM(context, 0, CGFloat(CGBitmapContextGetHeight(context)));
    CGContextScaleCTM(context, 1, -1);
    // A side thinner than a pixel at this scale fills the one pixel the server keeps for it.
    if (picture) {
        const CGSize size = picture->size();
        picture->drawInRect(CGRectMake(0, 0, std::max<CGFloat>(1, size.width), std::max<CGFloat>(1, size.height)));
    }
    CGContextRestoreGState(context);
    UIGraphicsPopContext();
}

void QZBitmapServerApplyOrientationPlacement(CGContextRef context, UIImageOrientation orientation, CGFloat tw,
                                             CGFloat th)
{
    switch (orientation) {
    case UIImageOrientationUp: break;
    case UIImageOrientationDown:
        CGContextTranslateCTM(context, tw, th);
        CGContextRotateCTM(context, kPi);
        break;
    case UIImageOrientationLeft:
        CGContextRotateCTM(context, kHalfPi);
        CGContextTranslateCTM(context, 0, -tw);
        break;
    case UIImageOrientationRight:
        CGContextRotateCTM(context, -kHalfPi);
        CGContextTranslateCTM(context, -th, 0);
        break;
    case UIImageOrientationUpMirrored:
        CGContextTranslateCTM(context, tw, 0);
        CGContextScaleCTM(context, -1, 1);
        break;
    case UIImageOrientationDownMirrored:
        CGContextTranslateCTM(context, 0, th);
        CGContextScaleCTM(context, 1, -1);
        break;
    case UIImageOrientationLeftMirrored:
        CGContextTranslateCTM(context, tw, 0);
        CGContextRotateCTM(context, kHalfPi);
        CGContextTranslateCTM(context, th, 0);
        CGContextScaleCTM(context, -1, 1);
        break;
    case UIImageOrientationRightMirrored:
        CGContextScaleCTM(context, -1, 1);
        CGContextRotateCTM(context, kHalfPi);
        break;
    }
}

CGSize QZBitmapServerDrawStraightened(CGContextRef context, CGSize size, CGImageRef image, CGFloat rotation,
                                      CGFloat scale, UIImageOrientation orientation, std::size_t strips)
{
    // Below 1 the centre would need more bytes than the buffer has.
    if (!(scale >= 1) || !std::isfinite(scale)) {
        NSLog("%s %@", "-[QZBitmapImageServer drawStraightenedwithRotation:scale:orientation:]",
              "Straightening scale below 1 or not finite; using 1");
        scale = 1;
    }
    if (!std::isfinite(rotation)) rotation = 0;
    const CGFloat w = size.width, h = size.height;
    // The kept region is W / scale x H / scale; it is drawn centred in the rounded size every path
    // gives, which never needs more bytes than W x H.
    const CGSize result = QZStraightenedSize(size, scale);
    const CGFloat tw = result.width, th = result.height;
    if (tw < 1 || th < 1) return result;
    const std::size_t rows = std::size_t(th);
    if (strips == 0) strips = std::max<std::size_t>(1, std::min(rows / kMinimumStripRows, kStripsPerDraw));
    strips = std::clamp<std::size_t>(strips, 1, rows);
    // Each strip is a context over its own rows, its space moved so that the whole target's
    // geometry lands there; the strips share no state. A pixel can differ from one draw of the whole
    // by the drawing's fixed-point rounding (a level or two), but the strips depend on the size
    // alone, so one session gives the same bytes on every run and every machine.
    dispatch_apply(strips, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [&](std::size_t i) {
        const std::size_t top = rows * i / strips, bottom = rows * (i + 1) / strips;
        CGContextRef target = createContextOverSameBytes(context, tw, CGFloat(bottom - top), top);
        if (!target) return;
        CGContextTranslateCTM(target, 0, -(th - CGFloat(bottom)));
        CGContextTranslateCTM(target, tw / 2, th / 2);
        CGContextRotateCTM(target, -rotation);
        CGContextTranslateCTM(target, -tw / 2, -th / 2);
        QZBitmapServerApplyOrientationPlacement(target, orientation, tw, th);
        if (QZImageOrientationIsTurned(orientation))
            CGContextDrawImage(target, CGRectMake((th - h) / 2, (tw - w) / 2, h, w), image);
        else
            CGContextDrawImage(target, CGRectMake((tw - w) / 2, (th - h) / 2, w, h), image);
        CGContextRelease(target);
    });
    return result;
}

CGRect QZBitmapServerCropRect(CGSize size, CGRect r)
{
    const CGFloat w = size.width, h = size.height;
    if (!std::isfinite(r.origin.x) || !std::isfinite(r.origin.y) || !std::isfinite(r.size.width) ||
        !std::isfinite(r.size.height))
        return CGRectNull;
    const CGRect pixels =
        CGRectIntegral(CGRectMake(std::clamp(r.origin.x * w, CGFloat(0), w), std::clamp(r.origin.y * h, CGFloat(0), h),
                                  r.size.width * w, r.size.height * h));
    // Rounding outward can make a side longer than the image, which the buffer does not hold.
    return CGRectMake(pixels.origin.x, pixels.origin.y, std::clamp(pixels.size.width, CGFloat(0), w),
                      std::clamp(pixels.size.height, CGFloat(0), h));
}

CGSize QZBitmapServerDrawCropped(CGContextRef context, CGSize size, CGImageRef image, CGRect relativeRect,
                                 UIImageOrientation orientation)
{
    const CGRect crop = QZBitmapServerCropRect(size, relativeRect);
    if (CGRectIsNull(crop)) {
        NSLog("%s %@", "-[QZBitmapImageServer cropImageToRect:]", "Crop rectangle is not finite; nothing cropped");
        return size;
    }
    const CGFloat w = size.width, h = size.height;
    const CGFloat x = crop.origin.x, y = crop.origin.y, cw = crop.size.width, ch = crop.size.height;
    CGContextRef target = createContextOverSameBytes(context, cw, ch);
    if (!target) return crop.size;
    if (image && orientation == UIImageOrientationUp && CGFloat(CGImageGetWidth(image)) == w &&
        CGFloat(CGImageGetHeight(image)) == h && copyOpaquePixels(target, image, std::size_t(x), std::size_t(y))) {
        CGContextRelease(target);
        return crop.size;
    }
    QZBitmapServerApplyOrientationPlacement(target, orientation, cw, ch);
    switch (orientation) {
    case UIImageOrientationUp:
    case UIImageOrientationUpMirrored:
        CGContextTranslateCTM(target, 0, ch - h);
        CGContextDrawImage(target, CGRectMake(-x, y, w, h), image);
        break;
    case UIImageOrientationDown:
    case UIImageOrientationDownMirrored:
        CGContextTranslateCTM(target, cw - w, 0);
        CGContextDrawImage(target, CGRectMake(x, -y, w, h), image);
        break;
    default: CGContextDrawImage(target, CGRectMake(-y, -x, h, w), image); break;
    }
    CGContextRelease(target);
    return crop.size;
}
