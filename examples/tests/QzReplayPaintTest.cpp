// qz_replay's painting and placing steps with the sample files of examples/paint-samples: each
// changes the image where it should and nowhere else on both paths, and a bad file or value exits 2
// naming the step and writes nothing.
#include "QopImageCompare.h"
#include "QopTestBitmap.h"
#include "support/RunProgram.h"

#include "GLES/EGLHeadlessContext.h"
#include "ImageIO/ImageIOCodec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

using qop_test::TestBitmap;
namespace fs = std::filesystem;

namespace {

const fs::path kSamples = fs::path(TESSEL_SOURCE_DIR) / "examples" / "paint-samples";

// Colour everywhere, and 2 x 2 checks so that a blur changes every pixel.
TestBitmap makePhoto(std::size_t side)
{
    TestBitmap bitmap(side, side);
    for (std::size_t y = 0; y < side; ++y) {
        for (std::size_t x = 0; x < side; ++x) {
            const int shade = ((x / 2 + y / 2) % 2) ? 60 : 0;
            bitmap.at(x, y) = {std::uint8_t(150 + shade + x / 4), std::uint8_t(40 + y), std::uint8_t(90 - shade / 2),
                               255};
        }
    }
    return bitmap;
}

int difference(const QopColor_t& a, const QopColor_t& b)
{
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

bool isGrey(const QopColor_t& c)
{
    return std::abs(c.r - c.g) <= 3 && std::abs(c.g - c.b) <= 3;
}

class QzReplayPaintSteps : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qz_replay_paint.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        input_ = dir_ / "photo.png";
        std::string error;
        ASSERT_TRUE(ImageIOWritePNGFile(input_.string(), photo_.data(), photo_.width(), photo_.height(), &error));
    }
    void TearDown() override { fs::remove_all(dir_); }

    int run(const std::vector<std::string>& args)
    {
        example_test::ProgramRun ran = example_test::runProgram(QZ_REPLAY_PATH, args);
        output_ = std::move(ran.output);
        return ran.status;
    }

    TestBitmap replay(const std::string& step, bool gpu)
    {
        const fs::path output = dir_ / "out.png";
        std::vector<std::string> args;
        if (gpu) args.push_back("--gpu");
        args.insert(args.end(), {input_.string(), output.string(), step});
        TestBitmap result;
        EXPECT_EQ(run(args), 0) << output_;
        std::string error;
        EXPECT_TRUE(qop_test::readImageFile(output.string(), &result, &error)) << error;
        fs::remove(output);
        return result;
    }

    // The paths to run: the CPU always, the GPU where an EGL display opens.
    std::vector<bool> paths()
    {
        EGLHeadlessContext probe;
        std::string why;
        if (probe.open(&why)) return {false, true};
        return {false};
    }

    const TestBitmap photo_ = makePhoto(128);
    fs::path dir_;
    fs::path input_;
    std::string output_;
};

TEST_F(QzReplayPaintSteps, SamplesChangeTheImageWhereTheyShouldAndNowhereElse)
{
    const std::string samples = kSamples.string() + "/";
    struct Point {
        std::size_t x, y;
    };
    struct Row {
        std::string step;
        std::vector<Point> changed;    // inside: differs from the photo
        std::vector<Point> untouched;  // outside: within 1 of the photo
    };
    const Row rows[] = {
        {"strokes=" + samples + "blur.json", {{64, 56}}, {{5, 5}, {120, 120}, {64, 100}}},
        {"strokes=" + samples + "draw.json", {{38, 27}, {64, 77}, {64, 102}}, {{5, 40}, {64, 30}, {120, 120}}},
        {"tiltshift=radial,64,64,8", {{5, 5}, {120, 120}}, {{64, 64}}},
        {"tiltshift=linear,64,64,8,0", {{64, 5}, {64, 120}}, {{5, 64}, {120, 64}}},
        {"sticker=" + samples + "sticker.png,0.25,0.25,0.5,0.25,0.3", {{64, 48}}, {{5, 5}, {120, 120}, {64, 110}}},
        {"frame=" + samples + "frame-border.png,0,0,1,0.1,3,1", {{10, 4}, {64, 4}, {120, 4}}, {{64, 30}, {64, 120}}},
    };
    for (const bool gpu : paths()) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.step + (gpu ? " on the GPU" : " on the CPU"));
            const TestBitmap result = replay(row.step, gpu);
            ASSERT_EQ(result.width(), photo_.width());
            for (const Point& p : row.changed)
                EXPECT_GT(difference(result.at(p.x, p.y), photo_.at(p.x, p.y)), 8) << p.x << ", " << p.y;
            for (const Point& p : row.untouched)
                EXPECT_LE(difference(result.at(p.x, p.y), photo_.at(p.x, p.y)), 1) << p.x << ", " << p.y;
        }
        // Colour splash greys everything but its strokes; the erase stroke greys part of the first.
        SCOPED_TRACE(gpu ? "splash on the GPU" : "splash on the CPU");
        const TestBitmap splash = replay("strokes=" + samples + "splash.json", gpu);
        ASSERT_EQ(splash.width(), photo_.width());
        for (const Point& p : {Point{5, 5}, Point{120, 120}, Point{80, 42}})
            EXPECT_TRUE(isGrey(splash.at(p.x, p.y))) << p.x << ", " << p.y;
        for (const Point& p : {Point{57, 92}, Point{32, 39}})
            EXPECT_LE(difference(splash.at(p.x, p.y), photo_.at(p.x, p.y)), 1) << p.x << ", " << p.y;
    }
}

TEST_F(QzReplayPaintSteps, BadFilesAndValuesExitTwoNamingTheStepAndWriteNothing)
{
    const auto file = [&](const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name) << text;
        return (dir_ / name).string();
    };
    const std::string sticker = (kSamples / "sticker.png").string();
    const std::string steps[] = {
        "strokes=" + (dir_ / "missing.json").string(),
        "strokes=" + file("broken.json", "{\"processor\": "),
        "strokes=" + file("kind.json", R"({"processor": "paint", "strokes": []})"),
        "strokes=" + file("colour.json",
                          R"({"processor": "draw", "strokes": [{"points": [[0, 0]], "size": 4, "color": "#12"}]})"),
        "strokes=" + file("mode.json",
                          R"({"processor": "splash", "strokes": [{"points": [[0, 0]], "size": 4, "mode": "wild"}]})"),
        "strokes=" +
            file("key.json", R"({"processor": "splash", "strokes": [{"points": [[0, 0]], "size": 4, "sise": 1}]})"),
        "strokes=" + file("point.json", R"({"processor": "splash", "strokes": [{"points": [[0]], "size": 4}]})"),
        "strokes=" + file("size.json", R"({"processor": "blur", "strokes": [{"points": [[0, 0]], "size": -1}]})"),
        "strokes=" + file("mask.json", R"({"processor": "blur", "maskSize": [0, 5], "strokes": []})"),
        "tiltshift=oval,1,2,3",
        "tiltshift=radial,1,2,0",
        "tiltshift=radial,1,2,nan",
        "sticker=" + file("notes.png", "not a picture") + ",0,0,1,1",
        "sticker=" + sticker + ",0,0,0,1",
        "sticker=" + sticker + ",0,0,1",
        "frame=" + sticker + ",0,0,1,1,1.5,1",
        "frame=" + sticker + ",0,0,1,1,0,1",
    };
    const fs::path output = dir_ / "out.png";
    for (const std::string& step : steps) {
        SCOPED_TRACE(step);
        EXPECT_EQ(run({input_.string(), output.string(), step}), 2) << output_;
        EXPECT_NE(output_.find("'" + step + "'"), std::string::npos) << output_;
        EXPECT_FALSE(fs::exists(output));
    }
}

}  // namespace
