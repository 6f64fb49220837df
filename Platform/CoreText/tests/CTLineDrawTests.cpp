#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CTProbeText.h"

extern char** environ;

namespace {

// Draws "TTT" with its baseline at y = 10 in a 100 x 50 canvas through the given CTM and text
// matrix; answers the canvas.
void drawTees(TextCanvas& canvas, CGAffineTransform ctm, CGAffineTransform textMatrix, CGColorRef color = nullptr)
{
    HeldFont bold = font("Helvetica-Bold", 24);
    HeldString string = attributed("TTT", bold.get(), color);
    if (!color) {
        CFAttributedStringSetAttribute(string.get(), CFRangeMake(0, 3), kCTForegroundColorFromContextAttributeName,
                                       kCFBooleanTrue);
    }
    HeldLine line(CTLineCreateWithAttributedString(string.get()));
    CGContextConcatCTM(canvas.context, ctm);
    CGContextSetTextMatrix(canvas.context, textMatrix);
    CTLineDraw(line.get(), canvas.context);
}

// The T's bar is at the top of the ink: the first quarter of its rows holds more than the last.
bool upright(const TextCanvas& canvas)
{
    InkBox box = canvas.ink();
    size_t quarter = size_t(box.bottom - box.top + 1) / 4;
    return canvas.inkInRows(size_t(box.top), size_t(box.top) + quarter) >
           2 * canvas.inkInRows(size_t(box.bottom) + 1 - quarter, size_t(box.bottom) + 1);
}

TEST(CTLineDraw, UprightFromTheTextPositionInAYUpContext)
{
    TextCanvas canvas(100, 50);
    CGColorRef red = rgbColor(1, 0, 0, 1);
    drawTees(canvas, CGAffineTransformIdentity, CGAffineTransformMakeTranslation(4, 10), red);
    CGColorRelease(red);
    InkBox box = canvas.ink();
    ASSERT_FALSE(box.empty());
    // Baseline at y = 10 from the bottom: the ink ends on memory row 39 and rises a capital height.
    EXPECT_EQ(box.bottom, 39);
    EXPECT_NEAR(box.top, 40 - 24 * 1409 / 2048.0, 1);
    EXPECT_NEAR(box.left, 4, 1);
    EXPECT_TRUE(upright(canvas));
    EXPECT_EQ(canvas.inkInRows(0, 15), 0);
    for (size_t row = 0; row < canvas.height; ++row)
        for (size_t x = 0; x < canvas.width; ++x) {
            RGBA p = canvas.at(x, row);
            ASSERT_TRUE(p[0] == p[3] && p[1] == 0 && p[2] == 0) << "red, premultiplied, at " << x << "," << row;
        }
}

TEST(CTLineDraw, FollowsTheCTMAndTextMatrix)
{
    struct Case {
        const char* name;
        CGAffineTransform ctm, text;
        bool upright, inkInTopHalf;
    } cases[] = {
        // A y-down user space (as UIKit's) turns plain text over; flipping the text matrix rights it.
        {"y-down CTM", CGAffineTransformMake(1, 0, 0, -1, 0, 50), CGAffineTransformMakeTranslation(4, 30), false,
         false},
        {"y-down CTM, flipped text", CGAffineTransformMake(1, 0, 0, -1, 0, 50),
         CGAffineTransformMake(1, 0, 0, -1, 4, 30), true, true},
        {"y-up, text raised", CGAffineTransformIdentity, CGAffineTransformMakeTranslation(4, 30), true, true},
        {"y-up CTM moved up", CGAffineTransformMakeTranslation(0, 20), CGAffineTransformMakeTranslation(4, 10), true,
         true},
    };
    for (const Case& c : cases) {
        TextCanvas canvas(100, 50);
        drawTees(canvas, c.ctm, c.text);
        ASSERT_FALSE(canvas.ink().empty()) << c.name;
        EXPECT_EQ(upright(canvas), c.upright) << c.name;
        EXPECT_EQ(canvas.inkInRows(0, 25) > canvas.inkInRows(25, 50), c.inkInTopHalf) << c.name;
    }
}

TEST(CTLineDraw, ContextColourAlphaAndShadow)
{
    TextCanvas canvas(100, 50);
    CGContextSetRGBFillColor(canvas.context, 0, 0, 1, 1);
    CGContextSetAlpha(canvas.context, 0.5f);
    CGColorRef green = rgbColor(0, 1, 0, 1);
    CGContextSetShadowWithColor(canvas.context, CGSizeMake(0, -20), 0, green);
    CGColorRelease(green);
    drawTees(canvas, CGAffineTransformIdentity, CGAffineTransformMakeTranslation(4, 25));
    uint8_t maxAlpha = 0;
    long blueInk = 0, greenInk = 0;
    for (size_t row = 0; row < canvas.height; ++row)
        for (size_t x = 0; x < canvas.width; ++x) {
            RGBA p = canvas.at(x, row);
            maxAlpha = std::max(maxAlpha, p[3]);
            if (row < 25) {
                blueInk += p[2];
                EXPECT_EQ(p[1], 0);
            } else {
                greenInk += p[1];
                EXPECT_EQ(p[2], 0);
            }
        }
    EXPECT_NEAR(maxAlpha, 128, 1);
    EXPECT_GT(blueInk, 0);   // the text, above the middle
    EXPECT_GT(greenInk, 0);  // its shadow, 20 below
}

// Every glyph of a long line is drawn, also those far from the line's start.
TEST(CTLineDraw, ALongLineIsDrawnToItsEnd)
{
    TextCanvas canvas(700, 40);
    HeldFont bold = font("Helvetica-Bold", 17);
    HeldLine line = lineOf("Visit the Developer Site and read on, well past ten ems from the start", bold.get());
    double width = CTLineGetTypographicBounds(line.get(), nullptr, nullptr, nullptr);
    ASSERT_GT(width, 400);
    ASSERT_LT(width, 690);
    CGContextSetTextMatrix(canvas.context, CGAffineTransformMakeTranslation(5, 12));
    CTLineDraw(line.get(), canvas.context);
    InkBox box = canvas.ink();
    ASSERT_FALSE(box.empty());
    EXPECT_NEAR(box.right, 5 + width, 4) << "ink up to the last glyph";
}

// Runs the probe with the given extra environment; answers its output.
std::vector<uint8_t> runProbe(const std::vector<std::string>& extraEnvironment)
{
    std::vector<std::string> strings(extraEnvironment);
    for (char** e = environ; *e; ++e) strings.emplace_back(*e);
    std::vector<char*> env;
    for (std::string& s : strings) env.push_back(s.data());
    env.push_back(nullptr);
    int out[2];
    EXPECT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = {const_cast<char*>(CT_RENDER_PROBE), nullptr};
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, CT_RENDER_PROBE, &actions, nullptr, argv, env.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return bytes;
}

TEST(CTLineDraw, SamePixelsWhateverTheMachinesFontSettings)
{
    // Settings a desktop may carry, all of which would change the pixels if they reached us:
    // full hinting, sub-pixel colour, no antialiasing, another face for Arial and for the family
    // that stands in for it, another dpi.
    std::filesystem::path home = std::filesystem::temp_directory_path() / ("ct-fontconfig-" + std::to_string(getpid()));
    std::filesystem::create_directories(home / "fontconfig");
    const char* conf = R"(<?xml version="1.0"?>
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <match target="pattern">
    <test name="family" compare="contains"><string>Arial</string></test>
    <edit name="family" mode="assign" binding="strong"><string>DejaVu Serif</string></edit>
  </match>
  <match target="pattern">
    <test name="family"><string>Liberation Sans</string></test>
    <edit name="family" mode="assign" binding="strong"><string>DejaVu Serif</string></edit>
  </match>
  <match target="font">
    <edit name="hinting" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintfull</const></edit>
    <edit name="rgba" mode="assign"><const>rgb</const></edit>
    <edit name="antialias" mode="assign"><bool>false</bool></edit>
    <edit name="dpi" mode="assign"><double>144</double></edit>
  </match>
</fontconfig>
)";
    std::ofstream(home / "fontconfig" / "fonts.conf") << conf;
    std::vector<uint8_t> plain = runProbe({});
    std::vector<uint8_t> configured =
        runProbe({"FONTCONFIG_FILE=" + (home / "fontconfig" / "fonts.conf").string(),
                  "XDG_CONFIG_HOME=" + home.string(), "PANGOCAIRO_BACKEND=fontconfig", "GDK_DPI_SCALE=2"});
    std::filesystem::remove_all(home);
    ASSERT_EQ(plain.size(), kProbeWidth * kProbeHeight * 4);
    EXPECT_EQ(configured, plain);
    EXPECT_EQ(drawProbeText(), plain);  // and this process draws the same
    long ink = 0;
    for (size_t i = 3; i < plain.size(); i += 4) ink += plain[i];
    EXPECT_GT(ink, 255 * 100);
}

}  // namespace
