// qz_present, run as a person runs it: the quadrant image comes out of the GL view as it went in,
// and every failure says why, exits 1 (2 for a malformed command line) and writes nothing.
#include "QopTestBitmap.h"
#include "support/RunProgram.h"

#include "GLES/EGLHeadlessContext.h"
#include "ImageIO/ImageIOCodec.h"

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

// Opaque, four differently coloured quadrants: no flip or turn maps it onto itself.
TestBitmap makeQuadrants(size_t width, size_t height)
{
    const QopColor_t colours[4] = {{230, 20, 30, 255}, {20, 200, 40, 255}, {30, 40, 220, 255}, {240, 220, 20, 255}};
    TestBitmap bitmap(width, height);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x)
            bitmap.at(x, y) = colours[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
    return bitmap;
}

class QzPresentProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qz_present_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        input_ = dir_ / "input.png";
        output_ = dir_ / "output.png";
        std::string error;
        ASSERT_TRUE(ImageIOWritePNGFile(input_.string(), fixture_.data(), fixture_.width(), fixture_.height(), &error))
            << error;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs qz_present with args (and the environment variables given); returns its exit status and
    // leaves stdout + stderr in output().
    int run(const std::vector<std::string>& args, const std::vector<std::pair<std::string, std::string>>& env = {})
    {
        example_test::ProgramRun run = example_test::runProgram(QZ_PRESENT_PATH, args, env);
        outputText_ = std::move(run.output);
        return run.status;
    }
    const std::string& output() const { return outputText_; }

    // Nothing but the inputs is in the folder.
    bool nothingWritten() const
    {
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            if (name != "input.png" && name != "notes.txt") return false;
        }
        return true;
    }

    const TestBitmap fixture_ = makeQuadrants(37, 23);
    fs::path dir_, input_, output_;
    std::string outputText_;
};

TEST_F(QzPresentProgram, WritesWhatTheViewShowsAndThatIsTheInput)
{
    std::string why;
    {
        EGLHeadlessContext probe;
        if (!probe.open(&why)) GTEST_SKIP() << "no EGL display: " << why;
    }
    ASSERT_EQ(run({input_.string(), output_.string()}), 0) << output();
    TestBitmap result;
    std::string error;
    ASSERT_TRUE(qop_test::readImageFile(output_.string(), &result, &error)) << error;
    EXPECT_TRUE(result == fixture_) << "the presented image differs from the input";
}

TEST_F(QzPresentProgram, FailuresSayWhyAndWriteNothing)
{
    const fs::path text = dir_ / "notes.txt";
    std::ofstream(text) << "not an image";
    struct Case {
        std::vector<std::string> args;
        std::vector<std::pair<std::string, std::string>> env;
        int status;
        const char* messagePart;
    };
    const Case cases[] = {
        {{}, {}, 2, "usage: qz_present INPUT OUTPUT.png"},
        {{input_.string()}, {}, 2, "usage:"},
        {{input_.string(), output_.string(), "extra"}, {}, 2, "usage:"},
        {{(dir_ / "missing.png").string(), output_.string()}, {}, 1, "cannot read"},
        {{text.string(), output_.string()}, {}, 1, "not a PNG or JPEG image"},
        {{input_.string(), output_.string()}, {{"TESSEL_EGL_PLATFORM", "none"}}, 1, "no GL context: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messagePart);
        EXPECT_EQ(run(c.args, c.env), c.status) << output();
        EXPECT_NE(output().find(c.messagePart), std::string::npos) << output();
        EXPECT_TRUE(nothingWritten());
    }
    // The EGL route that was refused is named in the message.
    run({input_.string(), output_.string()}, {{"TESSEL_EGL_PLATFORM", "none"}});
    EXPECT_NE(output().find("TESSEL_EGL_PLATFORM"), std::string::npos) << output();
}

TEST_F(QzPresentProgram, AFailedWriteLeavesNoFile)
{
    std::string why;
    {
        EGLHeadlessContext probe;
        if (!probe.open(&why)) GTEST_SKIP() << "no EGL display: " << why;
    }
    const fs::path folder = dir_ / "no-such-folder" / "output.png";
    EXPECT_EQ(run({input_.string(), folder.string()}), 1) << output();
    EXPECT_NE(output().find("cannot write"), std::string::npos) << output();
    EXPECT_TRUE(nothingWritten());
}

}  // namespace
