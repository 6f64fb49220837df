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
    tableView_->setTransform(CGAffineTransformIdentity);
    tableView_->setFrame(CGRectMake(0, 0, b.size.height, b.size.width));
    tableView_->setTransform(CGAffineTransformMake(0, -1, 1, 0, 0, 0));  // exactly a quarter turn back
    tableView_->setCenter(CGPointMake(std::roundf(CGRectGetMidX(b)), std::roundf(CGRectGetMidY(b))));
    if (NSStringCompareNumeric(UIDevice::currentDevice()->systemVersion(), "5.0") == NSOrderedAscending)
        tableView_->setBounces(false);
}
