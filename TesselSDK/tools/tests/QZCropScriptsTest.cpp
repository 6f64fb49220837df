// The crop scripts of examples/scripts played through the built tessel_editor and in-process
// through the host's script runner: the square and the shrunk Original reach the full-size photo,
// the session holds one full-size crop module with the rectangle the box showed, the delegate's
// image and the full-size result equal replays of the closed session, and the tool reports what it
// did. Also the presets that give no box of their own, and a device turned while cropping.
#include "QZToolScriptsSupport.h"

#include "TesselSDK/tools/QZCropViewController.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"

#include "TesselSDKImaging/Modules/QZCropModule.h"

#include "Foundation/NSLogCapture.h"
#include "UIKit/UIApplication.h"

namespace tool_scripts {
namespace {

// ---- What each script does to the photo ----

// The largest square, centred.
Pixels centredSquare(const Pixels& input)
{
    const std::size_t side = std::min(input.width, input.height);
    const std::size_t x0 = (input.width - side) / 2, y0 = (input.height - side) / 2;
    return qz_test::makePixels(side, side, [&](std::size_t x, std::size_t y) { return input.at(x0 + x, y0 + y); });
}

void expectCentredSquare(const Pixels& input, const Pixels& output)
{
    const double side = double(std::min(input.width, input.height));
    ASSERT_EQ(output.width, output.height);
    ASSERT_NEAR(double(output.width), side, 1);
    const Pixels square = centredSquare(input);
    ASSERT_TRUE(sameSize(output, square)) << "not the centred square's size";
    EXPECT_LE(percentileDifference(output, square), 2) << "not the input's centred square";
}

void expectSmallerWithTheSameAspect(const Pixels& input, const Pixels& output)
{
    EXPECT_LT(output.width, input.width);
    EXPECT_LT(output.height, input.height);
    const double aspect = double(output.width) / double(output.height);
    const double photoAspect = double(input.width) / double(input.height);
    EXPECT_NEAR(aspect / photoAspect, 1, 0.01);
}

const ToolScript kRows[] = {
    {"crop", "astronaut.png", expectCentredSquare},
    {"crop-original", "astronaut.png", expectSmallerWithTheSameAspect},
};

// ---- Through the built program ----

INSTANTIATE_TEST_SUITE_P(Crop, QZToolScriptsProgramTest, ::testing::ValuesIn(kRows), scriptTestName);

// Larger than the editing size: the box was drawn over a 1024 x 768 picture, the crop is made of
// the 1600 x 1200 photo.
TEST_F(QZToolScriptsTest, CropOnALargerPhotoCutsItsCentredSquareAtFullSize)
{
    const Pixels fixture = texturedFixture();
    const fs::path input = dir_ / "fixture.png";
    ASSERT_TRUE(ImageIOWritePNGFile(input.string(), fixture.rgba.data(), fixture.width, fixture.height));
    const fs::path output = dir_ / "crop.png";
    const example_test::ProgramRun run = example_test::runProgram(
        TESSEL_EDITOR_PATH, {"--headless", "--script", scriptPath("crop").string(), "--output", output.string(),
                             "--screenshots", (dir_ / "shots").string(), input.string()});
    ASSERT_EQ(run.status, 0) << run.output;
    const auto written = readPNG(output);
    ASSERT_TRUE(written) << "no " << output;
    ASSERT_EQ(written->width, 1200u);
    ASSERT_EQ(written->height, 1200u);
    const Pixels columns =
        qz_test::makePixels(1200, 1200, [&](std::size_t x, std::size_t y) { return fixture.at(200 + x, y); });
    EXPECT_LE(percentileDifference(*written, columns), 2) << "not the input's columns 200 to 1399";
}

// ---- In-process ----

class QZCropScriptsTest : public QZToolScriptsInProcessTest {
protected:
    void TearDown() override
    {
        QZPhotoEditorCustomization::clearCustomization();
        QZToolScriptsInProcessTest::TearDown();
    }

    std::shared_ptr<QZCropModule> onlyCropModule()
    {
        const auto& modules = played_.host->editor()->session()->modules();
        if (modules.size() != 1) {
            ADD_FAILURE() << modules.size() << " modules";
            return nullptr;
        }
        return std::dynamic_pointer_cast<QZCropModule>(modules[0]);
    }

    // The tool's events, in order, and its screen tagged once.
    void expectOpenedAndApplied()
    {
        std::vector<std::string> toolEvents;
        for (const auto& [name, attributes] : analytics_->events)
            if (name.rfind("crop: ", 0) == 0) toolEvents.push_back(name);
        EXPECT_EQ(toolEvents, (std::vector<std::string>{"crop: opened", "crop: applied"}));
        const Value* applied = event("crop: applied");
        ASSERT_NE(applied, nullptr);
        // The render ends on the GL queue after the report: no render time.
        EXPECT_EQ(*applied, QZAnalytics::standardAttributes());
        EXPECT_EQ(std::count(analytics_->calls.begin(), analytics_->calls.end(), "tagScreen: Crop"), 1);
    }

    // The lines of a script up to its Apply (not included).
    static std::vector<std::string> linesBeforeApply(const std::string& script)
    {
        std::vector<std::string> lines = tessel_editor::splitLines(scriptText(script));
        const auto apply = std::find(lines.begin(), lines.end(), "tap Apply");
        return std::vector<std::string>(lines.begin(), apply);
    }

    // The crop screen on show, opened by the crop script's first lines and `more`.
    std::shared_ptr<QZCropViewController> openCrop(const Pixels& photo, const std::vector<std::string>& more = {})
    {
        std::string error;
        played_.photo = qz_test::imageOf(photo);
        played_.host = tessel_editor::EditorHost::open(played_.photo, &error);
        if (!played_.host) {
            ADD_FAILURE() << error;
            return nullptr;
        }
        std::vector<std::string> lines = linesBeforeApply("crop");
        lines.erase(std::find(lines.begin(), lines.end(), "expect 1:1"), lines.end());
        lines.insert(lines.end(), more.begin(), more.end());
        fs::create_directories(dir_ / "open");
        tessel_editor::ScriptRunner runner(*played_.host, (dir_ / "open").string());
        const tessel_editor::ScriptResult result = runner.run(lines);
        if (result.status != tessel_editor::ScriptResult::Status::Ended) {
            ADD_FAILURE() << "line " << result.line << ": " << result.message;
            return nullptr;
        }
        return std::dynamic_pointer_cast<QZCropViewController>(played_.host->editor()->toolViewController());
    }
};

TEST_F(QZCropScriptsTest, TheSquareOfALargerPhotoIsRecordedAsItsMiddleColumns)
{
    const Pixels fixture = texturedFixture();
    ASSERT_TRUE(play(kRows[0], fixture));
    kRows[0].check(fixture, played_.result);
    const auto crop = onlyCropModule();
    ASSERT_NE(crop, nullptr);
    EXPECT_TRUE(crop->isHiRes());
    // Exactly the middle 768 of 1024 columns: no pixel gained from float noise on the way.
    EXPECT_NEAR(crop->rect().origin.x, 0.125, 1e-6);
    EXPECT_NEAR(crop->rect().origin.y, 0, 1e-6);
    EXPECT_NEAR(crop->rect().size.width, 0.75, 1e-6);
    EXPECT_NEAR(crop->rect().size.height, 1, 1e-6);
    EXPECT_NEAR(crop->scaledSize().width, 0.75, 1e-6);
    EXPECT_NEAR(crop->scaledSize().height, 1, 1e-6);
    EXPECT_EQ(played_.seen.width, 768u);
    EXPECT_EQ(played_.seen.height, 768u);
    expectOpenedAndApplied();
    expectReplaysAgree();
}

TEST_F(QZCropScriptsTest, TheSquareOfASquarePhotoIsThePhoto)
{
    ASSERT_TRUE(play(kRows[0], photo_));
    kRows[0].check(photo_, played_.result);
    const auto crop = onlyCropModule();
    ASSERT_NE(crop, nullptr);
    EXPECT_TRUE(crop->isHiRes());
    EXPECT_EQ(crop->rect(), CGRectMake(0, 0, 1, 1));
    expectReplaysAgree();
}

TEST_F(QZCropScriptsTest, TheShrunkOriginalKeepsThePhotosAspect)
{
    ASSERT_TRUE(play(kRows[1], photo_));
    kRows[1].check(photo_, played_.result);
    const auto crop = onlyCropModule();
    ASSERT_NE(crop, nullptr);
    EXPECT_TRUE(crop->isHiRes());
    const CGRect rect = crop->rect();
    EXPECT_NEAR(rect.size.width * CGFloat(photo_.width), rect.size.height * CGFloat(photo_.height), 1);
    EXPECT_LT(rect.size.width, 1);
    EXPECT_LT(rect.size.height, 1);
    // The handle took a quarter off the right and bottom; the top left stayed.
    EXPECT_NEAR(rect.origin.x, 0, 1e-6);
    EXPECT_NEAR(rect.origin.y, 0, 1e-6);
    EXPECT_NEAR(rect.size.width, 0.75, 0.01);
    expectOpenedAndApplied();
    expectReplaysAgree();
}

// What the tool is given when the host's options leave it no preset of its own.
struct PresetCase {
    const char* name;
    Value presets;
    std::vector<std::string> lines;  // after the strip's Crop
};

TEST_F(QZCropScriptsTest, WithoutAPresetOfItsOwnTheBoxCoversThePhotoAndApplyCropsNothing)
{
    const PresetCase cases[] = {
        // Custom and Original off, no ratios: nothing to select.
        {"none", Value::array(), {}},
        // A ratio of no sides fits no box: it starts at the whole photo and resizes freely.
        {"zero",
         Value::array({Value::dictionary({{"width", 0}, {"height", 0}})}),
         {"expect 0:0", "tap 0:0", "wait 0.5"}},
    };
    for (const PresetCase& c : cases) {
        SCOPED_TRACE(c.name);
        QZPhotoEditorCustomization::setOptionValue(Value(false), "editor.tool.crop.enableCustom");
        QZPhotoEditorCustomization::setOptionValue(Value(false), "editor.tool.crop.enableOriginal");
        QZPhotoEditorCustomization::setOptionValue(c.presets, "editor.tool.crop.presets");
        NSLogCapture log;
        const auto crop = openCrop(photo_, c.lines);
        ASSERT_NE(crop, nullptr);
        const auto box = crop->cropOverlayView()->cropBoxView();
        const CGRect content = box->contentRect();
        const CGRect m = crop->cropOverlayView()->maximumCropRect();
        for (CGFloat v : {content.origin.x, content.origin.y, content.size.width, content.size.height})
            ASSERT_TRUE(std::isfinite(v)) << "a box frame that is no rectangle";
        EXPECT_EQ(box->alpha(), 1) << "the box Apply crops to is not shown";
        EXPECT_NEAR(content.size.width, m.size.width, 1e-3);
        EXPECT_NEAR(content.size.height, m.size.height, 1e-3);
        EXPECT_FALSE(crop->cropOverlayView()->isConstrainedToProportions());
        // The tool table's index 0 is not below an empty list's count.
        EXPECT_EQ(log.contains("-[QZCropViewController viewDidAppear:] Invalid default preset index: 0"),
                  c.presets.count() == 0);

        tessel_editor::ScriptRunner runner(*played_.host, dir_.string());
        ASSERT_EQ(runner.run({"tap Apply", "wait 0.5", "tap Done"}).status,
                  tessel_editor::ScriptResult::Status::Finished);
        tessel_editor::EditorHost::settle();
        ASSERT_TRUE(played_.host->result());
        const Pixels result = qz_test::pixelsOf(played_.host->result());
        ASSERT_TRUE(sameSize(result, photo_)) << "the photo was cut to a box nobody saw";
        EXPECT_LE(percentileDifference(result, photo_), 2);
        played_.host->close();
        played_ = {};
        QZPhotoEditorCustomization::clearCustomization();
    }
}

// A tablet turned from portrait to landscape while the 3:2 box is shown: the box hides while the
// turn starts and comes back at the same share of the photo, in the same place relative to the
// centre, still 3:2.
TEST_F(QZCropScriptsTest, TurningTheDeviceKeepsTheBoxsShareOfThePhoto)
{
    tessel_editor::configureDevice(tessel_editor::Device::Tablet);
    QZPhotoEditorCustomization::setOptionValue(Value::array({1, 3, 4}), "editor.supportedOrientations");
    std::string error;
    played_.photo = qz_test::imageOf(texturedFixture());
    played_.host = tessel_editor::EditorHost::open(played_.photo, &error);
    ASSERT_NE(played_.host, nullptr) << error;
    {
        tessel_editor::ScriptRunner runner(*played_.host, dir_.string());
        ASSERT_EQ(
            runner.run({"wait 1", "expect Crop", "tap Crop", "wait 0.5", "expect 3:2", "tap 3:2", "wait 0.5"}).status,
            tessel_editor::ScriptResult::Status::Ended);
    }
    auto crop = std::dynamic_pointer_cast<QZCropViewController>(played_.host->editor()->toolViewController());
    ASSERT_NE(crop, nullptr);
    const auto overlay = crop->cropOverlayView();
    const auto box = overlay->cropBoxView();
    const CGRect before = box->contentRect();
    const CGRect mBefore = overlay->maximumCropRect();
    EXPECT_NEAR(before.size.width / before.size.height, 1.5, 1e-3);

    UITestDriver driver;
    ASSERT_TRUE(UIApplication::sharedApplication()->turnDeviceToOrientation(UIInterfaceOrientationLandscapeLeft, 0.4));
    EXPECT_EQ(box->alpha(), 1) << "shown again once the new frame is set";
    driver.advance(0.5);
    tessel_editor::EditorHost::settle();
    overlay->layoutIfNeeded();

    const CGRect after = box->contentRect();
    const CGRect m = overlay->maximumCropRect();
    ASSERT_GT(m.size.width, 0);
    EXPECT_NE(m.size.width, mBefore.size.width) << "the photo's rectangle did not change with the turn";
    // Whole points: the frame is made integral.
    EXPECT_NEAR(after.size.width / after.size.height, 1.5, 0.02);
    EXPECT_NEAR(after.size.width / m.size.width, before.size.width / mBefore.size.width, 0.01);
    // Centred again, as it was, and inside the photo's new rectangle.
    EXPECT_NEAR(CGRectGetMidX(after), CGRectGetMidX(overlay->bounds()), 1);
    EXPECT_NEAR(CGRectGetMidY(after), CGRectGetMidY(overlay->bounds()), 1);
    EXPECT_TRUE(CGRectContainsRect(CGRectInset(m, -1, -1), after));
    // The dimmers follow: the left one ends where the content begins.
    EXPECT_NEAR(CGRectGetMaxX(overlay->dimmerViews()[QZCropOverlayViewDimmerLeft]->frame()), after.origin.x, 1e-3);
    // The wider strip is centred on the selected preset again.
    const auto selected = UITestDriver::visibleViewWithLabel("3:2");
    ASSERT_NE(selected, nullptr);
    const auto& strip = crop->conveyorView();
    EXPECT_NEAR(CGRectGetMidX(UITestDriver::visibleRect(*selected)),
                CGRectGetMidX(strip->convertRectToView(strip->bounds(), nullptr)), 1);
    UIApplication::sharedApplication()->turnDeviceToOrientation(UIInterfaceOrientationPortrait, 0);
    driver.advance(0.1);
}

}  // namespace
}  // namespace tool_scripts
