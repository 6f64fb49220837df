// The tool scripts of examples/scripts played on the photo two ways: through the built
// tessel_editor, as a person runs it, and in-process through the host's script runner with the
// analytics recorded. What comes out is checked against what the script did: the photo visibly
// edited, the session holding the tool's module with the values set by touch, the applied event,
// and both the full-size result and what the person saw equal to replays of the closed session.
// This file holds the program test and the slider and enhance tools' scripts; each later tool's
// scripts sit in a file of their own beside it (QZToolScriptsSupport.h).
#include "QZToolScriptsSupport.h"

#include "TesselSDKImaging/Modules/QZLocalContrastEnhanceModule.h"
#include "TesselSDKImaging/Processors/QZAdjustProcessor.h"
#include "TesselSDKImaging/Processors/QZSharpnessProcessor.h"
#include "TesselSDKImaging/QZDeviceInfo.h"

namespace tool_scripts {
namespace {

// ---- The slider and enhance scripts ----

// Every script keeps the photo's size.
void expectSameSize(const Pixels& input, const Pixels& output)
{
    ASSERT_EQ(output.width, input.width);
    ASSERT_EQ(output.height, input.height);
}

void expectSharpened(const Pixels& input, const Pixels& output)
{
    expectSameSize(input, output);
    EXPECT_GE(meanGradient(output), 1.10 * meanGradient(input));
}

void expectBrightened(const Pixels& input, const Pixels& output)
{
    expectSameSize(input, output);
    EXPECT_GE(meanLuma(output), meanLuma(input) + 5);
}

void expectChanged(const Pixels& input, const Pixels& output)
{
    expectSameSize(input, output);
    EXPECT_GE(meanAbsoluteDifference(output, input), 1);
}

void expectUnchanged(const Pixels& input, const Pixels& output)
{
    expectSameSize(input, output);
    EXPECT_LE(qz_test::maxDifference(output, input), 1);
}

const ToolScript kScripts[] = {
    {"sharpness", "astronaut.png", expectSharpened},
    {"adjust", "astronaut.png", expectBrightened},
    {"enhance", "astronaut.png", expectChanged},
    {"enhance-deselect", "astronaut.png", expectUnchanged},
};

// ---- Through the built program ----

// One process per script: under the sanitizer a run takes a while.
TEST_P(QZToolScriptsProgramTest, WritesTheEditedPhotoAndAScreenshotAfterEachStep)
{
    const ToolScript& script = GetParam();
    const auto input = readPNG(photoPath(script.photo));
    if (!input) GTEST_SKIP() << photoPath(script.photo) << " is missing (run scripts/fetch-photos.sh)";
    const fs::path output = dir_ / (std::string(script.name) + ".png");
    // A folder that does not exist yet, as in the README's command: the program makes it.
    const fs::path screenshots = dir_ / script.name / "shots";
    const example_test::ProgramRun run = example_test::runProgram(
        TESSEL_EDITOR_PATH, {"--headless", "--script", scriptPath(script.name).string(), "--output", output.string(),
                             "--screenshots", screenshots.string(), photoPath(script.photo)});
    ASSERT_EQ(run.status, 0) << run.output;
    const auto written = readPNG(output);
    ASSERT_TRUE(written) << "no " << output;
    script.check(*input, *written);
    const auto shots = std::distance(fs::directory_iterator(screenshots), fs::directory_iterator());
    EXPECT_EQ(shots, screenshotLines(scriptText(script.name)));
}

INSTANTIATE_TEST_SUITE_P(Scripts, QZToolScriptsProgramTest, ::testing::ValuesIn(kScripts), scriptTestName);

// ---- In-process ----

TEST_F(QZToolScriptsInProcessTest, SharpnessRecordsItsProcessorAtTheDraggedValue)
{
    ASSERT_TRUE(play(kScripts[0], photo_));
    kScripts[0].check(photo_, played_.result);
    auto sharpness = std::dynamic_pointer_cast<QZSharpnessProcessor>(onlyProcessor());
    ASSERT_NE(sharpness, nullptr);
    EXPECT_EQ(sharpness->inputSharpness(), 100);
    expectReplaysAgree();
}

// Larger than the editing size: the person saw a smaller picture than the result.
TEST_F(QZToolScriptsInProcessTest, SharpnessOnALargerPhotoAgreesAtBothSizes)
{
    const Pixels fixture = texturedFixture();
    ASSERT_TRUE(play(kScripts[0], fixture));
    const CGSize editing = played_.host->editor()->session()->editingSize();
    EXPECT_EQ(editing.width, 1024);
    EXPECT_EQ(editing.height, 768);
    kScripts[0].check(fixture, played_.result);
    auto sharpness = std::dynamic_pointer_cast<QZSharpnessProcessor>(onlyProcessor());
    ASSERT_NE(sharpness, nullptr);
    EXPECT_EQ(sharpness->inputSharpness(), 100);
    expectReplaysAgree();
}

// A software rasteriser replays slower than the CPU server: there the host's full-size context
// runs on the CPU, TESSEL_FULL_SIZE=gpu puts it on the GPU, and Done hands over the same photo
// either way, within what qz_replay's two paths agree to.
TEST_F(QZToolScriptsInProcessTest, OnSoftwareGLTheFullSizeReplayRunsOnTheCPUServer)
{
    const std::string renderer = manager_->rendererName();
    if (!QZDeviceInfo::isSoftwareRenderer(renderer)) GTEST_SKIP() << "GL here is hardware: " << renderer;
    struct Row {
        const char* chosen;
        bool onGPU;
    };
    std::optional<Pixels> onCPU, onGPU;
    for (const Row& row : {Row{nullptr, false}, Row{"gpu", true}, Row{"cpu", false}}) {
        SCOPED_TRACE(row.chosen ? row.chosen : "unset");
        ScopedFullSizeChoice choice(row.chosen);
        ASSERT_TRUE(play(kScripts[1], photo_));
        const auto& context = played_.host->context();
        ASSERT_NE(context, nullptr);
        EXPECT_EQ(context->glInstance() != nullptr, row.onGPU);
        EXPECT_EQ(context->imageServer()->queueID() == 0, row.onGPU) << "a CPU server has a queue of its own";
        kScripts[1].check(photo_, played_.result);
        (row.onGPU ? onGPU : onCPU) = played_.result;
    }
    ASSERT_TRUE(onCPU && onGPU);
    ASSERT_TRUE(sameSize(*onCPU, *onGPU));
    EXPECT_LE(qz_test::maxDifference(*onCPU, *onGPU), 3);
    EXPECT_LE(meanAbsoluteDifference(*onCPU, *onGPU), 1.0);
}

TEST_F(QZToolScriptsInProcessTest, AdjustRecordsEachSubToolsValueAndFlags)
{
    ASSERT_TRUE(play(kScripts[1], photo_));
    kScripts[1].check(photo_, played_.result);
    auto adjust = std::dynamic_pointer_cast<QZAdjustProcessor>(onlyProcessor());
    ASSERT_NE(adjust, nullptr);
    EXPECT_EQ(adjust->brightnessValue(), 100);
    EXPECT_NEAR(adjust->contrastValue(), 30, 3);
    EXPECT_EQ(adjust->warmthValue(), 0);
    EXPECT_EQ(adjust->saturationValue(), 0);

    std::vector<std::string> toolEvents;
    for (const auto& [name, attributes] : analytics_->events)
        if (name.rfind("adjustments: ", 0) == 0) toolEvents.push_back(name);
    EXPECT_EQ(toolEvents, (std::vector<std::string>{"adjustments: opened", "adjustments: applied"}));
    const Value* applied = event("adjustments: applied");
    ASSERT_NE(applied, nullptr);
    EXPECT_EQ((*applied)["brightness"], Value(true));
    EXPECT_EQ((*applied)["contrast"], Value(true));
    EXPECT_EQ((*applied)["warmth"], Value(false));
    EXPECT_EQ((*applied)["saturation"], Value(false));
    EXPECT_TRUE((*applied)["renderTime"].isNil()) << "the slider screens stamp no render dates";
    expectReplaysAgree();
}

TEST_F(QZToolScriptsInProcessTest, EnhanceRecordsTheChosenModeAndNothingOnceTurnedOff)
{
    ASSERT_TRUE(play(kScripts[2], photo_));
    kScripts[2].check(photo_, played_.result);
    const auto& modules = played_.host->editor()->session()->modules();
    ASSERT_EQ(modules.size(), 1u);
    EXPECT_NE(std::dynamic_pointer_cast<QZLocalContrastEnhanceModule>(modules[0]), nullptr);
    const Value* applied = event("enhance: applied");
    ASSERT_NE(applied, nullptr);
    EXPECT_EQ((*applied)["filter"], Value("clarity"));
    expectReplaysAgree();

    ASSERT_TRUE(play(kScripts[3], photo_));
    kScripts[3].check(photo_, played_.result);
    EXPECT_TRUE(played_.host->editor()->session()->modules().empty());
    applied = event("enhance: applied");
    ASSERT_NE(applied, nullptr);
    EXPECT_TRUE((*applied)["filter"].isNil());
    ASSERT_TRUE(sameSize(played_.seen, photo_));  // the photo is within the editing size
    EXPECT_LE(qz_test::maxDifference(played_.seen, photo_), 1) << "what the person saw at Done is not the photo";
}

// On a tablet the 512-pixel photo fits the home canvas with room to spare: the home canvas shows it
// at 1:1 before any tool and after each, also after Enhance (which scales the photo up to fit
// while it is open).
TEST_F(QZToolScriptsInProcessTest, TheTabletHomeCanvasKeepsItsZoomAfterEnhance)
{
    tessel_editor::configureDevice(tessel_editor::Device::Tablet);
    auto runner = openForScript("tablet-enhance", photo_);
    ASSERT_NE(runner, nullptr);
    ASSERT_EQ(runner->run({"wait 1"}).status, tessel_editor::ScriptResult::Status::Ended);
    const auto canvas = played_.host->editor()->scrollableImageView();
    ASSERT_NE(canvas, nullptr);
    const float home = canvas->zoomScale();
    EXPECT_FLOAT_EQ(home, 1) << "the photo is not shown at 1:1 at home";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        auto played = runner->run({"tap Enhance", "wait 0.5"});
        ASSERT_EQ(played.status, tessel_editor::ScriptResult::Status::Ended) << played.line << ": " << played.message;
        EXPECT_FLOAT_EQ(canvas->zoomScale(), 1.5f) << "the open tool fits the photo to the canvas's width";
        played = runner->run({"tap Hi-Def", "wait 0.5", "tap Apply", "wait 1"});
        ASSERT_EQ(played.status, tessel_editor::ScriptResult::Status::Ended) << played.line << ": " << played.message;
        EXPECT_EQ(played_.host->editor()->toolViewController(), nullptr);
        EXPECT_FLOAT_EQ(canvas->zoomScale(), home);
    }
}

// The sharpening applied, then taken back with Restore Original: Done hands over the photo itself,
// though the host's full-size replay had already sharpened it.
TEST_F(QZToolScriptsInProcessTest, RestoreOriginalTakesTheAppliedEditOutOfTheResult)
{
    std::vector<std::string> lines = tessel_editor::splitLines(scriptText(kScripts[0].name));
    ASSERT_EQ(lines.back(), "tap Done");
    lines.pop_back();
    // Holding the edited canvas for a second brings up the reset button.
    for (const char* line : {"press 160,260 1.2", "expect Restore Original", "tap Restore Original", "wait 0.5",
                             "screenshot 06-restored", "tap Done"})
        lines.push_back(line);
    ASSERT_TRUE(play("restore", lines, photo_));
    EXPECT_TRUE(played_.host->editor()->session()->modules().empty());
    ASSERT_TRUE(sameSize(played_.result, photo_));
    EXPECT_LE(qz_test::maxDifference(played_.result, photo_), 1) << "the taken-back sharpening reached the host";
    ASSERT_TRUE(sameSize(played_.seen, photo_));
    EXPECT_LE(qz_test::maxDifference(played_.seen, photo_), 1);
}

TEST_F(QZToolScriptsInProcessTest, HoldingTheCanvasShowsThePhotoBeforeTheTool)
{
    std::string error;
    played_.photo = qz_test::imageOf(photo_);
    played_.host = tessel_editor::EditorHost::open(played_.photo, &error);
    ASSERT_NE(played_.host, nullptr) << error;
    // The sharpness script's lines up to the drag, and the drag.
    std::vector<std::string> lines = tessel_editor::splitLines(scriptText(kScripts[0].name));
    const auto drag = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& line) { return line.rfind("drag 160,505", 0) == 0; });
    ASSERT_NE(drag, lines.end());
    const std::vector<std::string> opening(lines.begin(), drag);
    const std::vector<std::string> sharpening{*drag, "wait 0.5"};
    const fs::path shots = dir_ / "hold";
    fs::create_directories(shots);

    // The canvas's middle, where the photo is, in window pixels.
    auto canvas = [&] {
        const Pixels window = qz_test::pixelsOf(UITestDriver::snapshot(*played_.host->window()));
        const std::size_t scale = window.width / 320;
        return qz_test::makePixels(260 * scale, 240 * scale, [&](std::size_t x, std::size_t y) {
            return window.at(30 * scale + x, 140 * scale + y);
        });
    };
    Pixels before, sharpened;
    {
        tessel_editor::ScriptRunner runner(*played_.host, shots.string());
        ASSERT_EQ(runner.run(opening).status, tessel_editor::ScriptResult::Status::Ended);
        before = canvas();
        ASSERT_EQ(runner.run(sharpening).status, tessel_editor::ScriptResult::Status::Ended);
        sharpened = canvas();
    }
    ASSERT_GE(meanAbsoluteDifference(sharpened, before), 1) << "the preview does not show the sharpening";

    analytics_->events.clear();
    UITestDriver driver;
    const CGPoint middle = CGPointMake(160, 260);
    driver.touchDown(1, middle);
    driver.advance(0.3);  // past the canvas's wait to tell a tap from a scroll
    tessel_editor::EditorHost::settle();
    driver.turn();
    EXPECT_LE(qz_test::maxDifference(canvas(), before), 1) << "holding the canvas does not show the photo before";
    driver.touchUp(1, middle);
    tessel_editor::EditorHost::settle();
    driver.turn();
    EXPECT_LE(qz_test::maxDifference(canvas(), sharpened), 1) << "letting go does not show the preview again";

    const Value* pressed = event("tool prepost: pressed");
    ASSERT_NE(pressed, nullptr);
    EXPECT_EQ((*pressed)["tool"], Value("sharpness"));
}

}  // namespace
}  // namespace tool_scripts
