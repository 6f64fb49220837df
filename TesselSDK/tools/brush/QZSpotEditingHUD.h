#pragma once
// The heads-up panel that previews the brush spot while the size strip moves: a pane of glass
// with the spot in its middle, the spot's side the brush size plus a point each way.

#include "TesselSDK/tools/brush/QZSpotView.h"

#include "TesselSDKFoundation/QZHUDView.h"

#include "UIKit/UIImageView.h"

#include <memory>

class QZSpotEditingHUD : public QZHUDView {
public:
    using QZHUDView::QZHUDView;

    CGFloat spotSize() const { return spotSize_; }
    // Animated over 0.1 s.
    void setSpotSize(CGFloat size, bool animated);
    void setSpotColor(std::shared_ptr<UIColor> color);

    const std::shared_ptr<QZSpotView>& spotView() const { return spotView_; }
    const std::shared_ptr<UIImageView>& glassView() const { return glassView_; }

protected:
    void prepareView() override;

private:
    CGFloat spotSize_ = 10;
    std::shared_ptr<QZSpotView> spotView_;
    std::shared_ptr<UIImageView> glassView_;
};
