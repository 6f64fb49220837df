// qz_replay, run as a person runs it: geometry steps give exact pixels, the CPU and GPU paths agree
// on photos, a recipe gives qop_apply's bytes, --max-pixels limits the output, and every failure
// exits with the right status, names the step and leaves OUTPUT.png as it was.
#include "QZReplayRecipeCheck.h"
#include "QZReplaySteps.h"
#include "QopImageCompare.h"
#include "QopTestBitmap.h"
#include "support/HostileFiles.h"
#include "support/RunProgram.h"

#include "TesselSDKImaging/Modules/QZAutoEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZBacklightEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZLabCorrectModule.h"
#include "TesselSDKImaging/Modules/QZLocalContrastEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZNightEnhanceModule.h"
#include "TesselSDKImaging/Modules/QZOriginalModule.h"
#include "TesselSDKImaging/Modules/QZToolModule.h"
#include "TesselSDKImaging/Processors/QZAdjustGammaProcessor.h"
#include "TesselSDKImaging/Processors/QZAdjustProcessor.h"
#include "TesselSDKImaging/Processors/QZBrightnessProcessor.h"
#include "TesselSDKImaging/Processors/QZContrastCurveProcessor.h"
#include "TesselSDKImaging/Processors/QZMemeProcessor.h"
#include "TesselSDKImaging/Processors/QZSaturationProcessor.h"
#include "TesselSDKImaging/Processors/QZSharpnessProcessor.h"
#include "TesselSDKImaging/Processors/QZTextProcessor.h"
#include "TesselSDKImaging/Processors/QZWarmthProcessor.h"
#include "TesselSDKImaging/tests/QZTextTestSupport.h"

#include "GLES/EGLHeadlessContext.h"
#include "ImageIO/ImageIOCodec.h"
#include "ImageIOFixtures.h"
#include "QopLite/QLPL.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopEnhance.h"
#include "QopLite/QopTools.h"

#include <GLES2/gl2.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <typeinfo>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

using qop_test::TestBitmap;
namespace fs = std::filesystem;

namespace {

const std::string kWarmFilm = std::string(TESSEL_SOURCE_DIR) + "/QopLite/tests/recipes/mixed/warm_film.json";

// Opaque, every pixel distinct: any misplaced pixel shows.
TestBitmap makeDistinct(size_t width, size_t height)
{
    TestBitmap bitmap(width, height);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x)
            bitmap.at(x, y) = {std::uint8_t(x * 7 + y), std::uint8_t(y * 5 + x * 3), std::uint8_t((x ^ y) * 11), 255};
    return bitmap;
}

// Ramps of at most one level per pixel: resampling moves a pixel by under a level.
TestBitmap makeSmooth(size_t width, size_t height)
{
    TestBitmap bitmap(width, height);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x)
            bitmap.at(x, y) = {std::uint8_t(40 + x / 3), std::uint8_t(30 + y / 2), std::uint8_t(200 - (x + y) / 4),
                               255};
    return bitmap;
}

TestBitmap turnedClockwise(const TestBitmap& in)
{
    TestBitmap out(in.height(), in.width());
    for (size_t y = 0; y < out.height(); ++y)
        for (size_t x = 0; x < out.width(); ++x) out.at(x, y) = in.at(y, in.height() - 1 - x);
    return out;
}

TestBitmap topLeft(const TestBitmap& in, size_t width, size_t height)
{
    TestBitmap out(width, height);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) out.at(x, y) = in.at(x, y);
    return out;
}

// The centre width x height of the image.
TestBitmap centre(const TestBitmap& in, size_t width, size_t height)
{
    TestBitmap out(width, height);
    const size_t left = (in.width() - width) / 2, top = (in.height() - height) / 2;
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) out.at(x, y) = in.at(left + x, top + y);
    return out;
}

// The image without its outermost `border` pixels.
TestBitmap inset(const TestBitmap& in, size_t border)
{
    return centre(in, in.width() - 2 * border, in.height() - 2 * border);
}

bool haveGL(std::string* why)
{
    EGLHeadlessContext probe;
    return probe.open(why);
}

#define SKIP_WITHOUT_GL()                                                                                              \
    do {                                                                                                               \
        std::string why;                                                                                               \
        if (!haveGL(&why)) GTEST_SKIP() << "no EGL display: " << why;                                                  \
    } while (0)

class QzReplayProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qz_replay_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::string& name, const TestBitmap& image)
    {
        const fs::path path = dir_ / name;
        std::string error;
        EXPECT_TRUE(ImageIOWritePNGFile(path.string(), image.data(), image.width(), image.height(), &error)) << error;
        return path;
    }

    // Runs a program with args; its exit status, with stdout + stderr in output().
    int runProgram(const char* program, const std::vector<std::string>& args)
    {
        example_test::ProgramRun ran = example_test::runProgram(program, args);
        output_ = std::move(ran.output);
        return ran.status;
    }
    int run(const std::vector<std::string>& args) { return runProgram(QZ_REPLAY_PATH, args); }

    // Replays the steps on the input; the result, or an empty bitmap (with a failure) when none.
    TestBitmap replay(const fs::path& input, std::vector<std::string> steps, bool gpu)
    {
        const fs::path output = dir_ / (gpu ? "gpu.png" : "cpu.png");
        std::vector<std::string> args;
        if (gpu) args.push_back("--gpu");
        args.push_back(input.string());
        args.push_back(output.string());
        args.insert(args.end(), steps.begin(), steps.end());
        TestBitmap result;
        EXPECT_EQ(run(args), 0) << output_;
        std::string error;
        EXPECT_TRUE(qop_test::readImageFile(output.string(), &result, &error)) << error;
        return result;
    }

    fs::path dir_;
    std::string output_;
};

TEST_F(QzReplayProgram, QuarterTurnIsExactOnBothPaths)
{
    SKIP_WITHOUT_GL();
    const TestBitmap fixture = makeDistinct(37, 22);
    const fs::path input = write("input.png", fixture);
    for (bool gpu : {false, true}) {
        SCOPED_TRACE(gpu ? "GPU" : "CPU");
        EXPECT_TRUE(replay(input, {"rotate=1"}, gpu) == turnedClockwise(fixture));
    }
}

// A photo stored on its side with an EXIF orientation replays upright: a PNG's eXIf of 6 turns
// the stored pixels a quarter clockwise before the steps, exactly, on both paths.
TEST_F(QzReplayProgram, ASidewaysPhotoReplaysUpright)
{
    SKIP_WITHOUT_GL();
    const TestBitmap stored = makeDistinct(37, 22);
    std::vector<std::uint8_t> png;
    std::string error;
    ASSERT_TRUE(ImageIOEncodePNG(stored.data(), stored.width(), stored.height(), &png, &error)) << error;
    const fs::path input = dir_ / "sideways.png";
    ASSERT_TRUE(imageio_test::writeFile(
        input.string(), imageio_test::withChunkAfterHeader(png, "eXIf", imageio_test::exifWithOrientation(6, true))));
    for (bool gpu : {false, true}) {
        SCOPED_TRACE(gpu ? "GPU" : "CPU");
        EXPECT_TRUE(replay(input, {"rotate=1"}, gpu) == turnedClockwise(turnedClockwise(stored)));
        EXPECT_TRUE(replay(input, {"rotate=0"}, gpu) == turnedClockwise(stored));
    }
}

TEST_F(QzReplayProgram, QuarterCropIsTheTopLeftPixels)
{
    SKIP_WITHOUT_GL();
    // Odd sides round outward on the CPU; the GPU resamples an odd side by half a pixel.
    for (const auto& [width, height] : {std::pair<size_t, size_t>{40, 26}, {41, 27}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const TestBitmap fixture = makeDistinct(width, height);
        const fs::path input = write("input.png", fixture);
        const TestBitmap expected = topLeft(fixture, (width + 1) / 2, (height + 1) / 2);
        EXPECT_TRUE(replay(input, {"crop=0,0,0.5,0.5"}, false) == expected);
        const TestBitmap gpu = replay(input, {"crop=0,0,0.5,0.5"}, true);
        if (width % 2 == 0 && height % 2 == 0)
            EXPECT_TRUE(gpu == expected);
        else
            EXPECT_EQ(gpu.width(), std::size_t(std::lround(width * 0.5f)));
    }
}

// warm_film without its last processor: QopLite's GPU grain comes from a coordinate hash, not the
// CPU's generator, so noise differs between the paths by design (some 10 levels on average).
std::string withoutNoise(const std::string& recipePath)
{
    std::ifstream file(recipePath);
    std::stringstream text;
    text << file.rdbuf();
    std::string json = text.str();
    const std::size_t name = json.find("\"noise\"");
    if (name == std::string::npos) return json;
    const std::size_t start = json.rfind(',', json.rfind('{', name));
    const std::size_t end = json.find('}', json.find('}', name) + 1);
    return json.erase(start, end + 1 - start);
}

TEST_F(QzReplayProgram, CpuAndGpuAgreeOnPhotos)
{
    SKIP_WITHOUT_GL();
    const fs::path smooth = dir_ / "warm_film_without_noise.json";
    std::ofstream(smooth) << withoutNoise(kWarmFilm);
    {
        QopJSONEffect effect = QLPLLoadEffect(withoutNoise(kWarmFilm).c_str());
        ASSERT_NE(effect, nullptr) << "the recipe without its noise does not load";
        QLPLUnloadEffect(&effect);
    }
    const std::vector<std::string> geometry = {"crop=0.125,0.25,0.75,0.5", "rotate=1", "flip=h", "flip=v", "rotate=3"};
    for (const char* name : {"astronaut.png", "coffee.png"}) {
        SCOPED_TRACE(name);
        const fs::path input = fs::path(qop_test::photoDirectory()) / name;
        if (!fs::exists(input)) GTEST_SKIP() << "photo " << name << " not in " << qop_test::photoDirectory();
        std::vector<std::string> steps = geometry;
        steps.push_back("recipe=" + kWarmFilm);
        const TestBitmap cpu = replay(input, steps, false), gpu = replay(input, steps, true);
        EXPECT_EQ(cpu.width(), gpu.width());
        EXPECT_EQ(cpu.height(), gpu.height());
        steps.back() = "recipe=" + smooth.string();
        EXPECT_TRUE(qop_test::imagesAgree(replay(input, steps, false), replay(input, steps, true), {3, -1, 1.0},
                                          std::string("replay-") + name));
    }
}

// Both paths keep round(W / scale) x round(H / scale) of the straightened photo, the same picture.
TEST_F(QzReplayProgram, StraightenGivesOneSizeOnBothPaths)
{
    SKIP_WITHOUT_GL();
    const fs::path coffee = fs::path(qop_test::photoDirectory()) / "coffee.png";
    if (fs::exists(coffee)) {
        // 600 x 400 at 5 degrees: scale 1.12693, so 532.4 x 354.9.
        const TestBitmap cpu = replay(coffee, {"straighten=5"}, false);
        const TestBitmap gpu = replay(coffee, {"straighten=5"}, true);
        EXPECT_EQ(cpu.width(), 532u);
        EXPECT_EQ(cpu.height(), 355u);
        EXPECT_EQ(gpu.width(), 532u);
        EXPECT_EQ(gpu.height(), 355u);
    }
    const fs::path input = write("smooth.png", makeSmooth(600, 400));
    for (const char* step : {"straighten=5", "straighten=-5"}) {
        SCOPED_TRACE(step);
        const TestBitmap cpu = replay(input, {step}, false);
        const TestBitmap gpu = replay(input, {step}, true);
        ASSERT_EQ(cpu.width(), gpu.width());
        ASSERT_EQ(cpu.height(), gpu.height());
        EXPECT_TRUE(
            qop_test::imagesAgree(inset(gpu, 2), inset(cpu, 2), {255, -1, 1.0}, std::string("straighten") + step));
    }
}

// Each whole-image step agrees on both paths, on one of two photos, within what the library's own
// GPU agreement tests allow for the function it calls. Local contrast is held to its statistics
// away from a band at the borders: its GPU box has a width that factors into 3, 5 and 7, so at
// strong detail a photo differs by more than the library's smooth test field shows.
struct ToneAgreementRow {
    const char* step;
    const char* photo;
    qop_test::Tolerance tolerance;
    std::size_t band;
};

class QzReplayToneAgreement : public QzReplayProgram {
protected:
    void check(const std::vector<ToneAgreementRow>& rows)
    {
        for (const ToneAgreementRow& row : rows) {
            SCOPED_TRACE(std::string(row.photo) + " " + row.step);
            const fs::path input = fs::path(qop_test::photoDirectory()) / row.photo;
            if (!fs::exists(input)) GTEST_SKIP() << "photo " << row.photo << " not in " << qop_test::photoDirectory();
            TestBitmap original;
            ASSERT_TRUE(qop_test::readImageFile(input.string(), &original));
            const TestBitmap cpu = replay(input, {row.step}, false);
            const TestBitmap gpu = replay(input, {row.step}, true);
            ASSERT_EQ(cpu.width(), original.width());
            ASSERT_EQ(gpu.height(), original.height());
            EXPECT_FALSE(cpu == original) << "the step changed nothing";
            EXPECT_TRUE(qop_test::imagesAgree(inset(cpu, row.band), inset(gpu, row.band), row.tolerance,
                                              std::string("tone-") + row.photo + "-" + row.step));
        }
    }
};

TEST_F(QzReplayToneAgreement, EnhanceStepsAgreeOnBothPaths)
{
    SKIP_WITHOUT_GL();
    check({
        {"enhance=auto", "astronaut.png", {4, -1, -1}, 0},
        {"enhance=illuminate", "coffee.png", {4, -1, -1}, 0},
        {"enhance=backlit", "astronaut.png", {4, -1, -1}, 0},
        {"enhance=hidef", "astronaut.png", {255, 6, 1.5}, 8},
        {"enhance=hidef", "coffee.png", {255, 6, 1.5}, 8},
        {"enhance=colorfix", "coffee.png", {3, -1, 0.5}, 0},
    });
}

TEST_F(QzReplayToneAgreement, SliderStepsAgreeOnBothPaths)
{
    SKIP_WITHOUT_GL();
    check({
        {"brightness=-40", "coffee.png", {0}, 0},
        {"brightness=30", "astronaut.png", {1}, 0},
        {"gamma=30", "coffee.png", {1}, 0},
        {"contrast=-70", "astronaut.png", {0}, 0},
        {"saturation=80", "coffee.png", {1}, 0},
        {"warmth=60", "astronaut.png", {0}, 0},
        {"warmth=-35", "coffee.png", {0}, 0},
        {"sharpness=40", "astronaut.png", {2, 1, 0.3}, 0},
        {"sharpness=-40", "coffee.png", {2, -1, 0.5}, 0},
        {"adjust=30,20,-40,25", "astronaut.png", {1}, 0},
    });
}

// On the CPU a tone step gives the bytes of its library call on the photo; gamma is the brightness
// curve.
TEST_F(QzReplayProgram, ToneStepsOnTheCpuGiveTheirLibraryCallsBytes)
{
    const fs::path input = fs::path(qop_test::photoDirectory()) / "coffee.png";
    if (!fs::exists(input)) GTEST_SKIP() << "photo coffee.png not in " << qop_test::photoDirectory();
    TestBitmap original;
    ASSERT_TRUE(qop_test::readImageFile(input.string(), &original));
    struct Row {
        const char* step;
        std::function<void(QopBitmap_t*)> call;
    };
    const Row rows[] = {
        {"brightness=30", [](QopBitmap_t* b) { QopToolBrightness(b, 30); }},
        {"gamma=30", [](QopBitmap_t* b) { QopToolBrightness(b, 30); }},
        {"adjust=-20,15,40,-30",
         [](QopBitmap_t* b) { QopToolAdjustBrightnessContrastWarmthSaturation(b, -20, 15, 40, -30); }},
        {"sharpness=-40", [](QopBitmap_t* b) { QopToolSharpness(b, -40); }},
        {"enhance=backlit", [](QopBitmap_t* b) { QopAutoEnhance(b, QopAutoEnhanceModeBacklight); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.step);
        TestBitmap expected = original;
        row.call(expected.get());
        EXPECT_TRUE(replay(input, {row.step}, false) == expected);
    }
}

TEST_F(QzReplayProgram, TheOriginalEffectLeavesEveryByte)
{
    SKIP_WITHOUT_GL();
    const fs::path input = write("input.png", makeDistinct(37, 22));
    TestBitmap original;
    ASSERT_TRUE(qop_test::readImageFile(input.string(), &original));
    for (bool gpu : {false, true}) {
        SCOPED_TRACE(gpu ? "GPU" : "CPU");
        EXPECT_TRUE(replay(input, {"effect=original"}, gpu) == original);
        EXPECT_TRUE(replay(input, {"brightness=20", "effect=original"}, gpu) == replay(input, {"brightness=20"}, gpu))
            << "the original of an edited image is the edited image";
    }
}

// The geometry steps mixed with the tone steps keep the two paths together.
TEST_F(QzReplayProgram, GeometryAndToneStepsMixedAgreeOnPhotos)
{
    SKIP_WITHOUT_GL();
    const std::vector<std::string> steps = {"crop=0.125,0.25,0.75,0.5", "brightness=30",  "rotate=1",
                                            "adjust=-20,15,40,-30",     "flip=h",         "warmth=-35"};
    for (const char* name : {"astronaut.png", "coffee.png"}) {
        SCOPED_TRACE(name);
        const fs::path input = fs::path(qop_test::photoDirectory()) / name;
        if (!fs::exists(input)) GTEST_SKIP() << "photo " << name << " not in " << qop_test::photoDirectory();
        const TestBitmap cpu = replay(input, steps, false);
        const TestBitmap gpu = replay(input, steps, true);
        EXPECT_TRUE(qop_test::imagesAgree(cpu, gpu, {3, -1, 0.999}, std::string("mixed-") + name));
    }
}

TEST_F(QzReplayProgram, RecipeGivesQopApplysBytes)
{
    const fs::path input = fs::path(qop_test::photoDirectory()) / "coffee.png";
    if (!fs::exists(input)) GTEST_SKIP() << "photo coffee.png not in " << qop_test::photoDirectory();
    const TestBitmap replayed = replay(input, {"recipe=" + kWarmFilm}, false);
    const fs::path applied = dir_ / "applied.png";
    ASSERT_EQ(runProgram(QOP_APPLY_PATH, {"--recipe", kWarmFilm, input.string(), applied.string()}), 0) << output_;
    TestBitmap expected;
    ASSERT_TRUE(qop_test::readImageFile(applied.string(), &expected));
    EXPECT_TRUE(replayed == expected);
}

TEST_F(QzReplayProgram, MaxPixelsLimitsTheOutput)
{
    const fs::path input = write("input.png", makeSmooth(400, 300));
    const fs::path output = dir_ / "out.png";
    ASSERT_EQ(run({"--max-pixels", "30000", input.string(), output.string(), "rotate=0"}), 0) << output_;
    TestBitmap result;
    ASSERT_TRUE(qop_test::readImageFile(output.string(), &result));
    EXPECT_EQ(result.width(), 200u);
    EXPECT_EQ(result.height(), 150u);
}

TEST_F(QzReplayProgram, FailuresExitWithTheirStatusAndLeaveTheOutputAlone)
{
    const fs::path input = write("input.png", makeDistinct(20, 10));
    const fs::path notRecipe = dir_ / "notes.json";
    std::ofstream(notRecipe) << "{\"no\": \"processors\"";
    const fs::path notImage = dir_ / "notes.txt";
    std::ofstream(notImage) << "not an image";
    const std::string in = input.string();
    struct Case {
        std::vector<std::string> args;  // INPUT and OUTPUT.png are put in front where `withFiles`
        bool withFiles;
        int status;
        std::string messagePart;
    };
    const std::string missingRecipe = "recipe=" + (dir_ / "missing.json").string();
    const std::string badRecipe = "recipe=" + notRecipe.string();
    std::vector<Case> cases = {
        {{"crop=0,0,1"}, true, 2, "crop=0,0,1"},
        {{"crop=0.6,0,0.5,1"}, true, 2, "crop=0.6,0,0.5,1"},
        {{"crop=0,0,0,1"}, true, 2, "crop=0,0,0,1"},
        {{"rotate=4"}, true, 2, "rotate=4"},
        {{"rotate=1.5"}, true, 2, "rotate=1.5"},
        {{"flip=x"}, true, 2, "flip=x"},
        {{"straighten=50"}, true, 2, "straighten=50"},
        {{missingRecipe}, true, 2, missingRecipe},
        {{badRecipe}, true, 2, badRecipe},
        {{"rotate=1", "sharpen=2"}, true, 2, "sharpen=2"},
        {{"brightness=101"}, true, 2, "brightness=101"},
        {{"contrast=-100.5"}, true, 2, "contrast=-100.5"},
        {{"sharpness=1e400"}, true, 2, "sharpness=1e400"},
        {{"adjust=1,2,3"}, true, 2, "adjust=1,2,3"},
        {{"adjust=1,2,3,-101"}, true, 2, "adjust=1,2,3,-101"},
        {{"enhance=sepia"}, true, 2, "enhance=sepia"},
        {{"effect=none"}, true, 2, "effect=none"},
        {{"effect"}, true, 2, "effect"},
        {{}, true, 2, "no step"},
        {{"--max-pixels", "0", in, "OUT", "rotate=1"}, false, 2, "--max-pixels"},
        {{(dir_ / "missing.png").string(), "OUT", "rotate=1"}, false, 1, "cannot read"},
        {{notImage.string(), "OUT", "rotate=1"}, false, 1, "cannot read"},
    };
    // Recipes the runner would stop in, or run with a parameter it never reads: refused by name.
    auto recipe = [&](const std::string& name, const std::string& processors) {
        const fs::path path = dir_ / (name + ".json");
        std::ofstream(path) << R"({"identifier": "t", "processors": [)" + processors + "]}";
        return "recipe=" + path.string();
    };
    const std::pair<std::string, std::string> recipes[] = {
        {recipe("unknown", R"({"name": "gama", "parameters": {"value": 1.2}})"),
         R"(processor 1: no processor is named "gama" (did you mean "gamma"?))"},
        {recipe("misspelled", R"({"name": "contrast", "parameters": {"value": 1.1, "valeu": 1.3}})"),
         R"(processor 1 "contrast" takes no parameter "valeu" (did you mean "value"?))"},
        {recipe("optional", R"({"name": "blendWithColor", "parameters": {"color": {"r": 1, "g": 2, "b": 3,)"
                            R"( "a": 4}, "alpha": 0.5, "blendmode": "screen"}})"),
         R"(takes no parameter "blendmode" (did you mean "blendMode"?))"},
        {recipe("missing", R"({"name": "gamma", "parameters": {}})"),
         R"(processor 1 "gamma" lacks its parameter "value")"},
        {recipe("huge", R"({"name": "gamma", "parameters": {"value": 1.2}},)"
                        R"({"name": "contrast", "parameters": {"value": 1e308}})"),
         R"(processor 2 "contrast": "value" is 1e308, out of the range)"},
        {recipe("colour", R"({"name": "blendWithColor", "parameters": {"color": {"r": 1, "g": 2, "b": 3,)"
                          R"( "a": 256}, "alpha": 0.5}})"),
         R"(processor 1 "blendWithColor": the runner refuses its parameters)"},
    };
    for (const auto& [step, message] : recipes) cases.push_back({{step}, true, 2, message});
    // What is no file, or claims more pixels than an image may have: refused at once, by name.
    const fs::path huge = dir_ / "huge.png";
    example_test::writePNGHeaderOnly(huge, 20000, 20000);
    cases.push_back({{huge.string(), "OUT", "rotate=1"}, false, 1, "an image of 20000 x 20000 pixels is more than"});
    for (const example_test::HostileFile& file : example_test::hostileFiles(dir_)) {
        cases.push_back({{file.path, "OUT", "rotate=1"}, false, 1, file.path + ": " + file.reason});
        cases.push_back({{"recipe=" + file.path}, true, 2, file.path + "': " + file.reason});
    }
    for (bool outputExisted : {false, true}) {
        const fs::path output = dir_ / "output.png";
        if (outputExisted) std::ofstream(output) << "earlier";
        for (const Case& c : cases) {
            SCOPED_TRACE(c.messagePart);
            std::vector<std::string> args;
            if (c.withFiles) args = {in, output.string()};
            for (const std::string& arg : c.args) args.push_back(arg == "OUT" ? output.string() : arg);
            EXPECT_EQ(run(args), c.status) << output_;
            EXPECT_NE(output_.find(c.messagePart), std::string::npos) << output_;
            if (outputExisted) {
                std::ifstream kept(output);
                std::string text;
                kept >> text;
                EXPECT_EQ(text, "earlier");
            } else {
                EXPECT_FALSE(fs::exists(output));
            }
        }
        fs::remove(output);
    }
}

TEST_F(QzReplayProgram, AnInputWiderThanTheGpuTakesFails)
{
    SKIP_WITHOUT_GL();
    GLint maxSide = 0;
    {
        EGLHeadlessContext context;
        std::string why;
        ASSERT_TRUE(context.open(&why)) << why;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    }
    ASSERT_GT(maxSide, 0);
    // Our images hold at most 32767 pixels a side.
    if (maxSide >= 32767) GTEST_SKIP() << "the GPU takes images wider than a PNG we can decode";
    const fs::path input = write("wide.png", makeSmooth(std::size_t(maxSide) + 1, 2));
    const fs::path output = dir_ / "out.png";
    EXPECT_EQ(run({"--gpu", input.string(), output.string(), "rotate=1"}), 1) << output_;
    EXPECT_NE(output_.find("the GPU takes at most"), std::string::npos) << output_;
    EXPECT_FALSE(fs::exists(output));
}

TEST(QzReplaySteps, EveryRowIsListedAndParses)
{
    std::string error;
    qz_replay::Step step;
    for (const qz_replay::StepKind& kind : qz_replay::stepKinds()) {
        SCOPED_TRACE(kind.name);
        EXPECT_EQ(qz_replay::findStepKind(kind.name), &kind);
    }
    EXPECT_TRUE(qz_replay::parseStep("crop=0.5,0.5,0.5,0.5", &step, &error)) << error;
    EXPECT_TRUE(qz_replay::parseStep("straighten=-45", &step, &error)) << error;
    EXPECT_FALSE(qz_replay::parseStep("straighten=nan", &step, &error));
    EXPECT_FALSE(qz_replay::parseStep("rotate=", &step, &error));
    EXPECT_FALSE(qz_replay::parseStep("rotate", &step, &error));
    EXPECT_NEAR(qz_replay::straightenScale(CGFloat(5 * M_PI / 180), CGSizeMake(600, 400)), 1.12693f, 1e-5f);
}

// The whole-image steps make the modules and processors their rows promise, with the values given
// (adjust's four in the order B, C, W, S).
TEST(QzReplaySteps, ToneStepsMakeTheirModulesAndProcessors)
{
    struct Row {
        const char* step;
        const std::type_info& module;
        std::function<bool(const QZProcessor&)> processorIs;  // the tool module's one processor
    };
    auto value = [](auto type, float expected) {
        return [expected](const QZProcessor& p) {
            const auto* typed = dynamic_cast<const typename decltype(type)::type*>(&p);
            return typed && typed->value() == expected;
        };
    };
    const Row rows[] = {
        {"enhance=auto", typeid(QZAutoEnhanceModule), nullptr},
        {"enhance=illuminate", typeid(QZNightEnhanceModule), nullptr},
        {"enhance=backlit", typeid(QZBacklightEnhanceModule), nullptr},
        {"enhance=hidef", typeid(QZLocalContrastEnhanceModule), nullptr},
        {"enhance=colorfix", typeid(QZLabCorrectModule), nullptr},
        {"effect=original", typeid(QZOriginalModule), nullptr},
        {"brightness=-12.5", typeid(QZToolModule), value(std::type_identity<QZBrightnessProcessor>(), -12.5f)},
        {"contrast=100", typeid(QZToolModule), value(std::type_identity<QZContrastCurveProcessor>(), 100)},
        {"saturation=-100", typeid(QZToolModule), value(std::type_identity<QZSaturationProcessor>(), -100)},
        {"warmth=7", typeid(QZToolModule), value(std::type_identity<QZWarmthProcessor>(), 7)},
        {"sharpness=40", typeid(QZToolModule),
         [](const QZProcessor& p) {
             const auto* s = dynamic_cast<const QZSharpnessProcessor*>(&p);
             return s && s->inputSharpness() == 40;
         }},
        {"gamma=30", typeid(QZToolModule),
         [](const QZProcessor& p) {
             const auto* g = dynamic_cast<const QZAdjustGammaProcessor*>(&p);
             return g && g->gamma() == 30;
         }},
        {"adjust=1,2,3,4", typeid(QZToolModule),
         [](const QZProcessor& p) {
             const auto* a = dynamic_cast<const QZAdjustProcessor*>(&p);
             return a && a->brightnessValue() == 1 && a->contrastValue() == 2 && a->warmthValue() == 3 &&
                    a->saturationValue() == 4;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.step);
        qz_replay::Step step;
        std::string error;
        ASSERT_TRUE(qz_replay::parseStep(row.step, &step, &error)) << error;
        const std::shared_ptr<QZModule> module = step.makeModule({CGSizeMake(40, 30), true});
        ASSERT_TRUE(module);
        const QZModule& made = *module;
        EXPECT_EQ(typeid(made), row.module);
        const QZProcessorList processors = module->processors();
        ASSERT_EQ(processors.size(), 1u);
        if (row.processorIs) {
            EXPECT_TRUE(row.processorIs(*processors[0]));
        }
    }
}

TEST_F(QzReplayProgram, HelpListsEveryStep)
{
    ASSERT_EQ(run({"--help"}), 0) << output_;
    for (const qz_replay::StepKind& kind : qz_replay::stepKinds()) {
        SCOPED_TRACE(kind.name);
        EXPECT_NE(output_.find(std::string("  ") + kind.name + (kind.valueSynopsis[0] ? "=" : "")), std::string::npos);
    }
    for (const char* name : {"crop", "rotate", "flip", "straighten", "recipe", "enhance", "effect", "brightness",
                             "contrast", "saturation", "warmth", "sharpness", "gamma", "adjust", "text", "meme"})
        EXPECT_TRUE(qz_replay::findStepKind(name)) << name;
}

// The text steps: a text turned by 0.25 rad and both meme captions land alike on both paths (the
// ink's box, centroid and area), on a landscape background.
TEST_F(QzReplayProgram, TextStepsPutTheSameInkOnBothPaths)
{
    SKIP_WITHOUT_GL();
    const TestBitmap background = qz_test::makeBackground(451, 300);
    const fs::path input = write("input.png", background);
    for (const char* step :
         {"text=0.1,0.4,0.8,0.2,1.5,0.25,#30FF30,Hello,\\nTessel", "meme=80,60,WHEN THE TESTS|PASS FIRST TIME"}) {
        SCOPED_TRACE(step);
        const TestBitmap cpu = replay(input, {step}, false), gpu = replay(input, {step}, true);
        const qz_test::Ink a = qz_test::inkOf(cpu, background), b = qz_test::inkOf(gpu, background);
        ASSERT_GT(a.area, 500);
        EXPECT_NEAR(b.left, a.left, 2);
        EXPECT_NEAR(b.right, a.right, 2);
        EXPECT_NEAR(b.top, a.top, 2);
        EXPECT_NEAR(b.bottom, a.bottom, 2);
        EXPECT_NEAR(b.cx, a.cx, 1.5);
        EXPECT_NEAR(b.cy, a.cy, 1.5);
        EXPECT_NEAR(double(b.area), double(a.area), 0.05 * double(a.area));
    }
}

TEST_F(QzReplayProgram, BadTextValuesExitTwoNamingTheStepAndWriteNothing)
{
    const fs::path input = write("input.png", makeDistinct(20, 10));
    const fs::path output = dir_ / "out.png";
    // Sizes past an em of 10000 pixels and texts past 4096 bytes are refused at once: drawn, they
    // would keep the program busy for minutes.
    const std::string longText = std::string(4097, 'a');
    for (const std::string& step :
         {std::string("text=0.1,0.4,0.8"), std::string("text=0.1,0.4,0,0.2,1,0,white,x"),
          std::string("text=0.1,0.4,0.8,0.2,0,0,white,x"), std::string("text=a,0.4,0.8,0.2,1,0,white,x"),
          std::string("text=0.1,0.4,0.8,0.2,1,nan,white,x"), std::string("text=0.1,0.4,0.8,0.2,1,0,#12345,x"),
          std::string("text=0.1,0.4,0.8,0.2,1,0,red,x"), std::string("meme=80,60,NO BAR"), std::string("meme=0,60,A|B"),
          std::string("meme=80"), std::string("text=0,0,1,1,1e8,0,#ffffff,hello"),
          "text=0,0,1,1,20,0,white," + longText, std::string("meme=100000,60,A|B"), std::string("meme=80,1e9,A|B"),
          "meme=80,60," + longText + "|B"}) {
        SCOPED_TRACE(step.substr(0, 60));
        EXPECT_EQ(run({input.string(), output.string(), step}), 2) << output_;
        const std::string name = step.substr(0, step.find('='));
        EXPECT_NE(output_.find(name), std::string::npos) << output_;
        EXPECT_FALSE(fs::exists(output));
    }
}

// The recipe check and the runner agree on every recipe of the runner's corpus and of the shipped
// packs: what the runner takes passes, what it refuses is refused with a reason.
TEST(QzReplaySteps, RecipeCheckAgreesWithTheRunner)
{
    const fs::path root(TESSEL_SOURCE_DIR);
    int taken = 0, refused = 0;
    for (const fs::path& folder : {root / "QopLite/tests/recipes", root / "TesselSDK/Resources/packs"})
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.path().extension() != ".json") continue;
            std::ifstream in(entry.path());
            const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            QopJSONEffect effect = QLPLLoadEffect(json.c_str());
            if (!effect) continue;  // no recipe: pack documents, malformed texts
            TestBitmap bitmap = makeDistinct(9, 7);
            QopEffectParams_t params;
            QopEffectInitParams(&params);
            const bool runs = QLPLRunEffect(effect, bitmap.get(), &params);
            QLPLUnloadEffect(&effect);
            SCOPED_TRACE(entry.path().string());
            const std::string problem = qz_replay::recipeProblem(json);
            EXPECT_EQ(problem.empty(), runs) << problem;
            (runs ? taken : refused) += 1;
        }
    EXPECT_GT(taken, 40);
    EXPECT_GT(refused, 5);
}

// What the text steps hand their processors: the value's rest as the text (commas kept, "\n" a line
// feed), the colour for fill and outline, and scales from the current image's larger side.
TEST(QzReplaySteps, TextStepsMakeTheirProcessors)
{
    qz_replay::Step step;
    std::string error;
    ASSERT_TRUE(qz_replay::parseStep("text=0.1,0.4,0.8,0.2,1.5,0.25,#30FF30,Hello,\\nTessel", &step, &error)) << error;
    QZProcessorList processors = step.makeModule({CGSizeMake(451, 300), true})->processors();
    ASSERT_EQ(processors.size(), 1u);
    const auto* text = dynamic_cast<const QZTextProcessor*>(processors[0].get());
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text(), "Hello,\nTessel");
    EXPECT_FLOAT_EQ(text->scale(), 1.5f / 451);
    EXPECT_FLOAT_EQ(text->rotation(), 0.25f);
    EXPECT_EQ(text->fontName(), "ArialMT");
    EXPECT_TRUE(CGRectEqualToRect(text->rect(), CGRectMake(0.1f, 0.4f, 0.8f, 0.2f)));
    ASSERT_TRUE(text->foregroundColor());
    EXPECT_EQ(text->foregroundColor(), text->backgroundColor());
    const CGFloat* rgb = CGColorGetComponents(text->foregroundColor()->CGColor());
    EXPECT_FLOAT_EQ(rgb[1], 1);
    EXPECT_FLOAT_EQ(rgb[0], 0x30 / 255.0f);

    ASSERT_TRUE(qz_replay::parseStep("meme=80,60,WHEN | THEN\\nAGAIN|", &step, &error)) << error;
    processors = step.makeModule({CGSizeMake(300, 451), false})->processors();
    ASSERT_EQ(processors.size(), 1u);
    const auto* meme = dynamic_cast<const QZMemeProcessor*>(processors[0].get());
    ASSERT_TRUE(meme);
    EXPECT_EQ(meme->topText(), "WHEN ");
    EXPECT_EQ(meme->bottomText(), " THEN\nAGAIN|");
    EXPECT_FLOAT_EQ(meme->topFontSize(), 80);
    EXPECT_FLOAT_EQ(meme->bottomFontSize(), 60);
    EXPECT_FLOAT_EQ(meme->scale(), 1.0f / 451);
    EXPECT_TRUE(CGRectEqualToRect(meme->bottomRect(), CGRectMake(0, 2.0f / 3, 1, 1.0f / 3)));
}

}  // namespace
