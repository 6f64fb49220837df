// The orientation tool's scripts (orientation.txt, flip.txt, straighten.txt) on the cached photo
// and on the generated 1600 x 1200 fixture, through the built tessel_editor and in-process. A turn
// swaps the photo's sides, a flip mirrors it, a straightening keeps round(W / s) x round(H / s) of
// it; the session holds the one orientation module at full size, and what the person saw at Done
// and the host's photo both equal replays of the closed session.
#include "QZToolScriptsSupport.h"

#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/shell/QZPhotoEditorContext.h"
#include "TesselSDK/tools/QZOrientationViewController.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKImaging/Modules/QZOrientationModule.h"

#include "UIKit/UIApplication.h"
#include "UIKit/UIViewController.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"

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
    const example_test::ProgramRun run = example_test::runProgram(
        TESSEL_EDITOR_PATH, {"--headless", "--script", scriptPath(script.name).string(), "--output", output.string(),
                             "--screenshots", screenshots.string(), input.string()});
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

// ---- Where the straightening turns the picture ----

// Black, with a white 9 x 9 marker 100 pixels right of the centre.
Pixels markedPhoto(std::size_t width, std::size_t height)
{
    return qz_test::makePixels(width, height, [&](std::size_t x, std::size_t y) {
        const bool marker =
            x + 4 >= width / 2 + 100 && x <= width / 2 + 104 && y + 4 >= height / 2 && y <= height / 2 + 4;
        return marker ? std::array<std::uint8_t, 4>{255, 255, 255, 255} : std::array<std::uint8_t, 4>{0, 0, 0, 255};
    });
}

// The mean row of the bright pixels inside the rectangle (x, y, width, height); -1 when none.
double brightRow(const Pixels& image, std::size_t left, std::size_t top, std::size_t width, std::size_t height)
{
    double sum = 0, count = 0;
    for (std::size_t y = top; y < std::min(image.height, top + height); ++y)
        for (std::size_t x = left; x < std::min(image.width, left + width); ++x)
            if (luma(image.at(x, y)) > 128) sum += double(y), ++count;
    return count ? sum / count : -1;
}

// straighten.txt turns the picture anticlockwise (-pi / 8): a marker right of the centre rises
// above the centre row in the preview, in what the person saw at Done, in the GPU replay and in a
// replay on a CPU server.
TEST_F(QZToolScriptsInProcessTest, StraightenTurnsThePictureAnticlockwiseOnEveryPath)
{
    const Pixels photo = markedPhoto(1024, 768);
    ASSERT_TRUE(play(kRows[2], photo));
    auto aboveCentre = [](const Pixels& image, const char* what) {
        SCOPED_TRACE(what);
        const double row = brightRow(image, 0, 0, image.width, image.height);
        ASSERT_GE(row, 0) << "no marker";
        // 100 pixels out at 22.5 degrees: about 38 rows up.
        EXPECT_NEAR(row, double(image.height) / 2 - 100 * std::sin(M_PI / 8), 4);
    };
    aboveCentre(played_.seen, "Done");
    aboveCentre(played_.result, "GPU replay");

    const auto& session = played_.host->editor()->session();
    auto context = QZPhotoEditorContext::make(session, played_.photo->size());
    ASSERT_NE(context, nullptr);
    std::shared_ptr<UIImage> cpu;
    bool delivered = false;
    context->renderInputImage(played_.photo, [&](std::shared_ptr<UIImage> image) {
        cpu = std::move(image);
        delivered = true;
    });
    ASSERT_TRUE(qz_test::pumpUntil([&] { return delivered; }));
    ASSERT_NE(cpu, nullptr);
    EXPECT_EQ(context->glInstance(), nullptr);
    const Pixels onCPU = qz_test::pixelsOf(cpu);
    ASSERT_TRUE(sameSize(onCPU, played_.result));
    aboveCentre(onCPU, "CPU replay");

    // The preview after the drag, at scale 2: the picture is centred on (160, 259.5) points. Only
    // its middle is searched, clear of the knob on its bottom edge.
    const auto shot = readPNG(dir_ / "straighten" / "04-straightened.png");
    ASSERT_TRUE(shot);
    const double row = brightRow(*shot, 2 * 30, 2 * 170, 2 * 260, 2 * 170);
    ASSERT_GE(row, 0) << "no marker in the preview";
    EXPECT_LT(row, 2 * 259.5 - 20) << "the preview turned the other way";
}

// ---- Quick launch and a turn of the device ----

// The host's side of a quick-launched editor: what it was handed.
struct QuickLaunchHost : QZPhotoEditorControllerDelegate {
    std::vector<std::shared_ptr<UIImage>> images;
    void photoEditorFinishedWithImage(QZSDKViewController*, std::shared_ptr<UIImage> image) override
    {
        images.push_back(std::move(image));
    }
};

// Quick-launched on the orientation tool, a turn and Apply close the editor with the turned photo.
TEST_F(QZToolScriptsInProcessTest, AQuickLaunchedTurnHandsTheHostTheTurnedPhoto)
{
    TesselSDKRemoteRegisterClasses();
    auto window = UIWindow::window();
    auto root = UIViewController::make();
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    auto host = std::make_shared<QuickLaunchHost>();
    auto editor = QZPhotoEditorController::initWithImageQuickLaunchTool(qz_test::imageOf(photo_), "orientation");
    ASSERT_NE(editor, nullptr);
    editor->setDelegate(host);
    root->presentViewController(editor, false);
    tessel_editor::EditorHost::settle();
    UITestDriver driver;
    driver.advance(1);
    tessel_editor::EditorHost::settle();
    auto tool = std::dynamic_pointer_cast<QZOrientationViewController>(editor->toolViewController());
    ASSERT_NE(tool, nullptr);
    ASSERT_TRUE(driver.tapViewWithLabel("Rotate right"));
    driver.advance(0.5);
    driver.tap(*tool->applyButton()->customView());
    for (int i = 0; i < 20 && host->images.empty(); ++i) {
        driver.advance(0.1);
        tessel_editor::EditorHost::settle();
    }
    ASSERT_EQ(host->images.size(), 1u) << "the quick-launch host was never handed its photo";
    ASSERT_NE(host->images[0], nullptr);
    const Pixels handed = qz_test::pixelsOf(host->images[0]);
    const Pixels expected = turnedClockwise(photo_);
    ASSERT_TRUE(sameSize(handed, expected));
    EXPECT_LE(qz_test::maxDifference(handed, expected), 1) << "the host got the photo before the turn";
    root->dismissViewControllerAnimated(false);
    tessel_editor::EditorHost::settle();
    window->setRootViewController(nullptr);
    tessel_editor::EditorHost::settle();
}

// Turning the device takes the straightening off the canvas and the knob; the edit loses it too,
// so Apply hands over the photo as the person sees it. (A tablet: phones stay upright.)
TEST_F(QZToolScriptsInProcessTest, ADeviceTurnWhileStraightenedLeavesTheStraighteningOut)
{
    tessel_editor::configureDevice(tessel_editor::Device::Tablet);
    QZPhotoEditorCustomization::setOptionValue(
        Value::array({Value(int(UIInterfaceOrientationPortrait)), Value(int(UIInterfaceOrientationLandscapeLeft))}),
        "editor.supportedOrientations");
    std::string error;
    played_.photo = qz_test::imageOf(photo_);
    played_.host = tessel_editor::EditorHost::open(played_.photo, &error);
    ASSERT_NE(played_.host, nullptr) << error;
    auto recorder = std::make_shared<DoneRecorder>();
    recorder->host = played_.host;
    recorder_ = recorder;
    played_.host->editor()->setDelegate(recorder);
    {
        tessel_editor::ScriptRunner runner(*played_.host, dir_.string());
        const auto opened = runner.run({"wait 1", "tap Orientation", "wait 0.5"});
        ASSERT_EQ(opened.status, tessel_editor::ScriptResult::Status::Ended) << opened.line << ": " << opened.message;
    }
    auto tool = std::dynamic_pointer_cast<QZOrientationViewController>(played_.host->editor()->toolViewController());
    ASSERT_NE(tool, nullptr);
    {
        // The knob to the left, about 0.3 on its curve, then the device turned.
        UITestDriver driver;
        const auto& slider = tool->straightenOverlay()->slider();
        const CGPoint knob = UITestDriver::windowPoint(*slider->handle());
        driver.drag({knob, CGPointMake(knob.x - 0.564f * (slider->rBound() - slider->lBound()) / 2, knob.y)}, 0.5);
        driver.advance(0.5);
        tessel_editor::EditorHost::settle();
        ASSERT_NEAR(tool->currentStraightenRotation(), 0.3 * M_PI / 2, 0.01);
        ASSERT_GT(tool->currentStraightenScale(), 1.2f);
        ASSERT_TRUE(UIApplication::sharedApplication()->turnDeviceToOrientation(UIInterfaceOrientationLandscapeLeft));
        driver.advance(0.6);
        tessel_editor::EditorHost::settle();
    }
    tessel_editor::ScriptRunner runner(*played_.host, dir_.string());
    const auto finished = runner.run({"screenshot turned", "tap Apply", "wait 0.5", "tap Done"});
    tessel_editor::EditorHost::settle();
    ASSERT_EQ(finished.status, tessel_editor::ScriptResult::Status::Finished)
        << finished.line << ": " << finished.message;
    ASSERT_TRUE(played_.host->result() && recorder->seen);

    const auto& modules = played_.host->editor()->session()->modules();
    ASSERT_EQ(modules.size(), 1u);
    auto module = std::dynamic_pointer_cast<QZOrientationModule>(modules[0]);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->rotation(), 0);
    EXPECT_EQ(module->scale(), 1);
    const Pixels seen = qz_test::pixelsOf(recorder->seen);
    ASSERT_TRUE(sameSize(seen, photo_));
    EXPECT_LE(qz_test::maxDifference(seen, photo_), 1);
    const Pixels result = qz_test::pixelsOf(played_.host->result());
    ASSERT_TRUE(sameSize(result, photo_));
    EXPECT_LE(qz_test::maxDifference(result, photo_), 1);
}

}  // namespace
}  // namespace tool_scripts
