// The tool screen base driven as a person would: taps on Apply, back, Edit and alert buttons of a
// tool shown over a canvas and below the editor's bar, with the statuses its delegate hears, the
// analytics it reports, the HUD on the virtual clock and the render time.
#include "QZToolViewControllerTestSupport.h"

#include "Foundation/NSLogCapture.h"

#include <functional>
#include <string>
#include <vector>

namespace {

TEST_F(QZToolViewControllerTest, EachToolSendsOneStatusWhateverComesAfter)
{
    using Steps = std::function<void(QZToolViewControllerTest&, TestTool&)>;
    struct Case {
        const char* name;
        bool quickLaunch;
        bool prompts;
        Steps steps;
        std::vector<QZToolViewControllerStatus> statuses;
        const char* event;  // the last event after "k: opened", or none
    };
    const Case cases[] = {
        {"Apply, ready", false, false, [](auto& t, TestTool& tool) { t.tapApply(tool); }, {0}, "k: applied"},
        {"Apply, not ready, then ready twice",
         false,
         false,
         [](auto& t, TestTool& tool) {
             tool.setReadyToApply(false);
             t.tapApply(tool);
             EXPECT_TRUE(t.delegate_->statuses.empty());
             EXPECT_TRUE(tool.progressHUDView()->isVisible());
             EXPECT_EQ(tool.progressHUDView()->superview(), tool.staticOverlayView());
             tool.setReadyToApply(true);
             tool.setReadyToApply(true);
         },
         {0},
         "k: applied"},
        {"Apply not ready, Back, then ready",
         false,
         false,
         [](auto& t, TestTool& tool) {
             tool.setReadyToApply(false);
             t.tapApply(tool);
             t.tapBack(tool);
             tool.setReadyToApply(true);
         },
         {1},
         "k: cancelled"},
        {"Apply not ready, Back, then a queued finish",
         false,
         false,
         [](auto& t, TestTool& tool) {
             tool.setReadyToApply(false);
             t.tapApply(tool);
             t.tapBack(tool);
             tool.finishApplying();
             tool.updateUIAndNotifyDelegateOfFinish();
         },
         {1},
         "k: cancelled"},
        {"Apply, then Back",
         false,
         false,
         [](auto& t, TestTool& tool) {
             t.tapApply(tool);
             t.tapBack(tool);
         },
         {0},
         "k: applied"},
        {"quick launch Apply", true, false, [](auto& t, TestTool& tool) { t.tapApply(tool); }, {2}, "k: applied"},
        {"quick launch Back", true, false, [](auto& t, TestTool& tool) { t.tapBack(tool); }, {4}, "k: cancelled"},
        {"quick launch Edit", true, false, [](auto& t, TestTool& tool) { t.tapEdit(tool); }, {3}, "k: applied"},
        {"quick launch Edit, prompting, Cancel",
         true,
         true,
         [](auto& t, TestTool& tool) {
             t.tapEdit(tool);
             t.tapAlertButton("Cancel");
         },
         {},
         nullptr},
        {"quick launch Edit, prompting, OK",
         true,
         true,
         [](auto& t, TestTool& tool) {
             t.tapEdit(tool);
             auto alert = UIAlertView::visibleAlert();
             ASSERT_NE(alert, nullptr);
             EXPECT_EQ(alert->title(), "Edit this Photo");
             EXPECT_EQ(alert->message(), "Leave the quick edit?");
             t.tapAlertButton("OK");
         },
         {3},
         "k: applied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        delegate_->statuses.clear();
        delegate_->eventsAtCall.clear();
        analytics_->events.clear();
        auto tool = present(c.quickLaunch, c.prompts);
        c.steps(*this, *tool);
        driver_.advance(1);
        EXPECT_EQ(delegate_->statuses, c.statuses);
        std::vector<std::string> expected{"k: opened"};
        if (c.event) expected.push_back(c.event);
        EXPECT_EQ(eventNames(), expected);
        // The delegate acts before the event is recorded.
        if (!c.statuses.empty()) {
            EXPECT_EQ(delegate_->eventsAtCall, std::vector<std::size_t>{1});
        }
        EXPECT_EQ(tool->progressHUDView()->superview(), nullptr) << "the HUD is still shown";
        EXPECT_TRUE(canvas_->isUserInteractionEnabled() || c.statuses.empty());
        takeDown(*tool);
    }
}

// The canvas takes the tool's transform over 0.3 s as the tool appears, and gives it back as the
// tool leaves unless an applied tool restores the canvas itself.
TEST_F(QZToolViewControllerTest, TheCanvasTakesTheToolsTransformWhileItIsShown)
{
    struct HalvingTool : TestTool {
        using TestTool::TestTool;
        bool staticImage = true;
        bool usesStaticImageView() const override { return staticImage; }
        CGAffineTransform imageViewTransform() const override { return CGAffineTransformMakeScale(0.5f, 0.5f); }
    };
    struct Case {
        const char* name;
        bool staticImage;
        bool applied;          // left by Apply, else by Back
        bool handlesResizing;  // willHandleImageViewResizing
        CGFloat scaleAfterLeaving;
    };
    const Case cases[] = {
        {"Back", true, false, false, 1},
        {"Apply", true, true, false, 1},
        {"Apply, the tool restores the canvas", true, true, true, 0.5f},
        {"Back, the tool would restore the canvas", true, false, true, 1},
        {"no static image view", false, false, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto tool = place<HalvingTool>(false);
        tool->staticImage = c.staticImage;
        tool->setWillHandleImageViewResizing(c.handlesResizing);
        tool->staticOverlayView()->setUserInteractionEnabled(false);
        const CGFloat shown = c.staticImage ? 0.5f : 1;
        auto drawnScale = [&] { return canvas_->layer()->presentationLayer()->affineTransform().a; };

        tool->viewWillAppear(false);
        driver_.advance(0.15);
        EXPECT_EQ(canvas_->transform().a, shown);
        if (c.staticImage) {
            EXPECT_GT(drawnScale(), 0.5f);
            EXPECT_LT(drawnScale(), 1);
        }
        driver_.advance(0.2);
        EXPECT_EQ(drawnScale(), shown);
        EXPECT_EQ(tool->staticOverlayView()->isUserInteractionEnabled(), c.staticImage);
        tool->viewDidAppear(false);

        if (c.applied)
            tapApply(*tool);
        else
            tapBack(*tool);
        tool->viewWillDisappear(false);
        driver_.advance(0.15);
        if (c.staticImage && c.scaleAfterLeaving != shown) {
            EXPECT_GT(drawnScale(), 0.5f);
            EXPECT_LT(drawnScale(), 1);
        }
        driver_.advance(0.2);
        EXPECT_EQ(canvas_->transform().a, c.scaleAfterLeaving);
        EXPECT_EQ(drawnScale(), c.scaleAfterLeaving);
        EXPECT_FALSE(tool->staticOverlayView()->isUserInteractionEnabled());
        takeDown(*tool);
    }
}

TEST_F(QZToolViewControllerTest, ShowingTheOriginalIsReportedUnderItsOwnName)
{
    auto tool = present(false);
    analytics_->events.clear();
    tool->showOriginal();
    tool->showCurrent();
    ASSERT_EQ(analytics_->events.size(), 1u);
    EXPECT_EQ(analytics_->events[0].first, "tool prepost: pressed");
    EXPECT_EQ(analytics_->events[0].second["tool"], Value("k"));
}

TEST_F(QZToolViewControllerTest, TheHUDHidesAfterItsTimeFromTheLastShow)
{
    auto tool = present(false);
    auto hud = UIView::viewWithFrame<QZHUDView>(CGRectMake(0, 0, 10, 10));
    tool->displayHUDView(hud, true);
    EXPECT_EQ(hud->superview(), tool->staticOverlayView());
    driver_.advance(0.5);                               // the show animation ends
    EXPECT_FLOAT_EQ(CGRectGetMidX(hud->frame()), 160);  // centred in the 320 x 316 overlay
    EXPECT_FLOAT_EQ(CGRectGetMidY(hud->frame()), 158);
    driver_.advance(0.65);
    EXPECT_TRUE(hud->isVisible());
    driver_.advance(0.1);
    EXPECT_FALSE(hud->isVisible());

    auto again = UIView::viewWithFrame<QZHUDView>(CGRectMake(0, 0, 10, 10));
    tool->displayHUDView(again, true);
    driver_.advance(1.0);
    tool->displayHUDView(again, true);
    driver_.advance(1.1);
    EXPECT_TRUE(again->isVisible());
    driver_.advance(0.15);
    EXPECT_FALSE(again->isVisible());
}

TEST_F(QZToolViewControllerTest, RenderTimeComesFromTheStampsAndGivenAttributesWin)
{
    NSLogCapture log;
    auto tool = present(false);
    EXPECT_EQ(tool->renderTime(), 0);
    tool->setRenderStartDate();
    EXPECT_EQ(tool->renderTime(), 0);  // one stamp only
    driver_.advance(2.4);
    tool->setRenderEndDate();
    EXPECT_EQ(tool->renderTime(), 2);
    analytics_->events.clear();
    tool->reportApplied();
    tool->reportApplied(Value::dictionary({{"renderTime", "given"}, {"extra", "1"}}));
    ASSERT_EQ(analytics_->events.size(), 2u);
    EXPECT_EQ(analytics_->events[0].second["renderTime"], Value("2"));
    EXPECT_EQ(analytics_->events[1].second["renderTime"], Value("given"));
    EXPECT_EQ(analytics_->events[1].second["extra"], Value("1"));

    auto unstamped = present(false);
    analytics_->events.clear();
    unstamped->reportApplied();
    ASSERT_EQ(analytics_->events.size(), 1u);
    EXPECT_TRUE(analytics_->events[0].second["renderTime"].isNil());

    unstamped->setApplyType(0);
    EXPECT_TRUE(log.contains("-[QZToolViewController setApplyType:] Don't unset this property!"));
}

TEST_F(QZToolViewControllerTest, OptionsAreReadUnderTheToolsPathAndZoomLocksTheCanvas)
{
    struct CropTool : QZToolViewController {
        using QZToolViewController::QZToolViewController;
        std::string customizationKeyPath() const override
        {
            return QZToolViewController::customizationKeyPath() + ".crop";
        }
    };
    QZPhotoEditorCustomization::setOptionValue(Value(44), "editor.tool.crop.cellWidth");
    auto crop = QZToolViewController::makeWithGLInstance<CropTool>(nullptr, Value(), false);
    EXPECT_EQ(crop->customizationOptionForKey("cellWidth"), Value(44));
    {
        // Every tool reads these colours under its own path: valid names there, though unset.
        NSLogCapture log;
        EXPECT_TRUE(crop->customizationAccentColor().isNil());
        EXPECT_TRUE(crop->customizationBackgroundColor().isNil());
        EXPECT_TRUE(log.lines().empty()) << log.lines().front();
    }

    auto tool = present(false);
    tool->setZoomEnabled(false);
    EXPECT_TRUE(canvas_->isPositionLocked());
    EXPECT_TRUE(tool->scrollableOverlayView()->isUserInteractionEnabled());
    tool->setZoomEnabled(true);
    EXPECT_FALSE(canvas_->isPositionLocked());
    EXPECT_FALSE(tool->scrollableOverlayView()->isUserInteractionEnabled());
    EXPECT_EQ(tool->view()->frame().size.height, 100);
    EXPECT_TRUE(CGRectEqualToRect(tool->staticOverlayView()->frame(), canvas_->frame()));
}

}  // namespace
