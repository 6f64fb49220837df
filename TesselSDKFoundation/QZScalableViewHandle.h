#pragma once
// A knob on a corner of a transformable view. Touching it marks the view as transforming; moving
// it hands the finger's place in the view to the view, which scales, turns or resizes itself.

#include "TesselSDKFoundation/QZView.h"
#include "UIKit/UIImageView.h"

// Which corners carry handles (bits).
using QZTransformableViewHandleMask = NSUInteger;
inline constexpr QZTransformableViewHandleMask QZTransformableViewHandleTopLeft = 1;
inline constexpr QZTransformableViewHandleMask QZTransformableViewHandleTopRight = 2;
inline constexpr QZTransformableViewHandleMask QZTransformableViewHandleBottomRight = 4;
inline constexpr QZTransformableViewHandleMask QZTransformableViewHandleBottomLeft = 8;

enum QZScalableViewHandleType : NSInteger {
    QZScalableViewHandleTypeNormal = 0,
    QZScalableViewHandleTypeResize = 1,
};

class QZScalableViewHandle : public QZView {
public:
    using QZView::QZView;

    QZTransformableViewHandleMask handleMask() const { return handleMask_; }
    void setHandleMask(QZTransformableViewHandleMask mask) { handleMask_ = mask; }
    QZScalableViewHandleType handleType() const { return handleType_; }
    // Also the knob's image.
    void setHandleType(QZScalableViewHandleType type);
    const std::shared_ptr<UIImageView>& knobView() const { return knobView_; }

    void layoutSubviews() override;
    // None of them passes the touches on.
    void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
    void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
    void touchesEnded(const UITouchSet& touches, UIEvent* event) override;

protected:
    void prepareView() override;

private:
    QZTransformableViewHandleMask handleMask_ = 0;
    QZScalableViewHandleType handleType_ = QZScalableViewHandleTypeNormal;
    std::shared_ptr<UIImageView> knobView_;
};
