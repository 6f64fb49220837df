#include "TesselSDK/packs/QZDetailIAPContainerView.h"

#include "TesselSDK/packs/QZContentPackStoreStyle.h"
#include "TesselSDK/packs/QZDrawIAPContainerLip.h"

#include "TesselSDKFoundation/QZDrawing.h"

#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGGradient.h"
#include "UIKit/UIGraphics.h"

#include <algorithm>

namespace {
constexpr CGFloat kHairline = 1;
constexpr CGFloat kShade = 2.5f;

// Only within the rectangle: these shades are thin bands, not washes over the whole page.
void fillGradient(const std::vector<std::shared_ptr<UIColor>>& colors, CGRect rect)
{
    CGGradientRef gradient = QZCreateGradientWithColors(colors);
    QZDrawLinearGradientInRectWithOptions(gradient, rect, QZLinearGradientDirectionVertical, 0);
    CGGradientRelease(gradient);
}
}  // namespace

void QZDetailIAPContainerView::prepareView()
{
    QZView::prepareView();
    setBackgroundColor(UIColor::clearColor());
    setContentMode(UIViewContentModeRedraw);
}

void QZDetailIAPContainerView::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    const CGRect b = bounds();
    const CGRect panel =
        CGRectMake(b.origin.x, b.origin.y, b.size.width, std::max(CGFloat(0), b.size.height - kLipHeight));
    QZStoreBackgroundColor()->setFill();
    CGContextFillRect(context, panel);
    fillGradient({UIColor::colorWithWhite(0, 0.1f), UIColor::colorWithWhite(0, 0)},
                 CGRectMake(panel.origin.x, panel.origin.y + kHeaderHeight, panel.size.width, kShade));
    UIColor::colorWithRed(204 / 255.0f, 213 / 255.0f, 221 / 255.0f, 1)->setFill();
    CGContextFillRect(context, CGRectMake(b.origin.x, panel.origin.y + kHeaderHeight, b.size.width, kHairline));
    fillGradient({UIColor::clearColor(), UIColor::colorWithWhite(0, 0.2f)},
                 CGRectMake(panel.origin.x, CGRectGetMaxY(panel) - kShade, panel.size.width, kShade));
    QZDrawIAPContainerLip(b, kLipHeight);
}
