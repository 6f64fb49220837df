// The tool scripts of examples/scripts played on the photo two ways: through the built
// tessel_editor, as a person runs it, and in-process through the host's script runner with the
// analytics recorded. What comes out is checked against what the script did: the photo visibly
// edited, the session holding the tool's module with the values set by touch, the applied event,
// and both the full-size result and what the person saw equal to replays of the closed session.
#include "TesselEditorHost.h"
#include "TesselEditorScript.h"
#include "support/RunProgram.h"

#include "TesselSDK/remote/tests/QZTestMetricsSession.h"
#include "TesselSDK/shell/tests/QZPhotoEditorReplaySupport.h"
#include "TesselSDKImaging/Modules/QZLocalContrastEnhanceModule.h"
#include "TesselSDKImaging/Processors/QZAdjustProcessor.h"
#include "TesselSDKImaging/Processors/QZSharpnessProcessor.h"
#include "TesselSDKImaging/QZOpenGLManager.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "Foundation/PlatformSettings.h"
#include "ImageIO/ImageIOCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using qz_test::Pixels;

namespace {

// ---- Measures of a picture ----

double luma(const std::array<std::uint8_t, 4>& p)
{
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
}

double meanLuma(const Pixels& image)
{
    double sum = 0;
    for (const auto& p : image.rgba) sum += luma(p);
    return sum / double(image.rgba.size());
}

// Central differences of the luma over the interior pixels.
double meanGradient(const Pixels& image)
{
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t y = 1; y + 1 < image.height; ++y)
        for (std::size_t x = 1; x + 1 < image.width; ++x) {
            const double gx = (luma(image.at(x + 1, y)) - luma(image.at(x - 1, y))) / 2;
            const double gy = (luma(image.at(x, y + 1)) - luma(image.at(x, y - 1))) / 2;
            sum += std::sqrt(gx * gx + gy * gy);
            ++count;
        }
    return count ? sum / double(count) : 0;
}

// Per colour channel; -1 when the sizes differ.
double meanAbsoluteDifference(const Pixels& a, const Pixels& b)
{
    if (a.width != b.width || a.height != b.height) return -1;
    double sum = 0;
    for (std::size_t i = 0; i < a.rgba.size(); ++i)
        for (int c = 0; c < 3; ++c) sum += std::abs(int(a.rgba[i][c]) - int(b.rgba[i][c]));
    return sum / double(a.rgba.size() * 3);
}

// The 99.9th percentile of the channel differences; -1 when the sizes differ.
int percentileDifference(const Pixels& a, const Pixels& b)
{
    if (a.width != b.width || a.height != b.height) return -1;
    std::vector<int> differences;
    differences.reserve(a.rgba.size() * 4);
    for (std::size_t i = 0; i < a.rgba.size(); ++i)
        for (int c = 0; c < 4; ++c) differences.push_back(std::abs(int(a.rgba[i][c]) - int(b.rgba[i][c])));
    const std::size_t at = std::min(differences.size() - 1, std::size_t(double(differences.size()) * 0.999));
    std::nth_element(differences.begin(), differences.begin() + std::ptrdiff_t(at), differences.end());
    return differences[at];
}

::testing::AssertionResult sameSize(const Pixels& a, const Pixels& b)
{
    if (a.width == b.width && a.height == b.height) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a.width << " x " << a.height << " against " << b.width << " x " << b.height;
}

std::optional<Pixels> readPNG(const fs::path& path)
{
    Pixels image;
    const bool read = ImageIODecodeFile(path.string(), [&](std::size_t width, std::size_t height) -> void* {
        image = Pixels{width, height, std::vector<std::array<std::uint8_t, 4>>(width * height)};
        return image.rgba.data();
    });
    if (!read) return std::nullopt;
    return image;
}

// 1600 x 1200, larger than the editing size, with texture everywhere for the sharpening to show.
Pixels texturedFixture()
{
    return qz_test::makePixels(1600, 1200, [](std::size_t x, std::size_t y) {
        const bool check = ((x / 5) + (y / 7)) % 2 == 0;
        return std::array<std::uint8_t, 4>{std::uint8_t(50 + x * 120 / 1600 + (check ? 50 : 0)),
                                           std::uint8_t(70 + y * 100 / 1200), std::uint8_t(check ? 160 : 100), 255};
    });
}

// ---- The scripts ----

enum class Expectation { Sharpened, Brightened, Changed, Unchanged };

struct ToolScript {
    const char* name;
    Expectation expectation;
};

void PrintTo(const ToolScript& script, std::ostream* out)
{
    *out << script.name;
}

const ToolScript kScripts[] = {
    {"sharpness", Expectation::Sharpened},
    {"adjust", Expectation::Brightened},
    {"enhance", Expectation::Changed},
    {"enhance-deselect", Expectation::Unchanged},
};

std::string scriptText(const ToolScript& script)
{
    std::ifstream in(fs::path(TESSEL_SOURCE_DIR) / "examples/scripts" / (std::string(script.name) + ".txt"));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int screenshotLines(const std::string& text)
{
    int count = 0;
    for (const std::string& line : tessel_editor::splitLines(text)) count += line.rfind("screenshot ", 0) == 0;
    return count;
}

// What the script's edit must do to the photo, measured against the input.
void expectEdited(const ToolScript& script, const Pixels& input, const Pixels& output)
{
    ASSERT_EQ(output.width, input.width);
    ASSERT_EQ(output.height, input.height);
    switch (script.expectation) {
    case Expectation::Sharpened: EXPECT_GE(meanGradient(output), 1.10 * meanGradient(input)); break;
    case Expectation::Brightened: EXPECT_GE(meanLuma(output), meanLuma(input) + 5); break;
    case Expectation::Changed: EXPECT_GE(meanAbsoluteDifference(output, input), 1); break;
    case Expectation::Unchanged: EXPECT_LE(qz_test::maxDifference(output, input), 1); break;
    }
}

std::string photoPath()
{
    const char* dir = std::getenv("TESSEL_PHOTO_DIR");
    return (dir && *dir ? fs::path(dir) : fs::path(TESSEL_SOURCE_DIR) / ".cache/photos") / "astronaut.png";
}

class QZToolScriptsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto photo = readPNG(photoPath());
        if (!photo) GTEST_SKIP() << photoPath() << " is missing (run scripts/fetch-photos.sh)";
        PlatformSettings::setMainBundlePath(fs::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
        manager_ = QZOpenGLManager::sharedOpenGLManager();
        if (manager_->setupFailed()) GTEST_SKIP() << "no EGL display";
        photo_ = *photo;
        char pattern[] = "/tmp/tool_scripts_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override
    {
        if (!dir_.empty()) fs::remove_all(dir_);
        // Nothing of the GL queue may run into the process's exit.
        if (manager_) {
            EXPECT_TRUE(qz_test::drainGPUQueue());
        }
        PlatformSettings::reset();
    }

    std::shared_ptr<QZOpenGLManager> manager_;
    Pixels photo_;
    fs::path dir_;
};

// ---- Through the built program ----

// One process per script: under the sanitizer a run takes a while.
class QZToolScriptsProgramTest : public QZToolScriptsTest, public ::testing::WithParamInterface<ToolScript> {};

TEST_P(QZToolScriptsProgramTest, WritesTheEditedPhotoAndAScreenshotAfterEachStep)
{
    const ToolScript& script = GetParam();
    const fs::path output = dir_ / (std::string(script.name) + ".png");
    // A folder that does not exist yet, as in the README's command: the program makes it.
    const fs::path screenshots = dir_ / script.name / "shots";
    const example_test::ProgramRun run = example_test::runProgram(
        TESSEL_EDITOR_PATH,
        {"--headless", "--script",
         (fs::path(TESSEL_SOURCE_DIR) / "examples/scripts" / (std::string(script.name) + ".txt")).string(), "--output",
         output.string(), "--screenshots", screenshots.string(), photoPath()});
    ASSERT_EQ(run.status, 0) << run.output;
    const auto written = readPNG(output);
    ASSERT_TRUE(written) << "no " << output;
    expectEdited(script, photo_, *written);
    const auto shots = std::distance(fs::directory_iterator(screenshots), fs::directory_iterator());
    EXPECT_EQ(shots, screenshotLines(scriptText(script)));
}

INSTANTIATE_TEST_SUITE_P(Scripts, QZToolScriptsProgramTest, ::testing::ValuesIn(kScripts),
                         [](const ::testing::TestParamInfo<ToolScript>& script) {
                             std::string name = script.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// ---- In-process, through the host's script runner ----

// Hears what the person saw at Done, then lets the host hear it.
struct DoneRecorder : QZPhotoEditorControllerDelegate {
    std::shared_ptr<tessel_editor::EditorHost> host;
    std::shared_ptr<UIImage> seen;
    void photoEditorFinishedWithImage(QZSDKViewController* editor, std::shared_ptr<UIImage> image) override
    {
        seen = image;
        host->photoEditorFinishedWithImage(editor, std::move(image));
    }
    void photoEditorCanceled(QZSDKViewController* editor) override { host->photoEditorCanceled(editor); }
};

struct Played {
    std::shared_ptr<tessel_editor::EditorHost> host;
    std::shared_ptr<UIImage> photo;
    Pixels result;
    Pixels seen;
};

class QZToolScriptsInProcessTest : public QZToolScriptsTest {
protected:
    void SetUp() override
    {
        QZToolScriptsTest::SetUp();
        if (IsSkipped()) return;
        tessel_editor::configureDevice(tessel_editor::Device::Phone);
        QZTestMetricsSession::registerClass(analytics_);
    }
    void TearDown() override
    {
        if (played_.host) played_.host->close();
        played_ = {};
        QZTestMetricsSession::unregisterClass();
        QZToolScriptsTest::TearDown();
    }

    // Plays the script on the photo to Done; false (with a failure) when it did not get there.
    bool play(const ToolScript& script, const Pixels& photo)
    {
        return play(script.name, tessel_editor::splitLines(scriptText(script)), photo);
    }
    bool play(const std::string& name, const std::vector<std::string>& lines, const Pixels& photo)
    {
        analytics_->events.clear();
        if (played_.host) played_.host->close();
        played_ = {};
        played_.photo = qz_test::imageOf(photo);
        std::string error;
        played_.host = tessel_editor::EditorHost::open(played_.photo, &error);
        if (!played_.host) {
            ADD_FAILURE() << error;
            return false;
        }
        auto recorder = std::make_shared<DoneRecorder>();
        recorder->host = played_.host;
        recorder_ = recorder;
        played_.host->editor()->setDelegate(recorder);
        fs::create_directories(dir_ / name);
        tessel_editor::ScriptRunner runner(*played_.host, (dir_ / name).string());
        const tessel_editor::ScriptResult result = runner.run(lines);
        tessel_editor::EditorHost::settle();
        if (result.status != tessel_editor::ScriptResult::Status::Finished || !played_.host->result() ||
            !recorder->seen) {
            ADD_FAILURE() << "line " << result.line << ": " << result.message;
            return false;
        }
        played_.result = qz_test::pixelsOf(played_.host->result());
        played_.seen = qz_test::pixelsOf(recorder->seen);
        return true;
    }

    // The closed session replayed by a context of our own, at full size or fitting maxSize.
    std::optional<Pixels> replay(std::optional<CGSize> maxSize)
    {
        const auto& session = played_.host->editor()->session();
        auto context = maxSize ? session->createContextWithImage(played_.photo, *maxSize)
                               : session->createContextWithImage(played_.photo);
        if (!context) return std::nullopt;
        std::shared_ptr<UIImage> image;
        bool delivered = false;
        context->render([&](std::shared_ptr<UIImage> rendered) {
            image = std::move(rendered);
            delivered = true;
        });
        tessel_editor::EditorHost::settle();
        if (!qz_test::pumpUntil([&] { return delivered; }) || !image) return std::nullopt;
        return qz_test::pixelsOf(image);
    }

    // The full-size result and what the person saw equal replays of the closed session.
    void expectReplaysAgree()
    {
        const auto full = replay(std::nullopt);
        ASSERT_TRUE(full) << "no full-size replay";
        ASSERT_TRUE(sameSize(played_.result, *full));
        EXPECT_LE(qz_test::maxDifference(played_.result, *full), 1);
        const auto editing = replay(played_.host->editor()->session()->editingSize());
        ASSERT_TRUE(editing) << "no replay at the editing size";
        ASSERT_TRUE(sameSize(played_.seen, *editing));
        EXPECT_LE(percentileDifference(played_.seen, *editing), 2);
        EXPECT_LE(qz_test::maxDifference(played_.seen, *editing), 4);
    }

    std::shared_ptr<QZProcessor> onlyProcessor()
    {
        const auto& modules = played_.host->editor()->session()->modules();
        if (modules.size() != 1) return nullptr;
        QZProcessorList processors;
        modules[0]->createProcessors(processors);
        return processors.size() == 1 ? processors[0] : nullptr;
    }
    const Value* event(const std::string& name) const
    {
        for (const auto& [eventName, attributes] : analytics_->events)
            if (eventName == name) return &attributes;
        return nullptr;
    }

    std::shared_ptr<QZTestMetricsSession> analytics_ = NSObject::create<QZTestMetricsSession>();
    std::shared_ptr<DoneRecorder> recorder_;
    Played played_;
};

TEST_F(QZToolScriptsInProcessTest, SharpnessRecordsItsProcessorAtTheDraggedValue)
{
    ASSERT_TRUE(play(kScripts[0], photo_));
    expectEdited(kScripts[0], photo_, played_.result);
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
    expectEdited(kScripts[0], fixture, played_.result);
    auto sharpness = std::dynamic_pointer_cast<QZSharpnessProcessor>(onlyProcessor());
    ASSERT_NE(sharpness, nullptr);
    EXPECT_EQ(sharpness->inputSharpness(), 100);
    expectReplaysAgree();
}

TEST_F(QZToolScriptsInProcessTest, AdjustRecordsEachSubToolsValueAndFlags)
{
    ASSERT_TRUE(play(kScripts[1], photo_));
    expectEdited(kScripts[1], photo_, played_.result);
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
    expectEdited(kScripts[2], photo_, played_.result);
    const auto& modules = played_.host->editor()->session()->modules();
    ASSERT_EQ(modules.size(), 1u);
    EXPECT_NE(std::dynamic_pointer_cast<QZLocalContrastEnhanceModule>(modules[0]), nullptr);
    const Value* applied = event("enhance: applied");
    ASSERT_NE(applied, nullptr);
    EXPECT_EQ((*applied)["filter"], Value("clarity"));
    expectReplaysAgree();

    ASSERT_TRUE(play(kScripts[3], photo_));
    expectEdited(kScripts[3], photo_, played_.result);
    EXPECT_TRUE(played_.host->editor()->session()->modules().empty());
    applied = event("enhance: applied");
    ASSERT_NE(applied, nullptr);
    EXPECT_TRUE((*applied)["filter"].isNil());
    ASSERT_TRUE(sameSize(played_.seen, photo_));  // the photo is within the editing size
    EXPECT_LE(qz_test::maxDifference(played_.seen, photo_), 1) << "what the person saw at Done is not the photo";
}

// The sharpening applied, then taken back with Restore Original: Done hands over the photo itself,
// though the host's full-size replay had already sharpened it.
TEST_F(QZToolScriptsInProcessTest, RestoreOriginalTakesTheAppliedEditOutOfTheResult)
{
    std::vector<std::string> lines = tessel_editor::splitLines(scriptText(kScripts[0]));
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
    std::vector<std::string> lines = tessel_editor::splitLines(scriptText(kScripts[0]));
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
