#include "TesselSDK/tools/brush/QZSpotView.h"

#include "UIKit/UIGraphics.h"

namespace {

// A thin ring on a small spot, so that its hole still shows.
constexpr CGFloat kSmallSpotWidth = 8;

}  // namespace

void QZSpotView::prepareView()
{
    QZView::prepareView();
    setContentMode(UIViewContentModeRedraw);
    setOpaque(false);
    setBackgroundColor(UIColor::clearColor());
    setUserInteractionEnabled(false);
}

void QZSpotView::setSpotColor(std::shared_ptr<UIColor> color)
{
    spotColor_ = std::move(color);
    setNeedsDisplay();
}

void QZSpotView::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    const CGRect b = bounds();
    if (spotColor_) {
        CGContextSetFillColorWithColor(context, spotColor_->CGColor());
        CGContextFillEllipseInRect(context, CGRectInset(b, 1, 1));
        return;
    }
    const CGFloat lineWidth = b.size.width > kSmallSpotWidth ? 4 : 2;
    CGContextSetLineWidth(context, lineWidth);
    CGContextSetStrokeColorWithColor(context, UIColor::whiteColor()->CGColor());
    CGContextStrokeEllipseInRect(context, CGRectInset(b, lineWidth / 2, lineWidth / 2));
}
