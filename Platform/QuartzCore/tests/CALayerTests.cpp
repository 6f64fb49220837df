#include "QuartzCore/CAGradientLayer.h"
#include "QuartzCore/CALayer.h"
#include "QuartzCore/CAShapeLayer.h"

#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
