#include "QuartzCore/CALayerCompositor.h"

#include "QuartzCore/CAShapeLayer.h"

#include "Dispatch/DispatchClock.h"
#include "Foundation/NSValue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

CGColorRef rgb(CGFloat r, CGFloat g, CGFloat b, CGFloat a = 1)
{
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    const CGFloat c[4] = {r, g, b, a};
    CGColorRef color = CGColorCreate(space, c);
    CGColorSpaceRelease(space);
    return color;
}

void setColor(CALayer& layer, CGFloat r, CGFloat g, CGFloat b, CGFloat a = 1)
{
    CGColorRef color = rgb(r, g, b, a);
    layer.setBackgroundColor(color);
    CGColorRelease(color);
}

// The tree drawn whole into a fresh image context, as a window's snapshot draws it.
std::vector<std::uint8_t> renderedWhole(CALayer& root, CGFloat scale)
{
    const CGRect b = root.bounds();
    const auto w = size_t(std::ceil(b.size.width * scale)), h = size_t(std::ceil(b.size.height * scale));
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef c = CGBitmapContextCreate(nullptr, w, h, 8, 0, space, kCGImageAlphaPremultipliedLast);
    CGColorSpaceRelease(space);
    CGContextTranslateCTM(c, 0, CGFloat(h));
    CGContextScaleCTM(c, scale, -scale);
    CGContextSetShadowBaseSpace(c, scale, true);
    CGContextTranslateCTM(c, -b.origin.x, -b.origin.y);
    root.renderInContext(c);
    const auto* bytes = static_cast<const std::uint8_t*>(CGBitmapContextGetData(c));
    std::vector<std::uint8_t> pixels(bytes, bytes + CGBitmapContextGetBytesPerRow(c) * h);
    CGContextRelease(c);
    return pixels;
}

std::vector<std::uint8_t> frameOf(const CALayerCompositor& compositor)
{
    return {compositor.pixels(), compositor.pixels() + compositor.bytesPerRow() * compositor.height()};
}

// Draws a delegate's picture into the layer's backing image: a disc of the current colour.
struct DiscDrawer : CALayerDelegate {
    CGFloat red = 1;
    void drawLayerInContext(CALayer* layer, CGContextRef c) override
    {
        CGColorRef color = rgb(red, 0.2f, 0.6f);
        CGContextSetFillColorWithColor(c, color);
        CGColorRelease(color);
        CGContextFillEllipseInRect(c, layer->bounds());
    }
};

// A small screen: a backdrop, three cards side by side (one casting a blurred shadow, one rounded
// with a border, one holding a shape), a clipping strip that scrolls its content, and a drawn disc.
class CALayerCompositorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DispatchClock::useVirtualTime(true);
        root = CALayer::layer();
        root->setBounds(CGRectMake(0, 0, 180, 120));
        setColor(*root, 0.9f, 0.9f, 0.85f);
        for (int i = 0; i < 3; ++i) {
            auto card = CALayer::layer();
            card->setFrame(CGRectMake(8 + 58 * i, 8, 40, 40));
            setColor(*card, 0.2f * i, 0.5f, 1 - 0.3f * i);
            root->addSublayer(card);
            cards.push_back(card);
        }
        CGColorRef black = rgb(0, 0, 0);
        cards[0]->setShadowColor(black);
        cards[0]->setShadowOpacity(0.6f);
        cards[0]->setShadowRadius(3);
        cards[0]->setShadowOffset(CGSizeMake(0, 2));
        cards[1]->setCornerRadius(9);
        cards[1]->setBorderWidth(2);
        cards[1]->setBorderColor(black);
        CGColorRelease(black);
        auto shape = CAShapeLayer::layer();
        CGMutablePathRef path = CGPathCreateMutable();
        CGPathAddEllipseInRect(path, nullptr, CGRectMake(-6, 10, 30, 20));  // past the card's left edge
        shape->setPath(path);
        CGPathRelease(path);
        cards[2]->addSublayer(shape);

        strip = CALayer::layer();
        strip->setFrame(CGRectMake(8, 60, 100, 24));
        strip->setMasksToBounds(true);
        setColor(*strip, 1, 1, 1);
        root->addSublayer(strip);
        for (int i = 0; i < 8; ++i) {
            auto cell = CALayer::layer();
            cell->setFrame(CGRectMake(4 + 30 * i, 2, 26, 20));
            setColor(*cell, 0.1f * i, 0.8f - 0.1f * i, 0.4f);
            strip->addSublayer(cell);
        }

        disc = CALayer::layer();
        disc->setFrame(CGRectMake(130, 66, 30, 30));
        disc->setDelegate(drawer);
        disc->setNeedsDisplay();
        root->addSublayer(disc);
    }
    void TearDown() override { DispatchClock::useVirtualTime(false); }

    ::testing::AssertionResult frameIsTheWholeRender()
    {
        const std::vector<std::uint8_t> whole = renderedWhole(*root, scale);
        const std::vector<std::uint8_t> frame = frameOf(compositor);
        if (whole.size() != frame.size()) return ::testing::AssertionFailure() << "sizes differ";
        for (size_t i = 0; i < whole.size(); ++i)
            if (whole[i] != frame[i]) {
                const size_t row = i / compositor.bytesPerRow(), column = i % compositor.bytesPerRow() / 4;
                return ::testing::AssertionFailure() << "pixel (" << column << ", " << row << ") differs: "
                                                     << int(frame[i]) << " where the whole render has "
                                                     << int(whole[i]);
            }
        return ::testing::AssertionSuccess();
    }

    const CGFloat scale = 2;
    std::shared_ptr<CALayer> root, strip, disc;
    std::vector<std::shared_ptr<CALayer>> cards;
    std::shared_ptr<DiscDrawer> drawer = std::make_shared<DiscDrawer>();
    CALayerCompositor compositor;
};

TEST_F(CALayerCompositorTest, AnUntouchedTreeDrawsNothing)
{
    const std::vector<CALayerPixelRect> first = compositor.composite(*root, scale);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].width, 360);
    EXPECT_EQ(first[0].height, 240);
    EXPECT_TRUE(compositor.layersDrawnLast().count(cards[0].get()));
    EXPECT_TRUE(frameIsTheWholeRender());

    for (int i = 0; i < 3; ++i) {
        DispatchClock::advance(1.0 / 60);
        EXPECT_TRUE(compositor.composite(*root, scale).empty());
        EXPECT_TRUE(compositor.layersDrawnLast().empty());
    }
    EXPECT_EQ(compositor.compositeCount(), 1);
    // Setting what is already there is no change either.
    cards[1]->setCornerRadius(9);
    strip->setMasksToBounds(true);
    EXPECT_TRUE(compositor.composite(*root, scale).empty());
}

TEST_F(CALayerCompositorTest, OneChangedLayerIsDrawnAgainAndItsSiblingsAreNot)
{
    compositor.composite(*root, scale);
    setColor(*cards[1], 1, 0, 0);
    const std::vector<CALayerPixelRect> drawn = compositor.composite(*root, scale);
    ASSERT_FALSE(drawn.empty());
    const auto& layers = compositor.layersDrawnLast();
    EXPECT_TRUE(layers.count(cards[1].get()));
    EXPECT_FALSE(layers.count(cards[0].get())) << "the shadowed sibling was drawn again";
    EXPECT_FALSE(layers.count(cards[2].get()));
    EXPECT_FALSE(layers.count(strip.get()));
    EXPECT_FALSE(layers.count(disc.get()));
    for (const CALayerPixelRect& r : drawn) EXPECT_LT(r.width * r.height, 360 * 240 / 4);
    EXPECT_TRUE(frameIsTheWholeRender());
    EXPECT_EQ(compositor.compositeCount(), 2);

    // A backing image redrawn is drawn again alone as well.
    drawer->red = 0.3f;
    disc->setNeedsDisplay();
    compositor.composite(*root, scale);
    EXPECT_TRUE(compositor.layersDrawnLast().count(disc.get()));
    EXPECT_FALSE(compositor.layersDrawnLast().count(cards[1].get()));
    EXPECT_TRUE(frameIsTheWholeRender());
}

// Every kind of change leaves the frame as a whole render of the tree draws it, to the byte.
TEST_F(CALayerCompositorTest, AfterEachChangeTheFrameIsTheWholeRender)
{
    struct Change {
        const char* name;
        std::function<void()> apply;
    };
    std::shared_ptr<CALayer> added;
    const Change changes[] = {
        {"a shadowed card moved", [&] { cards[0]->setPosition(CGPointMake(40, 34)); }},
        {"its shadow widened", [&] { cards[0]->setShadowRadius(6); }},
        {"a card hidden", [&] { cards[2]->setHidden(true); }},
        {"and shown again", [&] { cards[2]->setHidden(false); }},
        {"the strip scrolled", [&] { strip->setBounds(CGRectMake(37, 0, 100, 24)); }},
        {"a card turned", [&] { cards[1]->setAffineTransform(CGAffineTransformMakeRotation(0.4f)); }},
        {"a card half transparent", [&] { cards[2]->setOpacity(0.5f); }},
        {"a layer added", [&] {
             added = CALayer::layer();
             added->setFrame(CGRectMake(60, 90, 50, 20));
             setColor(*added, 0, 0, 0, 0.5f);
             root->addSublayer(added);
         }},
        {"a layer removed", [&] { cards[1]->removeFromSuperlayer(); }},
        {"a shape's path changed", [&] {
             CGMutablePathRef path = CGPathCreateMutable();
             CGPathAddRect(path, nullptr, CGRectMake(20, -4, 30, 12));
             std::static_pointer_cast<CAShapeLayer>(cards[2]->sublayers()[0])->setPath(path);
             CGPathRelease(path);
         }},
        {"the root's backdrop changed", [&] { setColor(*root, 0.3f, 0.3f, 0.3f); }},
    };
    compositor.composite(*root, scale);
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        change.apply();
        EXPECT_FALSE(compositor.composite(*root, scale).empty());
        EXPECT_TRUE(frameIsTheWholeRender());
    }
}

// A running animation is drawn at every frame until it ends; then nothing more is drawn.
TEST_F(CALayerCompositorTest, AnAnimationIsDrawnEveryFrameUntilItEnds)
{
    compositor.composite(*root, scale);
    auto slide = CABasicAnimation::animationWithKeyPath("position");
    slide->setFromValue(NSValue::valueWithCGPoint(CGPointMake(28, 28)));
    slide->setToValue(NSValue::valueWithCGPoint(CGPointMake(28, 90)));
    slide->setDuration(0.1);
    cards[0]->addAnimation(slide, "slide");
    int frames = 0;
    for (int i = 0; i < 12; ++i) {
        DispatchClock::advance(1.0 / 60);
        if (!compositor.composite(*root, scale).empty()) ++frames;
        EXPECT_TRUE(frameIsTheWholeRender()) << "frame " << i;
    }
    EXPECT_GE(frames, 6);
    EXPECT_LE(frames, 9);
    EXPECT_TRUE(compositor.composite(*root, scale).empty());
}

}  // namespace
