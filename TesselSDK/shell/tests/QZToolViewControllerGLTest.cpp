// A tool screen on a real GL context: taps commit the preview at most once per tool (never after
// Back), a preview render's completion comes once, on the main thread, after its frame is shown,
// and the original and the preview can be shown in turn.
#include "QZPhotoEditorReplaySupport.h"
#include "QZToolViewControllerTestSupport.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDKImaging/Modules/QZToolModule.h"
#include "TesselSDKImaging/Processors/QZBrightnessProcessor.h"

#include <functional>

using namespace qz_test;

namespace {

using Colour = std::array<std::uint8_t, 4>;

bool near(const Colour& a, const Colour& b)
{
    for (int c = 0; c < 4; ++c)
        if (std::abs(int(a[c]) - int(b[c])) > 2) return false;
    return true;
}

std::string describe(const Colour& colour)
{
    return std::to_string(colour[0]) + "," + std::to_string(colour[1]) + "," + std::to_string(colour[2]) + "," +
           std::to_string(colour[3]);
}

std::shared_ptr<QZToolModule> brighter()
{
    auto module = QZToolModule::make();
    auto brightness = QZBrightnessProcessor::make();
    brightness->setValue(40);
    module->setToolProcessors(std::make_shared<QZProcessorList>(QZProcessorList{brightness}));
    return module;
}

class QZToolViewControllerGLTest : public QZToolViewControllerTest {
protected:
    void SetUp() override
    {
        QZToolViewControllerTest::SetUp();
        manager_ = QZOpenGLManager::sharedOpenGLManager();
        if (manager_->setupFailed()) GTEST_SKIP() << "no GL context: " << EAGLContext::creationFailureReason();
        ASSERT_TRUE(drainGPUQueue());
        instance_ = QZOpenGLInstance::make(kSize, QopGLRenderingModeDefault, QZQueueTypeSDK);
        ASSERT_NE(instance_, nullptr);
        bool loaded = false;
        instance_->setInputImageData(reinterpret_cast<const std::uint8_t*>(input_.rgba.data()), kSize, true,
                                     [&] { loaded = true; });
        ASSERT_TRUE(pumpUntil([&] { return loaded; }));
    }
    void TearDown() override
    {
        instance_.reset();
        if (manager_ && !manager_->setupFailed()) {
            EXPECT_TRUE(drainGPUQueue());
            GLenum error = GL_NO_ERROR;
            EXPECT_TRUE(runGL(manager_, [&] { error = glGetError(); }));
            EXPECT_EQ(error, GLenum(GL_NO_ERROR)) << "GL reported an error during the test";
        }
        QZToolViewControllerTest::TearDown();
    }

    // The tool's preview of the module, as its completion hands it over.
    Colour preview(QZToolViewController& tool, const std::shared_ptr<QZModule>& module)
    {
        Deliveries deliveries;
        tool.renderModule(module, QZRenderingResolutionLow, deliveries.completion());
        if (!deliveries.waitForOne() || !deliveries.images[0]) return {};
        return centreOf(pixelsOf(deliveries.images[0]));
    }
    // The instance's current image: what commits have made of the input.
    Colour current()
    {
        std::shared_ptr<UIImage> image;
        bool read = false;
        instance_->getOutputImage([&](std::shared_ptr<UIImage> output) {
            image = std::move(output);
            read = true;
        });
        if (!pumpUntil([&] { return read; }) || !image) return {};
        return centreOf(pixelsOf(image));
    }
    // What the window shows at the canvas's centre.
    Colour shownOnCanvas()
    {
        return pixelAt(pixelsOf(window_->snapshot()), CGRectGetMidX(canvas_->frame()), CGRectGetMidY(canvas_->frame()));
    }
    static Colour centreOf(const Pixels& pixels) { return pixels.at(pixels.width / 2, pixels.height / 2); }
    static Colour pixelAt(const Pixels& pixels, CGFloat x, CGFloat y)
    {
        return pixels.at(std::size_t(x), std::size_t(y));
    }

    static constexpr CGSize kSize{64, 48};
    const Colour grey_{100, 110, 120, 255};
    const Pixels input_ = makePixels(64, 48, [this](std::size_t, std::size_t) { return grey_; });
    std::shared_ptr<QZOpenGLManager> manager_;
    std::shared_ptr<QZOpenGLInstance> instance_;
};

// After the taps, a late preview and, once the tool has finished or been cancelled, a late finish
// (as a queued render sends them) must not commit again: the current image is the input
// brightened as often as the tool committed.
TEST_F(QZToolViewControllerGLTest, TapsCommitThePreviewOnceAndNeverAfterBack)
{
    using Steps = std::function<void(QZToolViewControllerGLTest&, TestTool&)>;
    struct Case {
        const char* name;
        bool quickLaunch;
        bool prompts;
        Steps steps;
        bool commits;
        std::size_t statuses;
    };
    const Steps notReadyApplyThenBack = [](auto& t, TestTool& tool) {
        tool.setReadyToApply(false);
        t.tapApply(tool);
        t.tapBack(tool);
    };
    const Case cases[] = {
        {"Apply, ready", false, false, [](auto& t, TestTool& tool) { t.tapApply(tool); }, true, 1},
        {"Apply, not ready, then ready", false, false,
         [](auto& t, TestTool& tool) {
             tool.setReadyToApply(false);
             t.tapApply(tool);
             tool.setReadyToApply(true);
         },
         true, 1},
        {"Apply, not ready, Back", false, false, notReadyApplyThenBack, false, 1},
        {"quick launch Apply", true, false, [](auto& t, TestTool& tool) { t.tapApply(tool); }, true, 1},
        {"quick launch Back", true, false, [](auto& t, TestTool& tool) { t.tapBack(tool); }, false, 1},
        {"quick launch Edit", true, false, [](auto& t, TestTool& tool) { t.tapEdit(tool); }, true, 1},
        {"quick launch Edit, prompting, Cancel", true, true,
         [](auto& t, TestTool& tool) {
             t.tapEdit(tool);
             t.tapAlertButton("Cancel");
         },
         false, 0},
        {"quick launch Edit, prompting, OK", true, true,
         [](auto& t, TestTool& tool) {
             t.tapEdit(tool);
             t.tapAlertButton("OK");
         },
         true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(near(current(), grey_)) << "the previous case left a commit behind";
        delegate_->statuses.clear();
        auto tool = present(c.quickLaunch, c.prompts, instance_);
        const Colour once = preview(*tool, brighter());
        ASSERT_FALSE(near(once, grey_)) << "the module changed nothing";
        c.steps(*this, *tool);
        driver_.advance(1);
        EXPECT_EQ(delegate_->statuses.size(), c.statuses);

        const Colour late = preview(*tool, brighter());
        tool->setReadyToApply(true);
        if (c.statuses > 0) tool->finishApplying();  // an idle tool may still finish by itself
        EXPECT_EQ(delegate_->statuses.size(), c.statuses) << "a status after the finish";
        const Colour now = current();
        if (c.commits) {
            EXPECT_FALSE(near(late, once)) << "a second commit could not be told from one";
            EXPECT_TRUE(near(now, once)) << describe(now) << " after one commit, " << describe(once) << " expected";
        } else {
            EXPECT_TRUE(near(now, grey_)) << describe(now) << ": committed";
        }
        takeDown(*tool);
        tool.reset();
        // The next case starts from the input again.
        bool reset = false;
        instance_->setInputImageData(reinterpret_cast<const std::uint8_t*>(input_.rgba.data()), kSize, true,
                                     [&] { reset = true; });
        ASSERT_TRUE(pumpUntil([&] { return reset; }));
    }
}

TEST_F(QZToolViewControllerGLTest, APreviewIsShownBeforeItsCompletionAndTheOriginalOnRequest)
{
    auto tool = present(false, false, instance_);
    ASSERT_NE(tool->highResolutionServer(), nullptr);
    EXPECT_EQ(tool->highResolutionServer()->glInstance(), instance_);
    canvas_->setImageSize(kSize);
    canvas_->showOpenGLView(true);
    canvas_->layoutIfNeeded();
    instance_->setRenderbufferFromOpenGLView(canvas_->openGLView());

    auto module = brighter();
    tool->setBordersEnabled(false);
    Deliveries deliveries;
    std::vector<Colour> shownAtCompletion;
    tool->renderModule(module, QZRenderingResolutionLow, [&](std::shared_ptr<UIImage> image) {
        shownAtCompletion.push_back(shownOnCanvas());
        deliveries.completion()(std::move(image));
    });
    EXPECT_FALSE(module->bordersEnabled());
    ASSERT_TRUE(deliveries.waitForOne());
    Deliveries::settle();
    ASSERT_EQ(deliveries.images.size(), 1u);
    EXPECT_TRUE(deliveries.allOnMain);
    ASSERT_NE(deliveries.images[0], nullptr);
    const Pixels rendered = pixelsOf(deliveries.images[0]);
    EXPECT_EQ(rendered.width, 64u);
    EXPECT_EQ(rendered.height, 48u);
    const Colour toned = centreOf(rendered);
    EXPECT_FALSE(near(toned, grey_)) << "the preview does not show the module";
    ASSERT_EQ(shownAtCompletion.size(), 1u);
    EXPECT_TRUE(near(shownAtCompletion[0], toned)) << describe(shownAtCompletion[0]) << " shown";

    analytics_->events.clear();
    tool->showOriginal();
    ASSERT_TRUE(drainGPUQueue());
    EXPECT_TRUE(near(shownOnCanvas(), grey_)) << describe(shownOnCanvas());
    tool->showCurrent();
    ASSERT_TRUE(drainGPUQueue());
    EXPECT_TRUE(near(shownOnCanvas(), toned)) << describe(shownOnCanvas());
    ASSERT_EQ(analytics_->events.size(), 1u);
    EXPECT_EQ(analytics_->events[0].first, "tool prepost: pressed");

    instance_->destroyRenderbufferFromOpenGLView(canvas_->openGLView());
    ASSERT_TRUE(drainGPUQueue());
    takeDown(*tool);

    // A released instance: nothing to read, the caller still hears once.
    auto orphan = QZToolViewController::makeWithGLInstance(nullptr, Value(), false);
    orphan->view();
    Deliveries none;
    orphan->renderModule(QZToolModule::make(), QZRenderingResolutionHigh, none.completion());
    ASSERT_TRUE(none.waitForOne());
    Deliveries::settle();
    ASSERT_EQ(none.images.size(), 1u);
    EXPECT_EQ(none.images[0], nullptr);
}

}  // namespace
