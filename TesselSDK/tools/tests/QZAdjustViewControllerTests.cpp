// The slider screens without a GL instance (previews go to a CPU server), driven by taps and drags:
// Apply with nothing changed, the adjust tool's switching, its strip parked off screen, and its
// name box on the virtual clock.
#include "QZToolScreenTestSupport.h"

#include "TesselSDK/tools/QZAdjustViewController.h"
#include "TesselSDK/tools/QZSharpnessViewController.h"

#include "Foundation/NSLogCapture.h"
#include "QuartzCore/CALayer.h"

#include <cmath>
#include <functional>

namespace {

constexpr CGFloat kAdjustKnobY = 30;
constexpr CGFloat kButtonY = 79.5f;

class QZAdjustViewControllerTest : public QZToolScreenTest {
protected:
    std::shared_ptr<QZAdjustViewController> presentAdjust()
    {
        return present<QZAdjustViewController>("adjustments", "Adjust");
    }
    void tapButton(int index) { driver_.tap(toolPoint((CGFloat(index) + 0.5f) * kWidth / 4, kButtonY)); }
    // Drags the selected sub-tool's knob and waits for its preview.
    void setValue(QZAdjustViewController& tool, float value)
    {
        dragKnob(kAdjustKnobY, value);
        ASSERT_TRUE(pumpUntil([&] { return tool.isReadyToApply(); }));
    }
    static float shownAlpha(const UIView& view) { return view.layer()->presentationLayer()->opacity(); }
    static std::vector<float> processorValues(const std::shared_ptr<QZModule>& module)
    {
        QZProcessorList processors;
        module->createProcessors(processors);
        if (processors.size() != 1) return {};
        auto adjust = std::dynamic_pointer_cast<QZAdjustProcessor>(processors[0]);
        if (!adjust) return {};
        return {adjust->brightnessValue(), adjust->contrastValue(), adjust->warmthValue(), adjust->saturationValue()};
    }
};

TEST_F(QZAdjustViewControllerTest, ApplyWithNothingChangedFinishesAtOnceWithTheNeutralProcessor)
{
    {
        auto tool = present<QZSharpnessViewController>("sharpness", "Sharpness");
        tapApply(*tool);
        EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied});
        EXPECT_EQ(tool->progressHUDView()->superview(), nullptr);
        QZProcessorList processors;
        tool->outputModule()->createProcessors(processors);
        ASSERT_EQ(processors.size(), 1u);
        auto sharpness = std::dynamic_pointer_cast<QZSharpnessProcessor>(processors[0]);
        ASSERT_NE(sharpness, nullptr);
        EXPECT_EQ(sharpness->inputSharpness(), 0);
        EXPECT_EQ(analytics_->calls.back(), "tagScreen: Sharpness");
    }
    statuses_->statuses.clear();
    analytics_->events.clear();
    auto tool = presentAdjust();
    tapApply(*tool);
    EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied});
    EXPECT_EQ(tool->progressHUDView()->superview(), nullptr);
    EXPECT_EQ(processorValues(tool->outputModule()), (std::vector<float>{0, 0, 0, 0}));
    const Value* applied = event("adjustments: applied");
    ASSERT_NE(applied, nullptr);
    for (const char* key : {"brightness", "contrast", "warmth", "saturation"}) EXPECT_EQ((*applied)[key], Value(false));
}

TEST_F(QZAdjustViewControllerTest, SwitchingSlidesTheStripsAndKeepsEachValue)
{
    auto tool = presentAdjust();
    const CGRect onScreen = tool->sliderContainerView()->frame();
    const CGFloat w = onScreen.size.width;
    EXPECT_FLOAT_EQ(onScreen.origin.y, -20);
    EXPECT_FLOAT_EQ(w, kWidth - 6);
    EXPECT_FLOAT_EQ(tool->offscreenSliderContainerView()->frame().origin.x,
                    onScreen.origin.x + QZAdjustViewController::kOffscreenDistance);

    struct Case {
        int from, to;
        CGFloat enteringSide;  // +1 from the right, -1 from the left
    };
    for (const Case c : {Case{0, 3, 1}, Case{3, 1, -1}, Case{1, 2, 1}, Case{2, 0, -1}}) {
        SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
        ASSERT_EQ(tool->selectedTool(), tool->toolWrappers()[c.from]);
        auto outgoing = tool->sliderContainerView();
        auto incoming = tool->offscreenSliderContainerView();
        tapButton(c.to);
        ASSERT_EQ(tool->selectedTool(), tool->toolWrappers()[c.to]);
        EXPECT_TRUE(tool->toolWrappers()[c.to]->button()->isSelected());
        EXPECT_FALSE(tool->toolWrappers()[c.from]->button()->isSelected());
        EXPECT_EQ(tool->sliderContainerView(), incoming);
        EXPECT_EQ(tool->offscreenSliderContainerView(), outgoing);
        // Where each starts and ends, a strip's width either side.
        EXPECT_NEAR(incoming->layer()->presentationLayer()->frame().origin.x, onScreen.origin.x + c.enteringSide * w,
                    3);
        EXPECT_FLOAT_EQ(outgoing->frame().origin.x, onScreen.origin.x - c.enteringSide * w);
        driver_.advance(0.25);
        EXPECT_TRUE(CGRectEqualToRect(incoming->frame(), onScreen));
        EXPECT_TRUE(CGRectEqualToRect(incoming->layer()->presentationLayer()->frame(), onScreen));
        EXPECT_FLOAT_EQ(outgoing->frame().origin.x, onScreen.origin.x + QZAdjustViewController::kOffscreenDistance);
    }

    // Tapping the selected sub-tool changes nothing.
    auto shown = tool->sliderContainerView();
    tapButton(0);
    driver_.advance(0.25);
    EXPECT_EQ(tool->selectedTool(), tool->toolWrappers()[0]);
    EXPECT_EQ(tool->sliderContainerView(), shown);

    // Brightness 40, then contrast shows 0 while the processor keeps 40; only warmth changed
    // would report warmth alone, so change warmth too and brightness back.
    setValue(*tool, 40);
    const float brightness = tool->slider()->value();
    EXPECT_NEAR(brightness, 40, 1);
    tapButton(1);
    driver_.advance(0.25);
    EXPECT_EQ(tool->slider()->value(), 0);
    auto processor = std::dynamic_pointer_cast<QZAdjustProcessor>(tool->processor());
    EXPECT_FLOAT_EQ(processor->brightnessValue(), brightness);
    tapButton(0);
    driver_.advance(0.25);
    EXPECT_FLOAT_EQ(tool->slider()->value(), brightness);
}

TEST_F(QZAdjustViewControllerTest, AppliedFlagsNameTheSubToolsThatChanged)
{
    auto tool = presentAdjust();
    tapButton(2);
    driver_.advance(0.25);
    setValue(*tool, -30);
    tapApply(*tool);
    ASSERT_EQ(statuses_->statuses.size(), 1u);
    const Value* applied = event("adjustments: applied");
    ASSERT_NE(applied, nullptr);
    EXPECT_TRUE((*applied)["renderTime"].isNil()) << "the slider screens stamp no render dates";
    EXPECT_EQ((*applied)["brightness"], Value(false));
    EXPECT_EQ((*applied)["contrast"], Value(false));
    EXPECT_EQ((*applied)["warmth"], Value(true));
    EXPECT_EQ((*applied)["saturation"], Value(false));
    const std::vector<float> values = processorValues(tool->outputModule());
    ASSERT_EQ(values.size(), 4u);
    EXPECT_NEAR(values[2], -30, 1);
}

TEST_F(QZAdjustViewControllerTest, TheParkedStripStaysFiniteAndOffScreenThroughSwitchesAndRotations)
{
    PlatformSettings::setScreenScale(2);
    auto tool = presentAdjust();
    const CGRect screen = window_->bounds();
    auto checkStrips = [&](const char* when) {
        SCOPED_TRACE(when);
        std::function<void(const UIView&)> check = [&](const UIView& view) {
            const CGRect rect = view.convertRectToView(view.bounds(), window_.get());
            EXPECT_TRUE(std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) &&
                        std::isfinite(rect.size.width) && std::isfinite(rect.size.height));
            EXPECT_NEAR(rect.size.width, view.bounds().size.width, 0.25);
            for (const auto& subview : view.subviews()) check(*subview);
        };
        check(*tool->sliderContainerView());
        check(*tool->offscreenSliderContainerView());
        const UIView& parked = *tool->offscreenSliderContainerView();
        EXPECT_FALSE(CGRectIntersectsRect(parked.convertRectToView(parked.bounds(), window_.get()), screen));
        EXPECT_GT(tool->offscreenSliderContainerView()->frame().size.width, 300);
    };
    checkStrips("loaded");
    tapButton(3);
    driver_.advance(0.3);
    checkStrips("brightness to saturation");
    tapButton(1);
    driver_.advance(0.3);
    checkStrips("saturation to contrast");
    for (int turn = 0; turn < 10; ++turn) {
        const bool landscape = turn % 2 == 0;
        const UIInterfaceOrientation orientation =
            landscape ? UIInterfaceOrientationLandscapeLeft : UIInterfaceOrientationPortrait;
        tool->willRotateToInterfaceOrientation(orientation, 0.3);
        tool->view()->setFrame(CGRectMake(0, kToolTop, landscape ? 480 : kWidth, 100));
        tool->willAnimateRotationToInterfaceOrientation(orientation, 0.3);
        tool->didRotateFromInterfaceOrientation(orientation);
        checkStrips(("turn " + std::to_string(turn)).c_str());
    }
    tool->view()->setFrame(CGRectMake(0, kToolTop, kWidth, 100));
    driver_.advance(0.1);

    // The parked strip adds nothing to the picture.
    auto with = UITestDriver::snapshot(*tool->view());
    auto parked = tool->offscreenSliderContainerView();
    parked->removeFromSuperview();
    auto without = UITestDriver::snapshot(*tool->view());
    tool->view()->addSubview(parked);
    ASSERT_NE(with, nullptr);
    ASSERT_NE(without, nullptr);
    EXPECT_EQ(qz_test::maxDifference(qz_test::pixelsOf(with), qz_test::pixelsOf(without)), 0);
}

TEST_F(QZAdjustViewControllerTest, TheNameBoxShowsAtEachSwitchAndHidesWhenTheSliderMoves)
{
    auto tool = presentAdjust();
    const auto& label = tool->toolLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->superview(), tool->staticOverlayView());
    EXPECT_TRUE(CGRectEqualToRect(label->frame(), CGRectMake(85, 133, 150, 50)));  // centred in 320 x 316
    EXPECT_EQ(label->title(), "Brightness");
    driver_.advance(1.0);
    EXPECT_EQ(shownAlpha(*label), 0);

    tapButton(3);
    EXPECT_EQ(label->title(), "Saturation");
    driver_.advance(0.25);
    EXPECT_FLOAT_EQ(shownAlpha(*label), 1);
    driver_.advance(0.7);  // 0.95 s
    EXPECT_FLOAT_EQ(shownAlpha(*label), 1);
    driver_.advance(0.15);  // fading
    EXPECT_GT(shownAlpha(*label), 0);
    EXPECT_LT(shownAlpha(*label), 1);
    driver_.advance(0.15);  // 1.25 s
    EXPECT_EQ(shownAlpha(*label), 0);

    tapButton(2);
    driver_.advance(0.3);
    EXPECT_EQ(label->title(), "Warmth");
    EXPECT_FLOAT_EQ(shownAlpha(*label), 1);
    dragKnob(kAdjustKnobY, 20, 6);
    EXPECT_LT(shownAlpha(*label), 1);
    driver_.advance(0.3);
    EXPECT_EQ(shownAlpha(*label), 0);
    driver_.advance(1.0);  // the fade-out the switch queued does not bring it back
    EXPECT_EQ(shownAlpha(*label), 0);

    NSLogCapture log;
    auto stranger = QZAdjustButton::make(CGRectMake(0, 0, 80, 41), "brightness", QZAdjustButtonTypeLeft);
    tool->processorButtonTapped(stranger.get());
    EXPECT_TRUE(log.contains("-[QZAdjustViewController processorButtonTapped:] couldnt find tool wrapper"));
    EXPECT_EQ(tool->selectedTool(), tool->toolWrappers()[2]);
}

}  // namespace
