#pragma once
// The magnifier button over the canvas of the brush tools: it shows whether zoom mode is on (lit)
// and hides while the finger paints or the canvas moves. A hidden button takes no touches, even
// while it fades.

#include "UIKit/UIControl.h"
#include "UIKit/UIImageView.h"

#include <memory>

class QZSpotEditingZoomButton : public UIControl {
public:
    using UIControl::UIControl;

    // Then prepareView.
    bool initWithFrame(CGRect frame) override;

    bool isVisible() const { return visible_; }
    // Nothing when unchanged; the alpha fades over 0.1 s when animated, the touches follow at once.
    void setVisible(bool visible, bool animated);
    void setVisible(bool visible) { setVisible(visible, false); }
    bool isZoomEnabled() const { return zoomEnabled_; }
    void setZoomEnabled(bool enabled);
    const std::shared_ptr<UIImageView>& zoomImageView() const { return zoomImageView_; }

    void layoutSubviews() override;

protected:
    virtual void prepareView();

private:
    bool visible_ = false;
    bool zoomEnabled_ = false;
    std::shared_ptr<UIImageView> zoomImageView_;
};
