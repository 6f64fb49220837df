// The resized copies the panels' previews are drawn with.

#include <gtest/gtest.h>

#include "Render/NSImage.h"
#include "Render/NSLog.h"
#include "support/QZTestImages.h"

namespace customizer::testing {
namespace {

// A w x h source whose left cap is red, right cap blue and centre strip green, with a white
// band at the start of the strip (so a mirrored strip shows), opaque.
NSImagePtr capped(int width, int height, int cap)
{
    return makeImage(width, height, [=](int x, int) {
        if (x < cap) return kRed;
        if (x >= width - cap) return kBlue;
        return x < cap + 3 ? kWhite : kGreen;
    });
}

TEST(NSImageProportionalScaling, ResizingKeepsTheCapsAndTilesTheCentreStrip)
{
    NSLogCapture log;
    NSImagePtr resized = capped(60, 60, 12)->imageByResizingToSize(CGSizeMake(112, 60), 12, 0);
    ASSERT_NE(resized, nullptr);
    EXPECT_EQ(resized->size(), CGSizeMake(112, 60));
    // Left cap 0..12, tile 0 at 12..72 and tile 1 at 72..100 (both from the strip 12..48), right
    // cap 100..112.
    struct Probe {
        int x;
        CGColor expected;
    } probes[] = {{0, kRed}, {11, kRed}, {12, kWhite}, {40, kGreen}, {72, kWhite}, {90, kGreen}, {100, kBlue}, {111, kBlue}};
    for (const Probe& p : probes) EXPECT_TRUE(colorNear(pixelAt(resized, p.x, 30), p.expected, 0.02)) << "x " << p.x;
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"60.000000", "28.000000"}));
}

TEST(NSImageProportionalScaling, ResizingDrawsNoTileWithoutWidthNorAnEmptyStrip)
{
    struct Case {
        int width, cap, target;
        std::vector<std::string> logged;
        std::vector<std::pair<int, CGColor>> probes;
    } cases[] = {
        // The second tile would start at 100 with width -30: drawn, it would mirror the strip
        // over the right cap.
        {70, 30, 100, {"40.000000"}, {{30, kWhite}, {69, kGreen}, {70, kBlue}, {99, kBlue}}},
        // An empty centre strip: caps only.
        {60, 30, 100, {}, {{29, kRed}, {30, kClear}, {69, kClear}, {70, kBlue}}},
    };
    for (const Case& c : cases) {
        NSLogCapture log;
        NSImagePtr resized = capped(c.width, 20, c.cap)->imageByResizingToSize(CGSizeMake(c.target, 20), c.cap, 0);
        ASSERT_NE(resized, nullptr) << c.width;
        EXPECT_EQ(log.lines(), c.logged) << c.width;
        for (auto [x, expected] : c.probes) EXPECT_TRUE(colorNear(pixelAt(resized, x, 10), expected, 0.02)) << c.width << " x " << x;
    }
}

TEST(NSImageProportionalScaling, ResizingRefusesBrokenLimitsWithOneLogLine)
{
    struct Case {
        CGSize target;
        CGFloat cap, top;
        const char* message;
    } cases[] = {
        {{112, 60}, 12, 4, "topInset == 0"},
        {{112, 60}, 31, 0, "sideInset * 2 <= width"},
        {{50, 60}, 12, 0, "width <= targetWidth"},
    };
    for (const Case& c : cases) {
        NSLogCapture log;
        EXPECT_EQ(capped(60, 60, 12)->imageByResizingToSize(c.target, c.cap, c.top), nullptr) << c.message;
        ASSERT_EQ(log.lines().size(), 1u) << c.message;
        EXPECT_TRUE(log.contains(c.message)) << log.lines()[0];
    }
    NSImagePtr empty = NSImage::imageWithSize(CGSizeMake(0, 0), false, [](CGRect) { return true; });
    EXPECT_EQ(empty->imageByResizingToSize(CGSizeMake(10, 10), 0, 0), nullptr);
    EXPECT_EQ(empty->imageByStretchingToSize(CGSizeMake(10, 10)), nullptr);
    EXPECT_EQ(empty->imageByScalingProportionallyToSize(CGSizeMake(10, 10)), nullptr);
}

TEST(NSImageProportionalScaling, StretchingFillsTheTargetAndScalingCentresWithEqualMargins)
{
    NSImagePtr leftRed = makeImage(20, 10, [](int x, int) { return x < 10 ? kRed : kBlue; });
    NSImagePtr stretched = leftRed->imageByStretchingToSize(CGSizeMake(40, 40));
    EXPECT_EQ(stretched->size(), CGSizeMake(40, 40));
    EXPECT_TRUE(colorNear(pixelAt(stretched, 5, 2), kRed));
    EXPECT_TRUE(colorNear(pixelAt(stretched, 35, 37), kBlue));

    // 20 x 10 into 40 x 40: factor 2, a 40 x 20 picture with 10 rows free above and below.
    NSImagePtr scaled = leftRed->imageByScalingProportionallyToSize(CGSizeMake(40, 40));
    EXPECT_EQ(scaled->size(), CGSizeMake(40, 40));
    for (auto [x, y, expected] : {std::tuple{20, 9, kClear}, {5, 10, kRed}, {35, 29, kBlue}, {20, 30, kClear}})
        EXPECT_TRUE(colorNear(pixelAt(scaled, x, y), expected, 0.02)) << x << "," << y;
    // Into 10 x 40: factor 0.5, a 10 x 5 picture between margins of 17.5 rows.
    NSImagePtr narrow = leftRed->imageByScalingProportionallyToSize(CGSizeMake(10, 40));
    EXPECT_TRUE(colorNear(pixelAt(narrow, 2, 16), kClear));
    EXPECT_TRUE(colorNear(pixelAt(narrow, 2, 20), kRed, 0.02));
    EXPECT_TRUE(colorNear(pixelAt(narrow, 2, 23), kClear));

    NSImagePtr same = leftRed->imageByScalingProportionallyToSize(CGSizeMake(20, 10));
    for (int x : {0, 9, 10, 19}) EXPECT_TRUE(colorNear(pixelAt(same, x, 5), pixelAt(leftRed, x, 5), 0)) << x;
}

}  // namespace
}  // namespace customizer::testing
