// The quick-launch scripts of examples/scripts (quick-<tool>.txt): the editor opened straight on one
// tool (tessel_editor --tool KEY), its edit made, and the right bar button, Done, finishing it.
// Through the built program the photo comes out edited; in-process what the host's delegate is
// handed and the full-size result both equal replays of the closed session, so no tool finishes
// before the edit it shows is committed.
#include "QZToolScriptsSupport.h"

namespace tool_scripts {
namespace {

// ---- What each script does to the photo ----

void expectTurnedClockwise(const Pixels& input, const Pixels& output)
{
    const Pixels turned = qz_test::makePixels(
        input.height, input.width, [&](std::size_t x, std::size_t y) { return input.at(y, input.height - 1 - x); });
    ASSERT_TRUE(sameSize(output, turned));
    EXPECT_LE(qz_test::maxDifference(output, turned), 1);
}

void expectBrightened(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(output, input));
    EXPECT_GE(meanLuma(output), meanLuma(input) + 5);
}

void expectSharpened(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(output, input));
    EXPECT_GE(meanGradient(output), 1.10 * meanGradient(input));
}

// At least 1 % of the pixels more than 8 levels off the input.
void expectEdited(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(output, input));
    EXPECT_GE(double(inkOf(input, output, 8).area), 0.01 * double(input.width * input.height));
}

// A brush stroke across the photo's middle: at least 1 % of the pixels more than 2 levels off the
// input (a stroke laid over an overlay of no size reaches a few dozen).
void expectBrushed(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(output, input));
    EXPECT_GE(double(inkOf(input, output, 2).area), 0.01 * double(input.width * input.height));
}

// The square of the short side's length from the photo's centre, as the 1:1 preset cuts it.
void expectCentredSquare(const Pixels& input, const Pixels& output)
{
    const std::size_t side = std::min(input.width, input.height);
    const std::size_t x0 = (input.width - side) / 2, y0 = (input.height - side) / 2;
    const Pixels square =
        qz_test::makePixels(side, side, [&](std::size_t x, std::size_t y) { return input.at(x0 + x, y0 + y); });
    ASSERT_TRUE(sameSize(output, square)) << "not the centred square's size";
    EXPECT_LE(percentileDifference(output, square), 2) << "not the photo's centred square";
}

struct QuickLaunchScript {
    ToolScript script;
    const char* tool;  // the tool table's key: --tool KEY
};

void PrintTo(const QuickLaunchScript& row, std::ostream* out)
{
    *out << row.script.name;
}

std::string quickScriptTestName(const ::testing::TestParamInfo<QuickLaunchScript>& row)
{
    return row.param.tool;
}

const QuickLaunchScript kRows[] = {
    {{"quick-orientation", "astronaut.png", expectTurnedClockwise}, "orientation"},
    {{"quick-adjustments", "astronaut.png", expectBrightened}, "adjustments"},
    {{"quick-sharpness", "astronaut.png", expectSharpened}, "sharpness"},
    {{"quick-enhance", "astronaut.png", expectEdited}, "enhance"},
    {{"quick-effects", "astronaut.png", expectEdited}, "effects"},
    {{"quick-crop", "coffee.png", expectCentredSquare}, "crop"},
    {{"quick-focus", "coffee.png", expectEdited}, "focus"},
    {{"quick-blemish", "coffee.png", expectBrushed}, "blemish"},
    {{"quick-whiten", "coffee.png", expectBrushed}, "whiten"},
    {{"quick-splash", "coffee.png", expectEdited}, "splash"},
};

// ---- Through the built program ----

class QZQuickLaunchProgramTest : public QZToolScriptsTest, public ::testing::WithParamInterface<QuickLaunchScript> {};

TEST_P(QZQuickLaunchProgramTest, DoneWritesTheEditedPhoto)
{
    const QuickLaunchScript& row = GetParam();
    const auto input = readPNG(photoPath(row.script.photo));
    if (!input) GTEST_SKIP() << photoPath(row.script.photo) << " is missing (run scripts/fetch-photos.sh)";
    const fs::path output = dir_ / (std::string(row.tool) + ".png");
    const fs::path screenshots = dir_ / row.tool;
    const example_test::ProgramRun run = example_test::runProgram(
        TESSEL_EDITOR_PATH,
        {"--headless", "--tool", row.tool, "--script", scriptPath(row.script.name).string(), "--output",
         output.string(), "--screenshots", screenshots.string(), "--content-root", (dir_ / "content").string(),
         photoPath(row.script.photo)});
    ASSERT_EQ(run.status, 0) << run.output;
    const auto written = readPNG(output);
    ASSERT_TRUE(written) << "no " << output;
    row.script.check(*input, *written);
    const auto shots = std::distance(fs::directory_iterator(screenshots), fs::directory_iterator());
    EXPECT_EQ(shots, screenshotLines(scriptText(row.script.name)));
}

INSTANTIATE_TEST_SUITE_P(QuickLaunch, QZQuickLaunchProgramTest, ::testing::ValuesIn(kRows), quickScriptTestName);

// The draw tool's preview blends its own trail, which differs from the processor's line at the
// line's edge by design: in-process it has a test of its own below.
const QuickLaunchScript kDrawRows[] = {
    {{"quick-draw", "coffee.png", expectEdited}, "draw"},
};

INSTANTIATE_TEST_SUITE_P(QuickLaunchDraw, QZQuickLaunchProgramTest, ::testing::ValuesIn(kDrawRows),
                         quickScriptTestName);

// ---- In-process ----

// On a content root of its own, which starts from the packs the editor ships.
class QZQuickLaunchTest : public QZToolScriptsInProcessTest {
protected:
    void SetUp() override
    {
        QZToolScriptsInProcessTest::SetUp();
        if (IsSkipped()) return;
        char pattern[] = "/tmp/quick_launch_content.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        contentRoot_ = pattern;
        tessel_editor::ContentOptions content;
        content.contentRoot = contentRoot_.string();
        std::string error;
        ASSERT_TRUE(tessel_editor::applyContentOptions(content, &error)) << error;
    }
    void TearDown() override
    {
        QZToolScriptsInProcessTest::TearDown();
        if (!contentRoot_.empty()) fs::remove_all(contentRoot_);
    }
    fs::path contentRoot_;
};

class QZQuickLaunchInProcessTest : public QZQuickLaunchTest, public ::testing::WithParamInterface<QuickLaunchScript> {};

TEST_P(QZQuickLaunchInProcessTest, WhatTheHostIsHandedIsTheCommittedEdit)
{
    const QuickLaunchScript& row = GetParam();
    const auto input = readPNG(photoPath(row.script.photo));
    if (!input) GTEST_SKIP() << photoPath(row.script.photo) << " is missing (run scripts/fetch-photos.sh)";
    tessel_editor::QuickLaunch launch;
    launch.tool = row.tool;
    ASSERT_TRUE(play(row.script.name, tessel_editor::splitLines(scriptText(row.script.name)), *input, launch));
    row.script.check(*input, played_.result);
    EXPECT_EQ(played_.host->editor()->session()->modules().size(), 1u);
    expectReplaysAgree();
}

INSTANTIATE_TEST_SUITE_P(QuickLaunch, QZQuickLaunchInProcessTest, ::testing::ValuesIn(kRows), quickScriptTestName);

// The crop screen queues the block that presents and commits the crop before the root hears the
// finish: the quick-launched root's read-back, queued at once, hands the host the cropped picture
// the replay makes, not the uncropped texture at the crop's size.
TEST_F(QZQuickLaunchTest, AQuickLaunchedCropHandsTheHostTheCommittedCrop)
{
    tessel_editor::QuickLaunch launch;
    launch.tool = "crop";
    // A landscape photo, which the square preset cuts.
    const auto coffee = readPNG(photoPath("coffee.png"));
    if (!coffee) GTEST_SKIP() << photoPath("coffee.png") << " is missing (run scripts/fetch-photos.sh)";
    ASSERT_TRUE(play("quick-crop", tessel_editor::splitLines(scriptText("quick-crop")), *coffee, launch));
    const auto& modules = played_.host->editor()->session()->modules();
    ASSERT_EQ(modules.size(), 1u);
    EXPECT_LT(played_.result.width * played_.result.height, coffee->width * coffee->height) << "nothing was cut";
    expectReplaysAgree();
}

// The quick-launched line reaches the full-size photo as the replay draws it, and what the person
// saw at Done has the replay's line in the same place at the same size.
TEST_F(QZQuickLaunchTest, AQuickLaunchedDrawHandsTheHostTheLineItShowed)
{
    tessel_editor::QuickLaunch launch;
    launch.tool = "draw";
    const auto coffee = readPNG(photoPath("coffee.png"));
    if (!coffee) GTEST_SKIP() << photoPath("coffee.png") << " is missing (run scripts/fetch-photos.sh)";
    ASSERT_TRUE(play("quick-draw", tessel_editor::splitLines(scriptText("quick-draw")), *coffee, launch));
    ASSERT_EQ(played_.host->editor()->session()->modules().size(), 1u);
    expectEdited(*coffee, played_.result);
    const auto full = replay(std::nullopt);
    ASSERT_TRUE(full) << "no full-size replay";
    ASSERT_TRUE(sameSize(played_.result, *full));
    EXPECT_LE(qz_test::maxDifference(played_.result, *full), 1);
    const auto editing = replay(played_.host->editor()->session()->editingSize());
    ASSERT_TRUE(editing) << "no replay at the editing size";
    expectSameInk(*coffee, played_.seen, *editing);
}

}  // namespace
}  // namespace tool_scripts
