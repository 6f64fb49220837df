// The editing session and its CPU replays (contexts made with a size, fed an image later): what is
// delivered, when, and how often; cancellation and misuse; the output size limits.
#include "QZPhotoEditorReplaySupport.h"

#include "TesselSDKImaging/Modules/QZToolModule.h"
#include "TesselSDKImaging/Processors/QZBrightnessProcessor.h"

#include "Foundation/NSLogCapture.h"
#include "Foundation/NSNotificationCenter.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <thread>

using namespace qz_test;

namespace {

std::shared_ptr<QZToolModule> brighter()
{
    auto module = QZToolModule::make();
    auto brightness = QZBrightnessProcessor::make();
    brightness->setValue(40);
    module->setToolProcessors(std::make_shared<QZProcessorList>(QZProcessorList{brightness}));
    return module;
}

// The module run on a CPU server holding the input, as the preview would.
Pixels processedOnCPU(const Pixels& input, const std::shared_ptr<QZModule>& module)
{
    CGImageRef image = createImage(input);
    auto server = QZBitmapImageServer::make(image, 1, UIImageOrientationUp);
    CGImageRelease(image);
    server->drawImage();
    server->runModule(module);
    return readBack(server);
}

class QZPhotoEditorSessionTest : public ::testing::Test {
protected:
    void TearDown() override { QZPhotoEditorContext::setHighResOutputSizeLimit(3000000); }
    std::shared_ptr<QZPhotoEditorSession> openSession()
    {
        auto session = QZPhotoEditorSession::make();
        session->setEditingSize(CGSizeMake(160, 120));
        session->setOpen(true);
        return session;
    }
    const Pixels input_ = gradient(160, 120);
};

TEST_F(QZPhotoEditorSessionTest, ASizeContextDeliversTheTonedInputOnceAfterTheClose)
{
    auto session = openSession();
    auto module = brighter();
    session->addModulesObject(module);
    auto context = session->createContext();
    Deliveries deliveries;
    context->renderInputImage(imageOf(input_), deliveries.completion());
    Deliveries::settle();
    EXPECT_TRUE(deliveries.images.empty()) << "delivered while the session was open";

    session->setOpen(false);
    ASSERT_TRUE(deliveries.waitForOne());
    Deliveries::settle();
    ASSERT_EQ(deliveries.images.size(), 1u);
    EXPECT_TRUE(deliveries.allOnMain);
    ASSERT_NE(deliveries.images[0], nullptr);
    const Pixels output = pixelsOf(deliveries.images[0]);
    EXPECT_EQ(output, processedOnCPU(input_, brighter()));
    EXPECT_NE(output, input_) << "the tone did not change the picture";
    EXPECT_TRUE(module->willRunOnCPU());
    EXPECT_TRUE(session->contexts().empty());
}

TEST_F(QZPhotoEditorSessionTest, AModuleAddedWhileWaitingIsReplayedAtTheOutputScale)
{
    auto session = openSession();
    auto context = session->createContextWithSize(CGSizeMake(FLT_MAX, FLT_MAX));
    Deliveries deliveries;
    context->renderInputImage(imageOf(gradient(640, 480)), deliveries.completion());
    auto module = brighter();
    session->addModulesObject(module);
    EXPECT_FLOAT_EQ(module->scaleFactor(), 4);  // 640 x 480 over the 160 x 120 preview
    EXPECT_TRUE(context->isModified());
    session->setOpen(false);
    ASSERT_TRUE(deliveries.waitForOne());
    ASSERT_NE(deliveries.images[0], nullptr);
    EXPECT_EQ(pixelsOf(deliveries.images[0]), processedOnCPU(gradient(640, 480), brighter()));
}

// Renders that must hear exactly one nil, whatever happens around them.
TEST_F(QZPhotoEditorSessionTest, EachRenderHearsOnceAndNilWhenNothingIsToBeHad)
{
    NSLogCapture log;
    struct Case {
        const char* name;
        std::function<void(QZPhotoEditorSession&, QZPhotoEditorContext&, Deliveries&)> act;
        bool beforeClose;  // the nil comes while the session is still open
    };
    const Case cases[] = {
        {"no image", [](auto&, QZPhotoEditorContext& c, Deliveries& d) { c.renderInputImage(nullptr, d.completion()); },
         true},
        {"unmodified session",
         [this](auto&, QZPhotoEditorContext& c, Deliveries& d) { c.renderInputImage(imageOf(input_), d.completion()); },
         false},
        {"cancelled twice while waiting",
         [this](QZPhotoEditorSession& s, QZPhotoEditorContext& c, Deliveries& d) {
             s.addModulesObject(brighter());
             c.renderInputImage(imageOf(input_), d.completion());
             c.cancelRendering();
             c.cancelRendering();
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto session = openSession();
        auto context = session->createContext();
        Deliveries deliveries;
        c.act(*session, *context, deliveries);
        if (c.beforeClose) {
            ASSERT_TRUE(deliveries.waitForOne());
        } else {
            Deliveries::settle();
            EXPECT_TRUE(deliveries.images.empty());
        }
        session->setOpen(false);
        ASSERT_TRUE(deliveries.waitForOne());
        Deliveries::settle();
        ASSERT_EQ(deliveries.images.size(), 1u);
        EXPECT_EQ(deliveries.images[0], nullptr);
        EXPECT_TRUE(deliveries.allOnMain);
    }
    EXPECT_TRUE(log.lines().empty());
}

// Restore Original forgets the modules: a render under way must not keep what it already replayed.
TEST_F(QZPhotoEditorSessionTest, ForgottenModulesLeaveTheRenderUnderWay)
{
    for (const bool editedAgain : {false, true}) {
        SCOPED_TRACE(editedAgain ? "then edited again" : "nothing after");
        auto session = openSession();
        session->addModulesObject(brighter());
        auto context = session->createContext();
        Deliveries deliveries;
        context->renderInputImage(imageOf(input_), deliveries.completion());
        session->removeAllModules();
        EXPECT_FALSE(context->isModified());
        if (editedAgain) session->addModulesObject(brighter());
        session->setOpen(false);
        ASSERT_TRUE(deliveries.waitForOne());
        Deliveries::settle();
        ASSERT_EQ(deliveries.images.size(), 1u);
        if (!editedAgain) {
            EXPECT_EQ(deliveries.images[0], nullptr) << "an unmodified render delivers nil";
            continue;
        }
        ASSERT_NE(deliveries.images[0], nullptr);
        EXPECT_EQ(pixelsOf(deliveries.images[0]), processedOnCPU(input_, brighter())) << "brightened twice";
    }
}

TEST_F(QZPhotoEditorSessionTest, ACancelledSessionsSizeContextDeliversNilAtOnce)
{
    auto session = openSession();
    session->addModulesObject(brighter());
    session->setCancelled(true);
    auto context = session->createContext();
    EXPECT_TRUE(context->isCanceled());
    Deliveries deliveries;
    context->renderInputImage(imageOf(input_), deliveries.completion());
    ASSERT_EQ(deliveries.images.size(), 1u);  // at once, within the call
    EXPECT_EQ(deliveries.images[0], nullptr);
}

TEST_F(QZPhotoEditorSessionTest, MisuseIsLoggedAndChangesNothing)
{
    NSLogCapture log;
    auto session = openSession();
    EXPECT_EQ(session->createContextWithImage(nullptr), nullptr);
    EXPECT_TRUE(log.contains("Error: You must pass in an image to create a context."));
    EXPECT_TRUE(session->contexts().empty());

    session->addModulesObject(brighter());
    auto context = session->createContext();
    Deliveries first, second;
    context->renderInputImage(imageOf(input_), first.completion());
    context->render(second.completion());
    EXPECT_TRUE(log.contains("Attempt to call render: on an QZPhotoEditorContext instance that has already begun "
                             "rendering. No action will be taken."));

    int posts = 0;
    auto token = NSNotificationCenter::defaultCenter()->addObserverForName(QZPhotoEditorSessionCancelledNotification,
                                                                           session, [&](const auto&) { ++posts; });
    session->setOpen(true);
    session->setCancelled(false);
    Deliveries::settle();
    EXPECT_TRUE(first.images.empty()) << "an unchanged open released the render";
    EXPECT_EQ(posts, 0);
    session->setCancelled(true);
    session->setCancelled(true);
    EXPECT_EQ(posts, 1);
    NSNotificationCenter::defaultCenter()->removeObserver(token);

    session->setOpen(false);
    ASSERT_TRUE(first.waitForOne());
    Deliveries::settle();
    EXPECT_EQ(first.images.size(), 1u);
    EXPECT_TRUE(second.images.empty()) << "the second render's completion ran";
}

TEST_F(QZPhotoEditorSessionTest, TheOutputFitsTheMaximumAndTheAreaLimit)
{
    struct Case {
        float limit;
        CGSize maxSize;
        CGSize output;
    };
    const Case cases[] = {{3000000, CGSizeMake(FLT_MAX, FLT_MAX), CGSizeMake(2000, 1500)},
                          {-1, CGSizeMake(FLT_MAX, FLT_MAX), CGSizeMake(4000, 3000)},
                          {-1, CGSizeMake(1000, 1000), CGSizeMake(1000, 750)},
                          {3000000, CGSizeMake(1000, 1000), CGSizeMake(1000, 750)}};
    const auto photo = imageOf(makePixels(4000, 3000, [](std::size_t, std::size_t) {
        return std::array<std::uint8_t, 4>{90, 120, 150, 255};
    }));
    auto session = QZPhotoEditorSession::make();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.limit) + " under " + std::to_string(c.maxSize.width));
        QZPhotoEditorContext::setHighResOutputSizeLimit(c.limit);
        auto context = session->createContextWithSize(c.maxSize);
        context->setupImageServerWithImage(photo, false);
        ASSERT_NE(context->imageServer(), nullptr);
        EXPECT_EQ(context->imageServer()->size(), c.output);
        EXPECT_EQ(context->glInstance(), nullptr);
    }
}

// Any thread may set the limit while contexts are made and render (run under ThreadSanitizer).
TEST_F(QZPhotoEditorSessionTest, TheLimitMayChangeFromAnotherThreadWhileContextsRender)
{
    auto session = openSession();
    session->addModulesObject(brighter());
    std::atomic<bool> stop{false};
    std::thread setter([&] {
        for (int i = 0; !stop; ++i) QZPhotoEditorContext::setHighResOutputSizeLimit(i % 2 ? 5000.0f : -1.0f);
    });
    std::vector<Deliveries> deliveries(8);
    for (auto& d : deliveries) session->createContext()->renderInputImage(imageOf(input_), d.completion());
    session->setOpen(false);
    for (auto& d : deliveries) {
        ASSERT_TRUE(d.waitForOne());
        ASSERT_NE(d.images[0], nullptr);
        const Pixels output = pixelsOf(d.images[0]);
        EXPECT_TRUE(output.width == 160 || output.width == 81) << output.width;
    }
    stop = true;
    setter.join();
}

}  // namespace
