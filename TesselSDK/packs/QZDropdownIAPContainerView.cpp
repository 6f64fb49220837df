#include "TesselSDK/packs/QZDropdownIAPContainerView.h"

#include "TesselSDK/packs/QZDrawIAPContainerLip.h"

#include "TesselSDKFoundation/QZDrawing.h"

#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGGradient.h"
#include "UIKit/UIGraphics.h"

#include <algorithm>

namespace {
const CGFloat kShadeLocations[] = {0, 0.6f, 0.98f, 1.0f};
}  // namespace

void QZDropdownIAPContainerView::prepareView()
{
    QZView::prepareView();
    setBackgroundColor(UIColor::clearColor());
    setContentMode(UIViewContentModeRedraw);
}

void QZDropdownIAPContainerView::setTableView(std::shared_ptr<UITableView> tableView)
{
    if (tableView_) tableView_->removeFromSuperview();
    tableView_ = std::move(tableView);
    if (!tableView_) return;
    addSubview(tableView_);
    setNeedsLayout();
}

void QZDropdownIAPContainerView::layoutSubviews()
{
    QZView::layoutSubviews();
    if (!tableView_) return;
    CGRect b = bounds();
    tableView_->setFrame(
        CGRectMake(b.origin.x, b.origin.y, b.size.width, std::max(CGFloat(0), b.size.height - kLipHeight)));
}

void QZDropdownIAPContainerView::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    CGRect b = bounds();
    const CGRect table =
        CGRectMake(b.origin.x, b.origin.y, b.size.width, std::max(CGFloat(0), b.size.height - kLipHeight));
    UIColor::whiteColor()->setFill();
    CGContextFillRect(context, table);
    CGGradientRef shade =
        QZCreateGradientWithColorsAtLocations({UIColor::colorWithWhite(0, 0), UIColor::colorWithWhite(0, 0),
                                               UIColor::colorWithWhite(0, 0.1f), UIColor::colorWithWhite(0, 0.25f)},
                                              kShadeLocations);
    QZDrawLinearGradientInRect(shade, table, QZLinearGradientDirectionVertical);
    CGGradientRelease(shade);
    QZDrawIAPContainerLip(b, kLipHeight);
}
