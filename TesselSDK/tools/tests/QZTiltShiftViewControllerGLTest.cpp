// The focus screen on a real GL context, shown as the root screen shows it (its overlay on the
// canvas's image view, so overlay points are photo pixels) and driven by touches: the first zone,
// gestures with their clamps, events and the guide's fade on the virtual clock, style changes
// through the picker, and the preview's renders with the GL queue held: at most one in flight, the
// newest zone rendered right after it, and Apply waiting for that render.
#include "QZToolScreenTestSupport.h"

#include "TesselSDK/tools/QZTiltShiftViewController.h"

#include "TesselSDKImaging/Processors/QZTiltShiftProcessor.h"

#include <atomic>
#include <cmath>
#include <map>
#include <memory>

namespace {

using qz_test::Pixels;

// What one preview render was queued with.
struct Run {
    CGPoint centre;
    float sigmaR;
    float angle;
    QZTiltShiftStyle style;
};

// Notes each render as the server queues it (main thread) and counts those that ran (GL queue).
class RecordingTiltShiftProcessor : public QZTiltShiftProcessor {
public:
    using QZTiltShiftProcessor::QZTiltShiftProcessor;
    static std::shared_ptr<RecordingTiltShiftProcessor> make()
    {
        return NSObject::create<RecordingTiltShiftProcessor>(&RecordingTiltShiftProcessor::init);
    }
    QZQopBitmapBlock qopBitmapBlock() const override
    {
        queued->push_back({centerPoint(), sigmaR(), angle(), style()});
        QZQopBitmapBlock block = QZTiltShiftProcessor::qopBitmapBlock();
        return [block, ran = ran](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
            block(bitmap, stop);
            ran->fetch_add(1);
        };
    }
    std::shared_ptr<std::vector<Run>> queued = std::make_shared<std::vector<Run>>();
    std::shared_ptr<std::atomic<int>> ran = std::make_shared<std::atomic<int>>(0);
};

// The screen with the recording processor, noting how many renders had run whenever it became
// ready to apply.
class RecordingTiltShiftScreen : public QZTiltShiftViewController {
public:
    using QZTiltShiftViewController::QZTiltShiftViewController;
    void setReadyToApply(bool ready) override
    {
        if (ready && recorder_) readyAfterRuns.push_back(recorder_->ran->load());
        QZTiltShiftViewController::setReadyToApply(ready);
    }
    RecordingTiltShiftProcessor& recorder() { return static_cast<RecordingTiltShiftProcessor&>(*processor()); }
    std::vector<int> readyAfterRuns;

protected:
    std::shared_ptr<QZTiltShiftProcessor> makeProcessor() const override
    {
        recorder_ = RecordingTiltShiftProcessor::make();
        return recorder_;
    }

private:
    mutable std::shared_ptr<RecordingTiltShiftProcessor> recorder_;
};

using Attributes = std::map<std::string, Value>;

class QZTiltShiftViewControllerGLTest : public QZToolScreenTest {
protected:
    // The photo in a GL instance and the screen shown over it as the root screen shows it: the
    // overlay framed to the canvas's image view before the screen appears. Null where no GL
    // context can be made.
    std::shared_ptr<RecordingTiltShiftScreen> show(const Pixels& photo)
    {
        if (!loadPhoto(photo)) return nullptr;
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 64, kWidth, 316));
        window_->addSubview(canvas_);
        canvas_->setImageSize(gl_->currentImageSize());
        canvas_->showOpenGLView(true);
        canvas_->layoutIfNeeded();
        gl_->setRenderbufferFromOpenGLView(canvas_->openGLView());
        bar_ = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, kWidth, 44));
        window_->addSubview(bar_);
        auto tool = QZToolViewController::makeWithGLInstance<RecordingTiltShiftScreen>(gl_, Value(), false);
        tool->setNavigationBar(bar_);
        tool->setDelegate(statuses_);
        tool->setTargetViewHeight(100);
        tool->setAnalyticsKey("focus");
        tool->setScrollableImageView(canvas_);
        tool->setTitle("Focus");
        tool->setOverlayRect(canvas_->frame());
        const auto& view = tool->view();
        view->setFrame(CGRectMake(0, kToolTop, kWidth, view->frame().size.height));
        window_->addSubview(view);
        canvas_->setImageOverlayView(tool->scrollableOverlayView());
        window_->addSubview(tool->staticOverlayView());
        bar_->pushNavigationItem(tool->navigationItem(), false);
        tool->viewWillAppear(false);
        tool->viewDidAppear(false);
        tool_ = tool;
        return tool;
    }
    // Shown and its first render done; the test is skipped without GL.
    std::shared_ptr<RecordingTiltShiftScreen> showRendered(const Pixels& photo)
    {
        auto tool = show(photo);
        if (!tool) return nullptr;
        EXPECT_TRUE(pumpUntil([&] { return tool->isReadyToApply(); })) << "the first render never came back";
        return tool;
    }
    // Takes the screen off the window, as the root screen does once it has finished.
    void hide(QZTiltShiftViewController& tool)
    {
        tool.viewWillDisappear(false);
        tool.view()->removeFromSuperview();
        tool.staticOverlayView()->removeFromSuperview();
        canvas_->setImageOverlayView(nullptr);
        canvas_->removeFromSuperview();
        bar_->removeFromSuperview();
        tool_.reset();
    }

    CGPoint overlayPoint(const QZTiltShiftViewController& tool, CGPoint point) const
    {
        return UITestDriver::windowPoint(*tool.tiltShiftOverlayView(), point);
    }
    // A one-finger drag on the overlay between two of its points, in `moves` finger moves.
    void drag(const QZTiltShiftViewController& tool, CGPoint from, CGPoint to, int moves = 12)
    {
        driver_.drag({overlayPoint(tool, from), overlayPoint(tool, to)}, moves / 60.0);
    }
    // The guide's alpha as drawn now.
    static float shownGuideAlpha(const QZTiltShiftViewController& tool)
    {
        return tool.tiltShiftOverlayView()->helperView()->layer()->presentationLayer()->opacity();
    }
    // The focus events, each with its attributes less the facade's standard ones.
    std::vector<std::pair<std::string, Attributes>> focusEvents() const
    {
        const Value standard = QZAnalytics::standardAttributes();
        std::vector<std::pair<std::string, Attributes>> events;
        for (const auto& [name, attributes] : analytics_->events) {
            if (name.rfind("focus: ", 0) != 0) continue;
            Attributes own;
            if (const Value::Dictionary* all = attributes.asDictionary())
                for (const auto& [key, value] : *all)
                    if (standard[key] != value) own.emplace(key, value);
            events.emplace_back(name, std::move(own));
        }
        return events;
    }
    std::vector<std::string> focusEventNames() const
    {
        std::vector<std::string> names;
        for (const auto& [name, attributes] : focusEvents()) names.push_back(name);
        return names;
    }
};

// 240 x 180 fits the canvas at scale 1 with room around it: overlay points are window points
// shifted, and a drag can leave the overlay on every side. Its shorter side holds the radius
// between 12 and 90, and the first zone has radius 81.
const Pixels& gesturePhoto()
{
    static const Pixels photo = qz_test::texturedPhoto(240, 180);
    return photo;
}
const CGPoint kGestureCentre = CGPointMake(120, 90);
constexpr CGFloat kGestureRadius = 81;

TEST_F(QZTiltShiftViewControllerGLTest, OpensOnACentredCircleRenderedOnce)
{
    struct Case {
        std::size_t width, height;
        CGPoint centre;
        CGFloat radius;
    };
    for (const Case c : {Case{320, 480, CGPointMake(160, 240), 144}, Case{1000, 800, CGPointMake(500, 400), 200}}) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
        auto tool = show(qz_test::texturedPhoto(c.width, c.height));
        if (!tool) GTEST_SKIP() << "no GL context";
        const auto overlay = tool->tiltShiftOverlayView();
        ASSERT_EQ(overlay->bounds().size.width, CGFloat(c.width));
        EXPECT_EQ(tool->center().x, c.centre.x);
        EXPECT_EQ(tool->center().y, c.centre.y);
        EXPECT_EQ(tool->radius(), c.radius);
        EXPECT_EQ(tool->rotation(), 0);
        EXPECT_EQ(overlay->tiltShiftCenter().x, c.centre.x);
        EXPECT_EQ(overlay->radius(), c.radius);
        EXPECT_FALSE(tool->isReadyToApply()) << "ready before the first render came back";

        ASSERT_TRUE(pumpUntil([&] { return tool->isReadyToApply(); }));
        qz_test::Deliveries::settle();
        const auto& queued = *tool->recorder().queued;
        ASSERT_EQ(queued.size(), 1u) << "the first zone is rendered exactly once";
        EXPECT_EQ(queued[0].centre.x, c.centre.x);
        EXPECT_EQ(queued[0].centre.y, c.centre.y);
        EXPECT_EQ(queued[0].sigmaR, c.radius);
        EXPECT_EQ(queued[0].style, QZTiltShiftStyleRadial);
        EXPECT_EQ(tool->recorder().ran->load(), 1);
        EXPECT_EQ(tool->recorder().maskSize().width, CGFloat(c.width)) << "the mask is not the GL image's size";
        EXPECT_EQ(tool->recorder().maskSize().height, CGFloat(c.height));
        EXPECT_EQ(focusEvents(), (std::vector<std::pair<std::string, Attributes>>{
                                     {"focus: opened", {{"tiltShiftStyle", Value("radial")}}}}));
        analytics_->events.clear();
        hide(*tool);
    }
}

TEST_F(QZTiltShiftViewControllerGLTest, GesturesMoveResizeAndTurnTheZoneWithinTheirLimits)
{
    auto tool = showRendered(gesturePhoto());
    if (!tool) GTEST_SKIP() << "no GL context";
    const float zoom = canvas_->zoomScale();
    const CGPoint offset = canvas_->contentOffset();
    auto expectCanvasStill = [&] {
        EXPECT_EQ(canvas_->zoomScale(), zoom) << "the canvas zoomed under the overlay's gestures";
        EXPECT_EQ(canvas_->contentOffset().x, offset.x) << "the canvas scrolled under the overlay's gestures";
        EXPECT_EQ(canvas_->contentOffset().y, offset.y) << "the canvas scrolled under the overlay's gestures";
    };
    analytics_->events.clear();

    // Pinches: far in holds min(w, h) / 15, far out half of min(w, h).
    struct Pinch {
        CGFloat from, to, radius;
    };
    for (const Pinch p : {Pinch{100, 1, 12}, Pinch{20, 200, 90}}) {
        SCOPED_TRACE(::testing::Message() << "pinch from " << p.from << " to " << p.to);
        driver_.pinch(overlayPoint(*tool, kGestureCentre), p.from, p.to, 0.5);
        EXPECT_EQ(tool->radius(), p.radius);
        EXPECT_EQ(tool->center().x, kGestureCentre.x);
        EXPECT_EQ(tool->center().y, kGestureCentre.y);
        expectCanvasStill();
    }
    EXPECT_EQ(focusEventNames(), (std::vector<std::string>{"focus: pinched", "focus: pinched"}));

    // Pans past the overlay's edges stop the centre on them.
    struct Pan {
        CGPoint from, to, centre;
    };
    for (const Pan p : {Pan{CGPointMake(60, 45), CGPointMake(235, 175), CGPointMake(240, 180)},
                        Pan{CGPointMake(235, 175), CGPointMake(-20, -32), CGPointMake(0, 0)}}) {
        SCOPED_TRACE(::testing::Message() << "pan to " << p.to.x << ", " << p.to.y);
        drag(*tool, p.from, p.to);
        EXPECT_EQ(tool->center().x, p.centre.x);
        EXPECT_EQ(tool->center().y, p.centre.y);
        EXPECT_EQ(tool->tiltShiftOverlayView()->tiltShiftCenter().x, p.centre.x);
        EXPECT_EQ(tool->radius(), 90);
        expectCanvasStill();
    }
    ASSERT_TRUE(pumpUntil([&] { return tool->isReadyToApply(); }));
    EXPECT_EQ(tool->recorder().queued->back().centre.x, 0);

    // A turn changes the rotation alone, and reports nothing.
    analytics_->events.clear();
    const CGPoint centre = tool->center();
    driver_.rotate(overlayPoint(*tool, kGestureCentre), 40, 0.5f, 0.5);
    EXPECT_NEAR(tool->rotation(), 0.5, 1e-3);
    EXPECT_EQ(tool->center().x, centre.x);
    EXPECT_EQ(tool->center().y, centre.y);
    EXPECT_NEAR(tool->radius(), 90, 1e-3);
    EXPECT_TRUE(focusEvents().empty());
    expectCanvasStill();
    ASSERT_TRUE(pumpUntil([&] { return tool->isReadyToApply(); }));
    EXPECT_NEAR(tool->recorder().queued->back().angle, -0.5, 1e-3) << "the processor turns the other way";
}

// A pointer that jumps in its first motion after the press (a quick flick, a coarse mouse): the
// pan begins on that motion, and the disc goes all the way with it.
TEST_F(QZTiltShiftViewControllerGLTest, OneJumpRightAfterThePressMovesTheDiscAsFar)
{
    auto tool = showRendered(gesturePhoto());
    if (!tool) GTEST_SKIP() << "no GL context";
    const CGPoint from = overlayPoint(*tool, kGestureCentre);
    driver_.touchDown(1, from);
    driver_.advance(1.0 / 60);
    driver_.touchMove(1, CGPointMake(from.x + 50, from.y + 30));
    driver_.advance(1.0 / 60);
    driver_.touchUp(1, CGPointMake(from.x + 50, from.y + 30));
    EXPECT_EQ(tool->center().x, kGestureCentre.x + 50);
    EXPECT_EQ(tool->center().y, kGestureCentre.y + 30);

    // The next drag starts from where the jump left the disc.
    drag(*tool, CGPointMake(170, 120), CGPointMake(150, 110));
    EXPECT_EQ(tool->center().x, kGestureCentre.x + 30);
    EXPECT_EQ(tool->center().y, kGestureCentre.y + 20);
}

TEST_F(QZTiltShiftViewControllerGLTest, TheGuideShowsWhileFingersAreDownAndFadesAfterThey)
{
    auto tool = showRendered(gesturePhoto());
    if (!tool) GTEST_SKIP() << "no GL context";
    driver_.advance(0.95);
    EXPECT_EQ(shownGuideAlpha(*tool), 1) << "the guide left before a second had passed";
    driver_.advance(0.5);
    EXPECT_EQ(shownGuideAlpha(*tool), 0) << "the guide is still there after opening";

    // A pan: shown from the touch-down through the gesture, gone 0.2 + 0.2 s after the lift.
    const CGPoint start = overlayPoint(*tool, kGestureCentre);
    driver_.touchDown(1, start);
    EXPECT_EQ(shownGuideAlpha(*tool), 1);
    for (int step = 1; step <= 10; ++step) {
        driver_.advance(1 / 60.0);
        driver_.touchMove(1, CGPointMake(start.x + 3 * CGFloat(step), start.y));
    }
    EXPECT_EQ(tool->center().x, kGestureCentre.x + 30);
    driver_.advance(1);
    EXPECT_EQ(shownGuideAlpha(*tool), 1) << "the guide faded while a finger was down";
    driver_.touchUp(1, CGPointMake(start.x + 30, start.y));
    driver_.advance(0.15);
    EXPECT_EQ(shownGuideAlpha(*tool), 1);
    driver_.advance(0.15);
    const float fading = shownGuideAlpha(*tool);
    EXPECT_GT(fading, 0);
    EXPECT_LT(fading, 1);
    driver_.advance(0.15);
    EXPECT_EQ(shownGuideAlpha(*tool), 0);
    // Faded, the overlay shows nothing over the photo.
    const Pixels overlayShot = qz_test::pixelsOf(UITestDriver::snapshot(*tool->tiltShiftOverlayView()));
    for (const auto& pixel : overlayShot.rgba) ASSERT_EQ(pixel[3], 0) << "the faded guide still shows";

    // A plain tap shows it, and it fades the same way.
    driver_.touchDown(2, start);
    EXPECT_EQ(shownGuideAlpha(*tool), 1);
    driver_.touchUp(2, start);
    driver_.advance(0.15);
    EXPECT_EQ(shownGuideAlpha(*tool), 1);
    driver_.advance(0.3);
    EXPECT_EQ(shownGuideAlpha(*tool), 0);
}

TEST_F(QZTiltShiftViewControllerGLTest, ChoosingAShapeStartsItsZoneAfreshAndShowsTheGuideForASecond)
{
    auto tool = showRendered(gesturePhoto());
    if (!tool) GTEST_SKIP() << "no GL context";
    drag(*tool, CGPointMake(100, 80), CGPointMake(160, 120));
    driver_.pinch(overlayPoint(*tool, kGestureCentre), 60, 30, 0.3);
    ASSERT_NE(tool->center().x, kGestureCentre.x);
    ASSERT_NE(tool->radius(), kGestureRadius);
    driver_.advance(2);
    ASSERT_EQ(shownGuideAlpha(*tool), 0);
    analytics_->events.clear();

    ASSERT_TRUE(driver_.tapViewWithLabel("Linear"));
    EXPECT_EQ(tool->tiltShiftStyle(), QZTiltShiftStyleLinear);
    EXPECT_EQ(tool->tiltShiftOverlayView()->tiltShiftStyle(), QZTiltShiftStyleLinear);
    EXPECT_EQ(tool->center().x, kGestureCentre.x);
    EXPECT_EQ(tool->center().y, kGestureCentre.y);
    EXPECT_EQ(tool->radius(), kGestureRadius);
    EXPECT_EQ(tool->rotation(), 0);
    EXPECT_EQ(shownGuideAlpha(*tool), 1);
    // The tap held its finger 0.05 s; the fade starts 1.0 s after the touch-down.
    driver_.advance(0.9);
    EXPECT_EQ(shownGuideAlpha(*tool), 1);
    driver_.advance(0.15);
    EXPECT_GT(shownGuideAlpha(*tool), 0);
    EXPECT_LT(shownGuideAlpha(*tool), 1);
    driver_.advance(0.2);
    EXPECT_EQ(shownGuideAlpha(*tool), 0);
    ASSERT_TRUE(pumpUntil([&] { return tool->isReadyToApply(); }));
    EXPECT_EQ(tool->recorder().queued->back().style, QZTiltShiftStyleLinear);

    // Back to radial, then the chosen shape again: only the change reports.
    ASSERT_TRUE(driver_.tapViewWithLabel("Radial"));
    ASSERT_TRUE(driver_.tapViewWithLabel("Radial"));
    const Attributes linear{{"tiltShiftStyle", Value("linear")}}, radial{{"tiltShiftStyle", Value("radial")}};
    EXPECT_EQ(focusEvents(), (std::vector<std::pair<std::string, Attributes>>{{"focus: linear selected", linear},
                                                                              {"focus: radial selected", radial}}));

    // A finger on the overlay during the second's wait keeps the guide until it lifts.
    driver_.advance(0.5);
    const CGPoint point = overlayPoint(*tool, CGPointMake(30, 30));
    driver_.touchDown(1, point);
    driver_.advance(1);
    EXPECT_EQ(shownGuideAlpha(*tool), 1) << "the choice's fade ran under the finger";
    driver_.touchUp(1, point);
    driver_.advance(0.45);
    EXPECT_EQ(shownGuideAlpha(*tool), 0);
}

// ---- Renders with the GL queue held ----

TEST_F(QZTiltShiftViewControllerGLTest, ChangesDuringARenderCollapseIntoOneMoreRenderOfTheNewestZone)
{
    struct Case {
        const char* name;
        bool applyDuringFirstRun;
    };
    for (const Case c : {Case{"pan only", false}, Case{"Apply during the first run", true}}) {
        SCOPED_TRACE(c.name);
        statuses_->statuses.clear();
        auto tool = showRendered(gesturePhoto());
        if (!tool) GTEST_SKIP() << "no GL context";
        const auto queued = tool->recorder().queued;
        const auto ran = tool->recorder().ran;
        ASSERT_EQ(queued->size(), 1u);
        tool->readyAfterRuns.clear();

        gl_->pauseRendering();
        drag(*tool, CGPointMake(60, 60), CGPointMake(150, 120));  // twelve moves
        const CGPoint last = tool->center();
        EXPECT_EQ(last.x, kGestureCentre.x + 90);
        ASSERT_EQ(queued->size(), 2u) << "more than one render in flight";
        EXPECT_NE(queued->back().centre.x, last.x) << "the first move's render is the one in flight";
        EXPECT_TRUE(tool->requiresFurtherRender());
        EXPECT_FALSE(tool->isReadyToApply());
        if (c.applyDuringFirstRun) {
            tapApply(*tool);
            EXPECT_TRUE(tool->progressHUDView()->isVisible());
        }
        qz_test::Deliveries::settle();
        EXPECT_EQ(ran->load(), 1) << "a render ran while the GL queue was held";
        EXPECT_TRUE(statuses_->statuses.empty());

        gl_->resumeRendering();
        // Asked on the main thread while the GL queue renders, as a gesture's handler asks it.
        ASSERT_TRUE(pumpUntil([&] { return !tool->isCurrentlyRendering() && tool->isReadyToApply(); }));
        qz_test::Deliveries::settle();
        ASSERT_EQ(queued->size(), 3u) << "not exactly the one in flight and then the newest zone";
        EXPECT_EQ(queued->back().centre.x, last.x);
        EXPECT_EQ(queued->back().centre.y, last.y);
        EXPECT_EQ(ran->load(), 3);
        EXPECT_EQ(tool->readyAfterRuns, std::vector<int>{3}) << "ready before the newest zone was rendered";
        EXPECT_FALSE(tool->isCurrentlyRendering());
        EXPECT_FALSE(tool->requiresFurtherRender());

        if (c.applyDuringFirstRun) {
            EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied});
            // What was committed is what the recorded module makes of the photo.
            auto module = tool->outputModule();
            QZProcessorList processors;
            module->createProcessors(processors);
            ASSERT_EQ(processors.size(), 1u);
            auto recorded = std::dynamic_pointer_cast<QZTiltShiftProcessor>(processors[0]);
            ASSERT_NE(recorded, nullptr);
            EXPECT_EQ(recorded->centerPoint().x, last.x);
            EXPECT_EQ(recorded->maskSize().width, 240);
            std::shared_ptr<UIImage> committed;
            bool read = false;
            gl_->getOutputImage([&](std::shared_ptr<UIImage> image) {
                committed = std::move(image);
                read = true;
            });
            ASSERT_TRUE(pumpUntil([&] { return read; }));
            ASSERT_NE(committed, nullptr);
            auto session = QZPhotoEditorSession::make();
            session->setEditingSize(CGSizeMake(240, 180));
            session->setOpen(true);
            session->addModulesObject(module);
            auto context = session->createContextWithImage(qz_test::imageOf(photo_));
            qz_test::Deliveries replay;
            context->render(replay.completion());
            session->setOpen(false);
            ASSERT_TRUE(replay.waitForOne());
            ASSERT_NE(replay.images[0], nullptr);
            const Pixels shown = qz_test::pixelsOf(committed), replayed = qz_test::pixelsOf(replay.images[0]);
            EXPECT_LE(qz_test::maxDifference(shown, replayed), 4) << "the committed preview is not the recorded zone";
            EXPECT_GE(qz_test::maxDifference(shown, photo_), 10) << "nothing was blurred";
        }
        hide(*tool);
    }
}

TEST_F(QZTiltShiftViewControllerGLTest, AShapeChosenOrACancelDuringARenderQueuesNoRenderBesideIt)
{
    auto tool = showRendered(gesturePhoto());
    if (!tool) GTEST_SKIP() << "no GL context";
    const auto queued = tool->recorder().queued;

    gl_->pauseRendering();
    drag(*tool, CGPointMake(60, 60), CGPointMake(150, 120));
    ASSERT_TRUE(driver_.tapViewWithLabel("Linear"));
    EXPECT_EQ(queued->size(), 2u) << "the choice put a second render in flight";
    gl_->resumeRendering();
    ASSERT_TRUE(pumpUntil([&] { return tool->isReadyToApply(); }));
    qz_test::Deliveries::settle();
    ASSERT_EQ(queued->size(), 3u);
    EXPECT_EQ(queued->back().style, QZTiltShiftStyleLinear);
    EXPECT_EQ(queued->back().centre.x, kGestureCentre.x);
    EXPECT_EQ(queued->back().sigmaR, kGestureRadius);

    // Cancelled while a render is held: what was left to render never reaches the canvas.
    gl_->pauseRendering();
    drag(*tool, CGPointMake(60, 60), CGPointMake(150, 120));
    ASSERT_EQ(queued->size(), 4u);
    ASSERT_TRUE(tool->requiresFurtherRender());
    driver_.tap(*tool->backButton()->customView());
    EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusCancelled});
    gl_->resumeRendering();
    qz_test::Deliveries::settle();
    EXPECT_FALSE(tool->isCurrentlyRendering());
    EXPECT_EQ(queued->size(), 4u) << "a render was queued after the cancel";
}

// The session replays the module after the screen has gone: the same picture, with nothing of the
// screen touched (AddressSanitizer watches).
TEST_F(QZTiltShiftViewControllerGLTest, TheAppliedModuleOutlivesTheScreen)
{
    auto tool = showRendered(gesturePhoto());
    if (!tool) GTEST_SKIP() << "no GL context";
    drag(*tool, CGPointMake(60, 60), CGPointMake(100, 70));
    ASSERT_TRUE(driver_.tapViewWithLabel("Linear"));
    driver_.rotate(overlayPoint(*tool, kGestureCentre), 40, 0.3f, 0.3);
    tapApply(*tool);
    ASSERT_TRUE(pumpUntil([&] { return !statuses_->statuses.empty(); }));

    auto session = QZPhotoEditorSession::make();
    session->setEditingSize(CGSizeMake(240, 180));
    session->setOpen(true);
    session->addModulesObject(tool->outputModule());
    session->setOpen(false);
    const Pixels fixture = qz_test::texturedPhoto(1600, 1200);
    auto replay = [&]() -> std::optional<Pixels> {
        auto context = session->createContextWithImage(qz_test::imageOf(fixture));
        if (!context) return std::nullopt;
        qz_test::Deliveries deliveries;
        context->render(deliveries.completion());
        if (!deliveries.waitForOne() || !deliveries.images[0]) return std::nullopt;
        return qz_test::pixelsOf(deliveries.images[0]);
    };
    const auto whileShown = replay();
    ASSERT_TRUE(whileShown);

    std::weak_ptr<RecordingTiltShiftScreen> gone = tool;
    hide(*tool);
    tool.reset();
    ASSERT_TRUE(pumpUntil([&] { return gone.expired(); })) << "something still holds the screen";
    const auto afterwards = replay();
    ASSERT_TRUE(afterwards);
    EXPECT_EQ(qz_test::maxDifference(*afterwards, *whileShown), 0);
    EXPECT_GE(qz_test::maxDifference(*afterwards, fixture), 10) << "nothing was blurred";
}

}  // namespace
