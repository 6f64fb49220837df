#pragma once
// The editor's top bar: the platform bar with a themed background, the background image stretched
// over the bounds, or without one a glossy gradient (a light upper half over a darker lower one).

#include "QuartzCore/CAGradientLayer.h"
#include "UIKit/UINavigationBar.h"

#include <memory>

class QZNavigationBar : public UINavigationBar {
public:
    using UINavigationBar::UINavigationBar;
    // The platform initialiser, then prepareView.
    bool initWithFrame(CGRect frame) override;

    const std::shared_ptr<UIImage>& backgroundImage() const { return backgroundImage_; }
    void setBackgroundImage(std::shared_ptr<UIImage> image);
    // Built once at creation and drawn by hand: never a sublayer.
    const std::shared_ptr<CAGradientLayer>& gradientLayer() const { return gradientLayer_; }
    void setGradientLayer(std::shared_ptr<CAGradientLayer> layer) { gradientLayer_ = std::move(layer); }

    // The platform's back arrow is never drawn.
    std::shared_ptr<UIImage> backIndicatorImage() const override { return nullptr; }

    void layoutSubviews() override;
    void drawRect(CGRect rect) override;

protected:
    virtual void prepareView();
    // Builds the gradient for the layer's bounds.
    virtual void prepareLayer(CALayer& layer);

private:
    std::shared_ptr<UIImage> backgroundImage_;
    std::shared_ptr<CAGradientLayer> gradientLayer_;
};
