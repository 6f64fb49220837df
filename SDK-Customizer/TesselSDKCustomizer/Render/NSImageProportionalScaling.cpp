// The resized copies of NSImage that the panels draw their previews with.

#include <cmath>

#include "Render/NSImage.h"
#include "Render/NSLog.h"

namespace customizer {

NSImagePtr NSImage::imageByScalingProportionallyToSize(CGSize targetSize) const
{
    if (!isValid()) return nullptr;
    CGSize source = size();
    return imageWithSize(targetSize, false, [&](CGRect bounds) {
        if (source == targetSize) {
            drawInRect(CGRectMake(0, 0, source.width, source.height), CGRect{}, NSCompositeSourceOver, 1.0);
            return true;
        }
        CGFloat factor = std::min(targetSize.width / source.width, targetSize.height / source.height);
        CGSize scaled = CGSizeMake(source.width * factor, source.height * factor);
        CGRect placed = CGRectMake((bounds.size.width - scaled.width) / 2, (bounds.size.height - scaled.height) / 2,
                                   scaled.width, scaled.height);
        drawInRect(placed, CGRect{}, NSCompositeSourceOver, 1.0);
        return true;
    });
}

NSImagePtr NSImage::imageByStretchingToSize(CGSize targetSize) const
{
    if (!isValid()) return nullptr;
    return imageWithSize(targetSize, false, [&](CGRect bounds) {
        drawInRect(bounds, CGRect{}, NSCompositeSourceOver, 1.0);
        return true;
    });
}

NSImagePtr NSImage::imageByResizingToSize(CGSize targetSize, CGFloat capInset, CGFloat verticalCapInset) const
{
    if (!isValid()) return nullptr;
    CGFloat w = size().width, h = size().height;
    CGFloat W = targetSize.width, H = targetSize.height;
    CGFloat c = capInset;
    // The limits are the caller's to keep; a preview a few points too narrow must cost that
    // preview, not the application, so a broken limit is logged and gives no image.
    const char* broken = nullptr;
    if (verticalCapInset != 0) broken = "topInset == 0";
    else if (!(c >= 0)) broken = "sideInset >= 0";
    else if (!(c * 2 <= w)) broken = "sideInset * 2 <= width";
    else if (!(w <= W)) broken = "width <= targetWidth";
    if (broken) {
        NSLog("imageByResizingToSize:withHorizontalCapInset:verticalCapInset: %s", broken);
        return nullptr;
    }
    return imageWithSize(targetSize, false, [&](CGRect) {
        drawInRect(CGRectMake(0, 0, c, H), CGRectMake(0, 0, c, h), NSCompositeSourceOver, 1.0);
        drawInRect(CGRectMake(W - c, 0, c, H), CGRectMake(w - c, 0, c, h), NSCompositeSourceOver, 1.0);
        // An empty centre strip has nothing to tile; the last tile of a row can come out empty
        // or negative (it would be drawn mirrored over the right cap), so only tiles with width
        // are drawn.
        CGFloat strip = w - 2 * c;
        if (strip <= 0) return true;
        int tiles = int(std::ceil(W / w));
        for (int i = 0; i < tiles; ++i) {
            CGFloat x = i * w + c;
            CGFloat width = std::min((W - c) - x, w);
            if (width <= 0) continue;
            NSLog("%f", width);
            drawInRect(CGRectMake(x, 0, width, H), CGRectMake(c, 0, strip, h), NSCompositeSourceOver, 1.0);
        }
        return true;
    });
}

}  // namespace customizer
