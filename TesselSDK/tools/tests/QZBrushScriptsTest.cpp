// The brush tools' scripts (examples/scripts/splash.txt, blemish.txt, whiten.txt) on the coffee
// photo, whose colours leave almost no pixel grey: one stroke across the canvas's middle reaches
// the photo the host gets, through the built program and in-process, where the session's module,
// its processor and the tool's analytics are checked and the result equals replays of the closed
// session. redeye.txt strokes one red pupil of the drawn face redeye.png.
#include "QZToolScriptsSupport.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Processors/QZColorSplashProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveBlurProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveRedeyeProcessor.h"
#include "TesselSDKImaging/Processors/QZSelectiveWhitenProcessor.h"

namespace tool_scripts {
namespace {

bool isGrey(const std::array<std::uint8_t, 4>& p)
{
    return std::abs(int(p[0]) - int(p[1])) <= 3 && std::abs(int(p[1]) - int(p[2])) <= 3 &&
           std::abs(int(p[0]) - int(p[2])) <= 3;
}

// The largest channel difference of one pixel.
int pixelDifference(const std::array<std::uint8_t, 4>& a, const std::array<std::uint8_t, 4>& b)
{
    int most = 0;
    for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(int(a[std::size_t(c)]) - int(b[std::size_t(c)])));
    return most;
}

double greyShare(const Pixels& image)
{
    std::size_t grey = 0;
    for (const auto& p : image.rgba) grey += isGrey(p);
    return double(grey) / double(image.rgba.size());
}

// The share of pixels whose difference from the input is above (or, with `atMost`, at most) the
// given levels.
double shareDiffering(const Pixels& input, const Pixels& output, int levels, bool atMost = false)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < input.rgba.size(); ++i) {
        const int difference = pixelDifference(input.rgba[i], output.rgba[i]);
        count += atMost ? difference <= levels : difference > levels;
    }
    return double(count) / double(input.rgba.size());
}

// Mostly grey, but a band keeps the photo's own colours.
void expectSplashed(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(output, input));
    ASSERT_LT(greyShare(input), 0.05) << "the photo must be colourful for the check to mean anything";
    EXPECT_GE(greyShare(output), 0.60);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < input.rgba.size(); ++i)
        kept += !isGrey(input.rgba[i]) && pixelDifference(input.rgba[i], output.rgba[i]) <= 8;
    EXPECT_GE(double(kept) / double(input.rgba.size()), 0.005) << "no pixel keeps its colour";
}

// The stroke's band changed, the rest of the photo not.
void expectBrushedBand(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(output, input));
    EXPECT_GE(shareDiffering(input, output, 2), 0.001) << "the stroke changed nothing";
    EXPECT_GE(shareDiffering(input, output, 1, true), 0.90) << "more than the stroke's band changed";
}

// A pixel the red-eye kernel changes: red at least green and blue together.
bool isRedEyeRed(const std::array<std::uint8_t, 4>& p)
{
    return int(p[0]) >= int(p[1]) + int(p[2]);
}

// The face's left pupil (the stroke's) turned dark; every other pixel, the right pupil's red
// included, as it was.
void expectLeftPupilDarkened(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(output, input));
    std::size_t left = 0, right = 0, darkened = 0, changedElsewhere = 0;
    for (std::size_t y = 0; y < input.height; ++y)
        for (std::size_t x = 0; x < input.width; ++x) {
            const auto& before = input.at(x, y);
            const auto& after = output.at(x, y);
            const bool stroked = isRedEyeRed(before) && x < input.width / 2;
            if (isRedEyeRed(before)) ++(stroked ? left : right);
            if (stroked)
                darkened += after[0] <= std::max(after[1], after[2]) + 8 && luma(after) <= 60;
            else
                changedElsewhere += pixelDifference(before, after) > 1;
        }
    ASSERT_GE(left, 200u) << "the photo has no red pupil on the left";
    ASSERT_GE(right, 200u) << "the photo has no red pupil on the right";
    EXPECT_GE(double(darkened), 0.95 * double(left)) << darkened << " of the pupil's " << left << " pixels darkened";
    EXPECT_EQ(changedElsewhere, 0u) << "pixels outside the stroked pupil changed";
}

const ToolScript kRows[] = {
    {"splash", "coffee.png", expectSplashed},
    {"blemish", "coffee.png", expectBrushedBand},
    {"whiten", "coffee.png", expectBrushedBand},
    {"redeye", "redeye.png", expectLeftPupilDarkened},
};

INSTANTIATE_TEST_SUITE_P(Brush, QZToolScriptsProgramTest, ::testing::ValuesIn(kRows), scriptTestName);

// ---- In-process ----

// The phone's canvas shows the 600-point-wide photo across its 320 points.
constexpr float kPhoneZoom = 320.0f / 600.0f;

class QZBrushScriptsInProcessTest : public QZToolScriptsInProcessTest {
protected:
    void SetUp() override
    {
        QZToolScriptsInProcessTest::SetUp();
        if (IsSkipped()) return;
        const auto coffee = readPNG(photoPath("coffee.png"));
        if (!coffee) GTEST_SKIP() << photoPath("coffee.png") << " is missing (run scripts/fetch-photos.sh)";
        coffee_ = *coffee;
    }

    // The script played on the photo and checked, its one module's processor and what the
    // analytics heard.
    template <class Processor>
    std::shared_ptr<Processor> playAndCheck(const ToolScript& script, const Pixels& photo)
    {
        if (!play(script, photo)) return nullptr;
        script.check(photo, played_.result);
        const auto& modules = played_.host->editor()->session()->modules();
        EXPECT_EQ(modules.size(), 1u);
        if (modules.size() != 1) return nullptr;
        EXPECT_NE(std::dynamic_pointer_cast<QZBlockModule>(modules[0]), nullptr);
        // Made anew at every ask: one processor shared by two replays would carry the first's
        // effect texture into the second.
        QZProcessorList first, second;
        modules[0]->createProcessors(first);
        modules[0]->createProcessors(second);
        EXPECT_EQ(first.size(), 1u);
        EXPECT_EQ(second.size(), 1u);
        if (first.size() != 1 || second.size() != 1) return nullptr;
        EXPECT_NE(first[0], second[0]);
        auto processor = std::dynamic_pointer_cast<Processor>(first[0]);
        EXPECT_NE(processor, nullptr) << "the module's processor is of another class";
        if (!processor) return nullptr;
        EXPECT_TRUE(processor->isHires());
        EXPECT_EQ(processor->glInstance(), nullptr);
        EXPECT_EQ(processor->maskSize().width, 600);
        EXPECT_EQ(processor->maskSize().height, 400);
        EXPECT_EQ(processor->brushStrokes().size(), 1u);
        if (processor->brushStrokes().size() != 1) return nullptr;
        const auto& stroke = processor->brushStrokes()[0];
        EXPECT_TRUE(stroke->isComplete());
        EXPECT_GE(stroke->pointCount(), 10u);
        return processor;
    }

    void expectEvents(const std::string& key, const std::vector<std::string>& screens)
    {
        std::vector<std::string> toolEvents;
        for (const auto& [name, attributes] : analytics_->events)
            if (name.rfind(key + ": ", 0) == 0) toolEvents.push_back(name);
        EXPECT_EQ(toolEvents, (std::vector<std::string>{key + ": opened", key + ": applied"}));
        std::vector<std::string> toolScreens;
        for (const std::string& call : analytics_->calls)
            if (call.rfind("tagScreen: ", 0) == 0 && call != "tagScreen: SDK Home") toolScreens.push_back(call);
        EXPECT_EQ(toolScreens, screens);
    }

    Pixels coffee_;
};

TEST_F(QZBrushScriptsInProcessTest, SplashRecordsAFreeStrokeOfThirtyScreenPointsAndReplaysItInEveryContext)
{
    auto splash = playAndCheck<QZColorSplashProcessor>(kRows[0], coffee_);
    ASSERT_NE(splash, nullptr);
    const auto& stroke = splash->brushStrokes()[0];
    EXPECT_NEAR(stroke->brushSize(), 30 / kPhoneZoom, 0.01);
    EXPECT_EQ(stroke->colorSplashMode(), QZColorSplashModeFree);
    EXPECT_EQ(stroke->color(), nullptr);
    expectEvents("splash", {});
    expectReplaysAgree();
}

// Applied before any stroke: the grey first preview is not what the session holds, so neither
// the home screen nor Done may show it.
TEST_F(QZBrushScriptsInProcessTest, SplashAppliedWithoutAStrokeHandsOverThePhoto)
{
    std::vector<std::string> lines;
    for (const std::string& line : tessel_editor::splitLines(scriptText("splash")))
        if (line.rfind("drag 1,259.5", 0) != 0) lines.push_back(line);
    ASSERT_TRUE(play("splash-no-stroke", lines, coffee_));
    EXPECT_TRUE(played_.host->editor()->session()->modules().empty());
    ASSERT_TRUE(sameSize(played_.result, coffee_));
    EXPECT_LE(qz_test::maxDifference(played_.result, coffee_), 1);
    ASSERT_TRUE(sameSize(played_.seen, coffee_));
    EXPECT_LE(qz_test::maxDifference(played_.seen, coffee_), 1) << "the person saw the grey preview at Done";
    expectEvents("splash", {});
}

// Larger than the editing size: the replays at full size, at the editing size and at full size
// again each paint with a processor of their own.
TEST_F(QZBrushScriptsInProcessTest, SplashOnALargerPhotoAgreesInThreeContextsInTurn)
{
    ASSERT_TRUE(play(kRows[0], texturedFixture()));
    EXPECT_EQ(played_.host->editor()->session()->editingSize().width, 1024);
    expectReplaysAgree();
    const auto again = replay(std::nullopt);
    ASSERT_TRUE(again);
    ASSERT_TRUE(sameSize(played_.result, *again));
    EXPECT_LE(qz_test::maxDifference(played_.result, *again), 1);
}

TEST_F(QZBrushScriptsInProcessTest, BlemishRecordsItsStrokeAtTheStripsMediumSize)
{
    auto blemish = playAndCheck<QZSelectiveBlurProcessor>(kRows[1], coffee_);
    ASSERT_NE(blemish, nullptr);
    EXPECT_NEAR(blemish->brushStrokes()[0]->brushSize(), 10 / kPhoneZoom, 0.01);
    expectEvents("blemish", {"tagScreen: Blemish"});
    expectReplaysAgree();
}

TEST_F(QZBrushScriptsInProcessTest, WhitenRecordsItsStrokeAtTheStripsMediumSize)
{
    auto whiten = playAndCheck<QZSelectiveWhitenProcessor>(kRows[2], coffee_);
    ASSERT_NE(whiten, nullptr);
    EXPECT_NEAR(whiten->brushStrokes()[0]->brushSize(), 10 / kPhoneZoom, 0.01);
    expectEvents("whiten", {"tagScreen: Whiten"});
    expectReplaysAgree();
}

// The strip's Large brush over the left pupil of the drawn face.
TEST_F(QZBrushScriptsInProcessTest, RedeyeRecordsItsStrokeAtTheStripsLargeSize)
{
    const auto face = readPNG(photoPath(kRows[3].photo));
    if (!face) GTEST_SKIP() << photoPath(kRows[3].photo) << " is missing (run scripts/fetch-photos.sh)";
    auto redeye = playAndCheck<QZSelectiveRedeyeProcessor>(kRows[3], *face);
    ASSERT_NE(redeye, nullptr);
    EXPECT_NEAR(redeye->brushStrokes()[0]->brushSize(), 15 / kPhoneZoom, 0.01);
    expectEvents("redeye", {"tagScreen: Redeye"});
    expectReplaysAgree();
}

}  // namespace
}  // namespace tool_scripts
