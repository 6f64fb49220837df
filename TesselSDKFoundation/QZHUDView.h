#pragma once
// A heads-up panel: a rounded translucent black box that comes into view by shrinking to its size
// while fading in, and leaves by growing while fading out. Visible from set-up on.

#include "TesselSDKFoundation/QZView.h"

#include <functional>

class QZHUDView : public QZView {
public:
    using QZView::QZView;

    bool isVisible() const { return visible_; }
    // Nothing happens (the completion is not called) when the value does not change. Animated
    // over 0.2 s; otherwise applied at once and the completion called at once.
    void setVisible(bool visible, bool animated, std::function<void()> completion);
    void setVisible(bool visible, bool animated) { setVisible(visible, animated, nullptr); }
    void setVisible(bool visible) { setVisible(visible, false, nullptr); }

protected:
    void prepareView() override;
    virtual void prepareLayer(CALayer& layer);

private:
    bool visible_ = false;
};
