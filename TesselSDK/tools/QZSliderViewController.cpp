#include "TesselSDK/tools/QZSliderViewController.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/QZImageServer.h"

#include "Dispatch/Dispatch.h"
#include "UIKit/UIGeometry.h"
#include "UIKit/UIImageView.h"

namespace {

constexpr CGFloat kContainerSideInset = 3;
constexpr CGFloat kEndImageWidth = 20;
constexpr CGFloat kSliderVerticalInset = 20;
constexpr CGFloat kSliderRange = 100;

std::shared_ptr<UIImageView> endImageView(const char* name, CGRect frame, UIViewAutoresizing mask)
{
    auto view = UIImageView::imageViewWithImage(QZSDKResources::imageNamed(name));
    view->setFrame(frame);
    view->setContentMode(UIViewContentModeCenter);
    view->setAutoresizingMask(mask);
    return view;
}

}  // namespace

bool QZSliderViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance)
{
    if (!QZToolViewController::initWithGLInstance(glInstance)) return false;
    currentlyProcessing_ = false;
    return true;
}

QZSliderViewController::ProcessorFactory QZSliderViewController::processorClass() const
{
    return [] { return QZProcessor::make(); };
}

const std::shared_ptr<QZProcessor>& QZSliderViewController::processor()
{
    if (!processor_) processor_ = processorClass()();
    return processor_;
}

std::shared_ptr<QZView> QZSliderViewController::makeSliderContainer(CGRect frame, std::shared_ptr<QZSlider>& slider)
{
    auto container = UIView::viewWithFrame<QZView>(frame);
    container->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    const CGRect bounds = container->bounds();
    const CGFloat height = bounds.size.height;
    container->addSubview(
        endImageView("minus.png", CGRectMake(0, 0, kEndImageWidth, height), UIViewAutoresizingFlexibleRightMargin));
    container->addSubview(endImageView("plus.png",
                                       CGRectMake(CGRectGetMaxX(bounds) - kEndImageWidth, 0, kEndImageWidth, height),
                                       UIViewAutoresizingFlexibleLeftMargin));

    slider = UIView::viewWithFrame<QZSlider>(
        UIEdgeInsetsInsetRect(bounds, UIEdgeInsetsMake(kSliderVerticalInset, 0, kSliderVerticalInset, 0)));
    slider->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    slider->setMaximumValue(kSliderRange);
    slider->setMinimumValue(-kSliderRange);
    slider->addTarget(self<QZSliderViewController>(), &QZSliderViewController::sliderChanged,
                      UIControlEventValueChanged);
    container->addSubview(slider);
    return container;
}

void QZSliderViewController::loadView()
{
    QZToolViewController::loadView();
    const std::shared_ptr<UIView>& view = this->view();
    sliderContainerView_ = makeSliderContainer(
        UIEdgeInsetsInsetRect(view->bounds(), UIEdgeInsetsMake(0, kContainerSideInset, 0, kContainerSideInset)),
        slider_);
    view->addSubview(sliderContainerView_);
}

void QZSliderViewController::viewDidLoad()
{
    QZToolViewController::viewDidLoad();
    if (auto canvas = scrollableImageView()) canvas->setAllowsScaleUp(true);
}

void QZSliderViewController::viewWillDisappear(bool animated)
{
    QZToolViewController::viewWillDisappear(animated);
    if (highResolutionServer()) highResolutionServer()->cancelProcessing();
    if (lowResolutionServer()) lowResolutionServer()->cancelProcessing();
    if (auto canvas = scrollableImageView()) {
        canvas->setAllowsScaleUp(false);
        canvas->zoomOutAnimated(true);
    }
}

void QZSliderViewController::sliderChanged(QZSlider* slider)
{
    if (slider) handleUpdatedValue(slider->value());
}

void QZSliderViewController::handleUpdatedValue(float value)
{
    if (applyType() != 0) return;
    displayedValue_ = value;
    renderModuleWithValue(value);
}

void QZSliderViewController::renderModuleWithValue(float value)
{
    if (currentlyProcessing_) {
        requiresFurtherRender_ = true;
        return;
    }
    currentlyProcessing_ = true;
    setReadyToApply(false);
    adjustProcessorWithValue(value);

    std::weak_ptr<QZSliderViewController> weak = weakSelf<QZSliderViewController>();
    dispatch_block_t rendered = [weak] {
        auto screen = weak.lock();
        if (!screen) return;
        screen->currentlyProcessing_ = false;
        if (screen->requiresFurtherRender_) {
            screen->requiresFurtherRender_ = false;
            screen->renderModuleWithValue(screen->displayedValue_);
        } else {
            screen->setReadyToApply(true);
        }
    };
    const std::shared_ptr<QZImageServer>& server = highResolutionServer();
    if (!server) {
        // Nothing to render on (no view yet): the value is in the processor all the same.
        dispatch_async(dispatch_get_main_queue(), std::move(rendered));
        return;
    }
    server->runProcessor(processor());
    std::weak_ptr<QZOpenGLInstance> gl = glInstance();
    server->runBlock([gl, rendered = std::move(rendered)] {
        if (auto instance = gl.lock()) instance->presentRenderbufferFromGLQueue();
        dispatch_async(dispatch_get_main_queue(), rendered);
    });
}

void QZSliderViewController::applyButtonPressed()
{
    if (!isReadyToApply() && applyType() == 0 && !wasBackButtonPressed() && !successfullyApplied())
        renderModuleWithValue(displayedValue_);
    QZToolViewController::applyButtonPressed();
}

std::shared_ptr<QZModule> QZSliderViewController::outputModule()
{
    // The processor itself, not the screen: the session replays the module after the screen is gone.
    std::shared_ptr<QZProcessor> processor = this->processor();
    return QZBlockModule::moduleWithBlock([processor](QZProcessorList& processors) {
        if (processor) processors.push_back(processor);
    });
}
