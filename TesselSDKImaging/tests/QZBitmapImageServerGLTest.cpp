// The GPU image server on a real GL context: the orientation reference with its buffer blocks on
// the GL queue, the block choice, a release while QopLite passes wait, and the geometry modules
// giving the same picture with preprocessing on a CPU server and without it on a GPU server.
#include "QZGLTestSupport.h"
#include "QZImageServerTestSupport.h"

#include "TesselSDKImaging/Modules/QZCropModule.h"
#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Modules/QZOrientationModule.h"
#include "TesselSDKImaging/Processors/QZResizeImageProcessor.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"

#include "UIKit/UIImage.h"

#include <cmath>
#include <cstdlib>

using namespace qz_test;

namespace {

class QZBitmapImageServerGLTest : public GLManagerTest {
protected:
    void TearDown() override
    {
        servers_.clear();
        GLManagerTest::TearDown();
    }

    // A GPU server on a new instance of the image's size (Default mode), with the input not loaded.
    std::shared_ptr<QZBitmapImageServer> gpuServerFor(const Pixels& pixels,
                                                      UIImageOrientation orientation = UIImageOrientationUp)
    {
        std::shared_ptr<QZOpenGLInstance> instance = QZOpenGLInstance::make(
            CGSizeMake(CGFloat(pixels.width), CGFloat(pixels.height)), QopGLRenderingModeDefault, QZQueueTypeSDK);
        EXPECT_NE(instance, nullptr);
        CGImageRef image = createImage(pixels);
        std::shared_ptr<QZBitmapImageServer> server = QZBitmapImageServer::make(image, 1, orientation, instance);
        CGImageRelease(image);
        servers_.push_back(server);
        return server;
    }

    // As a replay context sets up the GPU path: the drawn input loaded into an OverwriteOriginal
    // instance on a Hires queue, the server's copy released.
    std::shared_ptr<QZBitmapImageServer> replayServerFor(const Pixels& pixels)
    {
        const CGSize size = CGSizeMake(CGFloat(pixels.width), CGFloat(pixels.height));
        std::shared_ptr<QZOpenGLInstance> instance =
            QZOpenGLInstance::make(size, QopGLRenderingModeOverwriteOriginal, QZQueueTypeHires);
        EXPECT_NE(instance, nullptr);
        CGImageRef image = createImage(pixels);
        std::shared_ptr<QZBitmapImageServer> server =
            QZBitmapImageServer::make(image, 1, UIImageOrientationUp, instance);
        CGImageRelease(image);
        server->drawImage();
        server->getProcessedImageSizeAndData([instance, server](CGSize drawn, std::uint8_t* bytes) {
            instance->setInputImageDataFromGLQueue(bytes, drawn, false);
            server->releaseInputImage();
        });
        instance->setupProcessingObjects();
        instance->renderIdentityImageWithCompletion(nullptr);
        servers_.push_back(server);
        return server;
    }

    // The GL instance's current image, read back upright.
    Pixels outputOf(const std::shared_ptr<QZBitmapImageServer>& server)
    {
        std::shared_ptr<UIImage> output;
        bool done = false;
        server->glInstance()->getOutputImage([&](std::shared_ptr<UIImage> image) {
            output = std::move(image);
            done = true;
        });
        EXPECT_TRUE(pumpUntil([&] { return done; }));
        if (!output) return {};
        CGImageRef image = output->CGImage();
        return pixelsFromBytes(CGSizeMake(CGFloat(CGImageGetWidth(image)), CGFloat(CGImageGetHeight(image))),
                               CGImageGetBytes(image));
    }

    // The module run on a CPU server with preprocessing and committed, as the CPU replay does.
    Pixels runOnCPU(const Pixels& input, const std::shared_ptr<QZModule>& module)
    {
        CGImageRef image = createImage(input);
        std::shared_ptr<QZBitmapImageServer> server = QZBitmapImageServer::make(image, 1, UIImageOrientationUp);
        CGImageRelease(image);
        server->drawImage();
        module->setWillRunOnCPU(true);
        server->runModule(module, true, [server] { server->commit(); });
        return readBack(server);
    }

    Pixels runOnGPU(const Pixels& input, const std::shared_ptr<QZModule>& module)
    {
        std::shared_ptr<QZBitmapImageServer> server = replayServerFor(input);
        module->setWillRunOnCPU(false);
        server->runModule(module, false, nullptr);
        return outputOf(server);
    }

    std::vector<std::shared_ptr<QZBitmapImageServer>> servers_;
};

// Largest difference over r, g, b; -1 for different sizes.
int maxDifference(const Pixels& a, const Pixels& b)
{
    if (a.width != b.width || a.height != b.height) return -1;
    int most = 0;
    for (std::size_t i = 0; i < a.rgba.size(); ++i)
        for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(int(a.rgba[i][c]) - int(b.rgba[i][c])));
    return most;
}

TEST_F(QZBitmapImageServerGLTest, EveryOrientedDrawShowsTheGridTurnedOrMirroredOnTheGLQueue)
{
    const Pixels grid = sixColours();
    for (const OrientedDraw& draw : orientedDraws()) {
        for (UIImageOrientation orientation : kAllOrientations) {
            SCOPED_TRACE(std::string(draw.name) + ", orientation " + std::to_string(int(orientation)));
            std::shared_ptr<QZBitmapImageServer> server = gpuServerFor(grid);
            EXPECT_EQ(server->queueID(), 0);
            draw.draw(*server, orientation);
            EXPECT_EQ(readBack(server), oriented(grid, orientation));
        }
    }
}

TEST_F(QZBitmapImageServerGLTest, AGPUServerRunsTheQopLiteBlockWhenAProcessorHasBoth)
{
    struct Case {
        bool qop, cg;
        int qopRuns, cgRuns;
    };
    const Case cases[] = {{true, true, 1, 0}, {true, false, 1, 0}, {false, true, 0, 1}, {false, false, 0, 0}};
    std::shared_ptr<QZBitmapImageServer> server = gpuServerFor(sixColours());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.qop) + std::to_string(c.cg));
        std::shared_ptr<BlockChoiceProcessor> processor = BlockChoiceProcessor::make(c.qop, c.cg);
        server->runProcessor(processor);
        ASSERT_TRUE(drainServer(server));
        EXPECT_EQ(processor->qopRuns->load(), c.qopRuns);
        EXPECT_EQ(processor->cgRuns->load(), c.cgRuns);
        if (c.qopRuns > 0) {
            EXPECT_TRUE(processor->qopRanOnGPU->load()) << "the QopLite block did not get the GPU record";
        }
    }
}

TEST_F(QZBitmapImageServerGLTest, QopLitePassesQueuedBeforeAReleaseStillRun)
{
    std::shared_ptr<QZBitmapImageServer> server = gpuServerFor(sixColours());
    server->drawImage();
    Gate gate;
    server->runBlock(gate.block());
    ASSERT_TRUE(gate.waitUntilEntered());
    auto qopRan = std::make_shared<std::atomic<bool>>(false), bitmapRan = std::make_shared<std::atomic<bool>>(false);
    server->enqueueQopBlock([qopRan](QopBitmap_t*, const std::atomic<bool>*) { qopRan->store(true); });
    server->enqueueBlock([bitmapRan](CGContextRef, const std::atomic<bool>*) { bitmapRan->store(true); });
    server->releaseInputImage();
    gate.open();
    ASSERT_TRUE(drainServer(server));
    EXPECT_TRUE(qopRan->load());
    EXPECT_FALSE(bitmapRan->load()) << "a buffer block queued before the release ran";
}

TEST_F(QZBitmapImageServerGLTest, GeometryModulesGiveOnePictureWithAndWithoutPreprocessing)
{
    const Pixels input = makePixels(200, 100, [](std::size_t x, std::size_t y) {
        return std::array<std::uint8_t, 4>{std::uint8_t(x), std::uint8_t(y * 2), std::uint8_t(255 - x), 255};
    });
    auto crop = [] {
        std::shared_ptr<QZCropModule> module = QZCropModule::make();
        module->setRect(CGRectMake(0.1f, 0.2f, 0.5f, 0.5f));
        module->setScaledSize(CGSizeMake(0.5f, 0.5f));
        module->setIsHiRes(true);
        return module;
    };
    {
        SCOPED_TRACE("crop (0.1, 0.2, 0.5, 0.5)");
        const Pixels cpu = runOnCPU(input, crop());
        EXPECT_EQ(cpu.width, 100u);
        EXPECT_EQ(cpu.height, 50u);
        EXPECT_LE(maxDifference(cpu, runOnGPU(input, crop())), 1);
    }
    for (UIImageOrientation orientation : kAllOrientations) {
        SCOPED_TRACE("orientation " + std::to_string(int(orientation)));
        auto turn = [&] {
            std::shared_ptr<QZOrientationModule> module = QZOrientationModule::make();
            module->setOrientation(orientation);
            module->setOriginalSize(CGSizeMake(200, 100));
            module->setIsHiRes(true);
            return module;
        };
        const Pixels cpu = runOnCPU(input, turn());
        EXPECT_EQ(cpu, oriented(input, orientation));
        const int difference = maxDifference(cpu, runOnGPU(input, turn()));
        EXPECT_GE(difference, 0) << "sizes differ";
        EXPECT_LE(difference, 1);
    }
}

// Mean difference over r, g, b of the pixels at least `margin` from every edge; -1 for different
// sizes.
double meanDifferenceInside(const Pixels& a, const Pixels& b, std::size_t margin)
{
    if (a.width != b.width || a.height != b.height) return -1;
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t y = margin; y + margin < a.height; ++y)
        for (std::size_t x = margin; x + margin < a.width; ++x)
            for (int c = 0; c < 3; ++c) {
                sum += std::abs(int(a.at(x, y)[c]) - int(b.at(x, y)[c]));
                ++count;
            }
    return count ? sum / double(count) : 0;
}

// One straightened size whichever path makes it, round(W / scale) x round(H / scale) with the
// sides of the turned result, and the same picture from both paths on a smooth gradient.
TEST_F(QZBitmapImageServerGLTest, AStraightenedImageHasOneSizeOnEveryPath)
{
    struct Case {
        std::size_t width, height;
        CGFloat rotation, scale;
        UIImageOrientation orientation;
        std::size_t outWidth, outHeight;
    };
    const CGFloat eighth = CGFloat(M_PI / 8), quarter = CGFloat(M_PI / 4);
    const Case cases[] = {
        {1024, 768, -eighth, 1.434124f, UIImageOrientationUp, 714, 536},
        {1024, 768, -eighth, 1.434124f, UIImageOrientationRight, 536, 714},
        {1600, 1200, -eighth, 1.434124f, UIImageOrientationUp, 1116, 837},
        {1600, 1200, -eighth, 1.434124f, UIImageOrientationRight, 837, 1116},
        {400, 300, 0.1f, 1.25f, UIImageOrientationUp, 320, 240},
        {400, 300, 0.1f, 1.25f, UIImageOrientationUpMirrored, 320, 240},
        {7, 5, quarter, 1.767767f, UIImageOrientationUp, 4, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + ", orientation " +
                     std::to_string(int(c.orientation)));
        const Pixels input = makePixels(c.width, c.height, [&](std::size_t x, std::size_t y) {
            return std::array<std::uint8_t, 4>{std::uint8_t(20 + x * 200 / c.width),
                                               std::uint8_t(30 + y * 180 / c.height),
                                               std::uint8_t(60 + (x + y) * 120 / (c.width + c.height)), 255};
        });
        auto straighten = [&] {
            std::shared_ptr<QZOrientationModule> module = QZOrientationModule::make();
            module->setOrientation(c.orientation);
            module->setRotation(c.rotation);
            module->setScale(c.scale);
            module->setOriginalSize(CGSizeMake(CGFloat(c.width), CGFloat(c.height)));
            module->setIsHiRes(true);
            return module;
        };
        const Pixels cpu = runOnCPU(input, straighten());
        const Pixels gpu = runOnGPU(input, straighten());
        EXPECT_EQ(cpu.width, c.outWidth);
        EXPECT_EQ(cpu.height, c.outHeight);
        EXPECT_EQ(gpu.width, c.outWidth);
        EXPECT_EQ(gpu.height, c.outHeight);
        if (c.outWidth > 8) {
            EXPECT_LT(meanDifferenceInside(cpu, gpu, 2), 2);
        }
    }
}

// A factor of zero or less names no image and changes nothing; a positive one too small for a
// pixel keeps one, as the CPU straightening of the same edit does.
TEST_F(QZBitmapImageServerGLTest, AResizeToNoPixelsLeavesTheImageAndATinyOneKeepsAPixel)
{
    const Pixels input = sixColours();
    struct Case {
        CGSize factors;
        CGSize size;
    };
    for (const Case& c : {Case{CGSizeMake(0, 1), CGSizeMake(3, 2)}, Case{CGSizeMake(1, -0.5f), CGSizeMake(3, 2)},
                          Case{CGSizeMake(NAN, 1), CGSizeMake(3, 2)}, Case{CGSizeMake(1, 0.1f), CGSizeMake(3, 1)}}) {
        const CGSize factors = c.factors;
        SCOPED_TRACE(std::to_string(factors.width) + " x " + std::to_string(factors.height));
        std::shared_ptr<QZBitmapImageServer> server = replayServerFor(input);
        server->runModule(QZBlockModule::moduleWithBlock([factors](QZProcessorList& processors) {
                              std::shared_ptr<QZResizeImageProcessor> resize = QZResizeImageProcessor::make();
                              resize->setLowerRight(CGPointMake(1, 0));
                              resize->setUpperLeft(CGPointMake(0, 1));
                              resize->setUpperRight(CGPointMake(1, 1));
                              resize->setNewImageSize(factors);
                              processors.push_back(resize);
                          }),
                          false, nullptr);
        const Pixels output = outputOf(server);
        EXPECT_EQ(server->glInstance()->currentImageSize(), c.size);
        if (CGSizeEqualToSize(c.size, CGSizeMake(3, 2))) {
            EXPECT_EQ(output, input);
        }
    }
}

}  // namespace
