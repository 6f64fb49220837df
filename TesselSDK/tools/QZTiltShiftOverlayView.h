#pragma once
// The focus tool's overlay over the canvas: it zooms and scrolls with the photo (its points are
// editing-size pixels), keeps the sharp zone's geometry for the guide drawn inside it, and tells
// its delegate when a finger comes down on it or lifts. Its setters only store; the screen asks
// for a redraw with updateGuide. Main thread only.

#include "TesselSDK/tools/QZTiltShiftOverlayHelperView.h"

#include "TesselSDKFoundation/QZOverlayView.h"
#include "TesselSDKImaging/Processors/QZTiltShiftProcessor.h"

#include <memory>

class QZTiltShiftOverlayView;

class QZTiltShiftOverlayViewDelegate {
public:
    virtual ~QZTiltShiftOverlayViewDelegate() = default;
    virtual void tiltShiftOverlayTouchedDown(QZTiltShiftOverlayView*) {}
    virtual void tiltShiftOverlayTouchedUp(QZTiltShiftOverlayView*) {}
};

class QZTiltShiftOverlayView : public QZOverlayView {
public:
    using QZOverlayView::QZOverlayView;

    QZTiltShiftStyle tiltShiftStyle() const { return tiltShiftStyle_; }
    void setTiltShiftStyle(QZTiltShiftStyle style) { tiltShiftStyle_ = style; }
    CGPoint tiltShiftCenter() const { return tiltShiftCenter_; }
    void setTiltShiftCenter(CGPoint center) { tiltShiftCenter_ = center; }
    CGFloat rotation() const { return rotation_; }
    void setRotation(CGFloat rotation) { rotation_ = rotation; }
    CGFloat radius() const { return radius_; }
    void setRadius(CGFloat radius) { radius_ = radius; }
    std::shared_ptr<QZTiltShiftOverlayViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<QZTiltShiftOverlayViewDelegate> delegate) { delegate_ = std::move(delegate); }
    const std::shared_ptr<QZTiltShiftOverlayHelperView>& helperView() const { return helperView_; }

    // The guide's alpha (the helper view's).
    CGFloat guideAlpha() const { return helperView_ ? helperView_->alpha() : 0; }
    void setGuideAlpha(CGFloat alpha);
    // Redraws the guide from the stored geometry.
    void updateGuide();

    // The platform's handling first, then the delegate. Cancelled touches (a gesture took them)
    // tell nobody.
    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;

protected:
    void prepareView() override;

private:
    QZTiltShiftStyle tiltShiftStyle_ = QZTiltShiftStyleRadial;
    CGPoint tiltShiftCenter_{0, 0};
    CGFloat rotation_ = 0;
    CGFloat radius_ = 0;
    std::weak_ptr<QZTiltShiftOverlayViewDelegate> delegate_;
    std::shared_ptr<QZTiltShiftOverlayHelperView> helperView_;
};
