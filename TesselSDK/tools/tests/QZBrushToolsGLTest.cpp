// The brush tools on a real GL context, driven by touches: blemish smooths where its stroke went
// and nowhere else, renders once per finished stroke and holds Apply until the render is on
// screen; colour splash paints while the finger moves (one render at a time), stamps each stroke
// with the mode it began in, keeps a smart stroke's picked colour for the full-size replay, and
// records nothing (showing the photo as it was) when applied without a stroke.
#include "QZBrushTestSupport.h"

#include "TesselSDK/tools/brush/QZBlemishViewController.h"
#include "TesselSDK/tools/brush/QZColorSplashViewController.h"

#include "TesselSDKImaging/QZBitmapImageServer.h"
#include "TesselSDKImaging/Processors/QZSelectiveBlurProcessor.h"

#include <cmath>
#include <optional>
#include <random>

namespace {

using qz_test::Pixels;

constexpr std::size_t kPhotoWidth = 200;
constexpr std::size_t kPhotoHeight = 150;
// The canvas fits the photo at 1.5: the strip's 10 points are a brush of 6.67 image points.
constexpr CGFloat kFitZoom = 1.5f;

// A smooth gradient with a band of noise across rows 55 to 95.
Pixels noisyPatchPhoto()
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-60, 60);
    return qz_test::makePixels(kPhotoWidth, kPhotoHeight, [&](std::size_t x, std::size_t y) {
        const int base = 80 + int(x * 80 / kPhotoWidth);
        const int n = y >= 55 && y < 95 ? noise(random) : 0;
        const auto channel = [&](int v) { return std::uint8_t(std::clamp(v + n, 0, 255)); };
        return std::array<std::uint8_t, 4>{channel(base), channel(base + 20), channel(140), 255};
    });
}

// Mean squared difference of each pixel's green from its 3 x 3 neighbourhood's mean, over a
// rectangle of pixels.
double localVariance(const Pixels& p, std::size_t x0, std::size_t y0, std::size_t x1, std::size_t y1)
{
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t y = y0; y < y1; ++y)
        for (std::size_t x = x0; x < x1; ++x) {
            double mean = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) mean += p.at(std::size_t(int(x) + dx), std::size_t(int(y) + dy))[1];
            mean /= 9;
            const double d = p.at(x, y)[1] - mean;
            sum += d * d;
            ++count;
        }
    return sum / double(count);
}

class QZBrushToolsGLTest : public QZBrushScreenTest {
protected:
    template <class T>
    std::shared_ptr<T> presentOn(const Pixels& photo, CGFloat zoom, const std::string& key)
    {
        if (!loadPhoto(photo)) return nullptr;
        auto tool = presentBrush<T>(gl_->currentImageSize(), zoom, key);
        // The first render, of no stroke.
        if (!pumpUntil([&] { return tool->isReadyToApply() && tool->renderEndDate().has_value(); })) return nullptr;
        return tool;
    }
    // What the GL instance shows now.
    std::optional<Pixels> shown()
    {
        std::shared_ptr<UIImage> image;
        gl_->getOutputImageFromLastRender([&](std::shared_ptr<UIImage> output) { image = std::move(output); });
        if (!pumpUntil([&] { return image != nullptr; })) return std::nullopt;
        return qz_test::pixelsOf(image);
    }
    std::optional<Pixels> current()
    {
        std::shared_ptr<UIImage> image;
        gl_->getOutputImage([&](std::shared_ptr<UIImage> output) { image = std::move(output); });
        if (!pumpUntil([&] { return image != nullptr; })) return std::nullopt;
        return qz_test::pixelsOf(image);
    }
    void tapApply() { QZToolScreenTest::tapApply(*tool_); }
};

TEST_F(QZBrushToolsGLTest, BlemishSmoothsOnlyAlongItsStrokeAndApplyWaitsForTheRender)
{
    const Pixels photo = noisyPatchPhoto();
    auto blemish = presentOn<QZBlemishViewController>(photo, kFitZoom, "blemish");
    if (!blemish) GTEST_SKIP() << "no GL context";
    EXPECT_TRUE(blemish->processor()->brushStrokes().empty()) << "the first render has a stroke";
    EXPECT_FALSE(blemish->shouldWaitForGLCommit());
    const auto before = shown();
    ASSERT_TRUE(before);
    EXPECT_LE(qz_test::maxDifference(*before, photo), 1) << "the first render changed the photo";

    // Through the middle of the noise, left to right.
    stroke({CGPointMake(20, 75), CGPointMake(180, 75)});
    auto overlay = blemish->drawOverlayView();
    ASSERT_NE(overlay, nullptr);
    EXPECT_NE(overlay->imageView()->image(), nullptr) << "no trail while the render is under way";
    ASSERT_TRUE(pumpUntil([&] { return blemish->isReadyToApply(); }));
    EXPECT_EQ(overlay->imageView()->image(), nullptr) << "the trail stays once the render is on screen";
    ASSERT_EQ(blemish->processor()->brushStrokes().size(), 1u);
    const float brush = blemish->processor()->brushStrokes()[0]->brushSize();
    EXPECT_NEAR(brush, 10 / kFitZoom, 0.01);

    const auto after = shown();
    ASSERT_TRUE(after);
    const std::size_t reach = std::size_t(std::ceil(1.5f * brush));
    EXPECT_LT(localVariance(*after, 30, 74, 170, 77), 0.8 * localVariance(photo, 30, 74, 170, 77))
        << "the stroke did not smooth the noise";
    for (std::size_t y = 0; y < kPhotoHeight; ++y) {
        if (y + reach >= 75 && y <= 75 + reach) continue;
        int most = 0;
        for (std::size_t x = 0; x < kPhotoWidth; ++x)
            for (int c = 0; c < 3; ++c)
                most = std::max(most, std::abs(int(after->at(x, y)[c]) - int(photo.at(x, y)[c])));
        ASSERT_LE(most, 1) << "row " << y << " is farther than 1.5 brush sizes from the stroke";
    }

    // A second stroke with the GL queue held: Apply waits behind the HUD for its render.
    gl_->pauseRendering();
    stroke({CGPointMake(20, 90), CGPointMake(180, 90)});
    EXPECT_FALSE(blemish->isReadyToApply());
    tapApply();
    qz_test::Deliveries::settle();
    EXPECT_TRUE(statuses_->statuses.empty()) << "applied before the render";
    EXPECT_EQ(blemish->hudView(), blemish->progressHUDView());
    gl_->resumeRendering();
    ASSERT_TRUE(pumpUntil([&] { return !statuses_->statuses.empty(); }));
    EXPECT_EQ(statuses_->statuses, (std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied}));

    auto module = blemish->outputModule();
    ASSERT_NE(module, nullptr);
    QZProcessorList processors;
    module->createProcessors(processors);
    ASSERT_EQ(processors.size(), 1u);
    auto replayed = std::dynamic_pointer_cast<QZSelectiveBlurProcessor>(processors[0]);
    ASSERT_NE(replayed, nullptr);
    EXPECT_EQ(replayed->brushStrokes().size(), 2u);
    const auto committed = current();
    ASSERT_TRUE(committed);
    EXPECT_LT(localVariance(*committed, 30, 89, 170, 92), 0.8 * localVariance(photo, 30, 89, 170, 92))
        << "Apply committed the picture before the second stroke's render";
}

class QZColorSplashGLTest : public QZBrushToolsGLTest {
protected:
    std::shared_ptr<QZColorSplashViewController> presentSplash(CGFloat zoom = kFitZoom)
    {
        return presentOn<QZColorSplashViewController>(qz_test::texturedPhoto(kPhotoWidth, kPhotoHeight), zoom,
                                                      "splash");
    }
    static bool anySelected(const QZSegmentedControl& control)
    {
        for (const auto& button : control.buttons())
            if (button->isSelected()) return true;
        return false;
    }
};

TEST_F(QZColorSplashGLTest, EachStrokeKeepsTheModeItBeganIn)
{
    auto splash = presentSplash();
    if (!splash) GTEST_SKIP() << "no GL context";
    EXPECT_EQ(splash->splashMode(), QZColorSplashModeFree);
    EXPECT_TRUE(splash->brushSegmentedControl()->buttons()[0]->isSelected());

    struct Step {
        const char* tap;  // a segment, or "" for a stroke
        QZColorSplashMode mode;
        bool brushSelected, eraserSelected;
    } steps[] = {
        {"", QZColorSplashModeFree, true, false},  // before any control is touched
        {"Smart", QZColorSplashModeSmart, true, false}, {"", QZColorSplashModeSmart, true, false},
        {"Erase", QZColorSplashModeErase, false, true}, {"", QZColorSplashModeErase, false, true},
        {"Free", QZColorSplashModeFree, true, false},   {"", QZColorSplashModeFree, true, false},
    };
    std::size_t strokes = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string("after ") + (*step.tap ? step.tap : "a stroke"));
        if (*step.tap) {
            ASSERT_TRUE(driver_.tapViewWithLabel(step.tap));
        } else {
            stroke({CGPointMake(20, 30.f + 15 * strokes), CGPointMake(150, 30.f + 15 * strokes)});
            ASSERT_EQ(splash->strokes().size(), ++strokes);
            EXPECT_EQ(splash->strokes().back()->colorSplashMode(), step.mode);
        }
        EXPECT_EQ(splash->splashMode(), step.mode);
        EXPECT_EQ(anySelected(*splash->brushSegmentedControl()), step.brushSelected);
        EXPECT_EQ(anySelected(*splash->eraserSegmentedControl()), step.eraserSelected);
    }

    // A mode chosen by a second finger mid-stroke is the next stroke's.
    driver_.touchDown(1, imagePoint(20, 140));
    driver_.touchMove(1, imagePoint(60, 140));
    const auto erase = UITestDriver::visibleViewWithLabel("Erase");
    ASSERT_NE(erase, nullptr);
    const CGRect segment = UITestDriver::visibleRect(*erase);
    const CGPoint onSegment = CGPointMake(CGRectGetMidX(segment), CGRectGetMidY(segment));
    driver_.touchDown(2, onSegment);
    driver_.touchUp(2, onSegment);
    driver_.touchMove(1, imagePoint(100, 140));
    driver_.touchUp(1, imagePoint(100, 140));
    ASSERT_EQ(splash->strokes().size(), strokes + 1);
    EXPECT_EQ(splash->strokes().back()->colorSplashMode(), QZColorSplashModeFree);
    EXPECT_EQ(splash->splashMode(), QZColorSplashModeErase);
    ASSERT_TRUE(pumpUntil([&] { return splash->isReadyToApply(); }));
}

TEST_F(QZColorSplashGLTest, MovesDuringARenderWaitForTheNextAndTheLiftAlwaysRenders)
{
    // Fitted at 3: the splash brush's 30 screen points are 10 image points.
    auto splash = presentOn<QZColorSplashViewController>(qz_test::texturedPhoto(100, 100), 3, "splash");
    if (!splash) GTEST_SKIP() << "no GL context";
    auto overlay = splash->drawOverlayView();
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(overlay->hideDrawTrail());

    gl_->pauseRendering();
    driver_.touchDown(1, imagePoint(10, 50));
    ASSERT_TRUE(splash->isRendering());
    const double firstRender = *splash->renderStartDate();
    for (int i = 1; i <= 20; ++i) {
        driver_.advance(1.0 / 60);
        driver_.touchMove(1, imagePoint(10.f + 4 * i, 50));
    }
    EXPECT_EQ(*splash->renderStartDate(), firstRender) << "a move started a render while one was held";
    driver_.advance(1.0 / 60);
    driver_.touchUp(1, imagePoint(90, 50));
    EXPECT_GT(*splash->renderStartDate(), firstRender) << "the lift did not render";
    ASSERT_EQ(splash->strokes().size(), 1u);
    const auto& stroke = splash->strokes()[0];
    EXPECT_FLOAT_EQ(stroke->brushSize(), 10);
    EXPECT_EQ(stroke->color(), nullptr);
    EXPECT_TRUE(stroke->isComplete());

    // The first render's return clears the flag while the lift's render may still be queued.
    gl_->resumeRendering();
    EXPECT_TRUE(pumpUntil([&] { return stroke->nextRenderIndex() == int(stroke->pointCount()); }))
        << "points of the stroke were never painted";
    ASSERT_TRUE(qz_test::drainGPUQueue());
    ASSERT_TRUE(pumpUntil([&] { return !splash->isRendering() && splash->isReadyToApply(); }));
    const auto painted = shown();
    ASSERT_TRUE(painted);
    // Colour along the stroke, grey away from it.
    const auto saturation = [](const std::array<std::uint8_t, 4>& p) {
        return std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]});
    };
    EXPECT_GT(saturation(painted->at(50, 50)), 20);
    EXPECT_LE(saturation(painted->at(50, 10)), 3);
}

TEST_F(QZColorSplashGLTest, ASmartStrokesPickedColourIsTheOneItsFullSizeReplayUses)
{
    auto splash = presentSplash();
    if (!splash) GTEST_SKIP() << "no GL context";
    ASSERT_TRUE(driver_.tapViewWithLabel("Smart"));
    stroke({CGPointMake(40, 60), CGPointMake(160, 60)});
    ASSERT_TRUE(pumpUntil([&] { return splash->isReadyToApply(); }));
    ASSERT_EQ(splash->strokes().size(), 1u);
    const auto picked = splash->strokes()[0]->color();
    ASSERT_NE(picked, nullptr) << "the preview picked no colour";
    CGFloat r = 0, g = 0, b = 0, a = 0;
    ASSERT_TRUE(picked->getRed(&r, &g, &b, &a));
    const auto& under = photo_.at(40, 60);
    EXPECT_NEAR(r * 255, under[0], 1.5);
    EXPECT_NEAR(g * 255, under[1], 1.5);
    EXPECT_NEAR(b * 255, under[2], 1.5);

    // Replayed at full size on another picture (a plain blue one), the stroke keeps its colour
    // rather than picking the blue under its start.
    auto module = splash->outputModule();
    ASSERT_NE(module, nullptr);
    const Pixels blue = qz_test::makePixels(2 * kPhotoWidth, 2 * kPhotoHeight, [](std::size_t, std::size_t) {
        return std::array<std::uint8_t, 4>{20, 40, 220, 255};
    });
    CGImageRef image = qz_test::createImage(blue);
    auto server = QZBitmapImageServer::make(image, 1, UIImageOrientationUp);
    CGImageRelease(image);
    ASSERT_NE(server, nullptr);
    server->runModule(module);
    ASSERT_TRUE(qz_test::drainServer(server));
    EXPECT_EQ(splash->strokes()[0]->color(), picked);
}

TEST_F(QZColorSplashGLTest, ApplyWithoutAStrokeRecordsNothingAndLeavesThePhoto)
{
    const Pixels photo = qz_test::texturedPhoto(kPhotoWidth, kPhotoHeight);
    auto splash = presentOn<QZColorSplashViewController>(photo, kFitZoom, "splash");
    if (!splash) GTEST_SKIP() << "no GL context";
    const auto grey = shown();
    ASSERT_TRUE(grey);
    EXPECT_GT(qz_test::maxDifference(*grey, photo), 20) << "the first render shows the photo grey";
    tapApply();
    ASSERT_TRUE(pumpUntil([&] { return !statuses_->statuses.empty(); }));
    EXPECT_EQ(splash->outputModule(), nullptr);
    const auto committed = current();
    ASSERT_TRUE(committed);
    EXPECT_LE(qz_test::maxDifference(*committed, photo), 1) << "Apply committed the grey first render";
    const auto onScreen = shown();
    ASSERT_TRUE(onScreen);
    EXPECT_LE(qz_test::maxDifference(*onScreen, photo), 1);
}

}  // namespace
