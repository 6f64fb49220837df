// The slider screens' previews on a real GL context, driven by drags of the knob with the GL queue
// held: at most one render in flight, later values collapsing into the newest, and an Apply that
// waits for the render that shows what it records.
#include "QZToolScreenTestSupport.h"

#include "TesselSDK/tools/QZAdjustViewController.h"
#include "TesselSDK/tools/QZSliderViewController.h"

#include "TesselSDKImaging/Processors/QZSharpnessProcessor.h"

#include <memory>
#include <mutex>

namespace {

// A sharpness processor that notes the value of every block it hands out, that is of every render.
class RecordingProcessor : public QZSharpnessProcessor {
public:
    using QZSharpnessProcessor::QZSharpnessProcessor;
    static std::shared_ptr<RecordingProcessor> make()
    {
        return NSObject::create<RecordingProcessor>(&RecordingProcessor::init);
    }
    QZQopBitmapBlock qopBitmapBlock() const override
    {
        rendered->push_back(inputSharpness());
        return QZSharpnessProcessor::qopBitmapBlock();
    }
    std::shared_ptr<std::vector<float>> rendered = std::make_shared<std::vector<float>>();
};

class RecordingSliderTool : public QZSliderViewController {
public:
    using QZSliderViewController::QZSliderViewController;
    ProcessorFactory processorClass() const override
    {
        return []() -> std::shared_ptr<QZProcessor> { return RecordingProcessor::make(); };
    }
    void adjustProcessorWithValue(float value) override { recorder().setInputSharpness(value); }
    RecordingProcessor& recorder() { return static_cast<RecordingProcessor&>(*processor()); }
};

class QZSliderViewControllerGLTest : public QZToolScreenTest {
protected:
    void SetUp() override
    {
        QZToolScreenTest::SetUp();
        if (!loadPhoto(qz_test::texturedPhoto(64, 48))) GTEST_SKIP() << "no GL context";
    }
    static constexpr CGFloat kSharpnessKnobY = 50;
    static constexpr CGFloat kAdjustKnobY = 30;
};

TEST_F(QZSliderViewControllerGLTest, ValuesDuringARenderCollapseIntoOneMoreRenderOfTheNewest)
{
    struct Case {
        const char* name;
        bool applyDuringFirstRender;
    };
    for (const Case c : {Case{"drag only", false}, Case{"Apply during the first render", true}}) {
        SCOPED_TRACE(c.name);
        statuses_->statuses.clear();
        auto tool = present<RecordingSliderTool>("test", "Test");
        const auto rendered = tool->recorder().rendered;

        gl_->pauseRendering();
        dragKnob(kSharpnessKnobY, 110);  // twelve moves, the last past the track's end
        const float last = tool->slider()->value();
        EXPECT_FLOAT_EQ(last, 100);
        ASSERT_EQ(rendered->size(), 1u);
        EXPECT_LT(rendered->front(), last);
        EXPECT_TRUE(tool->requiresFurtherRender());
        EXPECT_FALSE(tool->isReadyToApply());
        if (c.applyDuringFirstRender) {
            tapApply(*tool);
            EXPECT_TRUE(tool->progressHUDView()->isVisible());
            EXPECT_EQ(tool->progressHUDView()->superview(), tool->staticOverlayView());
        }
        qz_test::Deliveries::settle();
        EXPECT_EQ(rendered->size(), 1u) << "a render ran while the GL queue was held";
        EXPECT_TRUE(statuses_->statuses.empty());

        gl_->resumeRendering();
        ASSERT_TRUE(pumpUntil([&] { return tool->isReadyToApply(); }));
        qz_test::Deliveries::settle();
        EXPECT_EQ(*rendered, (std::vector<float>{rendered->front(), last}));
        EXPECT_FALSE(tool->isCurrentlyProcessing());

        if (c.applyDuringFirstRender) {
            EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied});
            driver_.advance(0.5);
            EXPECT_FALSE(tool->progressHUDView()->isVisible());
            // A drag after Apply renders nothing and changes nothing.
            dragKnob(kSharpnessKnobY, -50);
            qz_test::Deliveries::settle();
            EXPECT_EQ(rendered->size(), 2u);
            QZProcessorList processors;
            tool->outputModule()->createProcessors(processors);
            ASSERT_EQ(processors.size(), 1u);
            auto sharpness = std::dynamic_pointer_cast<QZSharpnessProcessor>(processors[0]);
            ASSERT_NE(sharpness, nullptr);
            EXPECT_FLOAT_EQ(sharpness->inputSharpness(), last);
        }
        tool->view()->removeFromSuperview();
        tool->staticOverlayView()->removeFromSuperview();
        tool->scrollableOverlayView()->removeFromSuperview();
        canvas_->removeFromSuperview();
        bar_->removeFromSuperview();
    }
}

TEST_F(QZSliderViewControllerGLTest, AdjustKeepsTheNewestValueOfTheSubToolLeftDuringARender)
{
    auto tool = present<QZAdjustViewController>("adjustments", "Adjust");
    auto processor = std::dynamic_pointer_cast<QZAdjustProcessor>(tool->processor());
    ASSERT_NE(processor, nullptr);

    gl_->pauseRendering();
    dragKnob(kAdjustKnobY, 60);
    const float brightness = tool->slider()->value();
    EXPECT_NEAR(brightness, 60, 1);
    driver_.tap(toolPoint(1.5f * kWidth / 4, 79.5f));  // contrast
    driver_.advance(0.3);
    ASSERT_EQ(tool->selectedTool(), tool->toolWrappers()[1]);
    gl_->resumeRendering();
    ASSERT_TRUE(pumpUntil([&] { return tool->isReadyToApply(); }));
    qz_test::Deliveries::settle();

    EXPECT_FLOAT_EQ(processor->brightnessValue(), brightness);
    EXPECT_FLOAT_EQ(processor->contrastValue(), 0);
    EXPECT_FLOAT_EQ(tool->slider()->value(), 0);
    EXPECT_FLOAT_EQ(tool->toolWrappers()[0]->value(), brightness);
    EXPECT_FLOAT_EQ(tool->toolWrappers()[1]->value(), 0);

    // The same through an Apply tapped while the render is held.
    gl_->pauseRendering();
    dragKnob(kAdjustKnobY, -40);
    const float contrast = tool->slider()->value();
    driver_.tap(toolPoint(2.5f * kWidth / 4, 79.5f));  // warmth
    driver_.advance(0.3);
    tapApply(*tool);
    gl_->resumeRendering();
    ASSERT_TRUE(pumpUntil([&] { return !statuses_->statuses.empty(); }));
    QZProcessorList processors;
    tool->outputModule()->createProcessors(processors);
    ASSERT_EQ(processors.size(), 1u);
    auto recorded = std::dynamic_pointer_cast<QZAdjustProcessor>(processors[0]);
    ASSERT_NE(recorded, nullptr);
    EXPECT_FLOAT_EQ(recorded->brightnessValue(), brightness);
    EXPECT_FLOAT_EQ(recorded->contrastValue(), contrast);
    EXPECT_FLOAT_EQ(recorded->warmthValue(), 0);
    EXPECT_FLOAT_EQ(recorded->saturationValue(), 0);
    const Value* applied = event("adjustments: applied");
    ASSERT_NE(applied, nullptr);
    EXPECT_EQ((*applied)["brightness"], Value(true));
    EXPECT_EQ((*applied)["contrast"], Value(true));
    EXPECT_EQ((*applied)["warmth"], Value(false));
}

}  // namespace
