// The drawing scope, the y-up and flipped spaces, the two mask fills, the noise texture and the
// image drawing operations.

#include <gtest/gtest.h>

#include "Render/NSGraphicsContext.h"
#include "Render/QZDrawing.h"
#include "Render/QZMaskCompositing.h"
#include "support/QZProbeMasks.h"
#include "support/QZTestImages.h"

namespace customizer::testing {
namespace {

NSColorPtr color(CGColor c) { return NSColor::colorWithCalibratedRed(c.red, c.green, c.blue, c.alpha); }

// An image drawn by `draw` with the current context and the whole rectangle.
NSImagePtr drawn(int width, int height, bool flipped, const std::function<void(CGContextRef, CGRect)>& draw)
{
    return NSImage::imageWithSize(CGSizeMake(width, height), flipped, [&](CGRect rect) {
        draw(NSGraphicsContext::currentGraphicsPort(), rect);
        return true;
    });
}

TEST(QZMaskCompositing, GradientFillPutsTheFirstColourAtTheTopOfAnUnflippedImageAndTheBottomOfAFlippedOne)
{
    for (bool flipped : {false, true}) {
        NSImagePtr image = drawn(10, 10, flipped, [](CGContextRef context, CGRect rect) {
            fillWithMaskAndGradientColorsInRect(context, nullptr, color(kRed), color(kBlue), rect);
        });
        ASSERT_NE(image, nullptr);
        CGColor top = flipped ? kBlue : kRed, bottom = flipped ? kRed : kBlue;
        // Row centres sit half a row inside the gradient's ends.
        EXPECT_TRUE(colorNear(pixelAt(image, 5, 0), top, 0.06)) << "flipped " << flipped;
        EXPECT_TRUE(colorNear(pixelAt(image, 5, 9), bottom, 0.06)) << "flipped " << flipped;
    }
}

TEST(QZDrawLinearGradient, LinearGradientsPaintTheClipAndExtendOnlyWhereTheOptionsSay)
{
    // Red at x 2 to blue at x 8 across a 10-wide image; columns 0 and 9 lie beyond the ends.
    struct Case {
        unsigned options;
        CGColor before, after;
    } cases[] = {
        {0, kClear, kClear},
        {kCGGradientDrawsBeforeStartLocation, kRed, kClear},
        {kCGGradientDrawsAfterEndLocation, kClear, kBlue},
        {kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation, kRed, kBlue},
    };
    CGGradient gradient = CGGradientCreateWithColors({kRed, kBlue}, {0.0, 1.0});
    for (const Case& c : cases) {
        NSImagePtr image = drawn(10, 4, false, [&](CGContextRef, CGRect) {
            QZDrawLinearGradientInRectWithOptions(gradient, CGRectMake(2, 1, 6, 2), QZLinearGradientDirectionHorizontal, c.options);
        });
        EXPECT_TRUE(colorNear(pixelAt(image, 0, 0), c.before)) << c.options;
        EXPECT_TRUE(colorNear(pixelAt(image, 9, 3), c.after)) << c.options;
        EXPECT_TRUE(colorNear(pixelAt(image, 5, 0), {0.5, 0, 0.5, 1}, 0.1)) << c.options;  // the whole clip, not the rectangle
    }
    // Nothing without a current context.
    QZDrawLinearGradientInRect(gradient, CGRectMake(0, 0, 4, 4), QZLinearGradientDirectionVertical);
}

TEST(QZMaskCompositing, MasksAreDrawnUprightAndOnlyInsideTheirRectangle)
{
    // Opaque in its top half as viewed.
    NSImagePtr topHalf = makeImage(4, 4, [](int, int y) { return CGColor{0.5, 0.5, 0.5, y < 2 ? 1.0 : 0.0}; });
    NSImagePtr image = drawn(10, 10, false, [&](CGContextRef context, CGRect rect) {
        fillWithMaskAndColorInRect(context, topHalf, color(kRed), rect);
    });
    EXPECT_TRUE(colorNear(pixelAt(image, 5, 1), kRed));
    EXPECT_TRUE(colorNear(pixelAt(image, 5, 8), kClear));

    // Edges of the mask do not run on beyond the rectangle.
    NSImagePtr opaque = makeImage(4, 4, [](int, int) { return kWhite; });
    image = drawn(10, 10, false, [&](CGContextRef context, CGRect) {
        fillWithMaskAndColorInRect(context, opaque, color(kRed), CGRectMake(2, 2, 4, 4));
        fillWithMaskAndGradientColorsInRect(context, opaque, color(kBlue), color(kBlue), CGRectMake(2, 2, 4, 4));
    });
    EXPECT_TRUE(colorNear(pixelAt(image, 4, 5), kBlue));
    for (auto [x, y] : {std::pair{1, 5}, {6, 5}, {4, 3}, {4, 8}}) EXPECT_TRUE(colorNear(pixelAt(image, x, y), kClear)) << x << "," << y;
}

TEST(QZMaskCompositing, MaskAlphaIsCoverage)
{
    NSImagePtr background = makeImage(10, 10, [](int, int) { return kBlue; });
    NSImagePtr halfAlpha = makeImage(10, 10, [](int, int) { return CGColor{0.5, 0.5, 0.5, 0.5}; });
    NSImagePtr leftHalf = makeImage(10, 10, [](int x, int) { return CGColor{0.5, 0.5, 0.5, x < 5 ? 1.0 : 0.0}; });
    NSImagePtr leftColumn = makeImage(2, 2, [](int x, int) { return CGColor{0.5, 0.5, 0.5, x == 0 ? 1.0 : 0.0}; });
    struct Case {
        const char* name;
        NSImagePtr mask;
        bool onBlue;
        CGFloat contextAlpha;
        std::pair<int, int> at;
        CGColor expected;
    } cases[] = {
        {"half-alpha mask on nothing", halfAlpha, false, 1, {5, 5}, {1, 0, 0, 0.5}},
        {"half-alpha mask on blue", halfAlpha, true, 1, {5, 5}, {0.5, 0, 0.5, 1}},
        {"context alpha times mask alpha", halfAlpha, false, 0.5, {5, 5}, {1, 0, 0, 0.25}},
        {"opaque part of a mask", leftHalf, true, 1, {2, 5}, kRed},
        {"transparent part leaves blue untouched", leftHalf, true, 1, {7, 5}, kBlue},
        {"nil mask fills the rectangle", nullptr, false, 1, {9, 0}, kRed},
        {"a small mask is scaled in: left", leftColumn, false, 1, {2, 5}, kRed},
        {"a small mask is scaled in: right", leftColumn, false, 1, {7, 5}, kClear},
    };
    for (const Case& c : cases) {
        NSImagePtr image = drawn(10, 10, false, [&](CGContextRef context, CGRect rect) {
            if (c.onBlue) background->drawInRect(rect, CGRect{}, NSCompositeSourceOver, 1);
            context->setAlpha(c.contextAlpha);
            fillWithMaskAndColorInRect(context, c.mask, color(kRed), rect);
        });
        EXPECT_TRUE(colorNear(pixelAt(image, c.at.first, c.at.second), c.expected, 3.0 / 255)) << c.name;
    }
}

TEST(QZMaskCompositing, OverlayLayersBlendWithWhatIsBelowAndShowTheirOwnColourOverNothing)
{
    const CGColor dark{0.25, 0.25, 0.25, 1}, light{0.75, 0.75, 0.75, 1}, source{0.8, 0.2, 0.6, 1};
    auto overlay = [](double s, double d) { return d <= 0.5 ? 2 * s * d : 1 - 2 * (1 - s) * (1 - d); };
    for (CGColor below : {dark, light}) {
        NSImagePtr image = drawn(4, 4, false, [&](CGContextRef context, CGRect rect) {
            fillWithMaskAndColorInRect(context, nullptr, color(below), rect);
            CGContextDoWithTempState(context, [&] {
                context->setBlendMode(kCGBlendModeOverlay);
                fillWithMaskAndColorInRect(context, nullptr, color(source), rect);
            });
        });
        CGColor expected{overlay(source.red, below.red), overlay(source.green, below.green), overlay(source.blue, below.blue), 1};
        EXPECT_TRUE(colorNear(pixelAt(image, 2, 2), expected)) << describe(below);
    }
    NSImagePtr alone = drawn(4, 4, false, [&](CGContextRef context, CGRect rect) {
        context->setBlendMode(kCGBlendModeOverlay);
        fillWithMaskAndColorInRect(context, nullptr, color(source), rect);
    });
    EXPECT_TRUE(colorNear(pixelAt(alone, 2, 2), source));
}

TEST(QZMaskCompositing, NilColoursSkipTheirLayer)
{
    NSImagePtr image = drawn(4, 4, false, [](CGContextRef context, CGRect rect) {
        fillWithMaskAndColorInRect(context, nullptr, nullptr, rect);
        fillWithMaskAndGradientColorsInRect(context, nullptr, color(kRed), nullptr, rect);
    });
    EXPECT_TRUE(colorNear(pixelAt(image, 2, 2), kClear));
}

TEST(QZMaskCompositing, StateChangesStayInsideTheirScope)
{
    NSImagePtr image = drawn(4, 4, false, [](CGContextRef context, CGRect rect) {
        CGContextDoWithTempState(context, [&] {
            context->setBlendMode(kCGBlendModeOverlay);
            context->setAlpha(0.1);
            context->clipToRect(CGRectMake(0, 0, 1, 1));
        });
        EXPECT_EQ(context->blendMode(), kCGBlendModeNormal);
        EXPECT_EQ(context->alpha(), 1);
        fillWithMaskAndColorInRect(context, nullptr, color(kRed), rect);
    });
    EXPECT_TRUE(colorNear(pixelAt(image, 3, 0), kRed));
}

TEST(QZMaskCompositing, NoiseCoversOnlyTheSquareAtTheOrigin)
{
    auto masks = std::make_shared<QZProbeMasks>();
    masks->setImage("uniform_noise_strong250x250.png", makeImage(250, 250, [](int, int) { return kWhite; }));
    ScopedImageProvider provider(masks);
    const CGColor grey{0.5, 0.5, 0.5, 1};
    for (bool flipped : {false, true}) {
        auto canvas = [&](bool noise) {
            return drawn(400, 400, flipped, [&](CGContextRef context, CGRect rect) {
                fillWithMaskAndColorInRect(context, nullptr, color(grey), rect);
                if (noise) CGContextAddNoise(context);
            });
        };
        NSImagePtr plain = canvas(false), noisy = canvas(true);
        int firstNoisyRow = flipped ? 0 : 150;
        int changedInside = 0, changedOutside = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x) {
                bool inside = x < 250 && y >= firstNoisyRow && y < firstNoisyRow + 250;
                bool changed = !colorNear(pixelAt(noisy, x, y), pixelAt(plain, x, y), 0.5 / 255);
                (inside ? changedInside : changedOutside) += changed;
            }
        EXPECT_EQ(changedInside, 250 * 250) << "flipped " << flipped;
        EXPECT_EQ(changedOutside, 0) << "flipped " << flipped;
        // Overlay of white at alpha 0.05 over mid grey.
        EXPECT_TRUE(colorNear(pixelAt(noisy, 10, firstNoisyRow + 10), {0.525, 0.525, 0.525, 1}));
    }
}

TEST(QZMaskCompositing, NoiseIsLeftOutWhenItsImageIsMissing)
{
    auto masks = std::make_shared<QZProbeMasks>();
    masks->setMissing("uniform_noise_strong250x250.png");
    ScopedImageProvider provider(masks);
    NSImagePtr image = drawn(10, 10, false, [](CGContextRef context, CGRect) { CGContextAddNoise(context); });
    EXPECT_TRUE(colorNear(pixelAt(image, 5, 5), kClear));
}

TEST(NSImage, DrawingHandlerRunsAtOnceWithItsImageCurrent)
{
    EXPECT_EQ(NSImage::imageWithSize(CGSizeMake(4, 4), false, nullptr), nullptr);
    EXPECT_EQ(NSGraphicsContext::currentGraphicsPort(), nullptr);
    CGRect seen{};
    CGContextRef outer = nullptr;
    NSImagePtr image = NSImage::imageWithSize(CGSizeMake(6.5, 3), false, [&](CGRect rect) {
        seen = rect;
        outer = NSGraphicsContext::currentGraphicsPort();
        NSImagePtr inner = NSImage::imageWithSize(CGSizeMake(2, 2), false, [&](CGRect) {
            EXPECT_NE(NSGraphicsContext::currentGraphicsPort(), outer);
            return false;
        });
        EXPECT_EQ(NSGraphicsContext::currentGraphicsPort(), outer);
        EXPECT_NE(inner, nullptr);
        return false;
    });
    EXPECT_NE(outer, nullptr);
    EXPECT_EQ(NSGraphicsContext::currentGraphicsPort(), nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(), CGSizeMake(7, 3));
    EXPECT_EQ(seen, CGRectMake(0, 0, 7, 3));

    NSImagePtr empty = NSImage::imageWithSize(CGSizeMake(0, 0), false, [](CGRect) { return true; });
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->isValid());
}

TEST(NSImage, DrawsWithTheCompositingOperations)
{
    NSImagePtr green = makeImage(4, 4, [](int, int) { return kGreen; });
    NSImagePtr halfRed = makeImage(4, 4, [](int, int) { return CGColor{1, 0, 0, 0.5}; });
    struct Case {
        const char* name;
        NSCompositingOperation operation;
        CGFloat fraction;
        CGColor expected;
    } cases[] = {
        {"source over", NSCompositeSourceOver, 1, {0.5, 0.5, 0, 1}},
        {"source over at half", NSCompositeSourceOver, 0.5, {0.25, 0.75, 0, 1}},
        {"copy", NSCompositeCopy, 1, {1, 0, 0, 0.5}},
        {"destination over", NSCompositeDestinationOver, 1, kGreen},
    };
    for (const Case& c : cases) {
        NSImagePtr image = drawn(4, 4, false, [&](CGContextRef, CGRect rect) {
            green->drawInRect(rect, CGRect{}, NSCompositeSourceOver, 1);
            halfRed->drawInRect(rect, CGRect{}, c.operation, c.fraction);
        });
        EXPECT_TRUE(colorNear(pixelAt(image, 2, 2), c.expected, 3.0 / 255)) << c.name;
    }
    // Behind nothing, destination-over shows the image.
    NSImagePtr behind = drawn(4, 4, false, [&](CGContextRef, CGRect rect) {
        halfRed->drawInRect(rect, CGRect{}, NSCompositeDestinationOver, 1);
    });
    EXPECT_TRUE(colorNear(pixelAt(behind, 2, 2), {1, 0, 0, 0.5}, 3.0 / 255));
}

}  // namespace
}  // namespace customizer::testing
