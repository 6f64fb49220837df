// tessel_editor's promises to the person whose photo it opens, run as a person runs it: nothing is
// written over the photo, the photo is read exactly as named, a tap that cannot reach its view
// fails its line, Cancel asks before it throws applied edits away, and --tool opens the editor on
// one tool of the tool table.
#include "QopTestBitmap.h"
#include "support/RunProgram.h"

#include "GLES/EGLDisplayConnection.h"
#include "ImageIO/ImageIOCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TestBitmap makePicture(size_t width, size_t height, std::uint8_t blue)
{
    TestBitmap bitmap(width, height);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x)
            bitmap.at(x, y) = {std::uint8_t(x * 255 / width), std::uint8_t(y * 255 / height), blue, 255};
    return bitmap;
}

std::string bytesOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The Adjust tool opened from the strip, its brightness dragged up and applied; the bar's
// buttons slide back over the next 0.3 s.
constexpr const char* kAdjustApplied = "wait 1\n"
                                       "drag 310,510 10,510 1\n"
                                       "wait 1\n"
                                       "tap Adjust\n"
                                       "wait 0.5\n"
                                       "drag 160,485 300,485 0.5\n"
                                       "wait 0.5\n"
                                       "tap Apply\n";

class TesselEditorHostContract : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tessel_editor_contract.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        input_ = dir_ / "input.png";
        output_ = dir_ / "out.png";
        write(input_, photo_);
        photoBytes_ = bytesOf(input_);
    }
    void TearDown() override
    {
        if (!dir_.empty()) fs::remove_all(dir_);
    }
    static bool haveGL() { return EGLDisplayConnection::open(nullptr) != nullptr; }
    static void write(const fs::path& path, const TestBitmap& picture)
    {
        std::string error;
        ASSERT_TRUE(ImageIOWritePNGFile(path.string(), picture.data(), picture.width(), picture.height(), &error))
            << error;
    }
    fs::path script(const std::string& name, const std::string& text)
    {
        const fs::path path = dir_ / name;
        std::ofstream(path) << text;
        return path;
    }
    int run(const std::vector<std::string>& args, const std::string& workingDirectory = "")
    {
        example_test::ProgramRun run = example_test::runProgram(TESSEL_EDITOR_PATH, args, {}, workingDirectory);
        output_text_ = std::move(run.output);
        return run.status;
    }
    const std::string& output() const { return output_text_; }
    // OUT.png is the picture, each channel within `levels` of it.
    ::testing::AssertionResult wrote(const TestBitmap& expected, int levels = 0) const
    {
        TestBitmap result;
        std::string error;
        if (!qop_test::readImageFile(output_.string(), &result, &error)) return ::testing::AssertionFailure() << error;
        if (result.width() != expected.width() || result.height() != expected.height())
            return ::testing::AssertionFailure() << "OUT.png is " << result.width() << " x " << result.height();
        int worst = 0;
        for (size_t y = 0; y < result.height(); ++y)
            for (size_t x = 0; x < result.width(); ++x) {
                const QopColor_t a = result.at(x, y), b = expected.at(x, y);
                for (int d : {a.r - b.r, a.g - b.g, a.b - b.b, a.a - b.a}) worst = std::max(worst, std::abs(d));
            }
        if (worst > levels) return ::testing::AssertionFailure() << "OUT.png is another picture (" << worst << " levels off)";
        return ::testing::AssertionSuccess();
    }

    const TestBitmap photo_ = makePicture(600, 400, 40);
    fs::path dir_, input_, output_;
    std::string photoBytes_;
    std::string output_text_;
};

// Every way a run could replace the photo: a screenshot into the working folder without
// --screenshots, OUT.png or a screenshot naming the photo's own file by its path, another spelling,
// a symbolic link or a hard link. Each fails before anything is made (the content root included)
// and the photo keeps its bytes.
TEST_F(TesselEditorHostContract, NothingIsWrittenOverThePhoto)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    const fs::path symbolic = dir_ / "link.png", hard = dir_ / "hard.png";
    fs::create_symlink(input_, symbolic);
    fs::create_hard_link(input_, hard);
    const fs::path root = dir_ / "root";
    const std::string shootInput = script("shoot.txt", "wait 0.5\nscreenshot input\ntap Done\n").string();
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"a screenshot without --screenshots",
         {"--script", shootInput, "input.png"},
         3,
         "line 2: screenshot needs --screenshots DIR"},
        {"OUT.png is INPUT", {"--output", input_.string(), input_.string()}, 2, "is the photo INPUT itself"},
        {"OUT.png spelled otherwise",
         {"--output", (dir_ / "." / "input.png").string(), "input.png"},
         2,
         "is the photo INPUT itself"},
        {"OUT.png a symbolic link", {"--output", symbolic.string(), input_.string()}, 2, "is the photo INPUT itself"},
        {"OUT.png a hard link", {"--output", hard.string(), input_.string()}, 2, "is the photo INPUT itself"},
        {"a screenshot named as INPUT",
         {"--script", shootInput, "--screenshots", dir_.string(), symbolic.string()},
         2,
         (dir_ / "input.png").string() + " is the photo INPUT itself"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"--content-root", root.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(run(args, dir_.string()), c.status) << output();
        EXPECT_NE(output().find(c.message), std::string::npos) << output();
        EXPECT_EQ(bytesOf(input_), photoBytes_) << "the photo was written over";
        if (c.status == 2) {
            EXPECT_FALSE(fs::exists(root)) << "made before the refusal";
        }
        fs::remove_all(root);
    }

    // The built-in script takes its screenshot only into a folder that was named.
    const fs::path empty = dir_ / "empty";
    fs::create_directory(empty);
    EXPECT_EQ(run({"--headless", "--output", output_.string(), input_.string()}, empty.string()), 0) << output();
    EXPECT_TRUE(wrote(photo_));
    EXPECT_TRUE(fs::is_empty(empty)) << "something was written into the working folder";
}

// x.png opened while x@2x.png lies beside it: the editor edits x.png, at any scale.
TEST_F(TesselEditorHostContract, APhotoIsReadExactlyAsNamed)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    const TestBitmap retina = makePicture(300, 200, 200);
    write(dir_ / "x.png", photo_);
    write(dir_ / "x@2x.png", retina);
    const std::string done = script("done.txt", "wait 0.5\ntap Done\n").string();
    for (const char* scale : {"1", "2"}) {
        SCOPED_TRACE(scale);
        ASSERT_EQ(run({"--scale", scale, "--script", done, "--output", output_.string(), (dir_ / "x.png").string()}), 0)
            << output();
        EXPECT_TRUE(wrote(photo_));
    }
    ASSERT_EQ(run({"--script", done, "--output", output_.string(), (dir_ / "x@2x.png").string()}), 0) << output();
    EXPECT_TRUE(wrote(retina));
}

// Right after Apply the tool's bar still slides over the home screen's Done: a tap there would
// reach the sliding bar, so the line fails; once a person waited, it reaches Done.
TEST_F(TesselEditorHostContract, ATapOrExpectOfACoveredViewFailsItsLine)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    for (const char* command : {"tap Done", "expect Done"}) {
        SCOPED_TRACE(command);
        const fs::path covered = script("covered.txt", std::string(kAdjustApplied) + command + "\ntap Done\n");
        EXPECT_EQ(run({"--script", covered.string(), "--output", output_.string(), input_.string()}), 3) << output();
        EXPECT_NE(output().find("line 9: Done is covered"), std::string::npos) << output();
        EXPECT_FALSE(fs::exists(output_));
    }
    const fs::path waited = script("waited.txt", std::string(kAdjustApplied) + "wait 0.5\ntap Done\n");
    EXPECT_EQ(run({"--script", waited.string(), "--output", output_.string(), input_.string()}), 0) << output();
    EXPECT_TRUE(fs::exists(output_));
}

// With an applied tool Cancel shows the confirmation: Retake Photo cancels, Restore Original takes
// the edit back and the editor stays open. On an untouched photo Cancel quits at once.
TEST_F(TesselEditorHostContract, CancelAsksBeforeThrowingAppliedEditsAway)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    const std::string applied = std::string(kAdjustApplied) + "wait 0.5\ntap Cancel\nwait 0.3\n";
    const fs::path retake = script("retake.txt", applied + "expect Restore Original\ntap Retake Photo\n");
    EXPECT_EQ(run({"--script", retake.string(), "--output", output_.string(), input_.string()}), 0) << output();
    EXPECT_NE(output().find("cancelled"), std::string::npos) << output();
    EXPECT_FALSE(fs::exists(output_));

    const fs::path restore = script("restore.txt", applied + "tap Restore Original\nwait 0.5\ntap Done\n");
    EXPECT_EQ(run({"--script", restore.string(), "--output", output_.string(), input_.string()}), 0) << output();
    EXPECT_EQ(output().find("cancelled"), std::string::npos) << "cancelled without asking: " << output();
    EXPECT_TRUE(wrote(photo_)) << "the edit was not taken back";
    fs::remove(output_);

    const fs::path untouched = script("untouched.txt", "wait 0.5\ntap Cancel\nexpect Retake Photo\n");
    EXPECT_EQ(run({"--script", untouched.string(), "--output", output_.string(), input_.string()}), 0) << output();
    EXPECT_NE(output().find("cancelled"), std::string::npos) << output();
}

// --tool takes a key of the tool table, and not beside --pack; the quick-launched tool's Done
// finishes the edit and its Cancel cancels it. --pack opens the pack's tool on its page.
TEST_F(TesselEditorHostContract, QuickLaunchOpensOneToolWhoseButtonsEndTheEdit)
{
    EXPECT_EQ(run({"--tool", "sepia", input_.string()}), 2) << output();
    EXPECT_NE(output().find("no tool \"sepia\"; the tools: adjustments, blemish, crop, draw"), std::string::npos)
        << output();
    EXPECT_EQ(run({"--tool", "crop", "--pack", "st1", input_.string()}), 2) << output();
    EXPECT_NE(output().find("usage:"), std::string::npos) << output();
    if (!haveGL()) GTEST_SKIP() << "no GL context here";

    const fs::path cancel = script("cancel.txt", "wait 1\nexpect 1:1\ntap Cancel\n");
    EXPECT_EQ(run({"--tool", "crop", "--script", cancel.string(), "--output", output_.string(), input_.string()}), 0)
        << output();
    EXPECT_NE(output().find("cancelled"), std::string::npos) << output();
    EXPECT_FALSE(fs::exists(output_));

    // A quarter turn, then the right button: the photo comes out turned.
    const fs::path turn = script("turn.txt", "wait 1\ntap Rotate right\nwait 0.5\ntap Done\n");
    ASSERT_EQ(run({"--tool", "orientation", "--script", turn.string(), "--output", output_.string(), input_.string()}),
              0)
        << output();
    TestBitmap turned(400, 600);
    for (size_t y = 0; y < 600; ++y)
        for (size_t x = 0; x < 400; ++x) turned.at(x, y) = photo_.at(y, 399 - x);
    EXPECT_TRUE(wrote(turned, 1));

    // A pack's page: it opens over the pack's tool; closed, the tool applies the pack's effect
    // (Tintype) and the home screen's Done finishes.
    const fs::path tintype = script(
        "tintype.txt", "wait 1\nexpect Close\ntap Close\nwait 0.5\ntap Tintype\nwait 0.5\ntap Apply\nwait 0.5\ntap Done\n");
    ASSERT_EQ(run({"--pack", "classic_effects", "--content-root", (dir_ / "content").string(), "--script",
                   tintype.string(), "--output", output_.string(), input_.string()}),
              0)
        << output();
    EXPECT_FALSE(wrote(photo_, 8)) << "the pack's effect did not reach the photo";
}

}  // namespace
