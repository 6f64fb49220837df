#include "TesselSDK/tools/text/QZTextView.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZViewAnimation.h"

#include "UIKit/UIGraphics.h"
#include "UIKit/UITouch.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CGFloat kGlassInset = 12;
constexpr CGFloat kFieldInset = 22;
constexpr CGFloat kHandleSize = 44;
constexpr CGFloat kFontSize = 30;
constexpr UIEdgeInsets kGlassCaps{14, 14, 14, 16};

}  // namespace

void QZTextView::prepareView()
{
    QZView::prepareView();
    setOpaque(false);
    setBackgroundColor(nullptr);
    draggingEnabled_ = true;
    rotationEnabled_ = true;
    glassBoxImage_ = QZSDKResources::stretchableImageNamed("glass_box.png", kGlassCaps);
    glassBoxActiveImage_ = QZSDKResources::stretchableImageNamed("glass_box-active.png", kGlassCaps);

    const CGRect inset = CGRectInset(bounds(), kGlassInset, kGlassInset);
    glassBoxView_ = UIView::viewWithFrame<UIImageView>(inset);
    glassBoxView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    glassBoxView_->setContentMode(UIViewContentModeScaleToFill);
    glassBoxView_->setImage(glassBoxImage_);
    addSubview(glassBoxView_);

    contentView_ = UIView::viewWithFrame<QZView>(inset);
    contentView_->setOpaque(false);
    contentView_->setBackgroundColor(UIColor::clearColor());
    addSubview(contentView_);

    auto field = UIView::viewWithFrame<QZTextViewTextField>(CGRectInset(bounds(), kFieldInset, kFieldInset));
    field->setAlignment(QZTextFieldCenterAlign);
    const Value fontName = QZPhotoEditorCustomization::optionValueForKey("editor.tool.text.fontName");
    field->setFont(CTFontCreateWithName(fontName.stringValue(), kFontSize));
    field->setTextColor(UIColor::blackColor());
    field->setTextBorderColor(UIColor::blackColor());
    field->setDelegate(std::static_pointer_cast<QZTextFieldDelegate>(self<QZTextView>()));
    textField_ = field;

    panRecognizer_ = UIGestureRecognizer::recognizerWithTarget<UIPanGestureRecognizer>(self<QZTextView>(),
                                                                                       &QZTextView::textFieldPanned);
    panRecognizer_->setDelegate(std::static_pointer_cast<UIGestureRecognizerDelegate>(self<QZTextView>()));
    addGestureRecognizer(panRecognizer_);
    longPressRecognizer_ = UIGestureRecognizer::recognizerWithTarget<UILongPressGestureRecognizer>(
        self<QZTextView>(), &QZTextView::startEditing);
    longPressRecognizer_->setMinimumPressDuration(0.01);
    longPressRecognizer_->setAllowableMovement(2);
    longPressRecognizer_->requireGestureRecognizerToFail(panRecognizer_);
    addGestureRecognizer(longPressRecognizer_);
    contentView_->addSubview(textField_);

    handle_ = UIView::viewWithFrame<QZTextViewHandle>(
        CGRectMake(CGRectGetMaxX(inset) - kGlassInset, CGRectGetMaxY(inset) - kGlassInset, kHandleSize, kHandleSize));
    addSubview(handle_);
    handle_->registerTextViewRecognizer(longPressRecognizer_);

    scale_ = 1;
    textField_->setScale(1);
    setSelectionState(QZTextViewFocusedState);
}

std::shared_ptr<QZTextViewTextField> QZTextView::placeholderField() const
{
    return std::dynamic_pointer_cast<QZTextViewTextField>(textField_);
}

// ---- Geometry ----

void QZTextView::setScale(CGFloat scale)
{
    scale_ = std::max(scale, kMinimumScale);
    textField_->setScale(scale_);
    setBounds(boundsFromTextSize(textField_->textSize()));
    updateTransform();
    layoutSubviews();
    textField_->setNeedsDisplay();
}

void QZTextView::setRotation(CGFloat rotation)
{
    rotation_ = rotation;
    updateTransform();
}

void QZTextView::setShownSizeLimit(CGSize limit)
{
    shownSizeLimit_ = limit;
    updateTransform();
}

void QZTextView::updateTransform()
{
    const CGSize size = bounds().size;
    CGFloat shrink = 1;
    if (shownSizeLimit_.width > 0 && shownSizeLimit_.height > 0 && size.width > 0 && size.height > 0)
        shrink = std::min({CGFloat(1), shownSizeLimit_.width / size.width, shownSizeLimit_.height / size.height});
    setTransform(CGAffineTransformScale(CGAffineTransformMakeRotation(rotation_), shrink, shrink));
}

CGRect QZTextView::boundsFromTextSize(CGSize size) const
{
    const CGFloat s = scale_;
    const CGFloat m = std::min<CGFloat>(20, 20 * s);
    return CGRectMake(0, 0, size.width * s + m + 24, size.height * s + 7.5f * s + m + 24);
}

CGSize QZTextView::sizeThatFits(CGSize) const
{
    return boundsFromTextSize(textField_->textSize()).size;
}

void QZTextView::layoutSubviews()
{
    QZView::layoutSubviews();
    contentView_->setFrame(CGRectInset(bounds(), kGlassInset, kGlassInset));
    const CGRect content = contentView_->bounds();
    if (scale_ >= 1) {
        textField_->setFrame(content);
    } else {
        const CGSize fits = textField_->sizeThatFits(content.size);
        textField_->setBounds(CGRectMake(0, 0, fits.width, fits.height));
    }
    textField_->setCenter(QZCGRectGetCenter(content));
    const CGRect f = contentView_->frame();
    handle_->setFrame(
        CGRectMake(CGRectGetMaxX(f) - kHandleSize / 2, CGRectGetMaxY(f) - kHandleSize / 2, kHandleSize, kHandleSize));
}

// ---- Looks ----

void QZTextView::setSelectionState(QZTextViewSelectionState state)
{
    selectionState_ = state;
    std::weak_ptr<QZTextView> weak = weakSelf<QZTextView>();
    QZPerformUIViewAnimation(
        0.2,
        [weak, state] {
            auto box = weak.lock();
            if (!box) return;
            box->setHandleVisible(state == QZTextViewSelectedState);
            box->glassBoxView_->setImage(state == QZTextViewUnselectedState ? nullptr
                                         : state == QZTextViewSelectedState ? box->glassBoxImage_
                                                                            : box->glassBoxActiveImage_);
        },
        nullptr);
}

void QZTextView::setHandleVisible(bool visible)
{
    handle_->setAlpha(visible ? 1 : 0);
}

void QZTextView::setBorderVisibile(bool visible)
{
    contentView_->layer()->setBorderColor((visible ? UIColor::darkGrayColor() : UIColor::clearColor())->CGColor());
}

// ---- Editing ----

std::string QZTextView::text() const
{
    auto field = placeholderField();
    if (field && field->isPlaceHolding()) return "";
    return textField_->text();
}

void QZTextView::startEditing()
{
    textField_->becomeFirstResponder();
}

void QZTextView::setInputAccessoryView(std::shared_ptr<UIView> view)
{
    textField_->setInputAccessoryView(std::move(view));
}

void QZTextView::textFieldDidBeginEditing(QZTextField*)
{
    setSelectionState(QZTextViewFocusedState);
    auto field = placeholderField();
    textField_->longPressRecognizer()->setEnabled(!(field && field->isPlaceHolding()));
}

void QZTextView::textFieldDidChange(QZTextField*)
{
    setBounds(boundsFromTextSize(textField_->textSize()));
    updateTransform();
    layoutSubviews();
    textField_->setNeedsDisplay();
}

void QZTextView::textFieldDidEndEditing(QZTextField*)
{
    setSelectionState(QZTextViewSelectedState);
    editingScale_ = scale_;
    textField_->longPressRecognizer()->setEnabled(false);
    setNeedsLayout();
}

// ---- Touches ----

void QZTextView::textFieldPanned(UIPanGestureRecognizer* pan)
{
    setSelectionState(QZTextViewSelectedState);
    if (pan->state() != UIGestureRecognizerStateBegan && pan->state() != UIGestureRecognizerStateChanged) return;
    auto parent = superview();
    const CGPoint moved = pan->translationInView(parent.get());
    setCenter(CGPointMake(center().x + moved.x, center().y + moved.y));
    pan->setTranslation(CGPointZero, parent.get());
}

std::optional<bool> QZTextView::gestureRecognizerShouldBegin(UIGestureRecognizer*)
{
    return draggingEnabled_;
}

std::optional<bool> QZTextView::gestureRecognizerShouldReceiveTouch(UIGestureRecognizer*, UITouch* touch)
{
    return !CGRectContainsPoint(handle_->bounds(), touch->locationInView(handle_.get()));
}

void QZTextView::transformWithHandlePoint(CGPoint point)
{
    const CGPoint c = contentView_->center();
    const CGRect f = contentView_->frame();
    const CGFloat dx = point.x - c.x, dy = point.y - c.y;
    // At the centre the point gives no direction and no distance: a turn or a collapse there
    // would be a jump the person never made.
    if (dx == 0 && dy == 0) return;
    if (rotationEnabled_) {
        const CGFloat a = std::atan2(std::abs(dy), std::abs(dx));
        const CGFloat b = std::atan2(f.size.height, f.size.width);
        setRotation(a - b + rotation_);
    }
    if (scalingEnabled_) {
        const CGFloat d0 = QZCGPointDistanceToPoint(c, CGPointMake(CGRectGetMaxX(f), CGRectGetMaxY(f)));
        const CGFloat d1 = QZCGPointDistanceToPoint(c, point);
        const CGFloat scaled = d1 * scale_ / d0;
        if (std::isfinite(scaled) && scaled > 0) setScale(scaled);
    }
}

// ---- Baking ----

CGRect QZTextView::rectForTextInView(const UIView& view)
{
    auto parent = superview();
    return rectForTextInView(
        view, parent ? convertPointToView(contentView_->center(), parent.get()) : contentView_->center());
}

CGRect QZTextView::rectForTextInView(const UIView& view, CGPoint centre)
{
    const CGSize text = textField_->textSize();
    const CGSize size = CGSizeMake(text.width * scale_, text.height * scale_);
    auto parent = superview();
    CGRect rect = CGRectMake(centre.x - size.width / 2, centre.y - size.height / 2, size.width, size.height);
    if (parent) rect = parent->convertRectToView(rect, &view);
    CGFloat k = std::min(rect.size.width / size.width, rect.size.height / size.height);
    if (!std::isfinite(k)) k = 0;
    applyScale_ = scale_ * k;
    return rect;
}

void QZTextView::drawTextInRect(CGRect rect)
{
    drawTextInRect(rect, rotation_);
}

void QZTextView::drawTextInRect(CGRect rect, CGFloat rotation)
{
    auto field = placeholderField();
    if (field && field->isPlaceHolding()) return;
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    const CGPoint centre = QZCGRectGetCenter(rect);
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, centre.x, centre.y);
    CGContextRotateCTM(context, rotation);
    CGContextTranslateCTM(context, -centre.x, -centre.y);
    textField_->setScale(applyScale_);
    textField_->drawTextInRect(rect);
    textField_->setScale(scale_);
    CGContextRestoreGState(context);
}
