// The tool screen base driven as a person would: taps on Apply, back, Edit and alert buttons of a
// tool shown over a canvas and below the editor's bar, with the statuses its delegate hears, the
// analytics it reports, the HUD on the virtual clock and the render time.
#include "QZShellTestSupport.h"

#include "TesselSDK/remote/tests/QZTestMetricsSession.h"
#include "TesselSDK/shell/QZNavigationBar.h"
#include "TesselSDK/shell/QZQuickLaunchTitleView.h"
#include "TesselSDK/shell/QZToolViewController.h"

#include "Foundation/NSLogCapture.h"
#include "UIKit/UIAlertView.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class TestTool : public QZToolViewController {
public:
    using QZToolViewController::QZToolViewController;
    bool prompts = false;
    bool editButttonShouldPrompt() const override { return prompts; }
    std::string editButtonConfirmationPrompt() const override { return "Leave the quick edit?"; }
};

struct RecordingDelegate : QZToolViewControllerDelegate {
    std::vector<QZToolViewControllerStatus> statuses;
    std::shared_ptr<QZTestMetricsSession> analytics;
    std::vector<std::size_t> eventsAtCall;  // how many events were recorded when each status came
    void toolControllerFinishedWithStatus(QZToolViewController*, QZToolViewControllerStatus status) override
    {
        statuses.push_back(status);
        eventsAtCall.push_back(analytics->events.size());
    }
};

class QZToolViewControllerTest : public QZShellTest {
public:
    void SetUp() override
    {
        QZShellTest::SetUp();
        QZTestMetricsSession::registerClass(analytics_);
        delegate_->analytics = analytics_;
    }
    void TearDown() override
    {
        QZTestMetricsSession::unregisterClass();
        QZShellTest::TearDown();
    }

    // Made and set up as the root screen does, then shown.
    std::shared_ptr<TestTool> present(bool quickLaunch, bool prompts = false)
    {
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 64, 320, 316));
        window_->addSubview(canvas_);
        bar_ = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, 320, 44));
        window_->addSubview(bar_);
        auto tool = QZToolViewController::makeWithGLInstance<TestTool>(nullptr, Value(), quickLaunch);
        tool->prompts = prompts;
        tool->setBordersEnabled(true);
        tool->setNavigationBar(bar_);
        tool->setDelegate(delegate_);
        tool->setTargetViewHeight(100);
        tool->setAnalyticsKey("k");
        tool->setScrollableImageView(canvas_);
        tool->setTitle("Tool");
        tool->setOverlayRect(canvas_->frame());
        const auto& view = tool->view();
        view->setFrame(CGRectMake(0, 380, 320, view->frame().size.height));
        window_->addSubview(view);
        window_->addSubview(tool->scrollableOverlayView());
        window_->addSubview(tool->staticOverlayView());
        bar_->pushNavigationItem(tool->navigationItem(), false);
        tool->viewWillAppear(false);
        tool->viewDidAppear(false);
        driver_.advance(1.4);
        return tool;
    }
    void tapApply(QZToolViewController& tool) { driver_.tap(*tool.applyButton()->customView()); }
    void tapBack(QZToolViewController& tool) { driver_.tap(*tool.backButton()->customView()); }
    void tapEdit(QZToolViewController& tool)
    {
        driver_.tap(*tool.customNavigationItem()->quickLaunchTitle()->editButton());
        driver_.advance(0.3);
    }
    void tapAlertButton(const std::string& title)
    {
        auto alert = UIAlertView::visibleAlert();
        ASSERT_NE(alert, nullptr);
        driver_.tap(*alert->buttonWithTitle(title));
        driver_.advance(0.5);
    }
    std::vector<std::string> eventNames() const
    {
        std::vector<std::string> names;
        for (const auto& [name, attributes] : analytics_->events) names.push_back(name);
        return names;
    }

    std::shared_ptr<QZTestMetricsSession> analytics_ = NSObject::create<QZTestMetricsSession>();
    std::shared_ptr<RecordingDelegate> delegate_ = std::make_shared<RecordingDelegate>();
    std::shared_ptr<QZScrollingImageView> canvas_;
    std::shared_ptr<QZNavigationBar> bar_;
};

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
        if (!c.statuses.empty()) EXPECT_EQ(delegate_->eventsAtCall, std::vector<std::size_t>{1});
        EXPECT_EQ(tool->progressHUDView()->superview(), nullptr) << "the HUD is still shown";
        EXPECT_TRUE(canvas_->isUserInteractionEnabled() || c.statuses.empty());
        canvas_->removeFromSuperview();
        bar_->removeFromSuperview();
        tool->view()->removeFromSuperview();
        tool->scrollableOverlayView()->removeFromSuperview();
        tool->staticOverlayView()->removeFromSuperview();
    }
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
