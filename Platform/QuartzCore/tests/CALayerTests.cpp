#include "QuartzCore/CAGradientLayer.h"
#include "QuartzCore/CALayer.h"
#include "QuartzCore/CAShapeLayer.h"

#include "CoreGraphics/CGObjectValue.h"
#include "Dispatch/DispatchClock.h"
#include "Foundation/NSValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>

namespace {

CGColorRef rgb(CGFloat r, CGFloat g, CGFloat b, CGFloat a = 1)
{
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    const CGFloat c[4] = {r, g, b, a};
    CGColorRef color = CGColorCreate(space, c);
    CGColorSpaceRelease(space);
    return color;
}

// A y-down context of w x h points at scale 1, like a UIKit image context, cleared.
struct Canvas {
    CGContextRef c;
    size_t w, h;
    Canvas(size_t width, size_t height) : w(width), h(height)
    {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        c = CGBitmapContextCreate(nullptr, w, h, 8, 0, space, kCGImageAlphaPremultipliedLast);
        CGColorSpaceRelease(space);
        CGContextTranslateCTM(c, 0, CGFloat(h));
        CGContextScaleCTM(c, 1, -1);
        CGContextSetShadowBaseSpace(c, 1, true);
    }
    ~Canvas() { CGContextRelease(c); }
    const uint8_t* at(size_t x, size_t y) const
    {
        return static_cast<const uint8_t*>(CGBitmapContextGetData(c)) + y * CGBitmapContextGetBytesPerRow(c) + x * 4;
    }
};

TEST(CALayerTest, FrameIsTheTransformedBoundsAboutTheAnchorAndSetsBack)
{
    auto layer = CALayer::layer();
    layer->setBounds(CGRectMake(0, 0, 100, 50));
    layer->setPosition(CGPointMake(160, 240));
    CGRect f = layer->frame();
    EXPECT_FLOAT_EQ(f.origin.x, 110);
    EXPECT_FLOAT_EQ(f.origin.y, 215);
    layer->setAffineTransform(CGAffineTransformMakeRotation(static_cast<CGFloat>(M_PI / 2)));
    f = layer->frame();
    EXPECT_NEAR(f.origin.x, 135, 1e-4);
    EXPECT_NEAR(f.size.width, 50, 1e-4);
    EXPECT_NEAR(f.size.height, 100, 1e-4);
    // A quarter-turned layer given a 30 x 80 frame takes 80 x 30 bounds.
    layer->setFrame(CGRectMake(10, 20, 30, 80));
    EXPECT_NEAR(layer->bounds().size.width, 80, 1e-4);
    EXPECT_NEAR(layer->bounds().size.height, 30, 1e-4);
    EXPECT_NEAR(layer->position().x, 25, 1e-4);
    EXPECT_NEAR(layer->position().y, 60, 1e-4);
}

TEST(CALayerTest, TreeMovesLayersAndRefusesCycles)
{
    auto a = CALayer::layer(), b = CALayer::layer(), c = CALayer::layer();
    a->addSublayer(b);
    b->addSublayer(c);
    c->addSublayer(a);  // a cycle: refused
    EXPECT_EQ(c->sublayers().size(), 0u);
    a->addSublayer(c);  // moves c
    EXPECT_EQ(b->sublayers().size(), 0u);
    EXPECT_EQ(c->superlayer(), a);
    a->insertSublayerBelow(c, b.get());
    EXPECT_EQ(a->sublayers().front(), c);
    a->insertSublayerAbove(c, b.get());
    EXPECT_EQ(a->sublayers().back(), c);
    c->removeFromSuperlayer();
    EXPECT_EQ(a->sublayers().size(), 1u);
    EXPECT_FALSE(c->superlayer());
}

// Counts the layouts of the layers it is the delegate of; a layer's layout may run a step.
struct LayoutCounter : CALayerDelegate {
    std::map<CALayer*, int> layouts;
    std::map<CALayer*, std::function<void()>> steps;
    void layoutSublayersOfLayer(CALayer* layer) override
    {
        ++layouts[layer];
        if (auto step = steps.find(layer); step != steps.end()) step->second();
    }
};

TEST(CALayerTest, LayoutReachesEveryMarkedLayerAndLooksOnlyAtThePathsToThem)
{
    // root > branch > 1000 leaves, and root > side.
    auto counter = std::make_shared<LayoutCounter>();
    auto root = CALayer::layer(), branch = CALayer::layer(), side = CALayer::layer();
    std::vector<std::shared_ptr<CALayer>> leaves(1000);
    for (auto& leaf : leaves) {
        leaf = CALayer::layer();
        leaf->setDelegate(counter);
        branch->addSublayer(leaf);
    }
    for (const auto& layer : {root, branch, side}) layer->setDelegate(counter);
    root->addSublayer(branch);
    root->addSublayer(side);
    root->layoutIfNeeded();
    counter->layouts.clear();

    // A settled tree: one marked leaf costs the path down to it.
    std::uint64_t before = CALayerLayoutVisitsSoFar();
    leaves[500]->setNeedsLayout();
    root->layoutIfNeeded();
    EXPECT_LE(CALayerLayoutVisitsSoFar() - before, 3u);
    EXPECT_EQ(counter->layouts, (std::map<CALayer*, int>{{leaves[500].get(), 1}}));
    before = CALayerLayoutVisitsSoFar();
    root->layoutIfNeeded();
    EXPECT_EQ(CALayerLayoutVisitsSoFar() - before, 1u);

    struct Case {
        const char* what;
        std::function<void()> mark;
        std::vector<CALayer*> laidOut;
    };
    auto moved = CALayer::layer(), inner = CALayer::layer();
    moved->setDelegate(counter);
    inner->setDelegate(counter);
    moved->addSublayer(inner);
    const Case cases[] = {
        {"a resized leaf", [&] { leaves[7]->setBounds(CGRectMake(0, 0, 5, 5)); }, {leaves[7].get()}},
        {"a detached layer marked inside, then added",
         [&] {
             inner->setNeedsLayout();
             side->addSublayer(moved);
         },
         {inner.get()}},
        {"a layer its superlayer's layout resizes",
         [&] {
             counter->steps[side.get()] = [&] { inner->setBounds(CGRectMake(0, 0, 9, 9)); };
             side->setNeedsLayout();
         },
         {side.get(), inner.get()}},
        {"a later sibling an earlier one's layout marks",
         [&] {
             counter->steps[leaves[1].get()] = [&] { leaves[900]->setNeedsLayout(); };
             leaves[1]->setNeedsLayout();
         },
         {leaves[1].get(), leaves[900].get()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        counter->layouts.clear();
        c.mark();
        root->layoutIfNeeded();
        std::map<CALayer*, int> expected;
        for (CALayer* layer : c.laidOut) expected[layer] = 1;
        EXPECT_EQ(counter->layouts, expected);
        counter->steps.clear();
    }
}

TEST(CALayerTest, CompositesBackgroundClipCornersOpacityBorderAndZOrder)
{
    Canvas canvas(40, 40);
    auto root = CALayer::layer();
    root->setBounds(CGRectMake(0, 0, 40, 40));
    CGColorRef white = rgb(1, 1, 1), red = rgb(1, 0, 0), blue = rgb(0, 0, 1), green = rgb(0, 1, 0);
    root->setBackgroundColor(white);

    auto box = CALayer::layer();
    box->setFrame(CGRectMake(0, 0, 20, 20));
    box->setBackgroundColor(red);
    box->setCornerRadius(8);
    box->setMasksToBounds(true);
    root->addSublayer(box);
    auto child = CALayer::layer();  // spills out of box: clipped
    child->setFrame(CGRectMake(10, 10, 20, 20));
    child->setBackgroundColor(blue);
    box->addSublayer(child);

    auto half = CALayer::layer();
    half->setFrame(CGRectMake(20, 20, 20, 20));
    half->setBackgroundColor(green);
    half->setOpacity(0.5f);
    half->setBorderWidth(2);
    half->setBorderColor(blue);
    auto front = CALayer::layer();  // added first, drawn last by its z
    front->setFrame(CGRectMake(22, 0, 10, 10));
    front->setBackgroundColor(blue);
    front->setZPosition(1);
    auto back = CALayer::layer();
    back->setFrame(CGRectMake(22, 0, 10, 10));
    back->setBackgroundColor(red);
    root->addSublayer(front);
    root->addSublayer(back);
    root->addSublayer(half);
    root->renderInContext(canvas.c);

    auto px = [&](size_t x, size_t y) { return std::vector<int>(canvas.at(x, y), canvas.at(x, y) + 4); };
    EXPECT_EQ(px(0, 0), (std::vector<int>{255, 255, 255, 255}));  // the rounded corner
    EXPECT_EQ(px(5, 5), (std::vector<int>{255, 0, 0, 255}));
    EXPECT_EQ(px(15, 15), (std::vector<int>{0, 0, 255, 255}));      // child inside box
    EXPECT_EQ(px(25, 12), (std::vector<int>{255, 255, 255, 255}));  // child clipped away
    EXPECT_EQ(px(30, 30), (std::vector<int>{127, 255, 127, 255}));  // half-transparent green over white
    EXPECT_EQ(px(20, 30), (std::vector<int>{127, 127, 255, 255}));  // its blue border, at half too
    EXPECT_EQ(px(25, 5), (std::vector<int>{0, 0, 255, 255}));       // z wins over order
    CGColorRelease(white), CGColorRelease(red), CGColorRelease(blue), CGColorRelease(green);
}

TEST(CALayerTest, MaskAlphaMasksTheLayerAndTheShapeDrawsWithoutBounds)
{
    Canvas canvas(20, 20);
    auto root = CALayer::layer();
    root->setBounds(CGRectMake(0, 0, 20, 20));
    CGColorRef red = rgb(1, 0, 0);
    root->setBackgroundColor(red);
    auto mask = CAShapeLayer::layer();
    CGPathRef left = CGPathCreateWithRect(CGRectMake(0, 0, 10, 20), nullptr);
    mask->setPath(left);
    root->setMask(mask);
    auto holder = CALayer::layer();
    holder->setBounds(CGRectMake(0, 0, 20, 20));
    holder->addSublayer(root);
    root->setPosition(CGPointMake(10, 10));
    holder->renderInContext(canvas.c);
    EXPECT_EQ(canvas.at(5, 10)[0], 255);
    EXPECT_EQ(canvas.at(5, 10)[3], 255);
    EXPECT_EQ(canvas.at(15, 10)[3], 0);
    CGPathRelease(left);
    CGColorRelease(red);
}

TEST(CALayerTest, ContentsAreDrawnUprightByGravity)
{
    // A 2 x 2 image: top row red, bottom row blue.
    const uint8_t bytes[] = {255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 255};
    CGImageRef image = CGImageCreateWithRGBABytes(2, 2, 8, bytes);
    Canvas canvas(10, 10);
    auto layer = CALayer::layer();
    layer->setBounds(CGRectMake(0, 0, 10, 10));
    layer->setContents(image);
    layer->renderInContext(canvas.c);
    EXPECT_EQ(canvas.at(5, 1)[0], 255);
    EXPECT_EQ(canvas.at(5, 8)[2], 255);

    Canvas centred(10, 10);
    layer->setContentsGravity(kCAGravityTopLeft);
    layer->renderInContext(centred.c);
    EXPECT_EQ(centred.at(0, 0)[0], 255);
    EXPECT_EQ(centred.at(5, 5)[3], 0);
    CGImageRelease(image);
}

// Animations read the virtual clock, which each test moves by hand.
class CALayerAnimatedTest : public ::testing::Test {
protected:
    void SetUp() override { DispatchClock::useVirtualTime(true); }
    void TearDown() override { DispatchClock::useVirtualTime(false); }
};

std::vector<int> pixel(const Canvas& canvas, size_t x, size_t y)
{
    return std::vector<int>(canvas.at(x, y), canvas.at(x, y) + 4);
}

// A flip passing edge-on, a transform gone to nothing and one that is not a number: the layer
// draws nothing of itself or its sublayers that frame, and the sibling drawn after it still does.
TEST_F(CALayerAnimatedTest, ALayerWithASingularTransformDrawsNothingWhileItsSiblingsStillDo)
{
    CATransform3D notANumber = CATransform3DIdentity;
    notANumber.m11 = NAN;
    struct Case {
        const char* name;
        CATransform3D model;
        bool flipping;  // from the model to its mirror image over a second, drawn at its middle
    };
    const Case cases[] = {
        {"a flip at its middle", CATransform3DIdentity, true},
        {"scaled to nothing", CATransform3DMakeScale(0, 0, 1), false},
        {"not a number", notANumber, false},
    };
    CGColorRef white = rgb(1, 1, 1), red = rgb(1, 0, 0), blue = rgb(0, 0, 1), green = rgb(0, 1, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(40, 20);
        auto root = CALayer::layer();
        root->setBounds(CGRectMake(0, 0, 40, 20));
        root->setBackgroundColor(white);
        auto flat = CALayer::layer();
        flat->setBounds(CGRectMake(0, 0, 20, 20));
        flat->setPosition(CGPointMake(10, 10));
        flat->setBackgroundColor(red);
        auto inner = CALayer::layer();
        inner->setBounds(CGRectMake(0, 0, 10, 10));
        inner->setPosition(CGPointMake(10, 10));
        inner->setBackgroundColor(blue);
        flat->addSublayer(inner);
        auto sibling = CALayer::layer();
        sibling->setBounds(CGRectMake(0, 0, 20, 20));
        sibling->setPosition(CGPointMake(30, 10));
        sibling->setBackgroundColor(green);
        root->addSublayer(flat);
        root->addSublayer(sibling);
        flat->setTransform(c.model);
        if (c.flipping) {
            auto flip = CABasicAnimation::animationWithKeyPath("transform");
            flip->setToValue(NSValue::valueWithCATransform3D(CATransform3DMakeScale(-1, 1, 1)));
            flip->setDuration(1);
            flat->addAnimation(flip, "flip");
            DispatchClock::advance(0.5);
            ASSERT_EQ(flat->presentationLayer()->transform().m11, 0);
        }
        root->renderInContext(canvas.c);
        EXPECT_EQ(pixel(canvas, 10, 10), (std::vector<int>{255, 255, 255, 255}));
        EXPECT_EQ(pixel(canvas, 30, 10), (std::vector<int>{0, 255, 0, 255})) << "the sibling drawn after it is missing";
        if (c.flipping) {
            // Past the middle the mirror image draws again, half as wide.
            DispatchClock::advance(0.25);
            root->renderInContext(canvas.c);
            EXPECT_EQ(pixel(canvas, 10, 10), (std::vector<int>{0, 0, 255, 255}));
            EXPECT_EQ(pixel(canvas, 6, 2), (std::vector<int>{255, 0, 0, 255}));
        }
    }
    CGColorRelease(white), CGColorRelease(red), CGColorRelease(blue), CGColorRelease(green);
}

// The dimming of a shape fades in: drawn at the animated fill colour, then at the model's.
TEST_F(CALayerAnimatedTest, AShapesFillColourAnimatesAndDrawsAtItsPresentationValue)
{
    CGColorRef clear = rgb(0, 0, 0, 0), dim = rgb(0, 0, 0, 0.7f);
    auto shape = CAShapeLayer::layer();
    CGPathRef square = CGPathCreateWithRect(CGRectMake(0, 0, 10, 10), nullptr);
    shape->setPath(square);
    shape->setFillColor(clear);
    auto fade = CABasicAnimation::animationWithKeyPath("fillColor");
    fade->setToValue(CGObjectValue::valueWithCGColor(dim));
    fade->setDuration(0.2);
    shape->addAnimation(fade, "fade");
    shape->setFillColor(dim);
    auto alphaAfter = [&](double seconds) {
        DispatchClock::advance(seconds);
        Canvas canvas(10, 10);
        shape->renderInContext(canvas.c);
        return int(canvas.at(5, 5)[3]);
    };
    EXPECT_EQ(alphaAfter(0), 0) << "the fade starts from the colour shown when it was added";
    EXPECT_NEAR(alphaAfter(0.1), 0.35 * 255, 2);
    EXPECT_NEAR(alphaAfter(0.15), 0.7 * 255, 1);
    EXPECT_TRUE(CGColorEqualToColor(CGObjectValue::CGColorFromValue(shape->valueForKeyPath("fillColor")), dim));
    CGPathRelease(square);
    CGColorRelease(clear), CGColorRelease(dim);
}

}  // namespace
