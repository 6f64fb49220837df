#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>

#include "CGTestCanvas.h"

namespace {

TEST(CGBitmapContext, RedFillLeavesRGBABytesInTheCallersBufferAndSkipsRowPadding)
{
    CGTestCanvas canvas(3, 2, 8);
    ASSERT_NE(canvas.context, nullptr);
    CGContextSetRGBFillColor(canvas.context, 1, 0, 0, 1);
    CGContextFillRect(canvas.context, CGRectMake(0, 0, 3, 2));
    for (size_t row = 0; row < 2; ++row) {
        for (size_t x = 0; x < 3; ++x) EXPECT_EQ(canvas.at(x, row), (RGBA{255, 0, 0, 255}));
        for (size_t i = 12; i < canvas.bytesPerRow; ++i) EXPECT_EQ(canvas.bytes[row * canvas.bytesPerRow + i], 0);
    }
    // Premultiplied: half-transparent green stores half the green.
    CGContextSetBlendMode(canvas.context, kCGBlendModeCopy);
    CGContextSetRGBFillColor(canvas.context, 0, 1, 0, 0.5f);
    CGContextFillRect(canvas.context, CGRectMake(0, 0, 1, 1));
    RGBA p = canvas.at(0, 1);
    EXPECT_EQ(p[0], 0);
    EXPECT_NEAR(p[1], 128, 1);
    EXPECT_NEAR(p[3], 128, 1);
}

TEST(CGBitmapContext, DefaultSpaceIsYUpFromTheBottomLeft)
{
    CGTestCanvas canvas(3, 2);
    CGContextSetRGBFillColor(canvas.context, 0, 0, 1, 1);
    CGContextFillRect(canvas.context, CGRectMake(0, 0, 1, 1));
    for (size_t row = 0; row < 2; ++row)
        for (size_t x = 0; x < 3; ++x)
            EXPECT_EQ(canvas.alphaAt(x, row), row == 1 && x == 0 ? 255 : 0) << x << "," << row;
    // A quarter turn is counterclockwise on screen: (1, 0) goes to (0, 1), the row above.
    CGContextRotateCTM(canvas.context, float(M_PI_2));
    CGContextSetRGBFillColor(canvas.context, 0, 1, 0, 1);
    CGContextFillRect(canvas.context, CGRectMake(1, -1, 1, 1));
    EXPECT_EQ(canvas.at(0, 0), (RGBA{0, 255, 0, 255}));
}

TEST(CGBitmapContext, RefusesLayoutsOtherThanPremultipliedRGBALast)
{
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB(), gray = CGColorSpaceCreateDeviceGray();
    struct Case {
        size_t w, h, bpc, bpr;
        CGColorSpaceRef space;
        CGBitmapInfo info;
    } cases[] = {
        {0, 4, 8, 0, rgb, kCGImageAlphaPremultipliedLast},
        {4, 4, 16, 0, rgb, kCGImageAlphaPremultipliedLast},
        {4, 4, 8, 0, rgb, kCGImageAlphaPremultipliedFirst},
        {4, 4, 8, 0, rgb, kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Little},
        {4, 4, 8, 0, gray, kCGImageAlphaPremultipliedLast},
        {4, 4, 8, 12, rgb, kCGImageAlphaPremultipliedLast},
        {40000, 4, 8, 0, rgb, kCGImageAlphaPremultipliedLast},
    };
    for (const Case& c : cases) EXPECT_EQ(CGBitmapContextCreate(nullptr, c.w, c.h, c.bpc, c.bpr, c.space, c.info), nullptr);
    CGContextRef ok = CGBitmapContextCreate(nullptr, 4, 4, 8, 0, rgb, kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    EXPECT_NE(ok, nullptr);
    CGContextRelease(ok);
    CGColorSpaceRelease(rgb);
    CGColorSpaceRelease(gray);
}

TEST(CGBitmapContext, DrawImageIsUprightAndImagesAreCopies)
{
    // Top row red, green; bottom row blue, white.
    const uint8_t px[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    CGImageRef image = CGImageCreateWithRGBABytes(2, 2, 8, px);
    CGTestCanvas canvas(4, 4);
    CGContextDrawImage(canvas.context, CGRectMake(0, 0, 4, 4), image);
    EXPECT_EQ(canvas.at(0, 0), (RGBA{255, 0, 0, 255}));
    EXPECT_EQ(canvas.at(3, 0), (RGBA{0, 255, 0, 255}));
    EXPECT_EQ(canvas.at(0, 3), (RGBA{0, 0, 255, 255}));
    EXPECT_EQ(canvas.at(3, 3), (RGBA{255, 255, 255, 255}));

    CGImageRef snapshot = CGBitmapContextCreateImage(canvas.context);
    CGContextClearRect(canvas.context, CGRectMake(0, 0, 4, 4));
    EXPECT_EQ(canvas.alphaAt(0, 0), 0);
    const uint8_t* kept = CGImageGetBytes(snapshot);
    EXPECT_EQ((RGBA{kept[0], kept[1], kept[2], kept[3]}), (RGBA{255, 0, 0, 255}));
    CGImageRelease(snapshot);
    CGImageRelease(image);
}

// A plain image draw composites in the context's own channel order; inside a transparency layer the
// same draw goes through Cairo's order. Turned, smoothed and translucent over a coloured ground,
// both must give the same colours (red stays red, blue blue).
TEST(CGBitmapContext, PlainImageDrawsMatchTheSameDrawThroughALayer)
{
    std::vector<uint8_t> pixels(32 * 32 * 4);
    for (size_t i = 0; i < 32 * 32; ++i) {
        const uint8_t alpha = i % 3 ? 255 : 120;
        const uint8_t colour[4] = {uint8_t(std::min<size_t>(200, alpha)), uint8_t(i % 32 * 3), 40, alpha};
        std::copy(colour, colour + 4, &pixels[i * 4]);
    }
    CGImageRef image = CGImageCreateWithRGBABytes(32, 32, 128, pixels.data());
    CGTestCanvas plain(40, 40), layered(40, 40);
    for (CGTestCanvas* canvas : {&plain, &layered}) {
        CGContextSetRGBFillColor(canvas->context, 0.1f, 0.3f, 0.9f, 1);
        CGContextFillRect(canvas->context, CGRectMake(0, 0, 40, 40));
        if (canvas == &layered) CGContextBeginTransparencyLayer(canvas->context, nullptr);
        CGContextTranslateCTM(canvas->context, 20, 20);
        CGContextRotateCTM(canvas->context, 0.3f);
        CGContextDrawImage(canvas->context, CGRectMake(-18, -18, 36, 36), image);
        if (canvas == &layered) CGContextEndTransparencyLayer(canvas->context);
    }
    for (size_t y = 0; y < 40; ++y)
        for (size_t x = 0; x < 40; ++x)
            for (size_t channel = 0; channel < 4; ++channel)
                EXPECT_NEAR(plain.at(x, y)[channel], layered.at(x, y)[channel], 1) << x << "," << y << " channel " << channel;
    EXPECT_GT(plain.at(20, 20)[0], plain.at(20, 20)[2]);
    EXPECT_GT(plain.at(0, 0)[2], plain.at(0, 0)[0]);
    CGImageRelease(image);
}

TEST(CGBitmapContext, DownscaledImagesAreFilteredUnlessInterpolationIsNone)
{
    std::vector<uint8_t> checker(64 * 64 * 4);
    for (size_t y = 0; y < 64; ++y)
        for (size_t x = 0; x < 64; ++x) {
            uint8_t v = (x + y) % 2 ? 255 : 0;
            uint8_t* p = &checker[(y * 64 + x) * 4];
            p[0] = p[1] = p[2] = v;
            p[3] = 255;
        }
    CGImageRef image = CGImageCreateWithRGBABytes(64, 64, 256, checker.data());
    CGTestCanvas smooth(8, 8), nearest(8, 8);
    CGContextSetInterpolationQuality(smooth.context, kCGInterpolationHigh);
    CGContextDrawImage(smooth.context, CGRectMake(0, 0, 8, 8), image);
    CGContextSetInterpolationQuality(nearest.context, kCGInterpolationNone);
    CGContextDrawImage(nearest.context, CGRectMake(0, 0, 8, 8), image);
    for (size_t y = 0; y < 8; ++y)
        for (size_t x = 0; x < 8; ++x) {
            EXPECT_NEAR(smooth.at(x, y)[0], 128, 12) << x << "," << y;
            uint8_t v = nearest.at(x, y)[0];
            EXPECT_TRUE(v == 0 || v == 255) << int(v);
        }
    CGImageRelease(image);
}

TEST(CGContextStroke, ZeroLengthLineWithRoundCapDrawsADot)
{
    CGTestCanvas round(12, 12), butt(12, 12);
    for (CGTestCanvas* c : {&round, &butt}) {
        CGContextSetLineWidth(c->context, 6);
        CGContextSetLineCap(c->context, c == &round ? kCGLineCapRound : kCGLineCapButt);
        CGContextMoveToPoint(c->context, 6.5f, 6.5f);  // the centre of memory row 5, column 6
        CGContextAddLineToPoint(c->context, 6.5f, 6.5f);
        CGContextStrokePath(c->context);
    }
    EXPECT_EQ(round.alphaAt(6, 5), 255);
    EXPECT_EQ(round.alphaAt(8, 5), 255);  // radius 3 around the point
    EXPECT_EQ(round.alphaAt(10, 5), 0);
    EXPECT_EQ(round.alphaAt(0, 0), 0);
    EXPECT_EQ(butt.alphaAt(6, 5), 0);
}

TEST(CGContextClip, EvenOddFillAndClipLeaveTheInnerRectangleEmpty)
{
    CGTestCanvas fill(10, 10), clip(10, 10);
    CGContextAddRect(fill.context, CGRectMake(0, 0, 10, 10));
    CGContextAddRect(fill.context, CGRectMake(3, 3, 4, 4));
    CGContextEOFillPath(fill.context);
    CGContextAddRect(clip.context, CGRectMake(0, 0, 10, 10));
    CGContextAddRect(clip.context, CGRectMake(3, 3, 4, 4));
    CGContextEOClip(clip.context);
    CGContextFillRect(clip.context, CGRectMake(0, 0, 10, 10));
    for (CGTestCanvas* c : {&fill, &clip}) {
        EXPECT_EQ(c->alphaAt(5, 5), 0);
        EXPECT_EQ(c->alphaAt(1, 1), 255);
    }
}

TEST(CGContextTransparencyLayer, ClearInsideALayerRemovesOnlyTheLayersContent)
{
    CGTestCanvas canvas(10, 10);
    CGContextSetRGBFillColor(canvas.context, 0, 0, 1, 1);
    CGContextFillRect(canvas.context, CGRectMake(0, 0, 10, 10));
    CGContextSetAlpha(canvas.context, 0.5f);  // applies to the layer as a whole
    CGContextBeginTransparencyLayer(canvas.context, nullptr);
    CGContextSetRGBFillColor(canvas.context, 1, 0, 0, 1);
    CGContextFillRect(canvas.context, CGRectMake(0, 0, 10, 10));
    CGContextSetBlendMode(canvas.context, kCGBlendModeClear);
    CGContextFillRect(canvas.context, CGRectMake(0, 0, 5, 10));
    CGContextEndTransparencyLayer(canvas.context);
    EXPECT_EQ(canvas.at(2, 5), (RGBA{0, 0, 255, 255}));  // cleared part of the layer: blue below shows
    RGBA mixed = canvas.at(7, 5);
    EXPECT_NEAR(mixed[0], 128, 1);
    EXPECT_NEAR(mixed[2], 127, 1);
    EXPECT_EQ(mixed[3], 255);
    // The end restores the state of the begin: normal blending, the 0.5 alpha.
    CGContextSetRGBFillColor(canvas.context, 0, 0, 0, 1);
    CGContextFillRect(canvas.context, CGRectMake(0, 0, 1, 1));
    EXPECT_NEAR(canvas.at(0, 9)[2], 128, 1);
}

TEST(CGContextShadow, ShadowIsOffsetInTheDefaultSpaceAndBlurred)
{
    CGTestCanvas canvas(40, 40);
    CGContextTranslateCTM(canvas.context, 3, 0);  // the CTM moves the shape, not the offset
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
    const CGFloat black[] = {0, 0, 0, 1};
    CGColorRef shadow = CGColorCreate(rgb, black);
    CGContextSetShadowWithColor(canvas.context, CGSizeMake(6, -6), 4, shadow);
    CGContextSetRGBFillColor(canvas.context, 1, 0, 0, 1);
    CGContextFillRect(canvas.context, CGRectMake(7, 20, 10, 10));  // device x 10..20, rows 10..20
    EXPECT_EQ(canvas.at(15, 15), (RGBA{255, 0, 0, 255}));
    // Offset right and down on screen (negative height in y-up): dark below-right, nothing above-left.
    EXPECT_GT(canvas.alphaAt(22, 22), 200);
    EXPECT_EQ(canvas.at(22, 22)[0], 0);
    EXPECT_EQ(canvas.alphaAt(8, 8), 0);
    EXPECT_EQ(canvas.alphaAt(12, 8), 0);
    // Blurred: the alpha falls off gradually across the shadow's far edge at x = 26.
    uint8_t a[] = {canvas.alphaAt(23, 20), canvas.alphaAt(26, 20), canvas.alphaAt(29, 20), canvas.alphaAt(33, 20)};
    EXPECT_GT(a[0], a[1]);
    EXPECT_GT(a[1], a[2]);
    EXPECT_GT(a[2], 0);
    EXPECT_GT(a[1], 60);
    EXPECT_LT(a[1], 200);
    EXPECT_EQ(a[3], 0);
    // A null colour turns the shadow off.
    CGContextClearRect(canvas.context, CGRectMake(-3, 0, 40, 40));
    CGContextSetShadowWithColor(canvas.context, CGSizeMake(6, -6), 4, nullptr);
    CGContextFillRect(canvas.context, CGRectMake(7, 20, 10, 10));
    EXPECT_EQ(canvas.alphaAt(22, 22), 0);
    CGColorRelease(shadow);
    CGColorSpaceRelease(rgb);
}

// Shadows blurred once are handed out again for the same shape, radius and colour: each shadow
// drawn among others must be the one drawn alone (on a thread of its own, nothing blurred before).
TEST(CGContextShadow, ShadowDrawnAmongOthersIsTheShadowDrawnAlone)
{
    struct Case {
        const char* name;
        CGRect shape;
        CGFloat radius;
        CGFloat rgba[4];
    };
    const Case cases[] = {
        {"black", CGRectMake(10, 10, 12, 12), 4, {0, 0, 0, 1}},
        {"another colour", CGRectMake(10, 10, 12, 12), 4, {0, 0, 1, 1}},
        {"fainter", CGRectMake(10, 10, 12, 12), 4, {0, 0, 0, 0.5}},
        {"wider blur", CGRectMake(10, 10, 12, 12), 6, {0, 0, 0, 1}},
        {"shape a pixel taller", CGRectMake(10, 10, 12, 13), 4, {0, 0, 0, 1}},
        {"shape moved half a pixel", CGRectMake(10.5, 10, 12, 12), 4, {0, 0, 0, 1}},
    };
    auto draw = [](const Case& c) {
        CGTestCanvas canvas(40, 40);
        CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
        CGColorRef shadow = CGColorCreate(rgb, c.rgba);
        CGContextSetShadowWithColor(canvas.context, CGSizeMake(3, -3), c.radius, shadow);
        CGContextSetRGBFillColor(canvas.context, 1, 0, 0, 1);
        CGContextFillRect(canvas.context, c.shape);
        CGColorRelease(shadow);
        CGColorSpaceRelease(rgb);
        return canvas.bytes;
    };
    std::vector<std::vector<uint8_t>> alone;
    for (const Case& c : cases) std::thread([&] { alone.push_back(draw(c)); }).join();
    for (int round = 0; round < 2; ++round)
        for (size_t i = 0; i < std::size(cases); ++i) EXPECT_TRUE(draw(cases[i]) == alone[i]) << cases[i].name;
}

TEST(CGContextGradient, ExtendOptionsDecideWhatLiesBeyondTheEnds)
{
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
    const CGFloat components[] = {1, 0, 0, 1, 0, 0, 1, 1};
    CGGradientRef gradient = CGGradientCreateWithColorComponents(rgb, components, nullptr, 2);
    struct Case {
        uint32_t options;
        uint8_t leftAlpha, rightAlpha;
    } cases[] = {{0, 0, 0}, {kCGGradientDrawsBeforeStartLocation, 255, 0}, {kCGGradientDrawsAfterEndLocation, 0, 255}, {3, 255, 255}};
    for (const Case& c : cases) {
        CGTestCanvas canvas(16, 2);
        CGContextDrawLinearGradient(canvas.context, gradient, CGPointMake(4, 0), CGPointMake(12, 0), c.options);
        EXPECT_EQ(canvas.alphaAt(1, 0), c.leftAlpha) << c.options;
        EXPECT_EQ(canvas.alphaAt(14, 0), c.rightAlpha) << c.options;
        EXPECT_EQ(canvas.at(4, 0)[3], 255);
        EXPECT_GT(canvas.at(5, 0)[0], canvas.at(10, 0)[0]);  // red fades towards blue
        if (c.leftAlpha) {
            EXPECT_EQ(canvas.at(1, 0), (RGBA{255, 0, 0, 255}));
        }
    }
    CGGradientRelease(gradient);
    CGColorSpaceRelease(rgb);
}

TEST(CGContext, NullContextIsIgnored)
{
    CGContextSaveGState(nullptr);
    CGContextFillRect(nullptr, CGRectMake(0, 0, 1, 1));
    CGContextDrawImage(nullptr, CGRectMake(0, 0, 1, 1), nullptr);
    CGContextEndTransparencyLayer(nullptr);
    EXPECT_EQ(CGBitmapContextGetData(nullptr), nullptr);
    EXPECT_EQ(CGBitmapContextCreateImage(nullptr), nullptr);
    EXPECT_TRUE(CGRectIsNull(CGContextGetClipBoundingBox(nullptr)));
}

}  // namespace
