#include "TesselSDK/tools/QZEnhanceViewController.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZAnalytics.h"

#include "TesselSDKImaging/Modules/QZLabCorrectModule.h"
#include "TesselSDKImaging/Modules/QZLocalContrastEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZNightEnhanceModule.h"

#include "UIKit/UIColor.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UIFont.h"

namespace {

constexpr CGFloat kControlInset = 12;
constexpr CGFloat kControlHeight = 64;
constexpr CGFloat kLabelInset = 20;
constexpr CGFloat kPadInset = 70;

}  // namespace

bool QZEnhanceViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                                                 bool quickLaunch)
{
    if (!QZToolViewController::initWithGLInstance(glInstance, std::move(settings), quickLaunch)) return false;
    modules_ = {QZLocalContrastEnhanceModule::make(), QZNightEnhanceModule::make(), QZLabCorrectModule::make()};
    moduleKeyNames_ = {"clarity", "night", "balance"};
    selectedIndex_ = NSNotFound;
    return true;
}

std::string QZEnhanceViewController::customizationKeyPath() const
{
    return QZToolViewController::customizationKeyPath() + ".enhance";
}

void QZEnhanceViewController::loadView()
{
    QZToolViewController::loadView();
    const std::shared_ptr<UIView>& view = this->view();
    const CGRect bounds = view->bounds();
    const CGFloat e = UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad ? kPadInset : 0;

    segmentedControl_ = QZSegmentedControl::make(
        CGRectMake(kControlInset + e, kControlInset, bounds.size.width - 2 * (kControlInset + e), kControlHeight),
        {"hidef.png", "illuminate.png", "colorfix.png"},
        {"hidef-active.png", "illuminate-active.png", "colorfix-active.png"});
    segmentedControl_->setDelegate(
        std::static_pointer_cast<QZSegmentedControlDelegate>(self<QZEnhanceViewController>()));
    segmentedControl_->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
    segmentedControl_->setAllowsDeselection(true);
    view->addSubview(segmentedControl_);

    const std::string names[] = {QZLocalContrastEnhanceModule::name(), QZNightEnhanceModule::name(),
                                 QZLabCorrectModule::name()};
    const CGFloat count = CGFloat(std::size(names));
    const CGFloat itemWidth = (bounds.size.width - 2 * (e + kLabelInset)) / count;
    const CGFloat controlMaxY = CGRectGetMaxY(segmentedControl_->frame());
    for (std::size_t i = 0; i < std::size(names); ++i) {
        auto label = UIView::viewWithFrame<UILabel>(CGRectZero);
        label->setText(names[i]);
        label->setFont(UIFont::boldSystemFontOfSize(12));
        label->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor"));
        label->setTextAlignment(NSTextAlignmentCenter);
        label->setShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor"));
        label->setShadowOffset(CGSizeMake(0, 1));
        label->setBackgroundColor(UIColor::clearColor());
        label->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin);
        const CGFloat textHeight = label->sizeThatFits(CGSizeMake(itemWidth, 10000)).height;
        const CGFloat y = controlMaxY + (CGRectGetMaxY(bounds) - controlMaxY) / 2 - textHeight;
        label->setFrame(CGRectIntegral(CGRectMake(e + kLabelInset + CGFloat(i) * itemWidth, y, itemWidth, textHeight)));
        view->addSubview(label);
        nameLabels_.push_back(label);
    }
}

void QZEnhanceViewController::viewDidLoad()
{
    QZToolViewController::viewDidLoad();
    if (auto canvas = scrollableImageView()) canvas->setAllowsScaleUp(true);
}

void QZEnhanceViewController::viewDidAppear(bool animated)
{
    QZToolViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Enhance");
}

void QZEnhanceViewController::viewWillDisappear(bool animated)
{
    QZToolViewController::viewWillDisappear(animated);
    // The home canvas never scales a photo up, whichever tool ran last (the slider tools leave it
    // the same way): on a tablet a small photo would otherwise switch between 1:1 and fit.
    if (auto canvas = scrollableImageView()) {
        canvas->setAllowsScaleUp(false);
        canvas->zoomOutAnimated(true);
    }
}

void QZEnhanceViewController::cancelServers()
{
    if (highResolutionServer()) highResolutionServer()->cancelProcessing();
    if (lowResolutionServer()) lowResolutionServer()->cancelProcessing();
}

void QZEnhanceViewController::segmentedControlDidSelectItemAtIndex(QZSegmentedControl*, NSInteger index)
{
    if (index < 0 || NSUInteger(index) >= modules_.size()) return;
    selectedIndex_ = NSUInteger(index);
    cancelServers();
    activeModule_ = modules_[selectedIndex_];
    std::weak_ptr<QZEnhanceViewController> weak = weakSelf<QZEnhanceViewController>();
    setRenderStartDate();
    renderModule(activeModule_, QZRenderingResolutionHigh, [weak](std::shared_ptr<UIImage> image) {
        auto screen = weak.lock();
        if (!screen) return;
        screen->setOutputImage(std::move(image));
        screen->hideHUDView();
        screen->setRenderEndDate();
        screen->setReadyToApply(true);
    });
}

void QZEnhanceViewController::segmentedControlDidDeselectItemAtIndex(QZSegmentedControl*, NSInteger)
{
    // What Apply records is what the preview shows: the photo without a mode.
    selectedIndex_ = NSNotFound;
    activeModule_ = nullptr;
    cancelServers();
    if (auto gl = glInstance()) gl->renderIdentityImageWithCompletion(nullptr);
}

void QZEnhanceViewController::reportApplied()
{
    if (selectedIndex_ == NSNotFound || selectedIndex_ >= moduleKeyNames_.size()) {
        QZToolViewController::reportApplied(Value());
        return;
    }
    QZToolViewController::reportApplied(Value::dictionary({{"filter", moduleKeyNames_[selectedIndex_]}}));
}
