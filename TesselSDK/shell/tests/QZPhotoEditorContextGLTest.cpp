// Replays on the GPU path on a real GL context: the full-size result of the preview's edits, held
// until the session closes and delivered once; cancellation.
#include "QZPhotoEditorReplaySupport.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDKImaging/Modules/QZCropModule.h"
#include "TesselSDKImaging/Modules/QZOrientationModule.h"

using namespace qz_test;

namespace {

class QZPhotoEditorContextGLTest : public GLManagerTest {
protected:
    // The GPU path whatever the renderer: on a software one the context would take the CPU.
    void SetUp() override
    {
        GLManagerTest::SetUp();
        setenv("TESSEL_FULL_SIZE", "gpu", 1);
    }
    void TearDown() override
    {
        unsetenv("TESSEL_FULL_SIZE");
        GLManagerTest::TearDown();
    }
    std::shared_ptr<QZPhotoEditorSession> openSession()
    {
        auto session = QZPhotoEditorSession::make();
        session->setEditingSize(CGSizeMake(400, 300));
        session->setOpen(true);
        return session;
    }
    static std::shared_ptr<QZCropModule> centralHalf()
    {
        auto crop = QZCropModule::make();
        crop->setRect(CGRectMake(0.25f, 0.25f, 0.5f, 0.5f));
        crop->setScaledSize(CGSizeMake(0.5f, 0.5f));
        crop->setIsHiRes(true);
        return crop;
    }
    // The same crop of the input drawn at half size, on a CPU server.
    static Pixels expectedCrop(const Pixels& input)
    {
        CGImageRef image = createImage(input);
        auto server = QZBitmapImageServer::make(image, 0.5f, UIImageOrientationUp);
        CGImageRelease(image);
        server->drawImage();
        server->runModule(centralHalf());
        return readBack(server);
    }
    const Pixels photo_ = gradient(4000, 3000);
};

TEST_F(QZPhotoEditorContextGLTest, TheFullSizeResultComesOnceAfterTheClose)
{
    auto session = openSession();
    session->addModulesObject(centralHalf());
    auto context = session->createContextWithImage(imageOf(photo_));
    ASSERT_NE(context, nullptr);
    ASSERT_NE(context->glInstance(), nullptr) << "the GPU path was not taken";
    EXPECT_FLOAT_EQ(context->scale(), 0.5f);
    Deliveries deliveries;
    context->render(deliveries.completion());
    Deliveries::settle();
    EXPECT_TRUE(deliveries.images.empty()) << "delivered while the session was open";

    session->setOpen(false);
    ASSERT_TRUE(deliveries.waitForOne());
    Deliveries::settle();
    ASSERT_EQ(deliveries.images.size(), 1u);
    EXPECT_TRUE(deliveries.allOnMain);
    ASSERT_NE(deliveries.images[0], nullptr);
    const Pixels output = pixelsOf(deliveries.images[0]);
    ASSERT_EQ(output.width, 1000u);
    ASSERT_EQ(output.height, 750u);
    const int difference = maxDifference(output, expectedCrop(photo_));
    EXPECT_GE(difference, 0);
    EXPECT_LE(difference, 2);
    EXPECT_TRUE(session->contexts().empty());

    // Made after the close: delivers without waiting for anything.
    auto late = session->createContextWithImage(imageOf(photo_));
    Deliveries lateDeliveries;
    late->render(lateDeliveries.completion());
    ASSERT_TRUE(lateDeliveries.waitForOne());
    ASSERT_NE(lateDeliveries.images[0], nullptr);
    EXPECT_EQ(pixelsOf(lateDeliveries.images[0]).width, 1000u);
}

TEST_F(QZPhotoEditorContextGLTest, AModuleAddedAfterRenderIsInTheOutput)
{
    auto session = openSession();
    session->addModulesObject(centralHalf());
    auto context = session->createContextWithImage(imageOf(photo_));
    Deliveries deliveries;
    context->render(deliveries.completion());
    auto turn = QZOrientationModule::make();
    turn->setOrientation(UIImageOrientationRight);
    turn->setOriginalSize(CGSizeMake(200, 150));
    turn->setIsHiRes(true);
    session->addModulesObject(turn);
    EXPECT_FALSE(turn->willRunOnCPU());
    session->setOpen(false);
    ASSERT_TRUE(deliveries.waitForOne());
    ASSERT_NE(deliveries.images[0], nullptr);
    const Pixels output = pixelsOf(deliveries.images[0]);
    EXPECT_EQ(output.width, 750u);
    EXPECT_EQ(output.height, 1000u);
    const int difference = maxDifference(output, oriented(expectedCrop(photo_), UIImageOrientationRight));
    EXPECT_GE(difference, 0);
    EXPECT_LE(difference, 2);
}

// Restore Original while the GPU render waits: the crop queued before it is gone from the result.
TEST_F(QZPhotoEditorContextGLTest, ForgottenModulesLeaveTheRenderUnderWay)
{
    auto session = openSession();
    session->addModulesObject(centralHalf());
    const Pixels input = gradient(400, 300);
    auto context = session->createContextWithImage(imageOf(input));
    ASSERT_NE(context->glInstance(), nullptr);
    Deliveries deliveries;
    context->render(deliveries.completion());
    session->removeAllModules();
    ASSERT_NE(context->glInstance(), nullptr) << "the render left the GPU path";
    auto turn = QZOrientationModule::make();
    turn->setOrientation(UIImageOrientationRight);
    turn->setOriginalSize(CGSizeMake(400, 300));
    turn->setIsHiRes(true);
    session->addModulesObject(turn);
    session->setOpen(false);
    ASSERT_TRUE(deliveries.waitForOne());
    Deliveries::settle();
    ASSERT_EQ(deliveries.images.size(), 1u);
    ASSERT_NE(deliveries.images[0], nullptr);
    const Pixels output = pixelsOf(deliveries.images[0]);
    ASSERT_EQ(output.width, 300u) << "the crop is still in the result";
    ASSERT_EQ(output.height, 400u);
    EXPECT_LE(maxDifference(output, oriented(input, UIImageOrientationRight)), 2);
    EXPECT_TRUE(session->contexts().empty());
}

TEST_F(QZPhotoEditorContextGLTest, CancelledOrUnmodifiedRendersHearNilOnceAtTheClose)
{
    struct Case {
        const char* name;
        bool modified;
        int cancels;
    };
    for (const Case& c : {Case{"unmodified", false, 0}, Case{"cancelled twice while waiting", true, 2}}) {
        SCOPED_TRACE(c.name);
        auto session = openSession();
        if (c.modified) session->addModulesObject(centralHalf());
        auto context = session->createContextWithImage(imageOf(gradient(400, 300)));
        ASSERT_NE(context->glInstance(), nullptr);
        Deliveries deliveries;
        context->render(deliveries.completion());
        for (int i = 0; i < c.cancels; ++i) context->cancelRendering();
        Deliveries::settle();
        EXPECT_TRUE(deliveries.images.empty()) << "the GPU path delivered before the close";
        session->setOpen(false);
        ASSERT_TRUE(deliveries.waitForOne());
        Deliveries::settle();
        ASSERT_EQ(deliveries.images.size(), 1u);
        EXPECT_EQ(deliveries.images[0], nullptr);
        EXPECT_TRUE(session->contexts().empty());
    }

    auto session = openSession();
    session->setCancelled(true);
    auto context = session->createContextWithImage(imageOf(gradient(400, 300)));
    Deliveries deliveries;
    context->render(deliveries.completion());
    ASSERT_EQ(deliveries.images.size(), 1u);
    EXPECT_EQ(deliveries.images[0], nullptr);
}

// The close has queued the read-back; a cancel from then on still gives the host exactly one
// answer: nil while the result is on its way, nothing more once it has come.
TEST_F(QZPhotoEditorContextGLTest, ACancelAfterTheCloseLeavesOneAnswer)
{
    for (const bool delivered : {false, true}) {
        SCOPED_TRACE(delivered ? "after the delivery" : "while the read-back is queued");
        auto session = openSession();
        session->addModulesObject(centralHalf());
        auto context = session->createContextWithImage(imageOf(gradient(400, 300)));
        ASSERT_NE(context->glInstance(), nullptr);
        Deliveries deliveries;
        context->render(deliveries.completion());
        session->setOpen(false);
        if (delivered) {
            ASSERT_TRUE(deliveries.waitForOne());
        }
        context->cancelRendering();
        context->cancelRendering();
        ASSERT_TRUE(deliveries.waitForOne());
        ASSERT_TRUE(drainGPUQueue());
        Deliveries::settle();
        ASSERT_EQ(deliveries.images.size(), 1u);
        EXPECT_TRUE(deliveries.allOnMain);
        EXPECT_EQ(deliveries.images[0] != nullptr, delivered);
        EXPECT_TRUE(session->contexts().empty());
    }
}

}  // namespace
