// The draw tool's script (examples/scripts/draw.txt) on the coffee photo: one red line across the
// canvas's middle reaches the photo the host gets, through the built program and in-process. In
// process the session's one module, its processor and the tool's analytics are checked, the result
// equals a full-size replay of the closed session, and what the person saw at Done (the overlay's
// trail blended over the preview) equals a replay at the editing size (the draw processor on the
// GPU) within the bounds agreed between the two ways of drawing a line.
#include "QZToolScriptsSupport.h"

#include "TesselSDK/tools/brush/QZDrawViewController.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Processors/QZBrushDabPath.h"
#include "TesselSDKImaging/Processors/QZDrawProcessor.h"

#include "UIKit/UIColor.h"

#include <cmath>
#include <limits>

namespace tool_scripts {
namespace {

// The largest colour-channel difference of one pixel.
int pixelDifference(const std::array<std::uint8_t, 4>& a, const std::array<std::uint8_t, 4>& b)
{
    int most = 0;
    for (std::size_t c = 0; c < 3; ++c) most = std::max(most, std::abs(int(a[c]) - int(b[c])));
    return most;
}

bool isRed(const std::array<std::uint8_t, 4>& p)
{
    return p[0] > 150 && p[1] < 80 && p[2] < 80;
}

// Between 0.1 % and 25 % of the pixels changed (some channel by more than 2 levels), and more than
// half of those are red.
void expectRedLine(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(output, input));
    std::size_t changed = 0, red = 0;
    for (std::size_t i = 0; i < input.rgba.size(); ++i) {
        if (pixelDifference(input.rgba[i], output.rgba[i]) <= 2) continue;
        ++changed;
        red += isRed(output.rgba[i]);
    }
    const double share = double(changed) / double(input.rgba.size());
    EXPECT_GE(share, 0.001) << "the line did not reach the photo";
    EXPECT_LE(share, 0.25) << "more than a line changed";
    EXPECT_GT(red * 2, changed) << "the changed pixels are not mostly red";
}

const ToolScript kRows[] = {
    {"draw", "coffee.png", expectRedLine},
};

INSTANTIATE_TEST_SUITE_P(Draw, QZToolScriptsProgramTest, ::testing::ValuesIn(kRows), scriptTestName);

// ---- In-process ----

// The phone's canvas shows the 600-point-wide photo across its 320 points.
constexpr float kPhoneZoom = 320.0f / 600.0f;

// Per pixel of a width x height image, the distance from its centre to the nearest point of the
// stroke's drawn path (relative points, the last one repeated so the path runs on to it); farther
// than `reach` counts as infinitely far.
std::vector<float> distancesToStroke(std::vector<CGPoint> points, std::size_t width, std::size_t height, float reach)
{
    std::vector<float> distances(width * height, std::numeric_limits<float>::infinity());
    if (points.empty()) return distances;
    points.push_back(points.back());
    const CGSize size = CGSizeMake(CGFloat(width), CGFloat(height));
    for (const CGPoint& dab : QZBrushStrokeDabPoints(points, 0, true, 0.5f, size)) {
        const float cx = float(dab.x) * float(width), cy = float(dab.y) * float(height);
        const int x0 = std::max(0, int(std::floor(cx - reach))), x1 = std::min(int(width) - 1, int(cx + reach));
        const int y0 = std::max(0, int(std::floor(cy - reach))), y1 = std::min(int(height) - 1, int(cy + reach));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float& d = distances[std::size_t(y) * width + std::size_t(x)];
                d = std::min(d, std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy));
            }
    }
    return distances;
}

class QZDrawScriptsTest : public QZToolScriptsInProcessTest {
protected:
    void SetUp() override
    {
        QZToolScriptsInProcessTest::SetUp();
        if (IsSkipped()) return;
        const auto coffee = readPNG(photoPath("coffee.png"));
        if (!coffee) GTEST_SKIP() << photoPath("coffee.png") << " is missing (run scripts/fetch-photos.sh)";
        coffee_ = *coffee;
    }

    Pixels coffee_;
};

TEST_F(QZDrawScriptsTest, TheRedLineReachesThePhotoAsThePersonSawIt)
{
    ASSERT_TRUE(play(kRows[0], coffee_));
    expectRedLine(coffee_, played_.result);

    // One block module making a new draw processor at every ask, with the one stroke.
    const auto& modules = played_.host->editor()->session()->modules();
    ASSERT_EQ(modules.size(), 1u);
    ASSERT_NE(std::dynamic_pointer_cast<QZBlockModule>(modules[0]), nullptr);
    QZProcessorList first, second;
    modules[0]->createProcessors(first);
    modules[0]->createProcessors(second);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(first[0], second[0]);
    auto draw = std::dynamic_pointer_cast<QZDrawProcessor>(first[0]);
    ASSERT_NE(draw, nullptr) << "the module's processor is of another class";
    ASSERT_EQ(draw->strokes().size(), 1u);
    const auto& stroke = draw->strokes()[0];
    EXPECT_TRUE(stroke->isComplete());
    EXPECT_GE(stroke->pointCount(), 10u);
    EXPECT_EQ(stroke->blendMode(), kCGBlendModeNormal);
    EXPECT_NEAR(stroke->brushSize(), 10 / kPhoneZoom, 0.01);
    CGFloat r = 0, g = 0, b = 0, a = 0;
    ASSERT_TRUE(stroke->color() && stroke->color()->getRed(&r, &g, &b, &a));
    EXPECT_EQ(std::lround(r * 255), 229);
    EXPECT_EQ(std::lround(g * 255), 38);
    EXPECT_EQ(std::lround(b * 255), 31);
    EXPECT_EQ(std::lround(a * 255), 255);

    std::vector<std::string> toolEvents;
    for (const auto& [name, attributes] : analytics_->events)
        if (name.rfind("draw: ", 0) == 0) toolEvents.push_back(name);
    EXPECT_EQ(toolEvents, (std::vector<std::string>{"draw: opened", "draw: applied"}));
    EXPECT_EQ(std::count(analytics_->calls.begin(), analytics_->calls.end(), "tagScreen: Draw"), 1);

    const auto full = replay(std::nullopt);
    ASSERT_TRUE(full) << "no full-size replay";
    ASSERT_TRUE(sameSize(played_.result, *full));
    EXPECT_LE(qz_test::maxDifference(played_.result, *full), 1);

    // The trail drawn by Core Graphics against the draw processor on the GPU: equal away from the
    // line's edge, close inside it, and close over the whole image.
    const CGSize editing = played_.host->editor()->session()->editingSize();
    const auto atEditingSize = replay(editing);
    ASSERT_TRUE(atEditingSize) << "no replay at the editing size";
    const Pixels& seen = played_.seen;
    ASSERT_TRUE(sameSize(seen, *atEditingSize));
    const float half = stroke->brushSize() / 2;
    const std::vector<float> distance = distancesToStroke(stroke->points(), seen.width, seen.height, half + 3);
    int outside = 0, inside = 0;
    std::size_t insidePixels = 0;
    for (std::size_t i = 0; i < seen.rgba.size(); ++i) {
        const int d = pixelDifference(seen.rgba[i], atEditingSize->rgba[i]);
        if (distance[i] > half + 2) outside = std::max(outside, d);
        if (distance[i] < half - 2) {
            inside = std::max(inside, d);
            ++insidePixels;
        }
    }
    EXPECT_GT(insidePixels, 0u);
    EXPECT_LE(outside, 1) << "the line is not where the replay puts it";
    EXPECT_LE(inside, 2) << "the line's colour differs from the replay's";
    EXPECT_LE(meanAbsoluteDifference(seen, *atEditingSize), 1.0);
}

// Back while Apply's blend and present wait on a held GL queue: the screen goes (its bitmap with
// it), it is cancelled once, and when the queue runs again nothing of the line reaches the session,
// the canvas or the photo at Done.
TEST_F(QZDrawScriptsTest, BackWhileTheBlendIsQueuedCancelsAndKeepsNothing)
{
    std::vector<std::string> lines = tessel_editor::splitLines(scriptText("draw"));
    const auto apply = std::find(lines.begin(), lines.end(), "tap Apply");
    ASSERT_NE(apply, lines.end());
    const auto runner = openForScript("back", coffee_);
    ASSERT_NE(runner, nullptr);
    ASSERT_EQ(runner->run(std::vector<std::string>(lines.begin(), apply)).status,
              tessel_editor::ScriptResult::Status::Ended);
    std::weak_ptr<QZDrawViewController> screen =
        std::dynamic_pointer_cast<QZDrawViewController>(played_.host->editor()->toolViewController());
    ASSERT_FALSE(screen.expired()) << "no draw screen open";
    ASSERT_FALSE(screen.lock()->strokes().empty());
    const auto gl = played_.host->editor()->glInstance();
    ASSERT_NE(gl, nullptr);
    gl->pauseRendering();
    const auto back = runner->run({"tap Apply", "wait 0.2", "tap Editor", "wait 1"});
    tessel_editor::EditorHost::settle();
    const bool released = screen.expired();
    gl->resumeRendering();
    ASSERT_EQ(back.status, tessel_editor::ScriptResult::Status::Ended) << back.line << ": " << back.message;
    EXPECT_TRUE(released) << "the screen outlived its dismissal while the queue was held";
    tessel_editor::EditorHost::settle();
    EXPECT_EQ(played_.host->editor()->toolViewController(), nullptr);
    EXPECT_TRUE(played_.host->editor()->session()->modules().empty());
    EXPECT_EQ(std::count_if(analytics_->events.begin(), analytics_->events.end(),
                            [](const auto& event) { return event.first == "draw: cancelled"; }),
              1);
    EXPECT_EQ(event("draw: applied"), nullptr);

    const Pixels resized = qz_test::pixelsOf(played_.host->editor()->resizedImage());
    std::shared_ptr<UIImage> shown;
    gl->getOutputImageFromLastRender([&](std::shared_ptr<UIImage> image) { shown = std::move(image); });
    ASSERT_TRUE(qz_test::pumpUntil([&] { return shown != nullptr; }));
    EXPECT_LE(qz_test::maxDifference(qz_test::pixelsOf(shown), resized), 1) << "the canvas shows the line";

    ASSERT_EQ(runner->run({"tap Done"}).status, tessel_editor::ScriptResult::Status::Finished);
    tessel_editor::EditorHost::settle();
    ASSERT_TRUE(played_.host->result() && recorder_->seen);
    EXPECT_LE(qz_test::maxDifference(qz_test::pixelsOf(played_.host->result()), coffee_), 1);
    EXPECT_LE(qz_test::maxDifference(qz_test::pixelsOf(recorder_->seen), coffee_), 1) << "the blend was committed";
}

}  // namespace
}  // namespace tool_scripts
