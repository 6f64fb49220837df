#include "TesselSDK/shell/QZSDKViewControllerLayouts.h"

#include "TesselSDK/shell/QZSDKViewController.h"

#include "UIKit/UILayoutBuilder.h"

namespace {

struct Layout {
    const char* name;
    CGSize size;
};

constexpr Layout kLayouts[] = {
    {"QZSDKViewController_iPhone_3_5_inch", {320, 480}},
    {"QZSDKViewController_iPhone_4_inch", {320, 568}},
    {"QZSDKViewController_iPad", {768, 1024}},
    {"QZSDKViewController_iPad_landscape", {1024, 768}},
};

// The band's shadows: a few points of the canvas under the bar and over the strip.
constexpr float kShadowHeight = 6;

std::shared_ptr<UIView> buildRoot(UIViewController& owner, CGSize size, bool statusBand)
{
    const float width = size.width;
    const float barTop = statusBand ? kQZSDKLayoutStatusBandHeight : 0;
    const float canvasTop = barTop + kQZSDKLayoutBarHeight;
    const float stripTop = size.height - kQZSDKLayoutStripHeight;

    auto root = UIView::viewWithFrame(CGRectMake(0, 0, width, size.height));
    root->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);

    auto canvas = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, canvasTop, width, stripTop - canvasTop));
    canvas->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    root->addSubview(canvas);

    auto topShadow = UIView::viewWithFrame<UIImageView>(CGRectMake(0, canvasTop, width, kShadowHeight));
    topShadow->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleBottomMargin);
    root->addSubview(topShadow);
    auto bottomShadow =
        UIView::viewWithFrame<UIImageView>(CGRectMake(0, stripTop - kShadowHeight, width, kShadowHeight));
    bottomShadow->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin);
    root->addSubview(bottomShadow);

    auto stripContainer = UIView::viewWithFrame(CGRectMake(0, stripTop, width, kQZSDKLayoutStripHeight));
    stripContainer->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin);
    auto strip = UIView::viewWithFrame<QZToolSelectionView>(stripContainer->bounds());
    strip->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    stripContainer->addSubview(strip);
    root->addSubview(stripContainer);

    auto statusBar = UIView::viewWithFrame(CGRectMake(0, 0, width, barTop));
    statusBar->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleBottomMargin);
    root->addSubview(statusBar);

    auto barContainer = UIView::viewWithFrame(CGRectMake(0, barTop, width, kQZSDKLayoutBarHeight));
    barContainer->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleBottomMargin);
    auto bar = UIView::viewWithFrame<QZNavigationBar>(barContainer->bounds());
    bar->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    barContainer->addSubview(bar);
    root->addSubview(barContainer);

    auto wheel = UIActivityIndicatorView::indicatorWithStyle(UIActivityIndicatorViewStyleWhiteLarge);
    wheel->setCenter(canvas->center());
    wheel->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin |
                               UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin);
    wheel->startAnimating();
    root->addSubview(wheel);

    if (auto* screen = dynamic_cast<QZSDKViewController*>(&owner)) {
        screen->setNavigationBar(bar);
        screen->setScrollableImageView(canvas);
        screen->setTopShadowView(topShadow);
        screen->setBottomShadowView(bottomShadow);
        screen->setNavigationContainerView(barContainer);
        screen->setToolSelectionContainerView(stripContainer);
        screen->setStatusBarView(statusBar);
        screen->setToolSelectionView(strip);
        screen->setWheelView(wheel);
    }
    return root;
}

}  // namespace

void QZSDKViewControllerRegisterLayouts()
{
    for (const Layout& layout : kLayouts) {
        for (bool statusBand : {false, true}) {
            const CGSize size = layout.size;
            UIRegisterLayoutBuilder(
                std::string(layout.name) + (statusBand ? "_7" : ""),
                [size, statusBand](UIViewController& owner) { return buildRoot(owner, size, statusBand); });
        }
    }
}

CGSize QZSDKViewControllerLayoutSize(const std::string& nibName)
{
    for (const Layout& layout : kLayouts)
        if (nibName == layout.name || nibName == std::string(layout.name) + "_7") return layout.size;
    return CGSizeZero;
}
