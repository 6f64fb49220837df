// The CPU image server: the orientation reference, sizes, straightening and cropping geometry, the
// queue's rules (cancel, commit, completions' threads, block choice), snapshots, and a release
// while work is queued or running. Also run under ThreadSanitizer (label tsan).
#include "QZImageServerTestSupport.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/QZBitmapServerDrawing.h"

#include "Foundation/NSLogCapture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

using namespace qz_test;

namespace {

// Sets one channel of every pixel to `value`, looking at the stop flag as every processor does.
std::shared_ptr<QZProcessor> paintChannel(int channel, std::uint8_t value)
{
    return QZProcessor::processorWithBitmapBlock(QZBitmapBlockCreateWithPixelBlock(
        [channel, value](QZPixel* pixel, QZPixelContext*) { (&pixel->r)[channel] = value; }));
}

class QZBitmapImageServerTest : public ::testing::Test {
protected:
    std::shared_ptr<QZBitmapImageServer> serverFor(const Pixels& pixels, CGFloat scale = 1,
                                                   UIImageOrientation orientation = UIImageOrientationUp)
    {
        CGImageRef image = createImage(pixels);
        std::shared_ptr<QZBitmapImageServer> server = QZBitmapImageServer::make(image, scale, orientation);
        CGImageRelease(image);
        return server;
    }
    const Pixels ramp_ = makePixels(40, 30, [](std::size_t x, std::size_t y) {
        return std::array<std::uint8_t, 4>{std::uint8_t(x * 6), std::uint8_t(y * 8), std::uint8_t(100 + x + y), 255};
    });
};

TEST_F(QZBitmapImageServerTest, EveryOrientedDrawShowsTheGridTurnedOrMirrored)
{
    const Pixels grid = sixColours();
    for (const OrientedDraw& draw : orientedDraws()) {
        for (UIImageOrientation orientation : kAllOrientations) {
            SCOPED_TRACE(std::string(draw.name) + ", orientation " + std::to_string(int(orientation)));
            std::shared_ptr<QZBitmapImageServer> server = serverFor(grid);
            draw.draw(*server, orientation);
            EXPECT_EQ(readBack(server), oriented(grid, orientation));
        }
    }
    // An original turned right and turned right again shows upside down.
    std::shared_ptr<QZBitmapImageServer> server = serverFor(grid, 1, UIImageOrientationRight);
    server->drawTransformedImageWithOrientation(UIImageOrientationRight);
    EXPECT_EQ(readBack(server), oriented(grid, UIImageOrientationDown));
}

TEST_F(QZBitmapImageServerTest, SizesFollowScaleAndTurnsAndAnUnknownOrientationEmptiesThem)
{
    std::shared_ptr<QZBitmapImageServer> server =
        serverFor(makePixels(1000, 750, [](std::size_t, std::size_t) { return std::array<std::uint8_t, 4>{}; }), 0.5f);
    EXPECT_EQ(server->size(), CGSizeMake(500, 375));
    server->configureForOrientation(UIImageOrientationRight);
    ASSERT_TRUE(drainServer(server));
    EXPECT_EQ(server->size(), CGSizeMake(375, 500));
    server->configureForOrientation(UIImageOrientationLeft);
    server->configureForOrientation(UIImageOrientationLeft);
    ASSERT_TRUE(drainServer(server));
    EXPECT_EQ(server->size(), CGSizeMake(375, 500));

    NSLogCapture log;
    server->setOrientation(UIImageOrientation(9));
    server->doConfigureForOrientation(UIImageOrientationUp);
    EXPECT_TRUE(log.contains("-[QZBitmapImageServer doConfigureForOrientation:] Unhandled orientation: 9"));
    EXPECT_EQ(server->size(), CGSizeMake(0, 0));
    EXPECT_EQ(server->orientation(), UIImageOrientationUp);
}

// A photo far thinner than it is long, scaled to fit 1024 x 1024: the thin side keeps one pixel,
// filled with the photo's colour (a zero-pixel side has no bitmap to draw into).
TEST_F(QZBitmapImageServerTest, AThinPhotoScaledDownKeepsAPixelAcrossFilledWithItsColour)
{
    struct Case {
        std::size_t width, height;
        CGFloat scale;
        CGSize expected;
        UIImageOrientation orientation;
    };
    const Case cases[] = {
        {1, 20000, 1024.0f / 20000, CGSizeMake(1, 1024), UIImageOrientationUp},
        {20000, 1, 1024.0f / 20000, CGSizeMake(1024, 1), UIImageOrientationUp},
        {10, 20000, 1024.0f / 20000, CGSizeMake(1, 1024), UIImageOrientationUp},
        {1, 20000, 1024.0f / 20000, CGSizeMake(1024, 1), UIImageOrientationRight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + ", orientation " +
                     std::to_string(int(c.orientation)));
        std::shared_ptr<QZBitmapImageServer> server =
            serverFor(makePixels(c.width, c.height,
                                 [](std::size_t, std::size_t) { return std::array<std::uint8_t, 4>{200, 80, 40, 255}; }),
                      c.scale, c.orientation);
        server->drawImage();
        ASSERT_TRUE(drainServer(server));
        // The long side is 20000 x the factor, floored: 1023 or 1024 as the float falls.
        const CGSize size = server->size();
        EXPECT_NEAR(size.width, c.expected.width, c.expected.width > 1 ? 1 : 0);
        EXPECT_NEAR(size.height, c.expected.height, c.expected.height > 1 ? 1 : 0);
        const Pixels drawn = readBack(server);
        ASSERT_EQ(drawn.width, std::size_t(size.width));
        ASSERT_EQ(drawn.height, std::size_t(size.height));
        const std::array<std::uint8_t, 4> middle = drawn.at(drawn.width / 2, drawn.height / 2);
        EXPECT_NEAR(middle[0], 200, 2);
        EXPECT_NEAR(middle[1], 80, 2);
        EXPECT_EQ(middle[3], 255);
    }
}

TEST_F(QZBitmapImageServerTest, StraighteningKeepsTheCentreAndTurnsClockwise)
{
    const Pixels input = makePixels(400, 300, [](std::size_t x, std::size_t y) {
        return std::array<std::uint8_t, 4>{std::uint8_t(x % 251), std::uint8_t(y % 241), 60, 255};
    });
    std::shared_ptr<QZBitmapImageServer> server = serverFor(input);
    server->drawStraightenedwithRotation(0, 1.25f, UIImageOrientationUp);
    const Pixels centre = readBack(server);
    ASSERT_EQ(centre.width, 320u);
    ASSERT_EQ(centre.height, 240u);
    EXPECT_EQ(centre, makePixels(320, 240, [&](std::size_t x, std::size_t y) { return input.at(x + 40, y + 30); }));

    // A white marker 100 pixels right of the centre, on black: a clockwise turn moves it down.
    const Pixels marked = makePixels(400, 300, [](std::size_t x, std::size_t y) {
        const bool marker = x >= 296 && x < 304 && y >= 146 && y < 154;
        return marker ? std::array<std::uint8_t, 4>{255, 255, 255, 255} : std::array<std::uint8_t, 4>{0, 0, 0, 255};
    });
    server = serverFor(marked);
    server->drawStraightenedwithRotation(CGFloat(10 * M_PI / 180), 1.25f, UIImageOrientationUp);
    const Pixels turned = readBack(server);
    double sumY = 0, count = 0;
    for (std::size_t y = 0; y < turned.height; ++y)
        for (std::size_t x = 0; x < turned.width; ++x)
            if (turned.at(x, y)[0] > 128) sumY += double(y), ++count;
    ASSERT_GT(count, 0);
    // Centre row 120; 100 pixels out at 10 degrees is about 17 rows lower.
    EXPECT_NEAR(sumY / count, 120 + 100 * std::sin(10 * M_PI / 180), 2.0);
}

// The kept region W / s x H / s is rounded to whole pixels, as every other path rounds it, and
// drawn centred: with even margins the result is the input's own pixels.
TEST_F(QZBitmapImageServerTest, StraighteningRoundsTheKeptRegionAndCentresIt)
{
    struct Case {
        std::size_t width, height;
        CGFloat scale;
        std::size_t outWidth, outHeight;
    };
    for (const Case& c : {Case{1024, 768, 1.434124f, 714, 536}, Case{400, 300, 1.25f, 320, 240},
                          Case{1600, 1200, 1.434124f, 1116, 837}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const Pixels input = makePixels(c.width, c.height, [](std::size_t x, std::size_t y) {
            return std::array<std::uint8_t, 4>{std::uint8_t(x % 251), std::uint8_t(y % 241),
                                               std::uint8_t((x + y) % 239), 255};
        });
        std::shared_ptr<QZBitmapImageServer> server = serverFor(input);
        server->drawStraightenedwithRotation(0, c.scale, UIImageOrientationUp);
        const Pixels kept = readBack(server);
        ASSERT_EQ(kept.width, c.outWidth);
        ASSERT_EQ(kept.height, c.outHeight);
        const std::size_t left = (c.width - c.outWidth) / 2, top = (c.height - c.outHeight) / 2;
        if ((c.width - c.outWidth) % 2 == 0 && (c.height - c.outHeight) % 2 == 0) {
            EXPECT_EQ(kept, makePixels(c.outWidth, c.outHeight,
                                       [&](std::size_t x, std::size_t y) { return input.at(x + left, y + top); }));
        }
    }
}

// Straightening draws strips of rows at once on every core. Each strip must land on its own rows:
// against one draw of the whole, no row lost (the buffer's old bytes), shifted (rows differ
// sharply) or composited twice (translucent pixels), only the drawing's rounding, on sizes that do
// not divide evenly; and the same size gives the same bytes on every run.
TEST_F(QZBitmapImageServerTest, StraighteningInStripsLandsEveryRowAsOneDrawDoes)
{
    struct Case {
        std::size_t width, height;
        CGFloat degrees, scale;
        UIImageOrientation orientation;
    };
    for (const Case& c : {Case{1001, 777, 3, 1.1f, UIImageOrientationUp}, Case{1001, 777, -7.5f, 1.0f, UIImageOrientationRight},
                          Case{777, 1001, 12, 1.3f, UIImageOrientationDownMirrored}, Case{1, 300, 5, 1, UIImageOrientationUp},
                          Case{300, 1, -5, 1, UIImageOrientationUp}, Case{130, 129, 45, 1, UIImageOrientationLeft}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " at " + std::to_string(c.degrees));
        // Translucent where x + y is odd; green steps sharply from row to row.
        const Pixels input = makePixels(c.width, c.height, [](std::size_t x, std::size_t y) {
            const std::uint8_t alpha = (x + y) % 2 ? std::uint8_t(90 + x % 100) : 255;
            return std::array<std::uint8_t, 4>{std::uint8_t(std::min<std::size_t>(x % 251, alpha)),
                                               std::uint8_t(std::min<std::size_t>(y * 37 % 256, alpha)), alpha, alpha};
        });
        CGImageRef image = createImage(input);
        const CGSize size = QZImageOrientationIsTurned(c.orientation) ? CGSizeMake(c.height, c.width)
                                                                      : CGSizeMake(c.width, c.height);
        auto draw = [&](std::size_t strips) {
            std::vector<std::uint8_t> buffer(c.width * c.height * 4);
            for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = std::uint8_t(i * 7 % 13 * 19);
            CGContextRef context = QZCGContextCreateWithData(buffer.data(), size);
            QZBitmapServerDrawStraightened(context, size, image, CGFloat(c.degrees * M_PI / 180), c.scale, c.orientation,
                                           strips);
            CGContextRelease(context);
            return buffer;
        };
        const std::vector<std::uint8_t> whole = draw(1);
        for (std::size_t strips : {std::size_t(2), std::size_t(7), std::size_t(5000)}) {
            const std::vector<std::uint8_t> striped = draw(strips);
            int largest = 0;
            for (std::size_t i = 0; i < whole.size(); ++i) largest = std::max(largest, std::abs(striped[i] - whole[i]));
            EXPECT_LE(largest, 3) << strips << " strips";
        }
        EXPECT_TRUE(draw(0) == draw(0));
        CGImageRelease(image);
    }
}

TEST_F(QZBitmapImageServerTest, CropRectanglesStayInsideTheImage)
{
    struct Case {
        const char* name;
        CGRect relative;
        CGRect pixels;
    };
    const CGSize size = CGSizeMake(10, 8);
    const Case cases[] = {
        {"whole", CGRectMake(0, 0, 1, 1), CGRectMake(0, 0, 10, 8)},
        {"starting past the right edge starts at it", CGRectMake(1.5f, 0, 0.5f, 1), CGRectMake(10, 0, 5, 8)},
        {"fractional edges round outward", CGRectMake(0.25f, 0.3f, 0.5f, 0.5f), CGRectMake(2, 2, 6, 5)},
        {"outward rounding never passes the sides", CGRectMake(0.05f, 0.05f, 1, 1), CGRectMake(0, 0, 10, 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(QZBitmapServerCropRect(size, c.relative), c.pixels);
    }
    EXPECT_TRUE(CGRectIsNull(QZBitmapServerCropRect(size, CGRectMake(NAN, 0, 1, 1))));

    // Through the server: the buffer is never overrun, and a non-finite rectangle changes nothing.
    std::shared_ptr<QZBitmapImageServer> server = serverFor(ramp_);
    server->drawImage();
    server->cropImageToRect(CGRectMake(0.05f, 0.05f, 1, 1));
    const Pixels cropped = readBack(server);
    EXPECT_EQ(cropped.width, 40u);
    EXPECT_EQ(cropped.height, 30u);
    NSLogCapture log;
    server->cropImageToRect(CGRectMake(0, INFINITY, 1, 1));
    EXPECT_EQ(readBack(server), cropped);
    EXPECT_TRUE(log.contains("Crop rectangle is not finite"));

    // The crop keeps the top-left pixels it names.
    server = serverFor(ramp_);
    server->cropImageToRect(CGRectMake(0.25f, 0.5f, 0.5f, 0.5f));
    EXPECT_EQ(readBack(server),
              makePixels(20, 15, [&](std::size_t x, std::size_t y) { return ramp_.at(x + 10, y + 15); }));
}

TEST_F(QZBitmapImageServerTest, AStraighteningZoomBelowOneOrNotANumberIsTakenAsOne)
{
    for (CGFloat scale : {0.5f, 0.0f, CGFloat(NAN), CGFloat(INFINITY)}) {
        SCOPED_TRACE(scale);
        NSLogCapture log;
        std::shared_ptr<QZBitmapImageServer> server = serverFor(ramp_);
        server->drawStraightenedwithRotation(0, scale, UIImageOrientationUp);
        EXPECT_EQ(readBack(server), ramp_);
        EXPECT_TRUE(log.contains("Straightening scale below 1 or not finite; using 1"));
    }
}

TEST_F(QZBitmapImageServerTest, ACancelStopsWhatWasQueuedBeforeItOnly)
{
    std::shared_ptr<QZBitmapImageServer> server = serverFor(ramp_);
    server->drawImage();
    Gate gate;
    server->runBlock(gate.block());
    ASSERT_TRUE(gate.waitUntilEntered());
    server->runProcessor(paintChannel(0, 1));
    server->cancelProcessing();
    EXPECT_TRUE(server->isStopped());
    server->runProcessor(paintChannel(1, 2));
    gate.open();
    const Pixels after = readBack(server);
    EXPECT_FALSE(server->isStopped());
    EXPECT_EQ(after.at(5, 5)[0], ramp_.at(5, 5)[0]) << "the processor queued before the cancel ran";
    EXPECT_EQ(after.at(5, 5)[1], 2) << "the processor queued after the cancel did not run";
}

TEST_F(QZBitmapImageServerTest, CommitMakesTheEditTheUprightInputImage)
{
    std::shared_ptr<QZBitmapImageServer> server = serverFor(ramp_, 0.5f, UIImageOrientationRight);
    server->drawImage();
    server->runProcessor(paintChannel(2, 7));
    server->commit();
    const Pixels edited = readBack(server);
    ASSERT_EQ(edited.width, 15u);
    ASSERT_EQ(edited.height, 20u);
    EXPECT_EQ(server->scale(), 1.0f);
    EXPECT_EQ(server->orientation(), UIImageOrientationUp);
    EXPECT_EQ(server->originalOrientation(), UIImageOrientationUp);
    EXPECT_EQ(CGImageGetWidth(server->inputImage()), 15u);
    EXPECT_EQ(CGImageGetHeight(server->inputImage()), 20u);
    // Redrawn from the committed image: the edit stays, nothing is scaled or turned again.
    server->runProcessor(paintChannel(2, 9));
    server->drawImage();
    EXPECT_EQ(readBack(server), edited);
}

// Steps as a replay runs them: crops and processors, each committed. Whoever else holds the
// original keeps its pixels; the server reuses its storage from the second step on.
TEST_F(QZBitmapImageServerTest, AReplayReusesItsFullSizeStoresFromStepToStep)
{
    for (bool originalHeldElsewhere : {false, true}) {
        SCOPED_TRACE(originalHeldElsewhere ? "original held elsewhere" : "original held by the server alone");
        CGImageRef original = createImage(ramp_);
        std::shared_ptr<QZBitmapImageServer> server = QZBitmapImageServer::make(original, 1, UIImageOrientationUp);
        if (!originalHeldElsewhere) CGImageRelease(original);
        server->drawImage();
        Pixels expected = ramp_;
        std::vector<std::uint64_t> allocations;
        auto step = [&](const std::function<void()>& queue, const std::function<void(Pixels&)>& expect) {
            queue();
            server->commit();
            ASSERT_TRUE(drainServer(server));
            expect(expected);
            allocations.push_back(server->fullSizeAllocations());
            EXPECT_EQ(readBack(server), expected);
            EXPECT_EQ(pixelsFromBytes(server->size(), CGImageGetBytes(server->inputImage())), expected);
        };
        auto crop = [&](CGRect relative) {
            step([&] { server->cropImageToRect(relative); },
                 [&](Pixels& pixels) {
                     const CGRect kept = QZBitmapServerCropRect(CGSizeMake(CGFloat(pixels.width), CGFloat(pixels.height)),
                                                                relative);
                     const Pixels before = pixels;
                     pixels = makePixels(std::size_t(kept.size.width), std::size_t(kept.size.height),
                                         [&](std::size_t x, std::size_t y) {
                                             return before.at(x + std::size_t(kept.origin.x), y + std::size_t(kept.origin.y));
                                         });
                 });
        };
        auto paint = [&](int channel, std::uint8_t value) {
            step([&] { server->runProcessor(paintChannel(channel, value)); },
                 [&](Pixels& pixels) {
                     for (auto& pixel : pixels.rgba) pixel[std::size_t(channel)] = value;
                 });
        };
        crop(CGRectMake(0.1f, 0.1f, 0.8f, 0.8f));
        paint(0, 17);
        crop(CGRectMake(0.25f, 0, 0.5f, 1));
        paint(1, 99);
        // The buffer, and a store for the first commit only when the original could not lend its own.
        EXPECT_EQ(allocations.front(), originalHeldElsewhere ? 2u : 1u);
        EXPECT_EQ(allocations.back(), allocations.front());
        if (originalHeldElsewhere) {
            EXPECT_EQ(pixelsFromBytes(CGSizeMake(40, 30), CGImageGetBytes(original)), ramp_);
            CGImageRelease(original);
        }
    }
}

TEST_F(QZBitmapImageServerTest, ResultsArriveOnTheirThreads)
{
    std::shared_ptr<QZBitmapImageServer> server = serverFor(ramp_);
    const std::thread::id mainThread = std::this_thread::get_id();

    // Before any draw: the input image itself, on the main queue.
    CGImageRef delivered = nullptr;
    bool onMain = false, done = false;
    server->getProcessedImage([&](CGImageRef image) {
        delivered = image;
        onMain = std::this_thread::get_id() == mainThread;
        done = true;
    });
    ASSERT_TRUE(pumpUntil([&] { return done; }));
    EXPECT_EQ(delivered, server->inputImage());
    EXPECT_TRUE(onMain);

    server->drawImage();
    done = false;
    std::size_t width = 0;
    server->getProcessedImage([&](CGImageRef image) {
        width = CGImageGetWidth(image);
        onMain = std::this_thread::get_id() == mainThread;
        done = true;
    });
    ASSERT_TRUE(pumpUntil([&] { return done; }));
    EXPECT_EQ(width, 40u);
    EXPECT_TRUE(onMain);

    done = false;
    server->takeSnapshot([&](std::shared_ptr<const QZImageBytes> snapshot) {
        EXPECT_EQ(snapshot->size(), 40u * 30u * 4u);
        onMain = std::this_thread::get_id() == mainThread;
        done = true;
    });
    ASSERT_TRUE(pumpUntil([&] { return done; }));
    EXPECT_TRUE(onMain);

    auto queueThreads = std::make_shared<std::atomic<int>>(0);
    server->getProcessedImageAndData([=](CGImageRef image, std::uint8_t* bytes) {
        if (image && bytes && std::this_thread::get_id() != mainThread) ++*queueThreads;
    });
    server->getProcessedImageSizeAndData([=](CGSize size, std::uint8_t* bytes) {
        if (size == CGSizeMake(40, 30) && bytes && std::this_thread::get_id() != mainThread) ++*queueThreads;
    });
    ASSERT_TRUE(drainServer(server));
    EXPECT_EQ(queueThreads->load(), 2);
}

TEST_F(QZBitmapImageServerTest, ACPUServerRunsTheBitmapBlockWhenAProcessorHasBoth)
{
    struct Case {
        bool qop, cg;
        int qopRuns, cgRuns;
    };
    const Case cases[] = {{true, true, 0, 1}, {true, false, 1, 0}, {false, true, 0, 1}, {false, false, 0, 0}};
    std::shared_ptr<QZBitmapImageServer> server = serverFor(ramp_);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.qop) + std::to_string(c.cg));
        std::shared_ptr<BlockChoiceProcessor> processor = BlockChoiceProcessor::make(c.qop, c.cg);
        server->runProcessor(processor);
        ASSERT_TRUE(drainServer(server));
        EXPECT_EQ(processor->qopRuns->load(), c.qopRuns);
        EXPECT_EQ(processor->cgRuns->load(), c.cgRuns);
    }
}

TEST_F(QZBitmapImageServerTest, AModuleRunFromTheServersQueueRunsOnlyQopLiteBlocksAtOnce)
{
    std::shared_ptr<QZBitmapImageServer> server = serverFor(ramp_);
    std::shared_ptr<BlockChoiceProcessor> both = BlockChoiceProcessor::make(true, true);
    std::shared_ptr<BlockChoiceProcessor> bitmapOnly = BlockChoiceProcessor::make(false, true);
    std::shared_ptr<QZModule> module = QZBlockModule::moduleWithBlock([&](QZProcessorList& processors) {
        processors.push_back(both);
        processors.push_back(bitmapOnly);
    });
    auto ranAtOnce = std::make_shared<std::atomic<bool>>(false);
    server->runBlock([server, module, both, ranAtOnce] {
        server->runModuleFromImageServerThread(module);
        ranAtOnce->store(both->qopRuns->load() == 1);
    });
    ASSERT_TRUE(drainServer(server));
    EXPECT_TRUE(ranAtOnce->load());
    EXPECT_EQ(both->cgRuns->load(), 0);
    EXPECT_EQ(bitmapOnly->cgRuns->load(), 0);
}

TEST_F(QZBitmapImageServerTest, SnapshotsRestorePixelsAndNeverWritePastTheBuffer)
{
    std::shared_ptr<QZBitmapImageServer> server = serverFor(ramp_);
    server->drawImage();
    std::shared_ptr<const QZImageBytes> snapshot;
    server->takeSnapshot([&](std::shared_ptr<const QZImageBytes> taken) { snapshot = std::move(taken); });
    ASSERT_TRUE(pumpUntil([&] { return snapshot != nullptr; }));
    server->runProcessor(paintChannel(0, 0));
    server->setPixelsWithSnapshot(snapshot);
    EXPECT_EQ(readBack(server), ramp_);

    // Longer than the buffer: only the buffer's length is copied.
    auto longer = std::make_shared<QZImageBytes>(snapshot->size() * 2, 77);
    server->setPixelsWithSnapshot(longer);
    const Pixels filled = readBack(server);
    EXPECT_EQ(filled.at(39, 29), (std::array<std::uint8_t, 4>{77, 77, 77, 77}));
    // Shorter: the rest stays.
    server->setPixelsWithSnapshot(std::make_shared<QZImageBytes>(4, 5));
    const Pixels partly = readBack(server);
    EXPECT_EQ(partly.at(0, 0), (std::array<std::uint8_t, 4>{5, 5, 5, 5}));
    EXPECT_EQ(partly.at(1, 0), (std::array<std::uint8_t, 4>{77, 77, 77, 77}));
}

TEST_F(QZBitmapImageServerTest, TheBufferStartsZeroFilled)
{
    std::shared_ptr<QZBitmapImageServer> server = serverFor(ramp_);
    const Pixels undrawn = readBack(server);
    EXPECT_EQ(undrawn, makePixels(40, 30, [](std::size_t, std::size_t) { return std::array<std::uint8_t, 4>{}; }));
}

TEST_F(QZBitmapImageServerTest, NoContextIsLaidOverMoreBytesThanTheBufferHolds)
{
    std::shared_ptr<QZBitmapImageServer> server = serverFor(ramp_);
    ASSERT_TRUE(drainServer(server));
    EXPECT_EQ(server->data()->size(), 40u * 30u * 4u);
    server->setSize(CGSizeMake(41, 30));
    NSLogCapture log;
    bool called = false;
    CGContextRef given = reinterpret_cast<CGContextRef>(1);
    server->doWithContext([&](CGContextRef context, const std::atomic<bool>*) {
        called = true;
        given = context;
    });
    EXPECT_TRUE(called);
    EXPECT_EQ(given, nullptr);
    EXPECT_TRUE(log.contains("NULL context in image server"));
    // A QopLite block would write every pixel of the size: it is not run at all.
    bool ran = false;
    server->doWithQopBitmap([&](QopBitmap_t*, const std::atomic<bool>*) { ran = true; });
    EXPECT_FALSE(ran);
}

TEST_F(QZBitmapImageServerTest, AReleaseUnderQueuedWorkFreesNothingInUse)
{
    std::shared_ptr<QZBitmapImageServer> server = serverFor(ramp_);
    server->drawImage();
    // A slow block holds the buffer while the release comes; others wait behind it.
    Gate gate;
    auto sawBuffer = std::make_shared<std::atomic<bool>>(false);
    server->enqueueBlock([gate = gate.block(), sawBuffer](CGContextRef context, const std::atomic<bool>*) {
        gate();
        // Still the old bytes: writing them must be safe after the release.
        std::memset(CGBitmapContextGetData(context), 9, 40 * 30 * 4);
        sawBuffer->store(true);
    });
    ASSERT_TRUE(gate.waitUntilEntered());
    std::shared_ptr<QZProcessor> waiting = paintChannel(0, 200);
    server->runProcessor(waiting);
    server->drawImage();
    bool snapshotDelivered = false;
    server->takeSnapshot([&](std::shared_ptr<const QZImageBytes>) { snapshotDelivered = true; });
    server->releaseInputImage();
    EXPECT_EQ(server->inputImage(), nullptr);
    gate.open();
    // Queued after the release: a new buffer, zero-filled.
    const Pixels fresh = readBack(server);
    EXPECT_TRUE(sawBuffer->load());
    EXPECT_EQ(fresh, makePixels(40, 30, [](std::size_t, std::size_t) { return std::array<std::uint8_t, 4>{}; }));
    EXPECT_FALSE(snapshotDelivered) << "a snapshot queued before the release ran without a buffer";

    // From inside the server's own queue, as the GPU replay does.
    server = serverFor(ramp_);
    server->drawImage();
    auto released = std::make_shared<std::atomic<bool>>(false);
    server->getProcessedImageSizeAndData([server, released](CGSize, std::uint8_t* bytes) {
        const std::uint8_t first = bytes[0];
        server->releaseInputImage();
        // The bytes handed over stay readable until the completion returns.
        released->store(bytes[0] == first);
    });
    ASSERT_TRUE(pumpUntil([&] { return released->load(); }));
}

TEST_F(QZBitmapImageServerTest, AHeadlessServerRunsOnItsOwnQueue)
{
    CGImageRef image = createImage(ramp_);
    std::shared_ptr<QZBitmapImageServer> server = QZBitmapImageServer::makeHeadless(image, 1, UIImageOrientationUp);
    CGImageRelease(image);
    ASSERT_NE(server, nullptr);
    EXPECT_GT(server->queueID(), 0);
    server->drawImage();
    EXPECT_EQ(readBack(server), ramp_);
}

}  // namespace
