#pragma once
// What the tool screens' suites share: a tool made and shown as the root screen shows it (over a
// canvas, below the editor's bar, in a key window on the virtual clock), optionally on a real GL
// instance holding a generated photo, with the analytics it reports recorded.

#include "TesselSDKFoundation/tests/QZTestMetricsSession.h"
#include "TesselSDK/shell/QZNavigationBar.h"
#include "TesselSDK/shell/QZScrollingImageView.h"
#include "TesselSDK/shell/QZToolViewController.h"
#include "TesselSDK/shell/tests/QZPhotoEditorReplaySupport.h"
#include "TesselSDK/shell/tests/QZShellTestSupport.h"

#include "TesselSDKImaging/QZOpenGLManager.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "Dispatch/DispatchRunLoop.h"
#include "GLES/EAGLContext.h"

#include <cmath>
#include <string>
#include <vector>

namespace qz_test {

// Each status the tool sends.
struct StatusRecorder : QZToolViewControllerDelegate {
    std::vector<QZToolViewControllerStatus> statuses;
    void toolControllerFinishedWithStatus(QZToolViewController*, QZToolViewControllerStatus status) override
    {
        statuses.push_back(status);
    }
};

// A textured photo: edges everywhere, so that sharpening and contrast show.
inline Pixels texturedPhoto(std::size_t width, std::size_t height)
{
    return makePixels(width, height, [&](std::size_t x, std::size_t y) {
        const bool check = ((x / 4) + (y / 4)) % 2 == 0;
        const auto base = std::uint8_t(60 + (x * 100 / width));
        return std::array<std::uint8_t, 4>{std::uint8_t(check ? base + 60 : base), std::uint8_t(check ? 150 : 90),
                                           std::uint8_t(40 + (y * 120 / height)), 255};
    });
}

}  // namespace qz_test

class QZToolScreenTest : public QZShellTest {
protected:
    static constexpr CGFloat kWidth = 320;
    static constexpr CGFloat kToolTop = 380;

    void SetUp() override
    {
        QZShellTest::SetUp();
        QZTestMetricsSession::registerClass(analytics_);
    }
    void TearDown() override
    {
        tool_.reset();
        if (gl_) {
            gl_->resumeRendering();
            gl_.reset();
            EXPECT_TRUE(qz_test::drainGPUQueue());
        }
        QZTestMetricsSession::unregisterClass();
        QZShellTest::TearDown();
    }

    // A GL instance holding `photo`; false (the test skips) where no GL context can be made.
    bool loadPhoto(const qz_test::Pixels& photo)
    {
        auto manager = QZOpenGLManager::sharedOpenGLManager();
        if (manager->setupFailed()) return false;
        photo_ = photo;
        const CGSize size = CGSizeMake(CGFloat(photo.width), CGFloat(photo.height));
        gl_ = QZOpenGLInstance::make(size, QopGLRenderingModeDefault, QZQueueTypeSDK);
        if (!gl_) return false;
        bool loaded = false;
        gl_->setInputImageData(reinterpret_cast<const std::uint8_t*>(photo_.rgba.data()), size, true,
                               [&] { loaded = true; });
        if (!qz_test::pumpUntil([&] { return loaded; })) return false;
        // As the root screen starts: the photo rendered unchanged, which an Apply with no preview
        // commits.
        bool shown = false;
        gl_->renderIdentityImageWithCompletion([&] { shown = true; });
        return qz_test::pumpUntil([&] { return shown; });
    }

    // Made and set up as the root screen does, then shown; the canvas shows what the GL instance
    // presents.
    template <class T>
    std::shared_ptr<T> present(const std::string& key, const std::string& title, bool quickLaunch = false)
    {
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 64, kWidth, 316));
        window_->addSubview(canvas_);
        if (gl_) {
            canvas_->setImageSize(gl_->currentImageSize());
            canvas_->showOpenGLView(true);
            canvas_->layoutIfNeeded();
            gl_->setRenderbufferFromOpenGLView(canvas_->openGLView());
        }
        bar_ = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, kWidth, 44));
        window_->addSubview(bar_);
        auto tool = QZToolViewController::makeWithGLInstance<T>(gl_, Value(), quickLaunch);
        tool->setBordersEnabled(false);
        tool->setNavigationBar(bar_);
        tool->setDelegate(statuses_);
        tool->setTargetViewHeight(100);
        tool->setAnalyticsKey(key);
        tool->setScrollableImageView(canvas_);
        tool->setTitle(title);
        tool->setOverlayRect(canvas_->frame());
        const auto& view = tool->view();
        view->setFrame(CGRectMake(0, kToolTop, kWidth, view->frame().size.height));
        window_->addSubview(view);
        window_->addSubview(tool->scrollableOverlayView());
        window_->addSubview(tool->staticOverlayView());
        bar_->pushNavigationItem(tool->navigationItem(), false);
        tool->viewWillAppear(false);
        tool->viewDidAppear(false);
        driver_.advance(0.4);
        tool_ = tool;
        return tool;
    }

    // A point of the tool view in window coordinates.
    static CGPoint toolPoint(CGFloat x, CGFloat y) { return CGPointMake(x, kToolTop + y); }
    // The knob's x for a slider value, the track running from 39 to W - 39.
    static CGFloat knobX(float value) { return kWidth / 2 + value / 100 * (kWidth - 78) / 2; }
    // A person's drag of the knob at height y from the centre to the value's place, in `moves`
    // finger moves.
    void dragKnob(CGFloat y, float value, int moves = 12)
    {
        driver_.drag({toolPoint(kWidth / 2, y), toolPoint(knobX(value), y)}, moves / 60.0);
    }
    void tapApply(QZToolViewController& tool) { driver_.tap(*tool.applyButton()->customView()); }
    // Runs the main queue until the condition holds (GL and CPU queues work in real time).
    static bool pumpUntil(const std::function<bool()>& condition) { return qz_test::pumpUntil(condition); }

    std::vector<std::string> eventNames() const
    {
        std::vector<std::string> names;
        for (const auto& [name, attributes] : analytics_->events) names.push_back(name);
        return names;
    }
    const Value* event(const std::string& name) const
    {
        for (const auto& [eventName, attributes] : analytics_->events)
            if (eventName == name) return &attributes;
        return nullptr;
    }

    std::shared_ptr<QZTestMetricsSession> analytics_ = NSObject::create<QZTestMetricsSession>();
    std::shared_ptr<qz_test::StatusRecorder> statuses_ = std::make_shared<qz_test::StatusRecorder>();
    qz_test::Pixels photo_;
    std::shared_ptr<QZOpenGLInstance> gl_;
    std::shared_ptr<QZScrollingImageView> canvas_;
    std::shared_ptr<QZNavigationBar> bar_;
    std::shared_ptr<QZToolViewController> tool_;
};
