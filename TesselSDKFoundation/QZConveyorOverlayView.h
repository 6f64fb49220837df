#pragma once
// Laid over a conveyor by its screen: a 50-point centre marker with shading either side. Touches
// fall through it to the strip.

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
    QZConveyorOverlayType type_ = QZConveyorOverlayTypeSingle;
    std::shared_ptr<UIImageView> centerView_;
    std::shared_ptr<UIImageView> leftView_;
    std::shared_ptr<UIImageView> rightView_;
};
