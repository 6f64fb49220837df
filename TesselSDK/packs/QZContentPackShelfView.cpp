#include "TesselSDK/packs/QZContentPackShelfView.h"

#include "TesselSDKFoundation/QZSDKResources.h"

#include "UIKit/UIDevice.h"

namespace {
std::size_t maximumOfferedPacks()
{
    return UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPhone ? 3 : 4;
}
}  // namespace

std::shared_ptr<QZContentPackShelfView> QZContentPackShelfView::make(CGRect frame,
                                                                     const std::string& contentPackDescriptor)
{
    return NSObject::create<QZContentPackShelfView>(
        [&](QZContentPackShelfView& shelf) { return shelf.initWithFrame(frame, contentPackDescriptor); });
}

bool QZContentPackShelfView::initWithFrame(CGRect frame, const std::string& contentPackDescriptor)
{
    if (!UIView::initWithFrame(frame)) return false;
    contentPackDescriptor_ = contentPackDescriptor;
    backgroundView_ = UIView::viewWithFrame<UIImageView>(bounds());
    backgroundView_->setImage(QZSDKResources::imageNamed("selectionViewShelfBackground.png"));
    backgroundView_->setContentMode(UIViewContentModeScaleToFill);
    backgroundView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    addSubview(backgroundView_);
    getMoreCell_ = QZContentPackShelfCell::make(CGRectZero, contentPackDescriptor_);
    getMoreCell_->setGetMore(true);
    addSubview(getMoreCell_);
    cellArray_.reserve(maximumOfferedPacks());
    selectedIndex_ = -1;
    return true;
}

void QZContentPackShelfView::setOfferedContentPacks(std::vector<std::shared_ptr<QZContentPack>> packs)
{
    if (packs.size() > maximumOfferedPacks()) packs.resize(maximumOfferedPacks());
    while (cellArray_.size() > packs.size()) {
        cellArray_.back()->removeFromSuperview();
        cellArray_.pop_back();
    }
    while (cellArray_.size() < packs.size()) {
        cellArray_.push_back(QZContentPackShelfCell::make(CGRectZero, contentPackDescriptor_));
        addSubview(cellArray_.back());
    }
    for (std::size_t i = 0; i < packs.size(); ++i) cellArray_[i]->setContentPack(packs[i]);
    offeredContentPacks_ = std::move(packs);
    if (selectedIndex_ >= NSInteger(cellArray_.size())) selectedIndex_ = -1;
    setNeedsLayout();
    if (auto delegate = delegate_.lock()) delegate->contentPackShelfDidUpdateContentPacks(this);
}

void QZContentPackShelfView::setLeftAligned(bool leftAligned)
{
    leftAligned_ = leftAligned;
    setNeedsLayout();
}

void QZContentPackShelfView::setBounceOffset(CGFloat offset)
{
    if (offset == bounceOffset_) return;
    bounceOffset_ = offset;
    setNeedsLayout();
}

void QZContentPackShelfView::recievedTouchAtPoint(CGPoint point)
{
    layoutIfNeeded();
    if (!CGRectContainsPoint(getMoreCell_->frame(), point)) return;
    if (auto delegate = delegate_.lock()) delegate->contentPackShelfDidSelectGetMore(this);
    selectedIndex_ = -1;
}

void QZContentPackShelfView::layoutSubviews()
{
    UIView::layoutSubviews();
    const CGFloat height = bounds().size.height;
    getMoreCell_->setFrame(CGRectMake(bounceOffset_, 0, kCellWidth, height));
    for (std::size_t i = 0; i < cellArray_.size(); ++i) {
        cellArray_[i]->setFrame(CGRectMake(bounceOffset_ + kCellWidth * CGFloat(i + 1), 0, kCellWidth, height));
        cellArray_[i]->setHidden(false);
    }
}
