#include "TesselSDK/tools/QZStickersOverlayView.h"

#include "TesselSDK/remote/QZStickerContentPackItem.h"

#include "TesselSDKFoundation/QZAnalytics.h"

#include "Foundation/NSString.h"
#include "Foundation/NSValue.h"

#include <algorithm>

namespace {

constexpr CGFloat kRotationFadeScale = 2;

bool hasArea(CGRect rect)
{
    return rect.size.width != 0 && rect.size.height != 0;
}

}  // namespace

void QZStickersOverlayView::prepareView()
{
    QZOverlayView::prepareView();
    setClipsToBounds(true);
    stickerViews_.clear();
    stickerViewRotationInfos_.clear();
}

QZStickersOverlayView::StickerViews QZStickersOverlayView::placedStickerViews() const
{
    StickerViews placed;
    for (const auto& view : stickerViews_)
        if (!isRemovingStickerView(*view)) placed.push_back(view);
    return placed;
}

bool QZStickersOverlayView::isRemovingStickerView(const QZStickerView& view) const
{
    return std::any_of(removing_.begin(), removing_.end(), [&](const auto& v) { return v.get() == &view; });
}

CGRect QZStickersOverlayView::imageRect()
{
    auto delegate = delegate_.lock();
    return delegate ? delegate->rectForImageInStickersOverlayView(this) : CGRectZero;
}

// ---- Adding ----

void QZStickersOverlayView::adopt(const std::shared_ptr<QZStickerView>& view)
{
    addSubview(view);
    view->setAdded(true);
    view->closeButton()->addTarget(self<QZStickersOverlayView>(), &QZStickersOverlayView::closeButtonPressed,
                                   UIControlEventTouchUpInside);
    if (std::find(stickerViews_.begin(), stickerViews_.end(), view) == stickerViews_.end())
        stickerViews_.push_back(view);
    updateActiveSticker();
}

bool QZStickersOverlayView::addNewStickerView(const std::shared_ptr<QZStickerContentPackItem>& item)
{
    if (!QZStickerView::canPlaceStickerPackItem(item)) return false;
    auto view = QZStickerView::makeWithStickerPackItem(item);
    view->setScale(kNewStickerScale);
    view->fitStartingSizeToCanvas(bounds().size);
    view->setCenter(QZCGRectGetCenter(bounds()));
    view->setAutoresizingMask(QZUIViewAutoresizingFlexibleMargins);
    adopt(view);
    return true;
}

void QZStickersOverlayView::addStickerView(const std::shared_ptr<QZStickerView>& view)
{
    if (view) adopt(view);
}

// ---- The active sticker ----

void QZStickersOverlayView::updateActiveSticker()
{
    if (stickerViews_.empty()) return;
    for (std::size_t i = 0; i + 1 < stickerViews_.size(); ++i) stickerViews_[i]->setControlsEnabled(false);
    const std::shared_ptr<QZStickerView>& last = stickerViews_.back();
    // A fading sticker keeps the controls its fade took away.
    if (!isRemovingStickerView(*last)) last->setControlsEnabled(true);
    bringSubviewToFront(last.get());
}

void QZStickersOverlayView::stickerViewBecameActive(QZStickerView* view)
{
    auto it = std::find_if(stickerViews_.begin(), stickerViews_.end(), [&](const auto& v) { return v.get() == view; });
    if (it == stickerViews_.end()) return;
    std::iter_swap(it, stickerViews_.end() - 1);
    updateActiveSticker();
}

// ---- Removing ----

void QZStickersOverlayView::removeStickerView(const std::shared_ptr<QZStickerView>& view)
{
    if (!view) return;
    view->setUserInteractionEnabled(false);
    if (!isRemovingStickerView(*view)) removing_.push_back(view);
    std::weak_ptr<QZStickersOverlayView> weakSelf = self<QZStickersOverlayView>();
    UIView::animateWithDuration(
        kFadeDuration,
        [&] {
            view->setAlpha(0);
            view->setControlsEnabled(false);
        },
        [weakSelf, view](bool) {
            if (auto layer = weakSelf.lock()) {
                std::erase(layer->stickerViews_, view);
                std::erase(layer->removing_, view);
                if (view->superview().get() == layer.get()) view->removeFromSuperview();
            }
        });
}

void QZStickersOverlayView::removeAllStickers()
{
    const StickerViews views = stickerViews_;
    for (const auto& view : views) removeStickerView(view);
}

void QZStickersOverlayView::closeButtonPressed(UIButton* button)
{
    if (!button) return;
    auto sticker = std::dynamic_pointer_cast<QZStickerView>(button->superview());
    if (!sticker) return;
    reportStickerDeleted(sticker->stickerPackItem());
    button->setUserInteractionEnabled(false);
    removeStickerView(sticker);
    updateActiveSticker();
}

void QZStickersOverlayView::reportStickerDeleted(const std::shared_ptr<QZStickerContentPackItem>& item)
{
    QZAnalytics::reportEvent(NSStringWithFormat("%@ :deleted", item ? item->identifier() : std::string()), Value());
}

// ---- Rotation ----

Value QZStickersOverlayView::rotationInfoForStickerView(const std::shared_ptr<QZStickerView>& view,
                                                        CGRect imageRect) const
{
    const CGPoint centre = view->center();
    return Value::dictionary(
        {{"stickerView", Value(view)},
         {"position", Value(NSValue::valueWithCGPoint(
                          CGPointMake(centre.x - CGRectGetMinX(imageRect), centre.y - CGRectGetMinY(imageRect))))},
         {"rotation", Value(float(view->rotation()))},
         {"scale", Value(float(view->scale()))}});
}

void QZStickersOverlayView::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZOverlayView::willRotateToInterfaceOrientation(orientation, duration);
    preRotationImageRect_ = imageRect();
    for (const auto& view : stickerViews_)
        stickerViewRotationInfos_.push_back(rotationInfoForStickerView(view, preRotationImageRect_));
    const StickerViews views = stickerViews_;
    UIView::animateWithDuration(kFadeDuration, [&] {
        for (const auto& view : views) {
            view->setRotation(0);
            view->setScale(kRotationFadeScale);
            view->setAlpha(0);
        }
    });
}

void QZStickersOverlayView::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation,
                                                                      double duration)
{
    QZOverlayView::willAnimateRotationToInterfaceOrientation(orientation, duration);
}

void QZStickersOverlayView::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    QZOverlayView::didRotateFromInterfaceOrientation(orientation);
    const CGRect before = preRotationImageRect_, after = imageRect();
    // Without a picture on either side the fractions mean nothing: the stickers keep their centres.
    const bool maps = hasArea(before) && hasArea(after);
    StickerViews views;
    for (const Value& info : stickerViewRotationInfos_) {
        auto view = info["stickerView"].object<QZStickerView>();
        if (!view) continue;
        if (maps) {
            const CGPoint position = info["position"].object<NSValue>()->CGPointValue();
            view->setCenter(CGPointMake(position.x / before.size.width * after.size.width + CGRectGetMinX(after),
                                        position.y / before.size.height * after.size.height + CGRectGetMinY(after)));
        }
        view->setScale(info["scale"].floatValue());
        view->setRotation(info["rotation"].floatValue());
        if (!isRemovingStickerView(*view)) views.push_back(view);
    }
    UIView::animateWithDuration(kFadeDuration, [&] {
        for (const auto& view : views) view->setAlpha(1);
    });
    stickerViewRotationInfos_.clear();
}
