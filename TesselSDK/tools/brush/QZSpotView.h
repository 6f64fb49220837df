#pragma once
// The brush spot of the spot HUD: a filled disc of the brush's colour, or a white ring when the
// brush has none. Redrawn whenever its size changes; takes no touches.

#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UIColor.h"

#include <memory>

class QZSpotView : public QZView {
public:
    using QZView::QZView;

    const std::shared_ptr<UIColor>& spotColor() const { return spotColor_; }
    void setSpotColor(std::shared_ptr<UIColor> color);

    void drawRect(CGRect rect) override;

protected:
    void prepareView() override;

private:
    std::shared_ptr<UIColor> spotColor_;
};
