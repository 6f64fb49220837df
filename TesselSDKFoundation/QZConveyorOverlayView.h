#pragma once
// Laid over a conveyor by its screen: a 50-point centre marker with shading either side. Touches
// fall through it to the strip. The split marker's image holds one frame per half; each frame is
// stretched over its half of the overlay's height, so that it surrounds the middle cell of the
// strip in that half.

#include "TesselSDKFoundation/QZConveyorTypes.h"
#include "UIKit/UIImageView.h"

class QZConveyorOverlayView : public UIView {
public:
    using UIView::UIView;

    static std::shared_ptr<QZConveyorOverlayView> make(CGRect frame, QZConveyorOverlayType type)
    {
        return NSObject::create<QZConveyorOverlayView>(
            [&](QZConveyorOverlayView& view) { return view.initWithFrame(frame, type); });
    }
    bool initWithFrame(CGRect frame, QZConveyorOverlayType type);
    using UIView::initWithFrame;

    void layoutSubviews() override;

    QZConveyorOverlayType type() const { return type_; }
    void setType(QZConveyorOverlayType type) { type_ = type; }
    const std::shared_ptr<UIImageView>& centerView() const { return centerView_; }
    const std::shared_ptr<UIImageView>& leftView() const { return leftView_; }
    const std::shared_ptr<UIImageView>& rightView() const { return rightView_; }

protected:
    virtual void prepareView();

private:
    // The split marker with each of its two frames stretched over half of `height`.
    std::shared_ptr<UIImage> splitMarkerOfHeight(CGFloat height) const;

    QZConveyorOverlayType type_ = QZConveyorOverlayTypeSingle;
    std::shared_ptr<UIImage> splitMarker_;  // as shipped: two frames, one above the other
    CGFloat splitMarkerHeight_ = 0;         // the height the centre view's image was made for
    std::shared_ptr<UIImageView> centerView_;
    std::shared_ptr<UIImageView> leftView_;
    std::shared_ptr<UIImageView> rightView_;
};
