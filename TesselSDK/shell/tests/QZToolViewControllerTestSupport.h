#pragma once
// A tool screen set up as the root screen sets one up: made as the registry makes it, shown in a
// window over a canvas and below the editor's bar, driven by taps on its buttons and on alert
// buttons; its delegate records the statuses and the analytics go to the recording session.

#include "QZShellTestSupport.h"

#include "TesselSDKFoundation/tests/QZTestMetricsSession.h"
#include "TesselSDK/shell/QZNavigationBar.h"
#include "TesselSDK/shell/QZQuickLaunchTitleView.h"
#include "TesselSDK/shell/QZToolViewController.h"

#include "UIKit/UIAlertView.h"

#include <string>
#include <vector>

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

    // Made, set up and placed as the root screen does; not yet told it appears.
    template <class T = TestTool>
    std::shared_ptr<T> place(bool quickLaunch, const std::shared_ptr<QZOpenGLInstance>& gl = nullptr)
    {
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 64, 320, 316));
        window_->addSubview(canvas_);
        bar_ = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, 320, 44));
        window_->addSubview(bar_);
        auto tool = QZToolViewController::makeWithGLInstance<T>(gl, Value(), quickLaunch);
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
        return tool;
    }
    // Placed, then shown, its appearance animations over.
    std::shared_ptr<TestTool> present(bool quickLaunch, bool prompts = false,
                                      const std::shared_ptr<QZOpenGLInstance>& gl = nullptr)
    {
        auto tool = place(quickLaunch, gl);
        tool->prompts = prompts;
        tool->viewWillAppear(false);
        tool->viewDidAppear(false);
        driver_.advance(1.4);
        return tool;
    }
    void takeDown(QZToolViewController& tool)
    {
        canvas_->removeFromSuperview();
        bar_->removeFromSuperview();
        tool.view()->removeFromSuperview();
        tool.scrollableOverlayView()->removeFromSuperview();
        tool.staticOverlayView()->removeFromSuperview();
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
