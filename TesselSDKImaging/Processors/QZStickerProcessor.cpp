#include "TesselSDKImaging/Processors/QZStickerProcessor.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKImaging/QZPixelSize.h"

#include "CoreGraphics/CGImage.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"

#include <cmath>
#include <optional>
#include <vector>

namespace {

struct Placement {
    std::shared_ptr<UIImage> picture;
    CGRect relativeRect;
    float rotation;
    std::int32_t tileX;
    std::int32_t tileY;
    bool isFrame;
};

// Snapped to whole pixels by the floor of every edge.
CGRect snapped(CGRect rect)
{
    const CGFloat x0 = std::floor(rect.origin.x), y0 = std::floor(rect.origin.y);
    const CGFloat x1 = std::floor(rect.origin.x + rect.size.width), y1 = std::floor(rect.origin.y + rect.size.height);
    return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

void QZStickerApply(CGContextRef context, const Placement& placement)
{
    const CGFloat w = CGFloat(CGBitmapContextGetWidth(context)), h = CGFloat(CGBitmapContextGetHeight(context));
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, 0, h);
    CGContextScaleCTM(context, 1, -1);
    const CGRect relative = placement.relativeRect;
    CGRect rect =
        CGRectMake(relative.origin.x * w, relative.origin.y * h, relative.size.width * w, relative.size.height * h);
    UIGraphicsPushContext(context);
    const CGPoint centre = CGPointMake(rect.origin.x + rect.size.width / 2, rect.origin.y + rect.size.height / 2);
    CGContextTranslateCTM(context, centre.x, centre.y);
    CGContextRotateCTM(context, placement.rotation);
    CGContextTranslateCTM(context, -centre.x, -centre.y);
    if (placement.isFrame) rect = snapped(rect);
    for (std::int32_t i = 0; i < placement.tileX; ++i) {
        for (std::int32_t j = 0; j < placement.tileY; ++j) {
            const CGFloat cellWidth = rect.size.width / CGFloat(placement.tileX);
            const CGFloat cellHeight = rect.size.height / CGFloat(placement.tileY);
            const CGRect cell = CGRectMake(rect.origin.x + CGFloat(i) * cellWidth,
                                           rect.origin.y + CGFloat(j) * cellHeight, cellWidth, cellHeight);
            if (placement.isFrame) {
                placement.picture->drawInRect(snapped(cell));
            } else {
                const CGSize fitted = QZCGSizeScaleProportionalToSize(placement.picture->size(), cell.size, nullptr);
                placement.picture->drawInRect(QZCGRectCenterInRect(QZCGRectWithSize(fitted), cell));
            }
        }
    }
    UIGraphicsPopContext();
    CGContextRestoreGState(context);
}

QopBitmapCoord_t deviceCoordinate(CGFloat x, CGFloat y)
{
    return {float(2 * x - 1), float(2 * y - 1)};
}

// `rect` turned about `centre` (a sticker turns about the centre of its exact rectangle).
QopBitmapResizeRect_t quadrilateral(const Placement& placement, CGRect rect, CGPoint centre, CGFloat w, CGFloat h)
{
    if (placement.isFrame) {
        const CGRect r = placement.relativeRect;
        const CGFloat x0 = r.origin.x, y0 = r.origin.y, x1 = r.origin.x + r.size.width, y1 = r.origin.y + r.size.height;
        return {deviceCoordinate(x0, y0), deviceCoordinate(x1, y0), deviceCoordinate(x1, y1), deviceCoordinate(x0, y1)};
    }
    const CGFloat cx = centre.x, cy = centre.y;
    const CGFloat c = std::cos(placement.rotation), s = std::sin(placement.rotation);
    const auto corner = [&](CGFloat x, CGFloat y) {
        const CGFloat dx = x - cx, dy = y - cy;
        return deviceCoordinate((cx + dx * c - dy * s) / w, (cy + dx * s + dy * c) / h);
    };
    const CGFloat minX = rect.origin.x, minY = rect.origin.y;
    const CGFloat maxX = minX + rect.size.width, maxY = minY + rect.size.height;
    return {corner(minX, minY), corner(maxX, minY), corner(maxX, maxY), corner(minX, maxY)};
}

// The picture's raster size: the area it covers, or less (a frame piece keeps its own size unless
// it is larger than the area; a small sticker is rasterised at most at its own resolution).
CGSize rasterSize(CGSize picture, CGSize area, bool isFrame)
{
    if (isFrame) {
        if (picture.width <= area.width && picture.height <= area.height) return picture;
        const CGFloat s = area.width / area.height > picture.width / picture.height ? area.height / picture.height
                                                                                    : area.width / picture.width;
        return CGSizeMake(std::round(picture.width * s), std::round(picture.height * s));
    }
    if (picture.width < area.width && picture.height < area.height) {
        const CGFloat side = std::fmax(picture.width, picture.height);
        CGFloat f = 0;
        QZCGSizeScaleToMaxSize(area, CGSizeMake(side, side), &f);
        return CGSizeMake(std::round(area.width * f), std::round(area.height * f));
    }
    return CGSizeMake(std::round(area.width), std::round(area.height));
}

void QZQopStickerApply(QopBitmap_t* bitmap, const Placement& placement)
{
    CGImageRef image = placement.picture->CGImage();
    if (!image) return;
    const CGFloat w = CGFloat(bitmap->width), h = CGFloat(bitmap->height);
    const CGRect relative = placement.relativeRect;
    const CGRect exact =
        CGRectMake(relative.origin.x * w, relative.origin.y * h, relative.size.width * w, relative.size.height * h);
    const CGRect rect = CGRectIntegral(exact);
    const CGPoint centre = QZCGRectGetCenter(exact);
    const CGSize picture = CGSizeMake(CGFloat(CGImageGetWidth(image)), CGFloat(CGImageGetHeight(image)));
    const CGSize size = rasterSize(picture, rect.size, placement.isFrame);
    // A size that rounds to no pixel, or is no number at all, draws nothing.
    const std::optional<QZPixelSize> pixels = QZPixelSizeFromCGSize(size);
    if (!pixels || pixels->width < 1 || pixels->height < 1) return;

    std::vector<QopColor_t> buffer(pixels->width * pixels->height);
    CGContextRef context = QZCGContextCreateWithData(buffer.data(), size);
    if (!context) return;
    CGRect target = CGRectIntegral(QZCGRectWithSize(size));
    QopBitmapResizeRect_t quad = quadrilateral(placement, rect, centre, w, h);
    if (!placement.isFrame) {
        if (CGSizeEqualToSize(size, rect.size)) {
            // The raster is the whole pixels the sticker touches, laid one to one on the image: the
            // picture goes in at its exact place, resampled once, as the CPU draws it.
            const CGRect placed = CGRectOffset(exact, -rect.origin.x, -rect.origin.y);
            const CGSize fitted = QZCGSizeScaleProportionalToSize(picture, placed.size, nullptr);
            target = QZCGRectCenterInRect(QZCGRectWithSize(fitted), placed);
            // Drawn top-down into the raster: its rows run down the image.
            target.origin.y = size.height - target.origin.y - target.size.height;
        } else {
            // A small picture at its own resolution, enlarged by the GPU over the exact rectangle.
            const CGSize fitted = QZCGSizeScaleProportionalToSize(picture, size, nullptr);
            target = CGRectIntegral(QZCGRectCenterInRect(QZCGRectWithSize(fitted), QZCGRectWithSize(size)));
            quad = quadrilateral(placement, exact, centre, w, h);
        }
    }
    CGContextDrawImage(context, target, image);
    QopBitmap_t source{buffer.data(), pixels->width, pixels->height, bitmap->glData};
    if (placement.isFrame) {
        QopGLBitmapCompositeWithPositionAndTiling(bitmap, &source, &quad, float(placement.tileX),
                                                  float(placement.tileY));
    } else {
        QopGLEffectBitmapCompositeWithPosition(bitmap, &source, &quad);
    }
    CGContextRelease(context);
}

}  // namespace

void QZStickerProcessor::initSticker()
{
    init();
    tileX_ = 1;
    tileY_ = 1;
}

QZBitmapBlock QZStickerProcessor::bitmapBlock() const
{
    const Placement placement{stickerImage_, relativeStickerRect_, rotation_, tileX_, tileY_, frameType_};
    return [placement](CGContextRef context, const std::atomic<bool>*) {
        if (context && placement.picture) QZStickerApply(context, placement);
    };
}

QZQopBitmapBlock QZStickerProcessor::qopBitmapBlock() const
{
    const Placement placement{stickerImage_, relativeStickerRect_, rotation_, tileX_, tileY_, frameType_};
    return [placement](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
        if (!bitmap || (stop && stop->load()) || !placement.picture) return;
        QZQopStickerApply(bitmap, placement);
    };
}
