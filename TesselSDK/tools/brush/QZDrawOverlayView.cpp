#include "TesselSDK/tools/brush/QZDrawOverlayView.h"

#include "Foundation/PlatformSettings.h"
#include "UIKit/UIGraphics.h"

#include <algorithm>

namespace {

CGFloat clampedFraction(CGFloat value, CGFloat length)
{
    if (!(length > 0)) return 0;
    const CGFloat fraction = value / length;
    // NaN (no position) counts as the near edge.
    if (!(fraction >= 0)) return 0;
    return std::min<CGFloat>(fraction, 1);
}

}  // namespace

QZDrawOverlayView::~QZDrawOverlayView()
{
    CGContextRelease(trail_);
}

void QZDrawOverlayView::prepareView()
{
    QZOverlayView::prepareView();
    // The whole overlay takes the finger once its interaction is on, not only its subviews.
    setAllowsTouchesOnlyInSubviews(false);
    brushColor_ = UIColor::redColor();
    imageView_ = UIView::viewWithFrame<UIImageView>(bounds());
    imageView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    addSubview(imageView_);
}

void QZDrawOverlayView::setErase(bool erase)
{
    erase_ = erase;
    blendMode_ = erase ? kCGBlendModeClear : kCGBlendModeNormal;
}

void QZDrawOverlayView::clearDrawing()
{
    forgetTrail();
    imageView_->setImage(nullptr);
}

void QZDrawOverlayView::forgetTrail()
{
    CGContextRelease(trail_);
    trail_ = nullptr;
    trailChanged_ = false;
}

CGPoint QZDrawOverlayView::relativePoint(CGPoint point) const
{
    const CGSize size = bounds().size;
    return CGPointMake(clampedFraction(point.x, size.width), clampedFraction(point.y, size.height));
}

void QZDrawOverlayView::drawTrail(const std::function<void(QZDrawState&)>& step)
{
    if (hideDrawTrail_) return;
    const CGSize size = bounds().size;
    // An empty size makes no context, and the current one would be someone else's.
    if (!(size.width > 0 && size.height > 0)) return;
    if (!trail_ || !CGSizeEqualToSize(size, trailSize_)) {
        // A new bitmap starts from the trail shown, as each step once started from it: redrawing the
        // whole trail at every step made the ink fall behind a quick finger.
        showTrail();
        forgetTrail();
        UIGraphicsBeginImageContextWithOptions(size, false, 0);
        CGContextRef context = UIGraphicsGetCurrentContext();
        if (!context) return;
        if (const std::shared_ptr<UIImage>& trail = imageView_->image()) trail->drawAtPoint(CGPointZero);
        trail_ = CGContextRetain(context);
        trailSize_ = size;
        trailScale_ = PlatformSettings::screenScale();  // the image context's scale
        UIGraphicsEndImageContext();
    }
    CGContextSaveGState(trail_);
    CGContextSetLineCap(trail_, kCGLineCapRound);
    CGContextSetLineWidth(trail_, brushSize_);
    if (brushColor_) CGContextSetStrokeColorWithColor(trail_, brushColor_->CGColor());
    CGContextSetBlendMode(trail_, blendMode_);
    drawState_.context = trail_;
    step(drawState_);
    drawState_.context = nullptr;
    CGContextRestoreGState(trail_);
    trailChanged_ = true;
    setNeedsLayout();
}

void QZDrawOverlayView::showTrail()
{
    if (!trail_ || !trailChanged_) return;
    trailChanged_ = false;
    CGImageRef image = CGBitmapContextCreateImage(trail_);
    imageView_->setImage(UIImage::imageWithCGImage(image, trailScale_, UIImageOrientationUp));
    CGImageRelease(image);
}

void QZDrawOverlayView::layoutSubviews()
{
    QZOverlayView::layoutSubviews();
    showTrail();
}

void QZDrawOverlayView::touchesBegan(const UITouchSet& touches, UIEvent*)
{
    if (touches.empty()) return;
    const CGPoint point = touches.front()->locationInView(this);
    QZDrawStateInit(&drawState_);
    drawTrail([point](QZDrawState& state) { QZDrawBegin(&state, point); });
    lastPoint_ = point;
    const CGPoint relative = relativePoint(point);
    points_.push_back(relative);
    if (auto delegate = delegate_.lock()) {
        delegate->drawOverlayDidStartDrawing(this);
        delegate->drawOverlayDidDrawPoint(this, relative);
    }
}

void QZDrawOverlayView::touchesMoved(const UITouchSet& touches, UIEvent*)
{
    if (touches.empty()) return;
    const CGPoint point = touches.front()->locationInView(this);
    drawTrail([point](QZDrawState& state) { QZDrawAddPoint(&state, point); });
    const CGPoint previous = lastPoint_;
    lastPoint_ = point;
    const CGPoint relative = relativePoint(point);
    points_.push_back(relative);
    if (CGPointEqualToPoint(point, previous)) return;
    if (auto delegate = delegate_.lock()) {
        delegate->drawOverlayDidDrawPoint(this, relative);
        delegate->drawOverlayDidDrawLineFromPointToPoint(this, relativePoint(previous), relative);
    }
}

void QZDrawOverlayView::touchesEnded(const UITouchSet& touches, UIEvent*)
{
    finishStroke(touches);
}

void QZDrawOverlayView::touchesCancelled(const UITouchSet& touches, UIEvent*)
{
    finishStroke(touches);
}

void QZDrawOverlayView::finishStroke(const UITouchSet& touches)
{
    if (touches.empty()) return;
    const CGPoint point = touches.front()->locationInView(this);
    drawTrail([](QZDrawState& state) { QZDrawEnd(&state); });
    showTrail();
    lastPoint_ = point;
    const CGPoint relative = relativePoint(point);
    points_.push_back(relative);
    const std::vector<CGPoint> points = std::exchange(points_, {});
    if (auto delegate = delegate_.lock()) {
        delegate->drawOverlayDidDrawPoint(this, relative);
        delegate->drawOverlayDidFinishDrawingPoints(this, points);
    }
}
