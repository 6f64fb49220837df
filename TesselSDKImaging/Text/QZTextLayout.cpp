#include "TesselSDKImaging/Text/QZTextLayout.h"

#include "TesselSDKFoundation/QZGeometry.h"

#include <algorithm>
#include <cmath>

std::vector<CGPoint> QZTextLinePositions(const std::vector<QZTextLineMetrics>& lines, CGRect textBounds,
                                         QZTextVerticalAlignment alignment, NSLocaleLanguageDirection languageDirection,
                                         CGFloat scale, bool newLineTerminated)
{
    std::vector<CGPoint> positions;
    if (lines.empty()) return positions;
    CGFloat yOffset = 0;
    if (alignment != QZTextTopAlign) {
        const QZTextLineMetrics& last = lines.back();
        yOffset = last.origin.y - last.descent;
        if (newLineTerminated) yOffset -= std::floor(last.ascent + last.descent);
        if (alignment == QZTextCenterAlign) yOffset = scale >= 1.0f ? yOffset / 2 : 0;
    }
    CGFloat direction = languageDirection == NSLocaleLanguageDirectionRightToLeft ? -1.0f : 1.0f;
    for (const QZTextLineMetrics& line : lines)
        positions.push_back(CGPointMake(line.origin.x + CGRectGetMinX(textBounds) + direction * line.centredPenOffset,
                                        line.origin.y + CGRectGetMinY(textBounds) - yOffset));
    return positions;
}

CGRect QZTextLayoutRectForScale(CGRect box, CGFloat scale)
{
    if (!(scale > 0) || scale >= 1 || !std::isfinite(scale)) return box;
    return QZCGRectCenterInRect(QZCGRectScale(box, 1 / scale), box);
}

CGRect QZTextPaddedRect(CGRect textRect)
{
    CGFloat pad = std::max(textRect.size.height / 80, 2.0f);
    return CGRectIntegral(CGRectInset(textRect, -pad, -pad));
}

CGRect QZScaledAndCenteredRectForMaxSize(CGRect rect, CGSize maxSize, CGFloat* factor)
{
    CGFloat scale = 1.0f;
    QZCGSizeScaleToMaxSize(rect.size, maxSize, &scale);
    scale = std::min(scale, 1.0f);
    if (factor) *factor = scale;
    CGSize size = CGSizeMake(rect.size.width * scale, rect.size.height * scale);
    return QZCGRectWithCenterAndSize(QZCGRectGetCenter(rect), size);
}

QopBitmapResizeRect_t QZTextQuadrilateral(CGRect rect, CGFloat rotation, CGFloat width, CGFloat height)
{
    CGPoint centre = QZCGRectGetCenter(rect);
    CGAffineTransform turn = CGAffineTransformMakeRotation(rotation);
    auto corner = [&](CGFloat x, CGFloat y) {
        CGPoint p = CGPointApplyAffineTransform(CGPointMake(x - centre.x, y - centre.y), turn);
        return QopBitmapCoord_t{2 * (p.x + centre.x) / width - 1, 2 * (p.y + centre.y) / height - 1};
    };
    QopBitmapResizeRect_t quad;
    quad.lowerLeft = corner(CGRectGetMinX(rect), CGRectGetMinY(rect));
    quad.lowerRight = corner(CGRectGetMaxX(rect), CGRectGetMinY(rect));
    quad.upperRight = corner(CGRectGetMaxX(rect), CGRectGetMaxY(rect));
    quad.upperLeft = corner(CGRectGetMinX(rect), CGRectGetMaxY(rect));
    return quad;
}

CGFloat QZTextImageResolutionScale(CGRect relativeRect, CGFloat imageWidth, CGFloat imageHeight, CGFloat scale,
                                   CGFloat textureFactor)
{
    auto positive = [](CGFloat v) { return std::isfinite(v) && v > 0; };
    if (!positive(relativeRect.size.width) || !positive(relativeRect.size.height)) return 0;
    CGFloat result = std::max(imageWidth, imageHeight) * scale * textureFactor;
    return positive(result) ? result : 0;
}
