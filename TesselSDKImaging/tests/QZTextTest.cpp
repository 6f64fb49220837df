// The text core on the CPU: line placement and the GPU path's rectangles as numbers, then the text
// and meme processors drawing into bitmap contexts.

#include "TesselSDKImaging/Processors/QZMemeProcessor.h"
#include "TesselSDKImaging/Text/QZMemeFont.h"
#include "TesselSDKImaging/Processors/QZTextProcessor.h"
#include "TesselSDKImaging/Text/QZText.h"
#include "TesselSDKImaging/tests/QZTextTestSupport.h"

#include "Foundation/NSLogCapture.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/testing/UIGoldenImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

using qz_test::Ink;
using qz_test::inkOf;

TEST(QZTextLayout, LinePositionsFollowAlignmentScaleDirectionAndTheFinalLineFeed)
{
    // Two lines in a 200-wide box at (10, 20): baselines at 60 and 30, ascent 8.4, descent 2.3.
    const std::vector<QZTextLineMetrics> lines = {{CGPointMake(0, 60), 8.4f, 2.3f, 40},
                                                  {CGPointMake(0, 30), 8.4f, 2.3f, 70}};
    const CGRect box = CGRectMake(10, 20, 200, 80);
    constexpr auto ltr = NSLocaleLanguageDirectionLeftToRight, rtl = NSLocaleLanguageDirectionRightToLeft;
    struct Case {
        const char* name;
        QZTextVerticalAlignment alignment;
        NSLocaleLanguageDirection direction;
        CGFloat scale;
        bool lineFeed;
        CGFloat x0, x1, yOffset;
    } cases[] = {
        {"top keeps the frame's origins", QZTextTopAlign, ltr, 2, true, 50, 80, 0},
        {"bottom drops by the last baseline less its descent", QZTextBottomAlign, ltr, 2, false, 50, 80, 27.7f},
        {"a final line feed lifts by floor(ascent + descent)", QZTextBottomAlign, ltr, 2, true, 50, 80, 27.7f - 10},
        {"centre at scale 1.2 moves half", QZTextCenterAlign, ltr, 1.2f, false, 50, 80, 27.7f / 2},
        {"centre at scale 0.8 does not move", QZTextCenterAlign, ltr, 0.8f, false, 50, 80, 0},
        {"right to left subtracts the pen offset", QZTextTopAlign, rtl, 1, false, -30, -60, 0},
    };
    for (const Case& c : cases) {
        std::vector<CGPoint> p = QZTextLinePositions(lines, box, c.alignment, c.direction, c.scale, c.lineFeed);
        ASSERT_EQ(p.size(), 2u) << c.name;
        EXPECT_FLOAT_EQ(p[0].x, c.x0) << c.name;
        EXPECT_FLOAT_EQ(p[1].x, c.x1) << c.name;
        EXPECT_NEAR(p[0].y, 80 - c.yOffset, 1e-4) << c.name;
        EXPECT_NEAR(p[1].y, 50 - c.yOffset, 1e-4) << c.name;
    }
    EXPECT_TRUE(QZTextLinePositions({}, box, QZTextBottomAlign, ltr, 1, true).empty());
}

TEST(QZTextLayout, GPURectanglesPadShrinkAndTurnAboutTheBoxCentre)
{
    EXPECT_TRUE(CGRectEqualToRect(QZTextPaddedRect(CGRectMake(100, 50, 300, 40)), CGRectMake(98, 48, 304, 44)));
    EXPECT_TRUE(CGRectEqualToRect(QZTextPaddedRect(CGRectMake(0, 0, 600, 400)), CGRectMake(-5, -5, 610, 410)));

    CGFloat factor = 0;
    CGRect fits = QZScaledAndCenteredRectForMaxSize(CGRectMake(10, 20, 300, 100), CGSizeMake(4096, 4096), &factor);
    EXPECT_EQ(factor, 1);
    EXPECT_TRUE(CGRectEqualToRect(fits, CGRectMake(10, 20, 300, 100)));
    CGRect shrunk = QZScaledAndCenteredRectForMaxSize(CGRectMake(0, 0, 800, 200), CGSizeMake(400, 400), &factor);
    EXPECT_FLOAT_EQ(factor, 0.5f);
    EXPECT_FLOAT_EQ(shrunk.size.width, 400);
    EXPECT_FLOAT_EQ(shrunk.size.height, 100);
    EXPECT_FLOAT_EQ(CGRectGetMidX(shrunk), 400);
    EXPECT_FLOAT_EQ(CGRectGetMidY(shrunk), 100);

    // A 100 x 40 box centred at (100, 50) on a 200 x 100 image, a quarter turn: (minX, minY), the
    // top-left corner, goes to the top-right (y down, positive turns clockwise).
    QopBitmapResizeRect_t quad = QZTextQuadrilateral(CGRectMake(50, 30, 100, 40), float(M_PI / 2), 200, 100);
    auto expectAt = [](QopBitmapCoord_t c, float px, float py, const char* corner) {
        EXPECT_NEAR(c.x, 2 * px / 200 - 1, 1e-5) << corner;
        EXPECT_NEAR(c.y, 2 * py / 100 - 1, 1e-5) << corner;
    };
    expectAt(quad.lowerLeft, 120, 0, "lowerLeft");
    expectAt(quad.lowerRight, 120, 100, "lowerRight");
    expectAt(quad.upperRight, 80, 100, "upperRight");
    expectAt(quad.upperLeft, 80, 0, "upperLeft");
}

TEST(QZTextLayout, TheEnlargementIsTheLargerSideTimesTheScaleOrNothing)
{
    const CGFloat nan = std::nanf(""), inf = INFINITY;
    struct Case {
        CGRect rect;
        CGFloat scale, factor, expected;
    } cases[] = {
        {CGRectMake(0.1f, 0.1f, 0.5f, 0.2f), 0.002f, 1, 2}, {CGRectMake(0.1f, 0.1f, 0.5f, 0.2f), 0.002f, 0.5f, 1},
        {CGRectMake(0.1f, 0.1f, 0, 0.2f), 0.002f, 1, 0},    {CGRectMake(0.1f, 0.1f, 0.5f, -0.2f), 0.002f, 1, 0},
        {CGRectMake(0.1f, 0.1f, nan, 0.2f), 0.002f, 1, 0},  {CGRectMake(0.1f, 0.1f, inf, 0.2f), 0.002f, 1, 0},
        {CGRectMake(0.1f, 0.1f, 0.5f, 0.2f), 0, 1, 0},      {CGRectMake(0.1f, 0.1f, 0.5f, 0.2f), -1, 1, 0},
        {CGRectMake(0.1f, 0.1f, 0.5f, 0.2f), nan, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(QZTextImageResolutionScale(c.rect, 1000, 750, c.scale, c.factor), c.expected)
            << c.rect.size.width << " x " << c.rect.size.height << " scale " << c.scale;
}

std::shared_ptr<QZTextProcessor> textProcessor(std::string text, CGRect rect, CGFloat scale, CGFloat rotation,
                                               std::shared_ptr<UIColor> colour)
{
    auto processor = QZTextProcessor::make();
    processor->setText(std::move(text));
    processor->setForegroundColor(colour);
    processor->setBackgroundColor(colour);
    processor->setRect(rect);
    processor->setScale(scale);
    processor->setRotation(rotation);
    processor->setFontName("ArialMT");
    return processor;
}

std::shared_ptr<QZMemeProcessor> memeProcessor(std::string top, std::string bottom, CGFloat topSize, CGFloat bottomSize,
                                               CGFloat longerSide)
{
    auto processor = QZMemeProcessor::make();
    processor->setTopText(std::move(top));
    processor->setBottomText(std::move(bottom));
    processor->setTopFontSize(topSize);
    processor->setBottomFontSize(bottomSize);
    processor->setScale(1 / longerSide);
    processor->setTopRect(CGRectMake(0, 0, 1, 1.0f / 3));
    processor->setBottomRect(CGRectMake(0, 2.0f / 3, 1, 1.0f / 3));
    return processor;
}

TEST(QZTextProcessor, BoxesWithoutAreaAndScalesOfNothingDrawNothing)
{
    const qop_test::TestBitmap photo = qz_test::makeBackground(160, 120);
    const CGFloat nan = std::nanf("");
    struct Case {
        CGRect rect;
        CGFloat scale;
    } cases[] = {{CGRectMake(0.1f, 0.1f, 0, 0.5f), 1.0f / 160},
                 {CGRectMake(0.1f, 0.1f, 0.5f, 0), 1.0f / 160},
                 {CGRectMake(0.1f, 0.1f, nan, 0.5f), 1.0f / 160},
                 {CGRectMake(0.1f, 0.1f, 0.8f, 0.5f), 0},
                 {CGRectMake(0.1f, 0.1f, 0.8f, 0.5f), nan}};
    for (const Case& c : cases) {
        qop_test::TestBitmap drawn = photo;
        qz_test::drawOnCPU(textProcessor("Hello", c.rect, c.scale, 0.3f, UIColor::blackColor())->bitmapBlock(), drawn);
        EXPECT_TRUE(drawn == photo) << c.rect.size.width << " x " << c.rect.size.height << " scale " << c.scale;
    }
    qop_test::TestBitmap drawn = photo;
    auto meme = memeProcessor("TOP", "BOTTOM", 30, 30, 160);
    meme->setScale(0);
    qz_test::drawOnCPU(meme->bitmapBlock(), drawn);
    EXPECT_TRUE(drawn == photo);
}

TEST(QZTextProcessor, ABlockOwnsItsFontAndDrawsAlikeEachRun)
{
    const qop_test::TestBitmap photo = qz_test::makeBackground(200, 100);
    QZBitmapBlock block;
    {
        auto processor =
            textProcessor("Twice", CGRectMake(0.1f, 0.2f, 0.8f, 0.6f), 1.5f / 200, 0, UIColor::whiteColor());
        block = processor->bitmapBlock();
    }  // the processor is gone; the block keeps what it needs
    qop_test::TestBitmap first = photo, second = photo;
    qz_test::drawOnCPU(block, first);
    qz_test::drawOnCPU(block, second);
    EXPECT_GT(inkOf(first, photo).area, 200);
    EXPECT_TRUE(first == second);
}

// An enlargement past the largest font size draws at that size, in a moment, whatever was asked:
// an em of a hundred million pixels once kept Cairo busy for minutes.
TEST(QZTextProcessor, EnlargementsPastTheLargestFontSizeDrawAtIt)
{
    const qop_test::TestBitmap photo = qz_test::makeBackground(120, 90);
    const CGRect box = CGRectMake(0, 0, 1, 1);
    qop_test::TestBitmap atLimit = photo, far = photo, farther = photo;
    // The processor's font is 30 points: 16384 / 30 is the largest enlargement drawn.
    qz_test::drawOnCPU(textProcessor("A", box, 16384.0f / 30 / 120, 0, UIColor::blackColor())->bitmapBlock(), atLimit);
    qz_test::drawOnCPU(textProcessor("A", box, 1e6f / 120, 0, UIColor::blackColor())->bitmapBlock(), far);
    qz_test::drawOnCPU(textProcessor("A", box, 1e8f / 120, 0, UIColor::blackColor())->bitmapBlock(), farther);
    EXPECT_TRUE(far == atLimit);
    EXPECT_TRUE(farther == atLimit);
}

// The text box of the tool is the text's size times the enlargement. Below 1 (a canvas zoomed past
// the photo's own size, a full-size texture shrunk to the GL limit) the text is laid out at its own
// size and shrunk into the box: half the enlargement, half the width, one line. Laid out in the
// box itself it wrapped into lines the box had no room for, and nothing was drawn.
TEST(QZTextProcessor, EnlargementsBelowOneShrinkTheTextIntoItsBoxRatherThanWrappingIt)
{
    const qop_test::TestBitmap photo = qz_test::makeBackground(400, 200);
    CTFontRef arial = CTFontCreateWithName("ArialMT", 30);
    CFMutableAttributedStringRef string = QZTextAttributedString("Hello world", arial, nullptr, nullptr);
    CFRelease(arial);
    CTLineRef line = CTLineCreateWithAttributedString(string);
    CFRelease(string);
    CGFloat ascent = 0, descent = 0;
    const double width = CTLineGetTypographicBounds(line, &ascent, &descent, nullptr) + 20;
    CFRelease(line);
    Ink inks[2];
    const CGFloat enlargements[2] = {1, 0.5f};
    for (int i = 0; i < 2; ++i) {
        const CGFloat k = enlargements[i];
        const CGFloat w = CGFloat(width) * k / 400, h = (ascent + descent) * k / 200;
        qop_test::TestBitmap drawn = photo;
        qz_test::drawOnCPU(textProcessor("Hello world", CGRectMake(0.5f - w / 2, 0.5f - h / 2, w, h), k / 400, 0,
                                         UIColor::blackColor())
                               ->bitmapBlock(),
                           drawn);
        inks[i] = inkOf(drawn, photo);
        ASSERT_FALSE(inks[i].empty()) << "enlargement " << k;
    }
    EXPECT_NEAR(inks[1].right - inks[1].left, (inks[0].right - inks[0].left) / 2.0, 3);
    EXPECT_NEAR(inks[1].bottom - inks[1].top, (inks[0].bottom - inks[0].top) / 2.0, 3);
    EXPECT_NEAR(inks[1].cx, inks[0].cx, 2);
}

// Text is centred in its box whatever direction its paragraph takes: a leading RLM, RLE or RLO
// before Latin letters (a right-to-left paragraph of left-to-right letters) draws where the
// letters alone draw, and Hebrew or Arabic between RLO and PDF, however long, stays on the photo
// about the box's centre. Before, such lines were set off by the room left in the box.
TEST(QZTextProcessor, TextIsCentredInItsBoxWhateverItsParagraphsDirection)
{
    const qop_test::TestBitmap photo = qz_test::makeBackground(600, 150);
    const CGRect box = CGRectMake(0.05f, 0.2f, 0.9f, 0.6f);
    auto draw = [&](const std::string& text) {
        qop_test::TestBitmap drawn = photo;
        qz_test::drawOnCPU(textProcessor(text, box, 0.5f / 600, 0, UIColor::blackColor())->bitmapBlock(), drawn);
        return inkOf(drawn, photo);
    };
    const Ink plain = draw("abc de");
    ASSERT_FALSE(plain.empty());
    for (const char* mark : {"\u200f", "\u202b", "\u202e"}) {
        SCOPED_TRACE(mark);
        const Ink marked = draw(std::string(mark) + "abc de");
        ASSERT_FALSE(marked.empty());
        EXPECT_NEAR(marked.right - marked.left, plain.right - plain.left, 2) << "the whole text, not clipped";
        EXPECT_NEAR(marked.cx, plain.cx, 12) << "set off the box's centre";
    }
    std::string hebrew = "\u202e";
    for (int i = 0; i < 20; ++i) hebrew += "\u05e9\u05dc\u05d5\u05dd ";
    hebrew += "\u202c";
    for (const std::string& text : {std::string("\u05e9\u05dc\u05d5\u05dd abc"), std::string("\u0645\u0631\u062d\u0628\u0627"), hebrew}) {
        const Ink ink = draw(text);
        ASSERT_FALSE(ink.empty());
        EXPECT_NEAR(ink.cx, 300, 15);
    }
}

TEST(QZTextProcessor, APositiveAngleTurnsTheTextClockwise)
{
    const qop_test::TestBitmap photo = qz_test::makeBackground(300, 200);
    qop_test::TestBitmap drawn = photo;
    qz_test::drawOnCPU(
        textProcessor("MMMMMMMM", CGRectMake(0.1f, 0.4f, 0.8f, 0.2f), 1.2f / 300, 0.4f, UIColor::blackColor())
            ->bitmapBlock(),
        drawn);
    qop_test::TestBitmap left = drawn, right = drawn;
    for (size_t y = 0; y < 200; ++y)
        for (size_t x = 0; x < 300; ++x) (x < 150 ? right : left).at(x, y) = photo.at(x, y);
    Ink l = inkOf(left, photo), r = inkOf(right, photo);
    ASSERT_FALSE(l.empty());
    ASSERT_FALSE(r.empty());
    EXPECT_LT(l.cy + 10, r.cy);  // y down: the right end lower
}

TEST(QZMemeProcessor, TheTopCaptionHangsFromItsBoxAndTheBottomOneSitsOnIt)
{
    const qop_test::TestBitmap photo = qz_test::makeBackground(300, 300);
    qop_test::TestBitmap drawn = photo;
    qz_test::drawOnCPU(memeProcessor("TOP", "BOTTOM", 40, 40, 300)->bitmapBlock(), drawn);
    Ink top = inkOf(drawn, photo, 0, 100), bottom = inkOf(drawn, photo, 200, 300),
        middle = inkOf(drawn, photo, 100, 200);
    ASSERT_FALSE(top.empty());
    ASSERT_FALSE(bottom.empty());
    EXPECT_TRUE(middle.empty());
    // DejaVu Sans Condensed Bold at 40: the cap height is about 29 below an ascent of 37; the
    // descent is about 9.4.
    EXPECT_NEAR(top.top, 37 - 29, 3);
    EXPECT_NEAR(bottom.bottom, 300 - 9.4, 3);
    EXPECT_NEAR((top.left + top.right) / 2.0, 150, 2);
    EXPECT_NEAR((bottom.left + bottom.right) / 2.0, 150, 2);
}

// Older systems read the face from the resource bundle's Impact.ttf, at the caption's own size.
TEST(QZMemeProcessor, OlderSystemsDrawTheBundlesFaceAtTheCaptionsSize)
{
    PlatformSettings::setMainBundlePath(std::filesystem::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
    ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR) / "Impact.ttf"));
    const qop_test::TestBitmap photo = qz_test::makeBackground(300, 300);
    auto draw = [&](const char* version, CGFloat topSize) {
        PlatformSettings::setSystemVersion(version);
        qop_test::TestBitmap drawn = photo;
        qz_test::drawOnCPU(memeProcessor("HIGH", "LOW", topSize, 24, 300)->bitmapBlock(), drawn);
        return drawn;
    };
    qop_test::TestBitmap current = draw("10.0", 60), older = draw("4.0", 60), smaller = draw("4.0", 30);
    EXPECT_TRUE(older == current);
    EXPECT_GT(inkOf(older, photo, 0, 100).area, 3 * inkOf(smaller, photo, 0, 100).area);
    // Without the file the older systems draw no caption; the current ones do not need it.
    PlatformSettings::setMainBundlePath(::testing::TempDir());
    QZSDKResources::unloadResources();
    NSLogCapture log;
    EXPECT_TRUE(draw("4.0", 60) == photo);
    EXPECT_TRUE(log.contains("holds no Impact.ttf"));
    EXPECT_TRUE(draw("10.0", 60) == current);
    PlatformSettings::setSystemVersion("10.0");
    QZSDKResources::unloadResources();
}

// The caption face the meme screen types in and the processor draws in: by name today, from the
// bundle's file on older systems, none on those when the bundle lacks it.
TEST(QZMemeFont, OneFaceByEitherRoad)
{
    PlatformSettings::setMainBundlePath(std::filesystem::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
    for (const auto& [version, older] : {std::pair{"10.0", false}, {"4.1", false}, {"4.0", true}, {"3.1.3", true}}) {
        PlatformSettings::setSystemVersion(version);
        const QZMemeFontSource source = QZMemeFontSourceCurrent();
        EXPECT_EQ(source.fromBundle, older) << version;
        EXPECT_EQ(source.file.empty(), !source.fromBundle) << version;
        CTFontRef font = QZMemeFontCreate(37);
        ASSERT_NE(font, nullptr) << version;
        EXPECT_EQ(CTFontCopyFullName(font), "DejaVu Sans Condensed Bold") << version;
        EXPECT_EQ(CTFontGetSize(font), 37);
        CFRelease(font);
    }
    PlatformSettings::setMainBundlePath(::testing::TempDir());
    QZSDKResources::unloadResources();
    EXPECT_EQ(QZMemeFontCreate(37), nullptr) << "an older system without the file";
    PlatformSettings::setSystemVersion("10.0");
    CTFontRef byName = QZMemeFontCreate(37);
    EXPECT_NE(byName, nullptr);
    CFRelease(byName);
    QZSDKResources::unloadResources();
}

// Pictures: a rotated two-line text and both meme captions on a generated background, drawn on the
// CPU. Regenerate with TESSEL_UPDATE_GOLDEN=1 and look at the new images.
TEST(QZTextPictures, MatchTheReviewedGoldenImages)
{
    std::string problem = qz_test::fontTableProblem();
    ASSERT_TRUE(problem.empty()) << problem;
    struct Picture {
        const char* name;
        QZBitmapBlock block;
    } pictures[] = {
        {"text_render", textProcessor("Hello,\nTessel", CGRectMake(0.1f, 0.3f, 0.8f, 0.4f), 1.5f / 320, 0.25f,
                                      UIColor::colorWithRed(0.19f, 1, 0.19f, 1))
                            ->bitmapBlock()},
        {"meme_render", memeProcessor("WHEN THE TESTS", "PASS FIRST TIME", 30, 24, 320)->bitmapBlock()},
    };
    for (const Picture& p : pictures) {
        qop_test::TestBitmap drawn = qz_test::makeBackground(320, 240);
        qz_test::drawOnCPU(p.block, drawn);
        CGImageRef image =
            CGImageCreateWithRGBABytes(320, 240, 320 * 4, reinterpret_cast<const uint8_t*>(drawn.data()));
        UIGoldenOutcome outcome =
            UICompareWithGolden(image, std::string(TESSEL_TEXT_GOLDEN_DIR "/") + p.name + ".png", ::testing::TempDir());
        CGImageRelease(image);
        if (outcome.updated) continue;
        EXPECT_TRUE(outcome.matches) << p.name << ": " << outcome.message;
    }
}

}  // namespace
