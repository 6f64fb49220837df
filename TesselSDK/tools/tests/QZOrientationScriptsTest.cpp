// The orientation tool's scripts (orientation.txt, flip.txt, straighten.txt) on the cached photo
// and on the generated 1600 x 1200 fixture, through the built tessel_editor and in-process. A turn
// swaps the photo's sides, a flip mirrors it, a straightening keeps round(W / s) x round(H / s) of
// it; the session holds the one orientation module at full size, and what the person saw at Done
// and the host's photo both equal replays of the closed session.
#include "QZToolScriptsSupport.h"

#include "TesselSDKImaging/Modules/QZOrientationModule.h"

#include <map>

namespace tool_scripts {
namespace {

// The picture turned a quarter clockwise: the left column becomes the top row.
Pixels turnedClockwise(const Pixels& input)
{
    return qz_test::makePixels(input.height, input.width,
                               [&](std::size_t x, std::size_t y) { return input.at(y, input.height - 1 - x); });
}

Pixels mirroredLeftRight(const Pixels& input)
{
    return qz_test::makePixels(input.width, input.height,
                               [&](std::size_t x, std::size_t y) { return input.at(input.width - 1 - x, y); });
}

void expectTurnedClockwise(const Pixels& input, const Pixels& output)
{
    const Pixels expected = turnedClockwise(input);
    ASSERT_TRUE(sameSize(output, expected));
    EXPECT_LE(qz_test::maxDifference(output, expected), 1);
}

void expectMirrored(const Pixels& input, const Pixels& output)
{
    const Pixels expected = mirroredLeftRight(input);
    ASSERT_TRUE(sameSize(output, expected));
    EXPECT_LE(qz_test::maxDifference(output, expected), 1);
}

// The knob a quarter of its travel to the right: -pi / 8, and the zoom that keeps a frame of that
// aspect filled, cos(pi / 8) + (long side / short side) sin(pi / 8).
constexpr double kStraightenAngle = -M_PI / 8;
double straightenScale(const Pixels& photo)
{
    const double longer = double(std::max(photo.width, photo.height));
    const double shorter = double(std::min(photo.width, photo.height));
    return std::cos(M_PI / 8) + longer / shorter * std::sin(M_PI / 8);
}

// round(W / s) x round(H / s) of the photo: 1600 x 1200 at 1.434124 keeps 1115.7 x 836.7, the
// square astronaut at 1.306563 keeps 391.9 x 391.9.
void expectStraightened(const Pixels& input, const Pixels& output)
{
    const std::map<std::pair<std::size_t, std::size_t>, std::pair<std::size_t, std::size_t>> kept{
        {{1600, 1200}, {1116, 837}}, {{512, 512}, {392, 392}}};
    const auto size = kept.find({input.width, input.height});
    ASSERT_NE(size, kept.end()) << "no expected size for a " << input.width << " x " << input.height << " photo";
    EXPECT_EQ(output.width, size->second.first);
    EXPECT_EQ(output.height, size->second.second);
}

const ToolScript kRows[] = {
    {"orientation", "astronaut.png", expectTurnedClockwise},
    {"flip", "astronaut.png", expectMirrored},
    {"straighten", "astronaut.png", expectStraightened},
};

INSTANTIATE_TEST_SUITE_P(Orientation, QZToolScriptsProgramTest, ::testing::ValuesIn(kRows), scriptTestName);

// ---- The generated fixture through the built program ----

// The same scripts on texturedFixture(), written to a PNG for the program to open.
class QZOrientationFixtureProgramTest : public QZToolScriptsProgramTest {};

TEST_P(QZOrientationFixtureProgramTest, WritesTheEditedFixtureAndAScreenshotAfterEachStep)
{
    const ToolScript& script = GetParam();
    const Pixels fixture = texturedFixture();
    const fs::path input = dir_ / "textured.png";
    std::string error;
    ASSERT_TRUE(ImageIOWritePNGFile(input.string(), fixture.rgba.data(), fixture.width, fixture.height, &error))
        << error;
    const fs::path output = dir_ / (std::string(script.name) + ".png");
    const fs::path screenshots = dir_ / script.name / "shots";
    const example_test::ProgramRun run =
        example_test::runProgram(TESSEL_EDITOR_PATH, {"--headless", "--script", scriptPath(script.name).string(),
                                                      "--output", output.string(), "--screenshots",
                                                      screenshots.string(), input.string()});
    ASSERT_EQ(run.status, 0) << run.output;
    const auto written = readPNG(output);
    ASSERT_TRUE(written) << "no " << output;
    script.check(fixture, *written);
    const auto shots = std::distance(fs::directory_iterator(screenshots), fs::directory_iterator());
    EXPECT_EQ(shots, screenshotLines(scriptText(script.name)));
}

INSTANTIATE_TEST_SUITE_P(Orientation, QZOrientationFixtureProgramTest, ::testing::ValuesIn(kRows), scriptTestName);

// ---- In-process ----

// A script on a photo, and the module it must leave in the session.
struct OrientationPlay {
    const ToolScript* script;
    bool fixture;  // the generated 1600 x 1200 fixture, else the cached astronaut
    UIImageOrientation orientation;
    bool straightened;
    // What the person saw at Done, for the fixture (edited at 1024 x 768).
    std::size_t seenWidth, seenHeight;
};

void PrintTo(const OrientationPlay& play, std::ostream* out)
{
    *out << play.script->name << (play.fixture ? " on the fixture" : " on the astronaut");
}

std::string playName(const ::testing::TestParamInfo<OrientationPlay>& play)
{
    return std::string(play.param.script->name) + (play.param.fixture ? "_fixture" : "_astronaut");
}

const OrientationPlay kPlays[] = {
    {&kRows[0], false, UIImageOrientationRight, false, 512, 512},
    {&kRows[0], true, UIImageOrientationRight, false, 768, 1024},
    {&kRows[1], false, UIImageOrientationUpMirrored, false, 512, 512},
    {&kRows[1], true, UIImageOrientationUpMirrored, false, 1024, 768},
    {&kRows[2], false, UIImageOrientationUp, true, 392, 392},
    {&kRows[2], true, UIImageOrientationUp, true, 714, 536},
};

class QZOrientationScriptsInProcessTest : public QZToolScriptsInProcessTest,
                                          public ::testing::WithParamInterface<OrientationPlay> {};

TEST_P(QZOrientationScriptsInProcessTest, RecordsOneFullSizeModuleThatEveryReplayAgreesWith)
{
    const OrientationPlay& play = GetParam();
    const Pixels input = play.fixture ? texturedFixture() : photo_;
    ASSERT_TRUE(this->play(*play.script, input));
    play.script->check(input, played_.result);

    const auto& session = played_.host->editor()->session();
    ASSERT_EQ(session->modules().size(), 1u);
    auto module = std::dynamic_pointer_cast<QZOrientationModule>(session->modules()[0]);
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(module->isHiRes());
    EXPECT_EQ(module->originalSize().width, session->editingSize().width);
    EXPECT_EQ(module->originalSize().height, session->editingSize().height);
    EXPECT_EQ(module->orientation(), play.orientation);
    EXPECT_NEAR(module->rotation(), play.straightened ? kStraightenAngle : 0, 1e-4);
    EXPECT_NEAR(module->scale(), play.straightened ? straightenScale(input) : 1, 2e-4);

    EXPECT_EQ(played_.seen.width, play.seenWidth);
    EXPECT_EQ(played_.seen.height, play.seenHeight);
    expectReplaysAgree();

    std::vector<std::string> toolEvents;
    for (const auto& [name, attributes] : analytics_->events)
        if (name.rfind("orientation: ", 0) == 0) toolEvents.push_back(name);
    EXPECT_EQ(toolEvents, (std::vector<std::string>{"orientation: opened", "orientation: applied"}));
    const Value* applied = event("orientation: applied");
    ASSERT_NE(applied, nullptr);
    EXPECT_EQ(*applied, QZAnalytics::standardAttributes());
    EXPECT_EQ(std::count(analytics_->calls.begin(), analytics_->calls.end(), "tagScreen: Orientation"), 1);
}

INSTANTIATE_TEST_SUITE_P(Orientation, QZOrientationScriptsInProcessTest, ::testing::ValuesIn(kPlays), playName);

}  // namespace
}  // namespace tool_scripts
