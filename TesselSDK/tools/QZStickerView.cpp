#include "TesselSDK/tools/QZStickerView.h"

#include "TesselSDK/tools/QZStickersOverlayView.h"

#include "TesselSDK/remote/QZStickerContentPackItem.h"

#include "TesselSDKFoundation/QZSDKResources.h"

#include "UIKit/UIGraphics.h"
#include "UIKit/UIScrollView.h"
#include "UIKit/UITouch.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CGFloat kInset = 12;
constexpr CGFloat kHandleSide = 44;
constexpr CGFloat kCloseSide = 24.6f;
constexpr CGFloat kNoImageSide = 50;
constexpr CGFloat kMinimumScale = 0.05f;
constexpr double kPressDuration = 0.01;
constexpr UIEdgeInsets kGlassCaps{14, 14, 14, 16};

CGRect rounded(CGRect rect)
{
    return CGRectMake(std::round(rect.origin.x), std::round(rect.origin.y), std::round(rect.size.width),
                      std::round(rect.size.height));
}

// The knob's frame on the bottom-right corner of `content`.
CGRect handleFrame(CGRect content)
{
    return CGRectMake(CGRectGetMaxX(content) - kHandleSide / 2, CGRectGetMaxY(content) - kHandleSide / 2, kHandleSide,
                      kHandleSide);
}

}  // namespace

std::shared_ptr<QZStickerView> QZStickerView::makeWithStickerPackItem(std::shared_ptr<QZStickerContentPackItem> item)
{
    return NSObject::create<QZStickerView>(&QZStickerView::initWithStickerPackItem, std::move(item));
}

bool QZStickerView::canPlaceStickerPackItem(const std::shared_ptr<QZStickerContentPackItem>& item)
{
    std::shared_ptr<UIImage> image = item ? item->largeImage() : nullptr;
    return image && image->size().width > 0 && image->size().height > 0;
}

void QZStickerView::initWithStickerPackItem(std::shared_ptr<QZStickerContentPackItem> item)
{
    std::shared_ptr<UIImage> image = item ? item->largeImage() : nullptr;
    const CGSize size = image ? image->size() : CGSizeZero;
    // An image smaller than the insets (or none) starts as an empty frame: sizeToFit gives it its
    // size.
    const CGRect frame = CGRectInset(CGRectMake(0, 0, size.width, size.height), kInset, kInset);
    initWithFrame(CGRectIsNull(frame) ? CGRectZero : frame);
    if (image) imageView_->setImage(image);
    stickerPackItem_ = std::move(item);
}

void QZStickerView::prepareView()
{
    QZView::prepareView();
    setOpaque(false);
    setBackgroundColor(nullptr);
    draggingEnabled_ = rotationEnabled_ = scalingEnabled_ = true;
    const CGRect inner = CGRectInset(bounds(), kInset, kInset);
    const CGRect r = CGRectIsNull(inner) ? CGRectZero : inner;

    glassBox_ = UIView::viewWithFrame<UIImageView>(r);
    glassBox_->setImage(QZSDKResources::stretchableImageNamed("glass_box.png", kGlassCaps));
    glassBox_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    glassBox_->setContentMode(UIViewContentModeScaleToFill);
    addSubview(glassBox_);

    contentView_ = UIView::viewWithFrame<QZView>(r);
    contentView_->setAutoresizingMask(UIViewAutoresizingNone);
    contentView_->setOpaque(false);
    contentView_->setBackgroundColor(nullptr);
    contentView_->setAutoresizesSubviews(true);
    addSubview(contentView_);
    imageView_ = UIView::viewWithFrame<UIImageView>(contentView_->bounds());
    imageView_->setContentMode(UIViewContentModeScaleAspectFit);
    contentView_->addSubview(imageView_);

    handle_ = UIView::viewWithFrame<QZStickerViewHandle>(handleFrame(r));
    addSubview(handle_);

    closeButton_ = UIButton::buttonWithType(UIButtonTypeCustom);
    closeButton_->setFrame(CGRectZero);
    closeButton_->setImage(QZSDKResources::imageNamed("closebutton.png"), UIControlStateNormal);
    addSubview(closeButton_);

    auto me = self<QZStickerView>();
    auto delegate = std::static_pointer_cast<UIGestureRecognizerDelegate>(me);
    panRecognizer_ =
        UIGestureRecognizer::recognizerWithTarget<UIPanGestureRecognizer>(me, &QZStickerView::stickerViewPanned);
    panRecognizer_->setDelegate(delegate);
    addGestureRecognizer(panRecognizer_);
    // A press of no real length: it hears the touch-down and the lift of a tap on the sticker.
    pressRecognizer_ =
        UIGestureRecognizer::recognizerWithTarget<UILongPressGestureRecognizer>(me, &QZStickerView::stickerViewTapped);
    pressRecognizer_->setMinimumPressDuration(kPressDuration);
    pressRecognizer_->setDelegate(delegate);
    contentView_->addGestureRecognizer(pressRecognizer_);

    scale_ = 1;
    controlsEnabled_ = true;
}

// ---- Looks ----

void QZStickerView::setRotation(CGFloat rotation)
{
    rotation_ = rotation;
    setTransform(CGAffineTransformMakeRotation(rotation));
}

void QZStickerView::setControlsEnabled(bool enabled)
{
    if (controlsEnabled_ == enabled) return;
    controlsEnabled_ = enabled;
    for (const std::shared_ptr<UIView>& control :
         {std::static_pointer_cast<UIView>(closeButton_), std::static_pointer_cast<UIView>(handle_),
          std::static_pointer_cast<UIView>(glassBox_)}) {
        control->setHidden(!enabled);
        control->setUserInteractionEnabled(enabled);
    }
}

CGSize QZStickerView::sizeThatFits(CGSize) const
{
    const std::shared_ptr<UIImage> image = stickerImage();
    const CGFloat m = image ? std::max(image->size().width, image->size().height) : kNoImageSide;
    const CGFloat side = (m + 4 * kInset) * scale_ + 2 * kInset;
    return CGSizeMake(side, side);
}

void QZStickerView::fitStartingSizeToCanvas(CGSize canvas)
{
    const std::shared_ptr<UIImage> image = stickerImage();
    const CGFloat shorter = std::min(canvas.width, canvas.height);
    if (image && shorter > 0) {
        const CGFloat m = std::max(image->size().width, image->size().height);
        // The picture's side is the sticker's less the two insets of the frame and the content.
        // No larger than the canvas comes first: on a canvas under 64 points the quarter gives way.
        const CGFloat largest = std::max(CGFloat(1), shorter - 4 * kInset);
        const CGFloat smallest = std::min(shorter / 4, largest);
        const CGFloat picture = std::clamp((m + 4 * kInset) * scale_ - 2 * kInset, smallest, largest);
        scale_ = (picture + 2 * kInset) / (m + 4 * kInset);
    }
    sizeToFit();
}

void QZStickerView::layoutSubviews()
{
    QZView::layoutSubviews();
    const CGRect inner = CGRectInset(bounds(), kInset, kInset);
    contentView_->setFrame(CGRectIsNull(inner) ? CGRectZero : inner);
    const CGRect content = contentView_->frame();
    closeButton_->setFrame(rounded(
        CGRectMake(content.origin.x - kCloseSide / 2, content.origin.y - kCloseSide / 2, kCloseSide, kCloseSide)));
    const CGRect image = CGRectInset(contentView_->bounds(), kInset, kInset);
    imageView_->setFrame(CGRectIsNull(image) ? CGRectZero : image);
    handle_->setFrame(handleFrame(content));
}

// ---- The knob ----

void QZStickerView::transformWithHandlePoint(CGPoint point)
{
    // Measured against the content's frame at the current size, not one a resize left behind.
    layoutIfNeeded();
    const CGRect f = contentView_->frame();
    const CGPoint c = QZCGRectGetCenter(f);
    if (rotationEnabled_) {
        const CGFloat a1 = std::atan2(std::abs(point.y - c.y), std::abs(point.x - c.x));
        const CGFloat a2 = std::atan2(f.size.height, f.size.width);
        setRotation(rotation_ + a1 - a2);
    }
    if (scalingEnabled_) {
        const CGFloat d0 = QZCGPointDistanceToPoint(c, CGPointMake(CGRectGetMaxX(f), CGRectGetMaxY(f)));
        const CGFloat d1 = QZCGPointDistanceToPoint(c, point);
        const CGFloat scaled = d1 * scale_ / d0;
        // A content of no size gives no ratio: nothing to scale by.
        if (std::isfinite(scaled) && scaled > kMinimumScale) {
            // The sticker scales about its centre. Grown from the corner sizeToFit keeps, the centre
            // would move under the finger at every step, and from a slight turn on the next step's
            // scale would swing further each time, the sticker shrinking and flying off.
            const CGPoint centre = center();
            setScale(scaled);
            sizeToFit();
            setCenter(centre);
        }
    }
    // Grown near an edge, the close button would end up under the bars, out of reach.
    keepControlsInsideCanvas();
}

void QZStickerView::keepControlsInsideCanvas()
{
    auto parent = superview();
    if (!parent || !controlsEnabled_) return;
    std::shared_ptr<UIView> canvas = parent;
    for (auto view = parent; view; view = view->superview())
        if (std::dynamic_pointer_cast<UIScrollView>(view)) {
            canvas = view;
            break;
        }
    layoutIfNeeded();
    const CGRect area = parent->convertRectFromView(canvas->bounds(), canvas.get());
    const CGRect controls = CGRectUnion(closeButton_->convertRectToView(closeButton_->bounds(), parent.get()),
                                        handle_->convertRectToView(handle_->bounds(), parent.get()));
    // Along one axis: the shift that brings [low, high] inside [areaLow, areaHigh]; none for
    // controls further apart than the area is long (a sticker grown past the canvas stays centred).
    auto shiftInto = [](CGFloat low, CGFloat high, CGFloat areaLow, CGFloat areaHigh) {
        if (high - low > areaHigh - areaLow) return CGFloat(0);
        if (low < areaLow) return areaLow - low;
        if (high > areaHigh) return areaHigh - high;
        return CGFloat(0);
    };
    const CGFloat dx =
        shiftInto(CGRectGetMinX(controls), CGRectGetMaxX(controls), CGRectGetMinX(area), CGRectGetMaxX(area));
    const CGFloat dy =
        shiftInto(CGRectGetMinY(controls), CGRectGetMaxY(controls), CGRectGetMinY(area), CGRectGetMaxY(area));
    if (dx != 0 || dy != 0) setCenter(CGPointMake(center().x + dx, center().y + dy));
}

// ---- Baking ----

CGRect QZStickerView::rectForStickerInView(const UIView& view, CGFloat) const
{
    auto parent = superview();
    if (!parent) return CGRectZero;
    const CGSize size = imageView_->bounds().size;
    const CGPoint centre = contentView_->convertPointToView(imageView_->center(), parent.get());
    const CGRect rect = QZCGRectWithCenterAndSize(centre, size);
    return parent->convertRectToView(rect, &view);
}

void QZStickerView::drawStickerInRect(CGRect rect) const
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    const std::shared_ptr<UIImage> image = stickerImage();
    if (!context || !image) return;
    const CGPoint centre = QZCGRectGetCenter(rect);
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, centre.x, centre.y);
    CGContextRotateCTM(context, rotation_);
    CGContextTranslateCTM(context, -centre.x, -centre.y);
    const CGSize fitted = QZCGSizeScaleProportionalToSize(image->size(), rect.size, nullptr);
    image->drawInRect(QZCGRectCenterInRect(QZCGRectWithSize(fitted), rect));
    CGContextRestoreGState(context);
}

// ---- Touches ----

void QZStickerView::becomeActive()
{
    if (auto layer = std::dynamic_pointer_cast<QZStickersOverlayView>(superview()))
        layer->stickerViewBecameActive(this);
}

void QZStickerView::stickerViewTapped(UILongPressGestureRecognizer* recognizer)
{
    switch (recognizer->state()) {
    case UIGestureRecognizerStateBegan:
        if (!controlsEnabled_) {
            becomeActive();
            tapToggedState_ = true;
        }
        break;
    case UIGestureRecognizerStateEnded:
        if (controlsEnabled_ && !tapToggedState_) setControlsEnabled(false);
        tapToggedState_ = false;
        break;
    case UIGestureRecognizerStateChanged: break;
    default: tapToggedState_ = false; break;
    }
}

void QZStickerView::stickerViewPanned(UIPanGestureRecognizer* recognizer)
{
    auto parent = superview();
    const CGPoint t = recognizer->translationInView(parent.get());
    const UIGestureRecognizerState state = recognizer->state();
    if (state == UIGestureRecognizerStateBegan) {
        becomeActive();
        tapToggedState_ = true;
    }
    if (state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateChanged)
        setCenter(CGPointMake(center().x + t.x, center().y + t.y));
    recognizer->setTranslation(CGPointZero, parent.get());
}

std::optional<bool> QZStickerView::gestureRecognizerShouldBegin(UIGestureRecognizer*)
{
    return added_;
}

std::optional<bool>
QZStickerView::gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(UIGestureRecognizer*,
                                                                                   UIGestureRecognizer*)
{
    return true;
}

std::optional<bool> QZStickerView::gestureRecognizerShouldReceiveTouch(UIGestureRecognizer*, UITouch* touch)
{
    for (const UIView* control :
         {static_cast<const UIView*>(handle_.get()), static_cast<const UIView*>(closeButton_.get())})
        if (CGRectContainsPoint(control->bounds(), touch->locationInView(control))) return false;
    return true;
}
