#include "TesselSDKFoundation/QZConveyorSideView.h"

#include "TesselSDKFoundation/QZConveyorViewCell.h"
#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZCountFromQuotient.h"

#include <cmath>

bool QZConveyorSideView::initWithFrame(CGRect frame, QZConveyorSideViewType type, CGFloat cellWidth)
{
    if (!UIView::initWithFrame(frame)) return false;
    CGRect b = bounds();
    containerView_ = UIView::viewWithFrame<QZView>(CGRectMake(0, 0, b.size.height, b.size.width));
    containerView_->setTransform(CGAffineTransformMakeRotation(1.5707964f));
    addSubview(containerView_);
    containerView_->setCenter(QZCGRectGetCenter(b));
    type_ = type;
    cellWidth_ = cellWidth;
    updateCells();
    return true;
}

void QZConveyorSideView::updateCells()
{
    for (const auto& tile : imageViews_) tile->removeFromSuperview();
    imageViews_.clear();
    CGRect b = containerView_->bounds();
    // A tile count that is no number (a zero width) is no tile at all.
    NSInteger count = cellWidth_ > 0 ? QZCountFromQuotient(std::ceil(b.size.width / cellWidth_)) : 0;
    auto image = QZConveyorBackgroundImage(QZConveyorViewTypeSingle, "");
    bool header = type_ == QZConveyorSideViewTypeHeader;
    CGFloat x = header ? CGRectGetMaxX(b) - cellWidth_ : 0;
    for (NSInteger i = 0; i < count; ++i) {
        auto tile = UIView::viewWithFrame<UIImageView>(CGRectMake(x, 0, cellWidth_, b.size.height));
        tile->setContentMode(UIViewContentModeScaleToFill);
        tile->setImage(image);
        containerView_->addSubview(tile);
        imageViews_.push_back(tile);
        x += header ? -cellWidth_ : cellWidth_;
    }
}

void QZConveyorSideView::setAdjacentCellSelected(bool selected)
{
    adjacentCellSelected_ = selected;
    if (type_ == QZConveyorSideViewTypeFooter || imageViews_.empty()) return;
    imageViews_[0]->setImage(QZConveyorBackgroundImage(conveyorType_, selected ? "-adjacent" : ""));
}

void QZConveyorSideView::setConveyorType(QZConveyorViewType type)
{
    conveyorType_ = type;
    auto image = QZConveyorBackgroundImage(type, "");
    for (const auto& tile : imageViews_) tile->setImage(image);
}
