#include "TesselSDK/shell/QZNavigationBar.h"

#include "UIKit/UIColor.h"
#include "UIKit/UIGraphics.h"

bool QZNavigationBar::initWithFrame(CGRect frame)
{
    if (!UINavigationBar::initWithFrame(frame)) return false;
    prepareView();
    return true;
}

void QZNavigationBar::prepareView()
{
    prepareLayer(*layer());
}

void QZNavigationBar::prepareLayer(CALayer& layer)
{
    auto gradient = CAGradientLayer::layer();
    gradient->setFrame(layer.bounds());
    gradient->setColors({UIColor::colorWithWhite(1, 0.1f)->CGColor(), UIColor::colorWithWhite(1, 0.2f)->CGColor(),
                         UIColor::colorWithWhite(0.7f, 0.1f)->CGColor(),
                         UIColor::colorWithWhite(0.7f, 0.2f)->CGColor()});
    // Stops may not decrease: the last closes the lower half at the bottom edge, which keeps the
    // four colours in their order, top to bottom.
    gradient->setLocations({0, 0.5f, 0.5f, 1.0f});
    gradient->setStartPoint(CGPointMake(0, 0));
    gradient->setEndPoint(CGPointMake(0, 1));
    gradient->setContentsGravity(kCAGravityCenter);
    gradientLayer_ = gradient;
}

void QZNavigationBar::setBackgroundImage(std::shared_ptr<UIImage> image)
{
    backgroundImage_ = std::move(image);
    setNeedsDisplay();
}

void QZNavigationBar::layoutSubviews()
{
    UINavigationBar::layoutSubviews();
    if (gradientLayer_) gradientLayer_->setFrame(layer()->bounds());
}

void QZNavigationBar::drawRect(CGRect rect)
{
    UINavigationBar::drawRect(rect);
    if (backgroundImage_) {
        backgroundImage_->drawInRect(bounds());
    } else if (gradientLayer_) {
        gradientLayer_->renderInContext(UIGraphicsGetCurrentContext());
    }
}
