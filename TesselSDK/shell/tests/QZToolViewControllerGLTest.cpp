// A tool's preview render on a real GL context: the completion hears the presented preview once,
// on the main thread.
#include "QZPhotoEditorReplaySupport.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDK/shell/QZToolViewController.h"

#include "TesselSDKImaging/Modules/QZToolModule.h"
#include "TesselSDKImaging/Processors/QZBrightnessProcessor.h"

using namespace qz_test;

namespace {

class QZToolViewControllerGLTest : public GLManagerTest {};

TEST_F(QZToolViewControllerGLTest, RenderModuleHandsThePresentedPreviewOnceOnTheMainThread)
{
    const Pixels input = gradient(64, 48);
    const CGSize size = CGSizeMake(64, 48);
    auto instance = QZOpenGLInstance::make(size, QopGLRenderingModeDefault, QZQueueTypeSDK);
    ASSERT_NE(instance, nullptr);
    bool loaded = false;
    instance->setInputImageData(reinterpret_cast<const std::uint8_t*>(input.rgba.data()), size, true,
                                [&] { loaded = true; });
    ASSERT_TRUE(pumpUntil([&] { return loaded; }));

    auto tool = QZToolViewController::makeWithGLInstance(instance, Value(), false);
    tool->setTargetViewHeight(100);
    tool->view();
    ASSERT_NE(tool->highResolutionServer(), nullptr);
    EXPECT_EQ(tool->highResolutionServer()->glInstance(), instance);

    auto module = QZToolModule::make();
    auto brightness = QZBrightnessProcessor::make();
    brightness->setValue(40);
    module->setToolProcessors(std::make_shared<QZProcessorList>(QZProcessorList{brightness}));
    tool->setBordersEnabled(false);
    Deliveries deliveries;
    tool->renderModule(module, QZRenderingResolutionLow, deliveries.completion());
    EXPECT_FALSE(module->bordersEnabled());
    ASSERT_TRUE(deliveries.waitForOne());
    Deliveries::settle();
    ASSERT_EQ(deliveries.images.size(), 1u);
    EXPECT_TRUE(deliveries.allOnMain);
    ASSERT_NE(deliveries.images[0], nullptr);
    const Pixels preview = pixelsOf(deliveries.images[0]);
    EXPECT_EQ(preview.width, 64u);
    EXPECT_EQ(preview.height, 48u);
    EXPECT_GT(maxDifference(preview, input), 10) << "the preview does not show the module";

    // A released instance: nothing to read, the caller still hears once.
    tool = QZToolViewController::makeWithGLInstance(nullptr, Value(), false);
    tool->view();
    Deliveries none;
    tool->renderModule(QZToolModule::make(), QZRenderingResolutionHigh, none.completion());
    ASSERT_TRUE(none.waitForOne());
    Deliveries::settle();
    ASSERT_EQ(none.images.size(), 1u);
    EXPECT_EQ(none.images[0], nullptr);
}

}  // namespace
