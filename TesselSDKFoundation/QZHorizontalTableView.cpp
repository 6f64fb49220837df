#include "TesselSDKFoundation/QZHorizontalTableView.h"

#include "Foundation/NSStringNumericCompare.h"
#include "UIKit/UIDevice.h"

#include <cmath>

void QZHorizontalTableView::prepareView()
{
    QZView::prepareView();
    setAutoresizesSubviews(true);
    setExclusiveTouch(true);
    tableView_ = UIView::viewWithFrame<QZTableView>(CGRectZero);
    layoutTableView();
    tableView_->setClipsToBounds(false);
    addSubview(tableView_);
}

void QZHorizontalTableView::layoutSubviews()
{
    QZView::layoutSubviews();
    layoutTableView();
}

void QZHorizontalTableView::layoutTableView()
{
    CGRect b = bounds();
    // Through the turn, the bounds' size and the centre, each set only when it changes: a layout
    // that leaves the table where it was moves nothing, so observers of its frame hear nothing.
    tableView_->setTransform(CGAffineTransformMake(0, -1, 1, 0, 0, 0));  // exactly a quarter turn back
    CGRect turned = tableView_->bounds();
    turned.size = CGSizeMake(b.size.height, b.size.width);
    tableView_->setBounds(turned);
    tableView_->setCenter(CGPointMake(std::roundf(CGRectGetMidX(b)), std::roundf(CGRectGetMidY(b))));
    if (NSStringCompareNumeric(UIDevice::currentDevice()->systemVersion(), "5.0") == NSOrderedAscending)
        tableView_->setBounces(false);
}
