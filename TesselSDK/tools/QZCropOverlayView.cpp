#include "TesselSDK/tools/QZCropOverlayView.h"

#include "TesselSDKFoundation/QZViewAnimation.h"

#include "QuartzCore/CATransaction.h"
#include "UIKit/UIColor.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kConfigureSeconds = 0.2;
constexpr CGFloat kInitialBoxSide = 200;

bool isUsableSide(CGFloat side)
{
    return std::isfinite(side) && side > 0;
}

}  // namespace

void QZCropOverlayView::prepareView()
{
    QZOverlayView::prepareView();
    setClipsToBounds(true);
    auto box = addSubviewOfClass<QZCropBoxView>(
        QZUIViewAutoresizingFlexibleMargins,
        QZCGRectCenterInRect(CGRectMake(0, 0, kInitialBoxSide, kInitialBoxSide), bounds()));
    setCropBoxView(box);
    dimmerViews_.clear();
    for (int i = QZCropOverlayViewDimmerTop; i <= QZCropOverlayViewDimmerBottom; ++i) {
        auto dimmer = UIView::viewWithFrame<QZView>(CGRectZero);
        dimmer->setBackgroundColor(UIColor::colorWithWhite(0, kDimmerAlpha));
        dimmer->setUserInteractionEnabled(false);
        dimmer->setOpaque(false);
        addSubview(dimmer);
        dimmerViews_.push_back(dimmer);
    }
    layoutDimmerViews();
    bringSubviewToFront(box.get());
}

void QZCropOverlayView::setCropBoxView(const std::shared_ptr<QZCropBoxView>& box)
{
    cropBoxView_ = box;
    if (!box) return;
    box->setRotationEnabled(false);
    box->setAllowsFreeTransform(true);
    box->setDelegate(std::static_pointer_cast<QZTransformableViewDelegate>(self<QZCropOverlayView>()));
    box->setAlpha(0);
}

CGRect QZCropOverlayView::maximumCropRect() const
{
    auto d = delegate();
    if (!d) return CGRectZero;
    return d->cropOverlayViewBoundsForCropBox(const_cast<QZCropOverlayView*>(this));
}

void QZCropOverlayView::layoutSubviews()
{
    QZOverlayView::layoutSubviews();
    layoutDimmerViews();
}

void QZCropOverlayView::layoutDimmerViews()
{
    auto box = cropBoxView();
    if (!box || dimmerViews_.size() != 4) return;
    // Far past the bounds on every side the overlay clips anyway; rotation can grow the bounds
    // before the next layout.
    const CGFloat w = 3 * bounds().size.width, h = 3 * bounds().size.height;
    const CGRect g = box->contentRect();
    dimmerViews_[QZCropOverlayViewDimmerTop]->setFrame(CGRectMake(0, 0, w, CGRectGetMinY(g)));
    dimmerViews_[QZCropOverlayViewDimmerRight]->setFrame(
        CGRectMake(CGRectGetMaxX(g), CGRectGetMinY(g), w - CGRectGetMaxX(g), g.size.height));
    dimmerViews_[QZCropOverlayViewDimmerLeft]->setFrame(
        CGRectMake(0, CGRectGetMinY(g), CGRectGetMinX(g), g.size.height));
    dimmerViews_[QZCropOverlayViewDimmerBottom]->setFrame(CGRectMake(0, CGRectGetMaxY(g), w, h - CGRectGetMaxY(g)));
}

void QZCropOverlayView::configureForPreset(const QZCropPreset& preset, bool animated, bool)
{
    const bool reversed = preset.isReversed();
    const CGFloat w = reversed ? preset.height() : preset.width();
    const CGFloat h = reversed ? preset.width() : preset.height();
    if (isUsableSide(w) && isUsableSide(h)) {
        constrainToProportions_ = true;
        presetSize_ = CGSizeMake(w, h);
        configureWithSize(CGSizeMake(w, h), false, animated);
        return;
    }
    constrainToProportions_ = false;
    configureWithSize(CGSizeMake(std::fabs(w), std::fabs(h)), false, animated);
}

void QZCropOverlayView::configureWithSize(CGSize size, bool userGenerated, bool animated)
{
    if (userGenerated) return;
    auto box = cropBoxView();
    if (!box) return;
    const CGRect m = maximumCropRect();
    // A side of 0 would fit to an infinite factor (a frame of NaN) or to a box of no width or
    // height, and Apply would crop to it: such a size, like Custom, starts at the whole photo.
    CGSize fitted = m.size;
    if (isUsableSide(size.width) && isUsableSide(size.height))
        fitted = QZCGSizeScaleProportionalToSize(size, m.size, nullptr);
    const CGSize inset = box->contentViewInset();
    const CGRect frame =
        CGRectInset(QZCGRectCenterInRect(QZCGRectWithSize(fitted), bounds()), -inset.width, -inset.height);
    box->setAlpha(1);
    if (!animated) {
        box->setFrame(frame);
        return;
    }
    std::weak_ptr<QZCropOverlayView> weak = weakSelf<QZCropOverlayView>();
    QZPerformUIViewAnimation(
        kConfigureSeconds,
        [weak, box, frame] {
            box->setFrame(frame);
            if (auto overlay = weak.lock()) overlay->layoutDimmerViews();
        },
        nullptr);
}

void QZCropOverlayView::transformableViewDidBeginTransforming(QZTransformableView*)
{
    auto box = cropBoxView();
    if (!box) return;
    const CGSize m = maximumCropRect().size;
    box->setMinSize(CGSizeMake(kMinimumBoxSide, kMinimumBoxSide));
    box->setMaxSize(CGSizeMake(1.1f * m.width, 1.1f * m.height));
}

void QZCropOverlayView::transformableViewDidEndTransforming(QZTransformableView*)
{
    auto box = cropBoxView();
    if (!box) return;
    configureWithSize(box->contentView()->bounds().size, true, true);
}

void QZCropOverlayView::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZOverlayView::willRotateToInterfaceOrientation(orientation, duration);
    auto box = cropBoxView();
    if (!box) return;
    box->setAlpha(0);
    preRotationMaxCropRect_ = maximumCropRect();
    preRotationCropBoxFrame_ = box->contentRect();
    const CGPoint centre = QZCGRectGetCenter(bounds());
    const CGPoint content = QZCGRectGetCenter(preRotationCropBoxFrame_);
    preRotationCenterOffset_ = CGPointMake(centre.x - content.x, centre.y - content.y);
}

void QZCropOverlayView::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZOverlayView::willAnimateRotationToInterfaceOrientation(orientation, duration);
    auto box = cropBoxView();
    if (!box) return;
    configureWithSize(box->bounds().size, true);
    const CGRect m = maximumCropRect();
    const CGRect p = preRotationMaxCropRect_;
    const CGRect b = preRotationCropBoxFrame_;
    const CGPoint o = preRotationCenterOffset_;
    if (isUsableSide(p.size.width) && isUsableSide(p.size.height)) {
        // The content keeps its share of the photo and its place relative to the centre.
        const CGFloat xScale = m.size.width / p.size.width, yScale = m.size.height / p.size.height;
        const CGFloat k = std::max(yScale, xScale);
        CGRect r = QZCGRectCenterInRect(QZCGRectWithSize(QZCGSizeScale(b.size, k)), bounds());
        r.origin.x -= xScale * o.x;
        r.origin.y -= yScale * o.y;
        const CGSize inset = box->contentViewInset();
        r = CGRectIntegral(CGRectInset(r, -inset.width, -inset.height));
        CATransaction::begin();
        CATransaction::setDisableActions(true);
        box->setFrame(r);
        layoutDimmerViews();
        CATransaction::commit();
    }
    box->setAlpha(1);
}
