// A small scene drawn with the shared drawing functions, compared with a reviewed golden image.
// Regenerate after an intended change with TESSEL_UPDATE_GOLDEN=1 and look at the new image.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "Foundation/PlatformSettings.h"
#include "TesselSDKFoundation/QZDrawing.h"
#include "TesselSDKFoundation/tests/QZDrawingTestSupport.h"
#include "TesselSDKFoundation/tests/QZGoldenTestSupport.h"
#include "TesselSDKFoundation/QZDrawingUtils.h"

namespace {

// 96 x 64 points at scale 2: a sky gradient, a card with a horizontal gradient and an inner
// shadow, a glowing disc, all cut by a rounded mask with different corner radii.
std::shared_ptr<UIImage> drawScene()
{
    return drawImage(CGSizeMake(96, 64), 2, [](CGContextRef context) {
        QZCGContextDoWithTransparencyLayer(context, [&] {
            CGGradientRef sky =
                QZCreateGradientWithColors({QZUIColorWithHexString("#16324F"), QZUIColorWithHexString("#6FA8DC")});
            QZDrawLinearGradientInRect(sky, CGRectMake(0, 0, 96, 64), QZLinearGradientDirectionVertical);
            CGGradientRelease(sky);

            auto card = UIBezierPath::bezierPathWithRoundedRect(CGRectMake(10, 12, 52, 40), 8);
            const CGFloat stops[] = {0, 0.6f, 1};
            CGGradientRef warm =
                QZCreateGradientWithColorsAtLocations({UIColor::orangeColor(), UIColor::yellowColor(),
                                                       QZUIColorByLighteningColor(UIColor::yellowColor(), 0.2f)},
                                                      stops);
            QZDrawLinearGradientInPath(warm, card->CGPath(), false, QZLinearGradientDirectionHorizontal);
            CGGradientRelease(warm);
            QZDrawInnerShadowInPathWithColor(card->CGPath(), UIColor::colorWithWhite(0, 0.7f), CGSizeMake(0, 2), 4);

            auto disc = UIBezierPath::bezierPathWithOvalInRect(CGRectMake(66, 22, 22, 22));
            QZDrawingUtils::drawLinearGradientInPath(*disc,
                                                     {QZDrawingUtils::standardHighlightColor(), UIColor::blackColor()},
                                                     {}, CGPointMake(66, 22), CGPointMake(88, 44), 0);
            QZDrawingUtils::drawInnerGlowWithShape(*disc, UIColor::whiteColor(), 5);

            auto mask = QZContextCreateRoundedMask(CGRectMake(0, 0, 192, 128), 40, 12, 12, 40);
            mask->drawInRect(CGRectMake(0, 0, 96, 64), kCGBlendModeDestinationIn, 1);
        });
    });
}

TEST(QZDrawingScene, MatchesTheReviewedGoldenImage)
{
    auto scene = drawScene();
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(CGImageGetWidth(scene->CGImage()), 192u);
    QZ_EXPECT_GOLDEN(scene->CGImage(), "drawing_scene");
}

}  // namespace
