#pragma once
// The centre-zero slider of the tone tools: a track with a fixed centre mark, a knob dragged
// either side of it, and a fill growing from the centre to the knob. Touching the knob shows the
// active fill; a double tap on the centre mark resets the value to 0. Reports through control
// events: value changed on every drag step and reset, touch up inside when the knob is let go.
// Main thread only.

#include "TesselSDKFoundation/QZView.h"
#include "UIKit/UIControl.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIImageView.h"

inline constexpr NSInteger kQZSliderTapsRequiredForReset = 2;

class UILongPressGestureRecognizer;
class UIPanGestureRecognizer;
class UITapGestureRecognizer;

class QZSlider : public UIControl, public UIGestureRecognizerDelegate {
public:
    using UIControl::UIControl;
    bool initWithFrame(CGRect frame) override;

    // minimumValue + (maximumValue - minimumValue) x (sliderPosition + 1) / 2.
    CGFloat value() const;
    // Moves knob and fill at once and sends nothing. Not clamped: a value outside the range puts
    // the knob past the track's end. An empty range leaves the position as it is.
    void setValue(CGFloat value);
    CGFloat maximumValue() const { return maximumValue_; }
    void setMaximumValue(CGFloat value) { maximumValue_ = value; }
    CGFloat minimumValue() const { return minimumValue_; }
    void setMinimumValue(CGFloat value) { minimumValue_ = value; }
    // -1 .. 1, 0 at the centre; setting it does not redraw.
    CGFloat sliderPosition() const { return sliderPosition_; }
    void setSliderPosition(CGFloat position) { sliderPosition_ = position; }
    // Places the knob and fills for sliderPosition, always at once.
    void updateSliderHandleAndGooAnimated(bool animated);

    void layoutSubviews() override;

    // Gesture actions.
    void panDetected(UIPanGestureRecognizer* recognizer);
    void longPressDetected(UILongPressGestureRecognizer* recognizer);
    void doubleTapDetected(UITapGestureRecognizer* recognizer);
    // YES: the pan and the long press on the knob run together.
    std::optional<bool>
    gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(UIGestureRecognizer*,
                                                                        UIGestureRecognizer*) override
    {
        return true;
    }

    const std::shared_ptr<UIImageView>& centerImageView() const { return centerImageView_; }
    const std::shared_ptr<UIImageView>& rightStretchableImageView() const { return rightStretchableImageView_; }
    const std::shared_ptr<UIImageView>& rightCapImageView() const { return rightCapImageView_; }
    const std::shared_ptr<UIImageView>& leftStretchableImageView() const { return leftStretchableImageView_; }
    const std::shared_ptr<UIImageView>& leftCapImageView() const { return leftCapImageView_; }
    const std::shared_ptr<UIImageView>& rightGooImageView() const { return rightGooImageView_; }
    const std::shared_ptr<UIImageView>& rightGooImageViewActive() const { return rightGooImageViewActive_; }
    const std::shared_ptr<UIImageView>& leftGooImageView() const { return leftGooImageView_; }
    const std::shared_ptr<UIImageView>& leftGooImageViewActive() const { return leftGooImageViewActive_; }
    const std::shared_ptr<QZView>& handleContainerView() const { return handleContainerView_; }

protected:
    virtual void prepareView();

private:
    void setActiveFillsAlpha(CGFloat alpha);

    CGFloat maximumValue_ = 0;
    CGFloat minimumValue_ = 0;
    std::shared_ptr<UIImageView> centerImageView_;
    std::shared_ptr<UIImageView> rightStretchableImageView_;
    std::shared_ptr<UIImageView> rightCapImageView_;
    std::shared_ptr<UIImageView> leftStretchableImageView_;
    std::shared_ptr<UIImageView> leftCapImageView_;
    std::shared_ptr<UIImageView> rightGooImageView_;
    std::shared_ptr<UIImageView> rightGooImageViewActive_;
    std::shared_ptr<UIImageView> leftGooImageView_;
    std::shared_ptr<UIImageView> leftGooImageViewActive_;
    CGFloat sliderPosition_ = 0;
    std::shared_ptr<QZView> handleContainerView_;
};
