#pragma once
// The straighten knob's track along the bottom edge of the picture. The knob travels across the
// picture's width, centred in the track; its place maps to a value in [-0.5, 0.5] on a cosine
// curve: 0 at the centre, flat there for fine control of small angles, +0.5 at the left end and
// -0.5 at the right. The delegate hears each value while the knob is dragged. Main thread only.

#include "TesselSDK/tools/QZStraightenHandle.h"

#include "TesselSDKFoundation/QZView.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIPanGestureRecognizer.h"

class QZStraightenSliderDelegate {
public:
    virtual ~QZStraightenSliderDelegate() = default;
    virtual void straigthenSliderValueDidChange(float value) = 0;
};

class QZStraightenSlider : public QZView, public UIGestureRecognizerDelegate {
public:
    using QZView::QZView;

    // Stored at creation; nothing reads it.
    double handlePos() const { return handlePos_; }
    const std::shared_ptr<QZStraightenHandle>& handle() const { return handle_; }
    std::weak_ptr<QZStraightenSliderDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZStraightenSliderDelegate> delegate) { delegate_ = std::move(delegate); }
    // From the knob's place: 2 x ((x - lBound) / (rBound - lBound) - 0.5) = d in [-1, 1] gives
    // (1 - cos(pi d)) x (d > 0 ? -0.25 : 0.25), in single precision; 0 while the track has no
    // travel (no picture yet).
    float value() const;
    float imgWidth() const { return imgWidth_; }
    // The picture's width: the knob's centre then travels from lBound = (track width - w) / 2 to
    // rBound = track width - lBound.
    void setImgWidth(float width);
    const std::shared_ptr<UIPanGestureRecognizer>& panRecognizer() const { return panRecognizer_; }
    float lBound() const { return lBound_; }
    float rBound() const { return rBound_; }
    CGPoint initialPoint() const { return initialPoint_; }

    // The pan on the knob: it moves the knob from where it was when the drag began; a drag that
    // ends in any way (lifted, cancelled, the recogniser disabled) makes the knob send its touch-up
    // events, so whoever listens hears the end even though the pan took the touch.
    void panDetected(UIPanGestureRecognizer* recognizer);
    // The knob's centre at the start point moved by the translation's x, kept within the travel,
    // then the value to the delegate.
    void moveHandleWithTranslation(CGPoint translation);
    // The knob back to the centre of the track.
    void resetHandle();

    std::optional<bool>
    gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(UIGestureRecognizer*,
                                                                        UIGestureRecognizer*) override
    {
        return true;
    }

protected:
    void prepareView() override;

private:
    double handlePos_ = 0;
    std::shared_ptr<QZStraightenHandle> handle_;
    std::weak_ptr<QZStraightenSliderDelegate> delegate_;
    float imgWidth_ = 0;
    std::shared_ptr<UIPanGestureRecognizer> panRecognizer_;
    float lBound_ = 0;
    float rBound_ = 0;
    CGPoint initialPoint_{0, 0};
};
