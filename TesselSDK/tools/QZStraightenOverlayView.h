#pragma once
// The straighten control over the canvas: the knob's track along the picture's bottom edge, the
// alignment grid over the picture while the knob is held, and a dimming of everything outside the
// picture once the knob moves. Every value of the knob goes to the delegate; letting go within
// 0.01 of the centre snaps the straightening back to exactly 0. Main thread only.

#include "TesselSDK/tools/QZStraightenOverlayHUDView.h"
#include "TesselSDK/tools/QZStraightenSlider.h"

#include "TesselSDKFoundation/QZOverlayView.h"
#include "QuartzCore/CAShapeLayer.h"

class QZStraightenOverlayDelegate {
public:
    virtual ~QZStraightenOverlayDelegate() = default;
    // value in [-0.5, 0.5]: the knob's value, or 0 when it snapped back.
    virtual void straightenWithValue(float value) = 0;
};

class QZStraightenOverlayView : public QZOverlayView, public QZStraightenSliderDelegate {
public:
    using QZOverlayView::QZOverlayView;

    std::weak_ptr<QZStraightenOverlayDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZStraightenOverlayDelegate> delegate) { delegate_ = std::move(delegate); }
    // The picture's frame in the overlay's coordinates.
    CGRect imageFrame() const { return imageFrame_; }
    const std::shared_ptr<QZStraightenSlider>& slider() const { return slider_; }
    // Made on the first frame.
    const std::shared_ptr<QZStraightenOverlayHUDView>& straightenHUD() const { return straightenHUD_; }
    const std::shared_ptr<CAShapeLayer>& dimmedLayer() const { return dimmedLayer_; }
    bool isDimmed() const { return dimmed_; }
    bool isEditing() const { return editing_; }
    // Set at creation; nothing reads it.
    bool isSliderVisible() const { return sliderVisible_; }

    // The track straddling the frame's bottom edge across the overlay, the knob centred, its
    // travel the frame's width.
    void initializeSlider(CGRect frame);
    // Fades the grid in or out over 0.2 s, the track kept in front of it.
    void setHUDGridVisible(bool visible);
    // The knob's touch-down.
    void beginEditing();
    // The knob's touch-up (once per hold): the grid fades out and a drag still under way ends;
    // below 0.01 the straightening snaps back to 0, the knob re-centres and the dimming fades.
    void endEditing();
    // Undimmed at once; the dimming layer comes or goes with the overlay, the track fades over
    // 0.25 s when animated.
    void setOverlayVisible(bool visible, bool animated);
    // The picture moved: the grid and the track follow it, and the dimming leaves it clear.
    void setImageSliderFrame(CGRect frame);
    // Forwarded to the delegate while editing; the first value of a hold dims the outside.
    void straigthenSliderValueDidChange(float value) override;
    void resetHandle();

protected:
    void prepareView() override;

private:
    // Fades the dimming's fill to black at the alpha over 0.2 s.
    void fadeDimmingTo(CGFloat alpha);

    std::weak_ptr<QZStraightenOverlayDelegate> delegate_;
    CGRect imageFrame_ = CGRectZero;
    std::shared_ptr<QZStraightenSlider> slider_;
    std::shared_ptr<QZStraightenOverlayHUDView> straightenHUD_;
    std::shared_ptr<CAShapeLayer> dimmedLayer_;
    bool dimmed_ = false;
    bool editing_ = false;
    bool sliderVisible_ = false;
};
