// tessel_editor, run as a person runs it, for each outcome of its contract: Done without edits gives
// the input back, Cancel writes nothing and says so, a script that fails names its line and exits
// 3, a script that ends before Done or Cancel, an unreadable photo and an editor without a GL
// context exit 1, a malformed command line 2.
#include "QopTestBitmap.h"
#include "support/HostileFiles.h"
#include "support/RunProgram.h"

#include "GLES/EGLDisplayConnection.h"
#include "ImageIO/ImageIOCodec.h"
#include "ImageIOFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

using qop_test::TestBitmap;
namespace fs = std::filesystem;

namespace {

using Environment = std::vector<std::pair<std::string, std::string>>;

// Larger than the editing size, so the editor works on a scaled copy while the output is full size.
TestBitmap makePhoto(size_t width, size_t height)
{
    TestBitmap bitmap(width, height);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x)
            bitmap.at(x, y) = {std::uint8_t(x * 255 / width), std::uint8_t(y * 255 / height),
                               std::uint8_t((x * 7 + y * 3) % 256), 255};
    return bitmap;
}

constexpr const char* kNoGLMessage = "Photo editing needs OpenGL ES, which is not available here.";

class TesselEditorProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tessel_editor_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        input_ = dir_ / "input.png";
        output_ = dir_ / "out.png";
        std::string error;
        ASSERT_TRUE(ImageIOWritePNGFile(input_.string(), photo_.data(), photo_.width(), photo_.height(), &error))
            << error;
    }
    void TearDown() override
    {
        if (!dir_.empty()) fs::remove_all(dir_);
    }
    // The editor edits only on a GL context: the tests of its edits skip where none can be made.
    static bool haveGL() { return EGLDisplayConnection::open(nullptr) != nullptr; }

    fs::path script(const std::string& name, const std::string& text)
    {
        const fs::path path = dir_ / name;
        std::ofstream(path) << text;
        return path;
    }
    int run(const std::vector<std::string>& args, const Environment& env = {})
    {
        example_test::ProgramRun run = example_test::runProgram(TESSEL_EDITOR_PATH, args, env);
        outputText_ = std::move(run.output);
        return run.status;
    }
    const std::string& output() const { return outputText_; }

    const TestBitmap photo_ = makePhoto(1500, 1000);
    fs::path dir_, input_, output_;
    std::string outputText_;
};

TEST_F(TesselEditorProgram, DoneWithoutEditsGivesTheInputBack)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    const fs::path done = script("done.txt", "# Done at once.\n\nexpect Photo Editor\ntap Done\ntap Cancel\n");
    ASSERT_EQ(run({"--script", done.string(), "--output", output_.string(), input_.string()}), 0) << output();
    EXPECT_EQ(output().find("cancelled"), std::string::npos) << "a line after Done ran: " << output();
    TestBitmap result;
    std::string error;
    ASSERT_TRUE(qop_test::readImageFile(output_.string(), &result, &error)) << error;
    EXPECT_TRUE(result == photo_) << "the output differs from the input";
}

// A phone's portrait photo, stored 300 x 200 on its side with EXIF orientation 6 and a blue
// square in its stored top-left corner: edited or not, OUT.png is the picture upright, 200 x 300
// with the square at the top right.
TEST_F(TesselEditorProgram, ASidewaysPhotoIsEditedAndWrittenUpright)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    std::vector<std::uint8_t> rgb(300 * 200 * 3);
    for (size_t y = 0; y < 200; ++y)
        for (size_t x = 0; x < 300; ++x) {
            const bool square = x < 48 && y < 48;
            std::uint8_t* p = &rgb[(y * 300 + x) * 3];
            p[0] = square ? 20 : std::uint8_t(100 + x / 10);
            p[1] = square ? 20 : std::uint8_t(100 + y / 10);
            p[2] = square ? 230 : 110;
        }
    imageio_test::JPEGOptions options;
    options.exif = imageio_test::exifWithOrientation(6, false);
    const fs::path portrait = dir_ / "portrait.jpg";
    ASSERT_TRUE(imageio_test::writeFile(portrait.string(), imageio_test::encodeJPEG(rgb, 300, 200, options)));
    const fs::path shots = dir_ / "shots";
    fs::create_directory(shots);
    const fs::path done = script("done.txt", "wait 1\ntap Done\n");
    const fs::path adjust = fs::path(TESSEL_SOURCE_DIR) / "examples/scripts/adjust.txt";
    for (const fs::path& steps : {done, adjust}) {
        SCOPED_TRACE(steps.filename().string());
        fs::remove(output_);
        ASSERT_EQ(run({"--headless", "--script", steps.string(), "--screenshots", shots.string(), "--output",
                       output_.string(), portrait.string()}),
                  0)
            << output();
        TestBitmap result;
        std::string error;
        ASSERT_TRUE(qop_test::readImageFile(output_.string(), &result, &error)) << error;
        ASSERT_EQ(result.width(), 200u);
        ASSERT_EQ(result.height(), 300u);
        const auto square = result.at(180, 20), other = result.at(20, 20);
        EXPECT_GT(int(square.b) - int(square.r), 100) << "no square at the top right";
        EXPECT_LT(int(other.b) - int(other.r), 50) << "the square is at the top left";
    }
}

// A photo one pixel wide and taller than the editing size opens and edits like any other: its
// scaled copy (1024 points high) keeps a pixel across instead of none.
TEST_F(TesselEditorProgram, AOnePixelWidePhotoOpensEditsAndIsWritten)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    TestBitmap thin(1, 3000);
    for (size_t y = 0; y < 3000; ++y) thin.at(0, y) = {std::uint8_t(60 + y / 30), 90, 120, 255};
    const fs::path input = dir_ / "thin.png";
    std::string error;
    ASSERT_TRUE(ImageIOWritePNGFile(input.string(), thin.data(), 1, 3000, &error)) << error;
    const fs::path shots = dir_ / "shots";
    fs::create_directory(shots);
    const fs::path adjust = fs::path(TESSEL_SOURCE_DIR) / "examples/scripts/adjust.txt";
    ASSERT_EQ(run({"--headless", "--script", adjust.string(), "--screenshots", shots.string(), "--output",
                   output_.string(), input.string()}),
              0)
        << output();
    TestBitmap result;
    ASSERT_TRUE(qop_test::readImageFile(output_.string(), &result, &error)) << error;
    EXPECT_EQ(result.width(), 1u);
    EXPECT_EQ(result.height(), 3000u);
    // Brightness +100 lightens the column.
    EXPECT_GT(int(result.at(0, 1500).r), int(thin.at(0, 1500).r) + 10);
}

TEST_F(TesselEditorProgram, TheBuiltInScriptTakesAScreenshotAndIsDone)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    const fs::path shots = dir_ / "shots";
    fs::create_directory(shots);
    ASSERT_EQ(run({"--headless", "--screenshots", shots.string(), "--output", output_.string(), input_.string()}), 0)
        << output();
    EXPECT_TRUE(fs::exists(output_));
    TestBitmap screenshot;
    std::string error;
    ASSERT_TRUE(qop_test::readImageFile((shots / "editor.png").string(), &screenshot, &error)) << error;
    // The phone's window at scale 2.
    EXPECT_EQ(screenshot.width(), 640u);
    EXPECT_EQ(screenshot.height(), 1136u);
}

TEST_F(TesselEditorProgram, CancelWritesNothingAndSaysSo)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    const fs::path cancel = script("cancel.txt", "wait 0.5\ntap Cancel\ntap Done\n");
    ASSERT_EQ(run({"--script", cancel.string(), "--output", output_.string(), input_.string()}), 0) << output();
    EXPECT_NE(output().find("cancelled"), std::string::npos) << output();
    EXPECT_FALSE(fs::exists(output_));
}

TEST_F(TesselEditorProgram, AScriptEndingBeforeDoneOrCancelFailsAndWritesNothing)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    const fs::path idle = script("idle.txt", "wait 0.2\n# nothing else\n");
    ASSERT_EQ(run({"--script", idle.string(), "--output", output_.string(), input_.string()}), 1) << output();
    EXPECT_NE(output().find("the script ended before Done or Cancel"), std::string::npos) << output();
    EXPECT_FALSE(fs::exists(output_));
    EXPECT_EQ(output().find("cancelled"), std::string::npos) << output();
}

// The photo a host receives does not depend on the pixels per point of the screenshots and window.
TEST_F(TesselEditorProgram, TheScaleChangesTheScreenshotsButNotThePhoto)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    const fs::path brighten = script("brighten.txt", "wait 1\ndrag 310,510 10,510 1\nwait 1\ntap Adjust\nwait 0.5\n"
                                                     "drag 160,485 300,485 0.5\nwait 0.5\nscreenshot adjusted\n"
                                                     "tap Apply\nwait 0.5\ntap Done\n");
    TestBitmap written[2];
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        const fs::path shots = dir_ / ("shots" + std::to_string(scale));
        fs::create_directory(shots);
        ASSERT_EQ(run({"--scale", std::to_string(scale), "--script", brighten.string(), "--screenshots", shots.string(),
                       "--output", output_.string(), input_.string()}),
                  0)
            << output();
        TestBitmap screenshot;
        std::string error;
        ASSERT_TRUE(qop_test::readImageFile((shots / "adjusted.png").string(), &screenshot, &error)) << error;
        EXPECT_EQ(screenshot.width(), 320u * unsigned(scale));
        EXPECT_EQ(screenshot.height(), 568u * unsigned(scale));
        ASSERT_TRUE(qop_test::readImageFile(output_.string(), &written[scale - 1], &error)) << error;
    }
    EXPECT_TRUE(written[0] == written[1]) << "the photo depends on the scale";
    EXPECT_FALSE(written[1] == photo_) << "the edit did not reach the photo";
}

// Without a GL context the editor cannot edit: whatever the script, the program says so and fails.
TEST_F(TesselEditorProgram, WithoutGLAnyScriptFailsWithTheMessageAndWritesNothing)
{
    const std::vector<std::vector<std::string>> runs = {
        {"--script", script("done.txt", "tap Done\n").string()},
        {"--script", script("cancel.txt", "wait 0.5\ntap Cancel\n").string()},
        {"--script", script("idle.txt", "wait 0.2\n").string()},
        {"--script", script("failing.txt", "jump 3,4\n").string()},
        {"--headless"},
    };
    for (std::vector<std::string> args : runs) {
        SCOPED_TRACE(args.back());
        for (const std::string& arg : {std::string("--output"), output_.string(), input_.string()}) args.push_back(arg);
        EXPECT_EQ(run(args, {{"TESSEL_EGL_PLATFORM", "none"}}), 1) << output();
        EXPECT_NE(output().find(kNoGLMessage), std::string::npos) << output();
        EXPECT_EQ(output().find("abort"), std::string::npos) << output();
        EXPECT_EQ(output().find("cancelled"), std::string::npos) << output();
        EXPECT_FALSE(fs::exists(output_));
    }
}

TEST_F(TesselEditorProgram, AFailingLineExitsThreeWithItsNumber)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"wait 0.1\njump 3,4\n", "line 2: unknown command \"jump\""},
        {"# a comment\ntap No Such Button\n", "line 2: no visible view labelled \"No Such Button\""},
        {"expect Photo Editor\n\nexpect Restore Original\n", "line 3: expected a visible view labelled"},
        {"drag 1,2 3\n", "line 1: usage: drag"},
        {"wait soon\n", "line 1: usage: wait"},
        // Typing with nothing focused (the home screen has no key input), a key it has not, no
        // text, text that is no UTF-8.
        {"wait 0.1\ntype Tessel\n", "line 2: type: nothing takes typing"},
        {"key backspace\n", "line 1: key: nothing takes typing"},
        {"key escape\n", "line 1: usage: key return|backspace"},
        {"type\n", "line 1: usage: type TEXT"},
        {"type \xff\xfe\n", "line 1: type: the text is not valid UTF-8"},
        {"type Tes\x01sel\n", "line 1: type: the text holds a control character"},
        // An hour at most: longer would keep the program busy for ever.
        {"wait 0.1\nwait 3600.5\n", "line 2: usage: wait SECONDS (0 to 3600)"},
        {"wait 1e30\n", "line 1: usage: wait"},
        {"drag 1,2 3,4 1e30\n", "line 1: usage: drag"},
        {"press 1,2 7200\n", "line 1: usage: press"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const fs::path path = script("failing.txt", c.text);
        EXPECT_EQ(run({"--script", path.string(), "--output", output_.string(), input_.string()}), 3) << output();
        EXPECT_NE(output().find(c.message), std::string::npos) << output();
        EXPECT_FALSE(fs::exists(output_));
    }
}

TEST_F(TesselEditorProgram, BadInputAndMalformedCommandLines)
{
    const fs::path text = dir_ / "notes.txt";
    std::ofstream(text) << "not an image";
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{}, 2, "usage: tessel_editor"},
        {{"--device", "watch", input_.string()}, 2, "usage:"},
        {{"--scale", "4.5", input_.string()}, 2, "usage:"},
        {{"--scale", "0", input_.string()}, 2, "usage:"},
        {{"--scale", input_.string()}, 2, "usage:"},
        {{"--script"}, 2, "usage:"},
        {{input_.string(), input_.string()}, 2, "usage:"},
        {{"--frobnicate", input_.string()}, 2, "usage:"},
        {{"--headless", (dir_ / "missing.png").string()}, 1, "cannot read"},
        {{"--headless", text.string()}, 1, "not a PNG or JPEG image"},
        {{"--script", (dir_ / "missing.txt").string(), input_.string()}, 1, "cannot read the script"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(run(c.args), c.status) << output();
        EXPECT_NE(output().find(c.message), std::string::npos) << output();
    }
}

// In place of the photo or the script: a folder, a device, a FIFO, a script of megabytes, and a
// valid PNG header claiming 20000 x 20000 pixels. Each is refused at once, naming the file and the
// reason, and nothing is written.
TEST_F(TesselEditorProgram, WhatIsNoFileOrTooLargeIsRefusedAtOnce)
{
    const fs::path huge = dir_ / "huge.png";
    example_test::writePNGHeaderOnly(huge, 20000, 20000);
    const fs::path longScript = script("long.txt", std::string(2 << 20, '#'));
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    std::vector<Case> cases{
        {{"--headless", huge.string()}, huge.string() + ": an image of 20000 x 20000 pixels is more than the"},
        {{"--script", longScript.string(), input_.string()}, longScript.string() + ": is larger than 1 MiB"},
    };
    for (const example_test::HostileFile& file : example_test::hostileFiles(dir_)) {
        cases.push_back({{"--headless", file.path}, file.path + ": " + file.reason});
        cases.push_back({{"--script", file.path, input_.string()}, file.path + ": " + file.reason});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args{"--output", output_.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(run(args), 1) << output();
        EXPECT_NE(output().find(c.message), std::string::npos) << output();
        EXPECT_FALSE(fs::exists(output_));
    }
}

}  // namespace
