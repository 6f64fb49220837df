// Layered images from mask wrappers, and paths turned into CGPaths.

#include <gtest/gtest.h>

#include "Render/NSBezierPath.h"
#include "Render/QZMaskCompositing.h"
#include "Render/QZMaskImageWrapper.h"
#include "support/QZProbeMasks.h"
#include "support/QZTestImages.h"

namespace customizer::testing {
namespace {

QZMaskImageWrapperPtr solidLayer(const std::string& name, CGColor color)
{
    NSColorPtr fill = NSColor::colorWithCalibratedRed(color.red, color.green, color.blue, color.alpha);
    return QZMaskImageWrapper::wrapperWithImageName(
        name, [fill](const NSImagePtr& mask, CGContextRef context, CGRect rect) { fillWithMaskAndColorInRect(context, mask, fill, rect); });
}

TEST(QZMaskImageWrapper, ImagesTakeTheLastLayersSizeAndDrawFromTheMasksOfTheirResolution)
{
    auto masks = std::make_shared<QZProbeMasks>();
    auto spy = std::make_shared<QZLoaderSpy>(masks);
    ScopedImageProvider provider(spy);
    masks->setSize("under.png", 24, 24);
    masks->setSize("under-retina.png", 48, 48);
    masks->setSize("over.png", 12, 30);
    masks->setSize("over-retina.png", 24, 60);
    // Retina masks cover the whole image, plain ones nothing: each image shows its own masks.
    masks->setImage("over-retina.png", makeImage(24, 60, [](int, int) { return kWhite; }));
    masks->setImage("over.png", makeImage(12, 30, [](int, int) { return kClear; }));

    std::vector<QZMaskImageWrapperPtr> layers = {solidLayer("under", kRed), solidLayer("over", kBlue)};
    auto [retina, plain] = pixelPerfectImagesWithMaskImageWrappers(layers);
    ASSERT_NE(retina, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(retina->size(), CGSizeMake(24, 60));
    EXPECT_EQ(plain->size(), CGSizeMake(12, 30));
    EXPECT_TRUE(colorNear(pixelAt(retina, 12, 30), kBlue));
    EXPECT_FALSE(colorNear(pixelAt(plain, 1, 29), kBlue));
    for (const char* name : {"under-retina.png", "over-retina.png", "under.png", "over.png"}) EXPECT_TRUE(spy->requested(name)) << name;
    // The retina image is made first; the masks are looked up on every call.
    std::vector<std::string> requests = spy->requests();
    auto firstPlain = std::find(requests.begin(), requests.end(), "under.png");
    EXPECT_EQ(std::find(firstPlain, requests.end(), "under-retina.png"), requests.end());
    spy->clear();
    EXPECT_EQ(layers[0]->retinaSize(), CGSizeMake(48, 48));
    EXPECT_EQ(layers[0]->retinaSize(), CGSizeMake(48, 48));
    EXPECT_EQ(spy->requests(), (std::vector<std::string>{"under-retina.png", "under-retina.png"}));

    NSImagePtr empty = imageWithWrappers({}, true);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->size(), CGSizeMake(0, 0));
    masks->setMissing("gone.png");
    EXPECT_EQ(solidLayer("gone", kRed)->nonRetinaSize(), CGSizeMake(0, 0));
}

std::vector<CGPathElementType> typesOf(const CGPathRef& path)
{
    std::vector<CGPathElementType> types;
    for (const CGPathElement& e : path->elements) types.push_back(e.type);
    return types;
}

TEST(NSBezierPath, QuartzPathsCloseAnOpenLastSubpathOnce)
{
    using T = CGPathElementType;
    const T move = kCGPathElementMoveToPoint, line = kCGPathElementAddLineToPoint, curve = kCGPathElementAddCurveToPoint,
            close = kCGPathElementCloseSubpath;
    struct Case {
        const char* name;
        std::function<void(NSBezierPath&)> build;
        std::vector<T> expected;
    } cases[] = {
        {"move, line, line", [](NSBezierPath& p) { p.moveToPoint({0, 0}); p.lineToPoint({1, 0}); p.lineToPoint({1, 1}); },
         {move, line, line, close}},
        {"move, line, close", [](NSBezierPath& p) { p.moveToPoint({0, 0}); p.lineToPoint({1, 0}); p.closePath(); },
         {move, line, close}},
        {"move, curve", [](NSBezierPath& p) { p.moveToPoint({0, 0}); p.curveToPoint({3, 0}, {1, 1}, {2, 1}); },
         {move, curve, close}},
        {"a lone move", [](NSBezierPath& p) { p.moveToPoint({0, 0}); }, {move}},
        {"closed, then an open subpath",
         [](NSBezierPath& p) {
             p.moveToPoint({0, 0}); p.lineToPoint({1, 0}); p.closePath();
             p.moveToPoint({5, 5}); p.lineToPoint({6, 5});
         },
         {move, line, close, move, line, close}},
    };
    for (const Case& c : cases) {
        NSBezierPath path;
        c.build(path);
        CGPathRef quartz = path.QZ_quartzPath();
        ASSERT_NE(quartz, nullptr) << c.name;
        EXPECT_EQ(typesOf(quartz), c.expected) << c.name;
    }
    EXPECT_EQ(NSBezierPath().QZ_quartzPath(), nullptr);

    NSBezierPath curved;
    curved.moveToPoint({0, 0});
    curved.curveToPoint({3, 0}, {1, 1}, {2, 1});
    CGPathRef quartz = curved.QZ_quartzPath();
    const CGPathElement& e = quartz->elements[1];
    EXPECT_EQ(e.points[0], CGPointMake(1, 1));
    EXPECT_EQ(e.points[1], CGPointMake(2, 1));
    EXPECT_EQ(e.points[2], CGPointMake(3, 0));
}

TEST(NSBezierPath, RoundedRectanglesClampTheirRadiiToHalfTheSides)
{
    // 39 x 34 with radius 18: each radius is clamped to half its own side, 18 across and 17 up.
    NSBezierPath path = NSBezierPath::bezierPathWithRoundedRect(CGRectMake(1, 1, 39, 34), 18, 18);
    CGPoint points[3];
    ASSERT_EQ(path.elementAtIndex(0, points), NSMoveToBezierPathElement);
    EXPECT_EQ(points[0], CGPointMake(19, 1));
    ASSERT_EQ(path.elementAtIndex(2, points), NSCurveToBezierPathElement);
    EXPECT_EQ(points[2], CGPointMake(40, 18));
    EXPECT_EQ(path.elementAtIndex(path.elementCount() - 1, points), NSClosePathBezierPathElement);
    EXPECT_EQ(NSBezierPath::bezierPathWithRoundedRect(CGRectMake(0, 0, 4, 4), 0, 0).elementCount(), 5u);
}

}  // namespace
}  // namespace customizer::testing
