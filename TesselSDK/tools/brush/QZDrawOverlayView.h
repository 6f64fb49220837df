#pragma once
// The transparent view a brush tool lays over the image (its scrollable overlay): it takes one
// finger's touches, draws the live trail into its image view and reports each point to its
// delegate, relative to its bounds (0..1 from the top-left, clamped to the edges). It lies over
// the image view inside the zooming canvas, so its bounds are the preview image in points. Each
// touch step strokes only its own piece into the trail's bitmap, which the image view shows from
// the next layout (once a turn, however many steps the turn delivered) and at once when the stroke
// ends. Main thread only.

#include "TesselSDKFoundation/QZOverlayView.h"

#include "TesselSDKImaging/Processors/QZDrawState.h"

#include "UIKit/UIColor.h"
#include "UIKit/UIImageView.h"

#include <functional>
#include <memory>
#include <vector>

class QZDrawOverlayView;

class QZDrawOverlayViewDelegate {
public:
    virtual ~QZDrawOverlayViewDelegate() = default;
    virtual void drawOverlayDidStartDrawing(QZDrawOverlayView*) {}
    // Relative to the overlay.
    virtual void drawOverlayDidDrawPoint(QZDrawOverlayView*, CGPoint /*point*/) {}
    virtual void drawOverlayDidDrawLineFromPointToPoint(QZDrawOverlayView*, CGPoint /*from*/, CGPoint /*to*/) {}
    // Every point recorded since the touch began, the last one included.
    virtual void drawOverlayDidFinishDrawingPoints(QZDrawOverlayView*, const std::vector<CGPoint>& /*points*/) {}
};

class QZDrawOverlayView : public QZOverlayView {
public:
    using QZOverlayView::QZOverlayView;
    ~QZDrawOverlayView() override;

    std::weak_ptr<QZDrawOverlayViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZDrawOverlayViewDelegate> delegate) { delegate_ = std::move(delegate); }
    // The trail's width in overlay points.
    CGFloat brushSize() const { return brushSize_; }
    void setBrushSize(CGFloat size) { brushSize_ = size; }
    const std::shared_ptr<UIColor>& brushColor() const { return brushColor_; }
    void setBrushColor(std::shared_ptr<UIColor> color) { brushColor_ = std::move(color); }
    bool erase() const { return erase_; }
    // The trail clears what it passes over (blend mode Clear) while on.
    void setErase(bool erase);
    bool hideDrawTrail() const { return hideDrawTrail_; }
    // Nothing is drawn while on; points are recorded and reported all the same.
    void setHideDrawTrail(bool hide) { hideDrawTrail_ = hide; }
    // The relative points of the touch in progress.
    const std::vector<CGPoint>& points() const { return points_; }
    // The trail, filling the overlay.
    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }
    CGBlendMode blendMode() const { return blendMode_; }
    void setBlendMode(CGBlendMode mode) { blendMode_ = mode; }
    // In view coordinates.
    CGPoint lastPoint() const { return lastPoint_; }
    const QZDrawState& drawState() const { return drawState_; }

    // Empties the trail.
    void clearDrawing();
    // The point relative to the bounds, each coordinate clamped to 0..1.
    CGPoint relativePoint(CGPoint point) const;

    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
    // Ends the stroke where the touch was last seen, as a lift there would: an open stroke would
    // join the next touch's first point with a line nobody drew.
    void touchesCancelled(const UITouchSet& touches, UIEvent* event) override;
    void layoutSubviews() override;

protected:
    void prepareView() override;

private:
    void finishStroke(const UITouchSet& touches);
    // One trail step drawn over the trail so far, in the trail's bitmap (of the bounds, at the
    // screen's scale).
    void drawTrail(const std::function<void(QZDrawState&)>& step);
    // The image view shows the trail's bitmap as it is now.
    void showTrail();
    void forgetTrail();

    std::weak_ptr<QZDrawOverlayViewDelegate> delegate_;
    CGFloat brushSize_ = 10;
    std::shared_ptr<UIColor> brushColor_;
    bool erase_ = false;
    bool hideDrawTrail_ = false;
    std::vector<CGPoint> points_;
    std::shared_ptr<UIImageView> imageView_;
    CGBlendMode blendMode_ = kCGBlendModeNormal;
    CGPoint lastPoint_{0, 0};
    QZDrawState drawState_{nullptr, {0, 0}, {0, 0}};
    CGContextRef trail_ = nullptr;
    CGSize trailSize_{};
    CGFloat trailScale_ = 1;
    bool trailChanged_ = false;
};
