// qop_apply: the operation table (every row runs, every default parses, bad arguments are
// refused with a reason) and the program itself (writes a changed PNG; refuses a malformed command
// line with status 2 and the usage, fails on unreadable input with status 1, writing nothing).
#include "QopApplyOperations.h"
#include "QopImageCompare.h"
#include "QopTestBitmap.h"
#include "support/HostileFiles.h"
#include "support/RunProgram.h"

#include "ImageIO/ImageIOCodec.h"
#include "ImageIOFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

using namespace qop_apply;
using namespace qop_test;
namespace fs = std::filesystem;

namespace {

bool runOperation(const std::string &name, const std::vector<std::string> &texts, TestBitmap &bitmap,
                  std::string *error)
{
    const Operation *operation = findOperation(name);
    if (!operation) {
        *error = "no row " + name;
        return false;
    }
    std::vector<double> values;
    if (!parseArguments(*operation, texts, &values, error))
        return false;
    return operation->run(*bitmap.get(), ArgumentValues(values), error);
}

} // namespace

TEST(QopApplyTable, EveryDefaultParsesAndNamesAreUnique)
{
    std::vector<std::string> seen;
    for (const Operation &operation : operations()) {
        SCOPED_TRACE(operation.name);
        std::vector<double> values;
        std::string error;
        EXPECT_TRUE(parseArguments(operation, {}, &values, &error)) << error;
        EXPECT_EQ(values.size(), operation.arguments.size());
        EXPECT_EQ(std::count(seen.begin(), seen.end(), operation.name), 0);
        seen.push_back(operation.name);
        EXPECT_EQ(findOperation(operation.name), &operation);
    }
    EXPECT_EQ(findOperation("no-such-operation"), nullptr);
}

TEST(QopApplyTable, EveryRowChangesAPhotoAtItsDefaults)
{
    const TestBitmap original = makePhotoLike(67, 45);
    for (const Operation &operation : operations()) {
        SCOPED_TRACE(operation.name);
        TestBitmap bitmap = original;
        std::string error;
        ASSERT_TRUE(runOperation(operation.name, {}, bitmap, &error)) << error;
        const ImageDiff diff = compareImages(*original.get(), *bitmap.get());
        if (std::string(operation.name) == "lab-roundtrip")
            EXPECT_LT(diff.meanAbs, 3) << describe(diff); // unscaled, it is a (lossy) round trip
        else
            EXPECT_GT(diff.meanAbs, 0.5) << describe(diff);
    }
}

TEST(QopApplyTable, ArgumentsAreCheckedAndDefaultsFillTheRest)
{
    struct Case {
        const char *operation;
        std::vector<std::string> texts;
        const char *errorPart; // null: accepted
    };
    const Case cases[] = {
        {"saturation", {"0"}, nullptr},
        {"saturation", {"-0.5"}, nullptr}, // a single dash is a number, not an option
        {"saturation", {"abc"}, "not a number"},
        {"saturation", {"1.5x"}, "not a number"},
        {"saturation", {""}, "not a number"},
        {"saturation", {"nan"}, "not a number"},
        {"saturation", {"1e999"}, "not a number"},
        {"saturation", {"1", "2"}, "at most 1"},
        {"gamma", {"0"}, "outside"},
        {"noise", {"0.1", "1.5"}, "not a whole number"},
        {"noise", {"0.1", "4294967295"}, nullptr},
        {"noise", {"0.1", "4294967296"}, "outside"},
        {"blend-color", {"multiply", "10", "20", "30", "1"}, nullptr},
        {"blend-color", {"bogus"}, "not a blend mode"},
        {"blend-color", {"screen", "256"}, "outside"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.operation) + " " + (c.texts.empty() ? "" : c.texts[0]));
        std::vector<double> values;
        std::string error;
        const bool ok = parseArguments(*findOperation(c.operation), c.texts, &values, &error);
        if (c.errorPart) {
            EXPECT_FALSE(ok);
            EXPECT_NE(error.find(c.errorPart), std::string::npos) << error;
        } else {
            EXPECT_TRUE(ok) << error;
        }
    }

    std::vector<double> values;
    std::string error;
    ASSERT_TRUE(parseArguments(*findOperation("blend-color"), {"darken", "7"}, &values, &error)) << error;
    EXPECT_EQ(values, (std::vector<double>{QopBlendModeDarken, 7, 160, 60, 0.4}));
}

TEST(QopApplyTable, BlendColorUsesTheNamedMode)
{
    // Darken with black at alpha 1 turns everything black; multiply with white changes nothing.
    TestBitmap bitmap = makePhotoLike(16, 16);
    const TestBitmap original = bitmap;
    std::string error;
    ASSERT_TRUE(runOperation("blend-color", {"multiply", "255", "255", "255", "1"}, bitmap, &error)) << error;
    EXPECT_TRUE(imagesAgree(original, bitmap, Tolerance{0}, "blend-color-multiply-white"));
    ASSERT_TRUE(runOperation("blend-color", {"darken", "0", "0", "0", "1"}, bitmap, &error)) << error;
    TestBitmap black = original;
    for (size_t i = 0; i < black.pixelCount(); ++i)
        black.data()[i] = {0, 0, 0, original.data()[i].a};
    EXPECT_TRUE(imagesAgree(black, bitmap, Tolerance{0}, "blend-color-darken-black", true));
}

// The program, run as a person runs it.
class QopApplyProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qop_apply_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        input_ = dir_ / "input.png";
        output_ = dir_ / "output.png";
        fixture_ = makePhotoLike(40, 30);
        std::string error;
        ASSERT_TRUE(ImageIOWritePNGFile(input_.string(), fixture_.data(), fixture_.width(), fixture_.height(), &error))
            << error;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs qop_apply with args; returns its exit status and leaves stdout + stderr in output().
    int run(const std::vector<std::string> &args)
    {
        example_test::ProgramRun run = example_test::runProgram(QOP_APPLY_PATH, args);
        output_text_ = std::move(run.output);
        return run.status;
    }
    const std::string &output() const { return output_text_; }

    fs::path dir_, input_, output_;
    TestBitmap fixture_;
    std::string output_text_;
};

TEST_F(QopApplyProgram, WritesAChangedPngOfTheSameSize)
{
    ASSERT_EQ(run({input_.string(), output_.string(), "sepia"}), 0) << output();
    TestBitmap result;
    std::string error;
    ASSERT_TRUE(readImageFile(output_.string(), &result, &error)) << error;
    EXPECT_EQ(result.width(), fixture_.width());
    EXPECT_EQ(result.height(), fixture_.height());
    const ImageDiff diff = compareImages(*fixture_.get(), *result.get());
    EXPECT_GT(diff.meanAbs, 1.0) << describe(diff);
}

TEST_F(QopApplyProgram, ArgumentsAndOptionsMayBeMixed)
{
    // A negative number is an argument; "--" ends the options.
    ASSERT_EQ(run({input_.string(), output_.string(), "saturation", "-0.5"}), 0) << output();
    ASSERT_EQ(run({"--", input_.string(), output_.string(), "gamma", "1.2"}), 0) << output();
}

TEST_F(QopApplyProgram, RefusesBadCommandLinesAndInputWithoutWriting)
{
    const fs::path text = dir_ / "notes.txt";
    std::ofstream(text) << "not an image";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string messagePart;
    };
    std::vector<Case> cases = {
        {{input_.string(), output_.string(), "no-such-operation"}, 2, "unknown operation 'no-such-operation'"},
        {{input_.string(), output_.string(), "gamma", "fast"}, 2, "not a number"},
        {{input_.string(), output_.string(), "gamma", "1", "2"}, 2, "at most 1"},
        {{input_.string(), output_.string()}, 2, "expected INPUT OUTPUT.png OPERATION"},
        {{"--frobnicate", input_.string(), output_.string(), "sepia"}, 2, "unknown option '--frobnicate'"},
        {{(dir_ / "missing.png").string(), output_.string(), "sepia"}, 1, "cannot read"},
        {{text.string(), output_.string(), "sepia"}, 1, "not a PNG or JPEG image"},
        {{input_.string(), (dir_ / "no-such-folder" / "out.png").string(), "sepia"}, 1, "cannot write"},
    };
    // What is no file: refused at once, as the photo and as the recipe.
    for (const example_test::HostileFile &file : example_test::hostileFiles(dir_)) {
        cases.push_back({{file.path, output_.string(), "sepia"}, 1, file.path + ": " + file.reason});
        cases.push_back({{"--recipe", file.path, input_.string(), output_.string()}, 1, file.path + ": " + file.reason});
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.messagePart);
        EXPECT_EQ(run(c.args), c.status) << output();
        EXPECT_NE(output().find(c.messagePart), std::string::npos) << output();
        // A malformed command line comes with the usage; a failed run with its reason only.
        EXPECT_EQ(output().find("usage: qop_apply") != std::string::npos, c.status == 2) << output();
        EXPECT_FALSE(fs::exists(output_));
        EXPECT_FALSE(fs::exists(dir_ / "no-such-folder"));
    }
}

TEST_F(QopApplyProgram, HelpListsEveryOperation)
{
    ASSERT_EQ(run({"--help"}), 0) << output();
    for (const Operation &operation : operations())
        EXPECT_NE(output().find(std::string("  ") + operation.name + " "), std::string::npos) << operation.name;
}

TEST_F(QopApplyProgram, ReadsAJpegPhotograph)
{
    const fs::path photo = fs::path(photoDirectory()) / "rocket.jpg";
    if (!fs::exists(photo))
        GTEST_SKIP() << photo << " not there (run scripts/fetch-photos.sh)";
    ASSERT_EQ(run({photo.string(), output_.string(), "equalize"}), 0) << output();
    EXPECT_GT(fs::file_size(output_), 1000u);
}

// A JPEG stored on its side with EXIF orientation 6 (300 x 200, a dark corner stored at the top
// left) is written upright: 200 x 300, the corner at the top right.
TEST_F(QopApplyProgram, WritesASidewaysPhotoUpright)
{
    std::vector<uint8_t> rgb(300 * 200 * 3, 200);
    for (size_t y = 0; y < 40; ++y)
        for (size_t x = 0; x < 40; ++x)
            for (size_t k = 0; k < 3; ++k) rgb[(y * 300 + x) * 3 + k] = 20;
    imageio_test::JPEGOptions options;
    options.exif = imageio_test::exifWithOrientation(6, false);
    const fs::path photo = dir_ / "portrait.jpg";
    ASSERT_TRUE(imageio_test::writeFile(photo.string(), imageio_test::encodeJPEG(rgb, 300, 200, options)));
    ASSERT_EQ(run({photo.string(), output_.string(), "sepia"}), 0) << output();
    TestBitmap result;
    std::string error;
    ASSERT_TRUE(readImageFile(output_.string(), &result, &error)) << error;
    ASSERT_EQ(result.width(), 200u);
    ASSERT_EQ(result.height(), 300u);
    EXPECT_LT(result.at(180, 20).g, 80);
    EXPECT_GT(result.at(20, 20).g, 120);
}

TEST_F(QopApplyProgram, RunsAnEffectRecipeFile)
{
    const fs::path recipe = dir_ / "recipe.json";
    std::ofstream(recipe) << R"({"identifier": "t", "processors": [{"name": "gamma", "parameters": {"value": 1.6}},
                                {"name": "noise", "parameters": {"intensity": 0.05}}]})";
    ASSERT_EQ(run({"--recipe", recipe.string(), input_.string(), output_.string()}), 0) << output();
    TestBitmap result;
    std::string error;
    ASSERT_TRUE(readImageFile(output_.string(), &result, &error)) << error;
    const ImageDiff diff = compareImages(*fixture_.get(), *result.get());
    EXPECT_GT(diff.meanAbs, 1.0) << describe(diff);
    fs::remove(output_);

    // A recipe file that cannot be read or is no recipe fails before the input is read (1), and so
    // does one that fails while running (an unknown processor); an extra word is a malformed
    // command line (2). None writes anything.
    const fs::path notRecipe = dir_ / "not-recipe.json";
    std::ofstream(notRecipe) << R"({"identifier": 7, "processors": []})";
    const fs::path failing = dir_ / "failing.json";
    std::ofstream(failing) << R"({"identifier": "t", "processors": [{"name": "sepia", "parameters": {}}]})";
    struct Case {
        std::vector<std::string> args;
        int status;
        const char *messagePart;
    };
    const Case cases[] = {
        {{"--recipe", (dir_ / "missing.json").string(), input_.string(), output_.string()}, 1, "cannot read recipe"},
        {{"--recipe", notRecipe.string(), input_.string(), output_.string()}, 1, "is not an effect recipe"},
        {{"--recipe", recipe.string(), input_.string(), output_.string(), "sepia"}, 2, "with --recipe, expected"},
        {{"--recipe", failing.string(), input_.string(), output_.string()}, 1, "failed"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.messagePart);
        EXPECT_EQ(run(c.args), c.status) << output();
        EXPECT_NE(output().find(c.messagePart), std::string::npos) << output();
        EXPECT_FALSE(fs::exists(output_));
    }
}
