#include "TesselSDK/packs/QZStickerContentPackDetailViewController.h"

#include "TesselSDK/packs/QZContentPackListSelectionViewController.h"
#include "TesselSDK/remote/QZStickerContentPackItem.h"

#include "TesselSDKFoundation/QZAnalytics.h"

#include "QuartzCore/CAAnimation.h"
#include "QuartzCore/CALayer.h"
#include "Foundation/NSValue.h"
#include "UIKit/UIWindow.h"

namespace {

constexpr const char* kCellIdentifier = "QZEffectContentPackItemSelectionView_QZEffectContentPackItemSelectionViewCell";
// A drop counts as back on the strip when the sticker's image, this far lower, lies on it.
constexpr CGFloat kDropAllowance = 7;
constexpr CGFloat kVanishScale = 0.5f;

CGPoint minus(CGPoint a, CGPoint b)
{
    return CGPointMake(a.x - b.x, a.y - b.y);
}

Value transformValue(CATransform3D transform)
{
    return Value(NSValue::valueWithCATransform3D(transform));
}

// A turn about z, then a scale.
CATransform3D tilted(CGFloat angle, CGFloat scale)
{
    return CATransform3DScale(CATransform3DMakeRotation(angle, 0, 0, 1), scale, scale, 1);
}

}  // namespace

bool QZStickerContentPackDetailViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance,
                                                                  bool selectionView)
{
    if (!QZContentPackDetailSelectionViewController::initWithGLInstance(glInstance, selectionView)) return false;
    setShouldWaitForGLCommit(true);
    return true;
}

std::string QZStickerContentPackDetailViewController::customizationKeyPath() const
{
    return QZContentPackDetailSelectionViewController::customizationKeyPath() + ".stickers";
}

std::shared_ptr<QZStickersOverlayView> QZStickerContentPackDetailViewController::stickersOverlayView() const
{
    return std::dynamic_pointer_cast<QZStickersOverlayView>(staticOverlayView());
}

std::shared_ptr<UIView> QZStickerContentPackDetailViewController::editorView()
{
    auto list = listViewController();
    if (auto screen = list ? std::dynamic_pointer_cast<UIViewController>(list->delegate()) : nullptr)
        return screen->view();
    return isViewLoaded() ? std::static_pointer_cast<UIView>(view()->window()) : nullptr;
}

// ---- Lifecycle ----

void QZStickerContentPackDetailViewController::loadContentPackItemSelectionView()
{
    setZoomEnabled(false);
}

void QZStickerContentPackDetailViewController::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation,
                                                                                double duration)
{
    QZContentPackDetailSelectionViewController::willRotateToInterfaceOrientation(orientation, duration);
    setZoomEnabled(true);
}

void QZStickerContentPackDetailViewController::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    QZContentPackDetailSelectionViewController::didRotateFromInterfaceOrientation(orientation);
    setZoomEnabled(false);
}

void QZStickerContentPackDetailViewController::viewDidAppear(bool animated)
{
    QZContentPackDetailSelectionViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Stickers");
}

void QZStickerContentPackDetailViewController::backButtonPressed()
{
    if (auto overlay = stickersOverlayView()) overlay->removeAllStickers();
    // A sticker still under a finger goes with them.
    if (auto dragged = draggingSticker()) dragged->removeFromSuperview();
    draggingSticker_.reset();
    QZContentPackDetailSelectionViewController::backButtonPressed();
}

// ---- The strip ----

std::shared_ptr<UITableViewCell> QZStickerContentPackDetailViewController::selectionViewCellForContentPackItem(
    const std::shared_ptr<QZContentPackItem>& item)
{
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    auto cell = std::dynamic_pointer_cast<QZStickerContentPackItemSelectionViewCell>(
        strip ? strip->dequeueReusableSelectionViewCellWithIdentifier(kCellIdentifier) : nullptr);
    if (!cell)
        cell = UITableViewCell::cellWithStyle<QZStickerContentPackItemSelectionViewCell>(UITableViewCellStyleDefault,
                                                                                         kCellIdentifier);
    cell->setContentPackItem(std::dynamic_pointer_cast<QZStickerContentPackItem>(item));
    cell->setDelegate(std::static_pointer_cast<QZStickerContentPackSelectionViewCellDelegate>(
        self<QZStickerContentPackDetailViewController>()));
    return cell;
}

void QZStickerContentPackDetailViewController::selectionViewDidSelectContentPackItem(
    const std::shared_ptr<QZContentPackItem>& item)
{
    auto sticker = std::dynamic_pointer_cast<QZStickerContentPackItem>(item);
    auto overlay = stickersOverlayView();
    if (!sticker || !overlay) return;
    if (!overlay->addNewStickerView(sticker)) return;
    reportStickerSelected(sticker);
}

void QZStickerContentPackDetailViewController::reportStickerSelected(
    const std::shared_ptr<QZStickerContentPackItem>& item)
{
    reportEvent((item ? item->identifier() : std::string()) + " : selected");
}

void QZStickerContentPackDetailViewController::setStripScrolling(bool enabled)
{
    if (selectionView()) selectionView()->tableView()->setScrollEnabled(enabled);
}

CGPoint QZStickerContentPackDetailViewController::pointInEditorView(const UIView& from, CGPoint point)
{
    auto editor = editorView();
    return editor ? from.convertPointToView(point, editor.get()) : point;
}

// ---- Dragging a sticker out ----

void QZStickerContentPackDetailViewController::configureStickerViewWithStickerViewCell(
    QZStickerContentPackItemSelectionViewCell& cell, const std::shared_ptr<QZStickerContentPackItem>& item)
{
    auto editor = editorView();
    if (!editor) return;
    if (!QZStickerView::canPlaceStickerPackItem(item)) {
        cell.setNeedsLayout();
        return;
    }
    auto sticker = QZStickerView::makeWithStickerPackItem(item);
    std::shared_ptr<UIImage> large = item ? item->largeImage() : nullptr;
    CGFloat fit = 0;
    QZCGSizeScaleProportionalToSize(large ? large->size() : CGSizeZero, cell.stickerSize(), &fit);
    sticker->setScale(kDraggedStickerScale * fit);
    sticker->sizeToFit();
    const UIImageView& image = *cell.imgView();
    const CGRect over = QZCGRectCenterInRect(sticker->bounds(), image.bounds());
    sticker->setControlsEnabled(false);
    sticker->setFrame(image.convertRectToView(over, editor.get()));
    sticker->setAlpha(0);
    origFrame_ = sticker->frame();
    editor->addSubview(sticker);
    draggingSticker_ = sticker;
}

void QZStickerContentPackDetailViewController::startDragging(QZStickerContentPackItemSelectionViewCell& cell,
                                                             const std::shared_ptr<QZStickerContentPackItem>& item)
{
    offset_ = CGPointZero;
    setStripScrolling(false);
    configureStickerViewWithStickerViewCell(cell, item);
}

void QZStickerContentPackDetailViewController::moveStickerViewWithStickerViewCell(
    QZStickerContentPackItemSelectionViewCell& cell, CGPoint point)
{
    auto sticker = draggingSticker();
    if (!sticker) return;
    sticker->setCenter(minus(pointInEditorView(cell, point), offset_));
}

void QZStickerContentPackDetailViewController::stickerViewCellDidSelectSticker(
    QZStickerContentPackItemSelectionViewCell* cell, const std::shared_ptr<QZStickerContentPackItem>& item,
    CGPoint point)
{
    if (!cell || draggingSticker()) return;
    startDragging(*cell, item);
    auto sticker = draggingSticker();
    if (!sticker) return;
    offset_ = minus(pointInEditorView(*cell, point), sticker->center());
    auto image = cell->imgView();
    UIView::animateWithDuration(kFadeDuration, [&] {
        sticker->setAlpha(1);
        image->setAlpha(0);
    });
}

void QZStickerContentPackDetailViewController::stickerViewCellDidMoveSticker(
    QZStickerContentPackItemSelectionViewCell* cell, const std::shared_ptr<QZStickerContentPackItem>&, CGPoint point)
{
    if (cell) moveStickerViewWithStickerViewCell(*cell, point);
}

void QZStickerContentPackDetailViewController::stickerViewCellDidDropSticker(
    QZStickerContentPackItemSelectionViewCell* cell, const std::shared_ptr<QZStickerContentPackItem>&, CGPoint)
{
    setStripScrolling(true);
    if (cell) animateStickerViewCellIn(*cell);
}

void QZStickerContentPackDetailViewController::stickerViewCellDidTapWithSticker(
    QZStickerContentPackItemSelectionViewCell*, const std::shared_ptr<QZStickerContentPackItem>&, CGPoint)
{
    // A touch that stopped the strip's glide is a scroll, not a choice.
    didDrag_ = selectionView() && selectionView()->tableView()->isDecelerating();
}

void QZStickerContentPackDetailViewController::stickerViewCellTapDidMoveWithSticker(
    QZStickerContentPackItemSelectionViewCell* cell, const std::shared_ptr<QZStickerContentPackItem>& item,
    CGPoint point)
{
    didDrag_ = true;
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    if (!cell || !strip) return;
    const CGPoint inStrip = cell->convertPointToView(point, strip.get());
    if (!CGRectContainsPoint(strip->bounds(), inStrip) && !draggingSticker()) {
        startDragging(*cell, item);
        auto sticker = draggingSticker();
        if (!sticker) return;
        const CGPoint touch = pointInEditorView(*cell, point);
        auto image = cell->imgView();
        UIView::animateWithDuration(kFadeDuration, [&] {
            sticker->setAlpha(1);
            image->setAlpha(0);
            sticker->setCenter(touch);
        });
    } else if (draggingSticker()) {
        moveStickerViewWithStickerViewCell(*cell, point);
    }
}

void QZStickerContentPackDetailViewController::stickerViewCellTapDidEndWithSticker(
    QZStickerContentPackItemSelectionViewCell* cell, const std::shared_ptr<QZStickerContentPackItem>& item,
    CGPoint point)
{
    setStripScrolling(true);
    if (!cell) return;
    if (draggingSticker()) {
        animateStickerViewCellIn(*cell);
        return;
    }
    if (didDrag_) return;
    auto editor = editorView();
    const CGRect cellInEditor = editor ? cell->convertRectToView(cell->bounds(), editor.get()) : cell->bounds();
    if (!CGRectContainsPoint(cellInEditor, pointInEditorView(*cell, point))) return;
    auto overlay = stickersOverlayView();
    if (!overlay || !item) return;
    if (!overlay->addNewStickerView(item)) {
        cell->setNeedsLayout();
        return;
    }
    reportStickerSelected(item);
    animateStickerViewCellIn(*cell);
}

void QZStickerContentPackDetailViewController::stickerViewCellTouchWasCancelled(
    QZStickerContentPackItemSelectionViewCell* cell, const std::shared_ptr<QZStickerContentPackItem>&)
{
    setStripScrolling(true);
    // What is left of the touch (the other press's end) places nothing.
    didDrag_ = true;
    if (!cell) return;
    if (draggingSticker()) {
        returnDraggedStickerHome(*cell);
        return;
    }
    cell->imgView()->setAlpha(1);
}

// ---- Landing ----

void QZStickerContentPackDetailViewController::animateStickerViewCellIn(QZStickerContentPackItemSelectionViewCell& cell)
{
    auto sticker = draggingSticker();
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    if (sticker && strip) {
        const UIView& image = *sticker->imageView();
        CGPoint centre = sticker->contentView()->convertPointToView(image.center(), strip.get());
        centre.y += kDropAllowance;
        if (CGRectContainsPoint(strip->bounds(), centre)) {
            returnDraggedStickerHome(cell);
            return;
        }
    }
    if (sticker) {
        draggingSticker_.reset();
        if (auto overlay = stickersOverlayView()) {
            if (auto from = sticker->superview())
                sticker->setCenter(from->convertPointToView(sticker->center(), overlay.get()));
            overlay->addStickerView(sticker);
        } else {
            sticker->removeFromSuperview();
        }
        reportStickerSelected(cell.contentPackItem());
        sticker->setControlsEnabled(true);
    }
    popImageOfCell(cell);
}

void QZStickerContentPackDetailViewController::returnDraggedStickerHome(QZStickerContentPackItemSelectionViewCell& cell)
{
    auto sticker = draggingSticker();
    if (!sticker) return;
    // Back on the strip: the sticker flies home and vanishes into its cell.
    draggingSticker_.reset();
    auto cellImage = cell.imgView();
    const CGRect home = origFrame_;
    UIView::animateWithDuration(
        kReturnDuration, 0, 0, [&] { sticker->setFrame(home); },
        [sticker, cellImage](bool) {
            UIView::animateWithDuration(
                kFadeDuration,
                [&] {
                    cellImage->setAlpha(1);
                    sticker->setAlpha(0);
                    sticker->setTransform(CGAffineTransformMakeScale(kVanishScale, kVanishScale));
                },
                [sticker](bool) { sticker->removeFromSuperview(); });
        });
}

void QZStickerContentPackDetailViewController::popImageOfCell(QZStickerContentPackItemSelectionViewCell& cell)
{
    auto wobble = CAKeyframeAnimation::animationWithKeyPath("transform");
    wobble->setValues({transformValue(CATransform3DIdentity), transformValue(tilted(0.05f, 0.8f)),
                       transformValue(tilted(-0.05f, 0.9f)), transformValue(CATransform3DIdentity)});
    wobble->setKeyTimes({0, 0.167, 0.667, 1});
    wobble->setCalculationMode(kCAAnimationCubicPaced);
    auto fade = CABasicAnimation::animationWithKeyPath("opacity");
    fade->setFromValue(Value(0.0));
    fade->setToValue(Value(1.0));
    auto pop = CAAnimationGroup::animation();
    pop->setAnimations({wobble, fade});
    pop->setDuration(kPopDuration);
    const std::shared_ptr<CALayer>& layer = cell.imgView()->layer();
    layer->addAnimation(pop, "pop");
    layer->setTransform(CATransform3DIdentity);
    layer->setOpacity(1);
}
