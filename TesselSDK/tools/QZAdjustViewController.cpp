#include "TesselSDK/tools/QZAdjustViewController.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZLocalizedString.h"

#include "Foundation/NSLog.h"
#include "UIKit/UIGeometry.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* kProcessorKeys[] = {"brightness", "contrast", "warmth", "saturation"};
constexpr CGFloat kContainerSideInset = 3;
constexpr CGFloat kContainerLift = 20;
constexpr CGFloat kButtonRowHeight = 41;
constexpr double kSlideSeconds = 0.2;
constexpr CGFloat kToolLabelWidth = 150;
constexpr CGFloat kToolLabelHeight = 50;

}  // namespace

QZSliderViewController::ProcessorFactory QZAdjustViewController::processorClass() const
{
    return []() -> std::shared_ptr<QZProcessor> { return QZAdjustProcessor::make(); };
}

void QZAdjustViewController::loadView()
{
    QZSliderViewController::loadView();
    const std::shared_ptr<UIView>& view = this->view();
    const CGRect bounds = view->bounds();
    const CGRect onScreen =
        CGRectOffset(UIEdgeInsetsInsetRect(bounds, UIEdgeInsetsMake(0, kContainerSideInset, 0, kContainerSideInset)), 0,
                     -kContainerLift);
    sliderContainerView()->setFrame(onScreen);

    offscreenSliderContainerView_ =
        makeSliderContainer(CGRectOffset(onScreen, kOffscreenDistance, 0), offscreenSlider_);
    view->addSubview(offscreenSliderContainerView_);

    CGRect remainder = CGRectMake(0, bounds.size.height - kButtonRowHeight, bounds.size.width, kButtonRowHeight);
    const CGFloat buttonWidth = bounds.size.width / 4;
    const std::size_t count = std::size(kProcessorKeys);
    for (std::size_t i = 0; i < count; ++i) {
        CGRect slice;
        CGRectDivide(remainder, &slice, &remainder, buttonWidth, CGRectMinXEdge);
        const QZAdjustButtonType type =
            i == 0 ? QZAdjustButtonTypeLeft : (i == count - 1 ? QZAdjustButtonTypeRight : QZAdjustButtonTypeMiddle);
        auto button = QZAdjustButton::make(slice, kProcessorKeys[i], type);
        button->addTarget(self<QZAdjustViewController>(), &QZAdjustViewController::processorButtonTapped,
                          UIControlEventTouchUpInside);
        button->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleWidth |
                                    UIViewAutoresizingFlexibleRightMargin | UIViewAutoresizingFlexibleTopMargin);
        view->addSubview(button);
        toolWrappers_.push_back(QZAdjustToolWrapper::make(kProcessorKeys[i], button));
    }
    selectedTool_ = toolWrappers_.front();
    selectedTool_->setSelected(true);

    const std::shared_ptr<QZView>& overlay = staticOverlayView();
    toolLabel_ = UIView::viewWithFrame<QZAdjustToolLabel>(QZCGRectCenterInRect(
        CGRectMake(0, 0, kToolLabelWidth, kToolLabelHeight), overlay ? overlay->bounds() : CGRectZero));
    toolLabel_->setTitle(titleForProcessorKey(kProcessorKeys[0]));
    toolLabel_->setAutoresizingMask(QZUIViewAutoresizingFlexibleMargins);
    if (overlay) overlay->addSubview(toolLabel_);
    toolLabel_->setTemporarilyVisible();
}

void QZAdjustViewController::processorButtonTapped(QZAdjustButton* button)
{
    if (!button || !selectedTool_ || button == selectedTool_->button().get()) return;
    auto target = std::find_if(toolWrappers_.begin(), toolWrappers_.end(),
                               [button](const auto& wrapper) { return wrapper->button().get() == button; });
    if (target == toolWrappers_.end()) {
        NSLog("%s %@", "-[QZAdjustViewController processorButtonTapped:]", "couldnt find tool wrapper");
        return;
    }
    const auto from =
        NSUInteger(std::find(toolWrappers_.begin(), toolWrappers_.end(), selectedTool_) - toolWrappers_.begin());
    const auto to = NSUInteger(target - toolWrappers_.begin());

    // The newest value may still wait behind a render in flight: it belongs to the outgoing
    // sub-tool, never to the incoming one that a coalesced render or an Apply would give it.
    selectedTool_->setValue(displayedValue());
    setProcessorValue(selectedTool_->processorKey(), displayedValue());
    selectedTool_->setSelected(false);

    selectedTool_ = *target;
    selectedTool_->setSelected(true);
    setDisplayedValue(selectedTool_->value());
    swapSliderFromIndex(from, to);
    swapTitleFromIndex(from, to);

    slider()->setValue(selectedTool_->value());
    toolLabel_->setTitle(titleForProcessorKey(selectedTool_->processorKey()));
    toolLabel_->setTemporarilyVisible();
}

void QZAdjustViewController::swapSliderFromIndex(NSUInteger from, NSUInteger to)
{
    std::shared_ptr<QZView> outgoing = sliderContainerView();
    std::shared_ptr<QZView> incoming = offscreenSliderContainerView_;
    const CGRect onScreen = outgoing->frame();
    const CGFloat width = onScreen.size.width;
    const CGFloat side = from < to ? width : -width;
    const CGRect end = CGRectOffset(onScreen, -side, 0);
    incoming->setFrame(CGRectOffset(onScreen, side, 0));

    std::shared_ptr<QZSlider> outgoingSlider = slider();
    setSliderContainerView(incoming);
    setSlider(offscreenSlider_);
    offscreenSliderContainerView_ = outgoing;
    offscreenSlider_ = outgoingSlider;

    const unsigned slide = ++slideCount_;
    std::weak_ptr<QZAdjustViewController> weak = weakSelf<QZAdjustViewController>();
    UIView::animateWithDuration(
        kSlideSeconds,
        [incoming, outgoing, onScreen, end] {
            incoming->setFrame(onScreen);
            outgoing->setFrame(end);
        },
        [weak, slide, outgoing, onScreen](bool) {
            // K moved by a strip's width still shows its edge on a wider window: park it far away.
            auto screen = weak.lock();
            if (!screen || screen->slideCount_ != slide || screen->offscreenSliderContainerView_ != outgoing) return;
            outgoing->setFrame(CGRectOffset(onScreen, kOffscreenDistance, 0));
        });
}

void QZAdjustViewController::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation,
                                                                       double duration)
{
    QZSliderViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (!offscreenSliderContainerView_ || !isViewLoaded()) return;
    CGRect frame = offscreenSliderContainerView_->frame();
    const CGFloat maxX = CGRectGetMaxX(view()->frame());
    // Moved further off by the view's new width, but never past the parking distance: a position
    // that grows with every turn would end in a width lost to rounding, or infinity.
    if (frame.origin.x < 0)
        frame.origin.x = std::max(frame.origin.x - maxX, -kOffscreenDistance);
    else
        frame.origin.x = std::min(frame.origin.x + maxX, kOffscreenDistance);
    offscreenSliderContainerView_->setFrame(frame);
}

void QZAdjustViewController::swapTitleFromIndex(NSUInteger from, NSUInteger to)
{
    if (titleView_) {
        const QZAdjustTitleViewAnimationStyle style =
            !changedTitle_ ? QZAdjustTitleViewAnimationStyleTop
                           : (from < to ? QZAdjustTitleViewAnimationStyleRight : QZAdjustTitleViewAnimationStyleLeft);
        titleView_->setTitle(toolWrappers_[to]->processorKey(), style);
    }
    changedTitle_ = true;
}

void QZAdjustViewController::showToolName()
{
    if (changedTitle_) return;
    if (titleView_) titleView_->setTitle(kProcessorKeys[0], QZAdjustTitleViewAnimationStyleTop);
    changedTitle_ = true;
}

std::string QZAdjustViewController::titleForProcessorKey(const std::string& key)
{
    std::string title = key;
    if (!title.empty()) title[0] = char(std::toupper(static_cast<unsigned char>(title[0])));
    return QZLocalizedString(title);
}

void QZAdjustViewController::setProcessorValue(const std::string& key, float value)
{
    if (auto adjust = std::dynamic_pointer_cast<QZAdjustProcessor>(processor()))
        adjust->setValue(Value(value), key + "Value");
}

void QZAdjustViewController::adjustProcessorWithValue(float value)
{
    if (toolLabel_) toolLabel_->setInvisible();
    if (!selectedTool_) return;
    selectedTool_->setValue(value);
    setProcessorValue(selectedTool_->processorKey(), value);
}

void QZAdjustViewController::reportApplied()
{
    Value flags = Value::dictionary();
    for (const auto& wrapper : toolWrappers_) flags.setObject(Value(wrapper->value() != 0), wrapper->processorKey());
    QZSliderViewController::reportApplied(flags);
}
