// A small view tree drawn by the view stand-in at scale 2, compared with a reviewed golden image:
// a rounded clipping container with a border, a half-transparent child spilling out of it, a
// 9-slice image view, a centred label with a shadow, and an inner glow.
// Regenerate after an intended change with TESSEL_UPDATE_GOLDEN=1 and look at the new image.

#include "TesselSDKFoundation/QZDrawingUtils.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIWindow.h"
#include "TesselSDKFoundation/tests/QZGoldenTestSupport.h"

#include "Foundation/PlatformSettings.h"

#include <gtest/gtest.h>

namespace {

// A 12 x 12 frame image: a 4-pixel dark rim (the caps) around a light centre.
std::shared_ptr<UIImage> frameImage()
{
    std::vector<uint8_t> rgba(12 * 12 * 4);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            bool rim = x < 4 || x >= 8 || y < 4 || y >= 8;
            uint8_t* p = &rgba[size_t(y * 12 + x) * 4];
            p[0] = rim ? 40 : 250, p[1] = rim ? 90 : 220, p[2] = rim ? 60 : 120, p[3] = 255;
        }
    CGImageRef image = CGImageCreateWithRGBABytes(12, 12, 48, rgba.data());
    auto ui = UIImage::imageWithCGImage(image, 1, UIImageOrientationUp);
    CGImageRelease(image);
    return ui->resizableImageWithCapInsets(UIEdgeInsetsMake(4, 4, 4, 4));
}

std::shared_ptr<UIView> tree()
{
    auto root = UIView::viewWithFrame(CGRectMake(0, 0, 160, 120));
    root->setBackgroundColor(UIColor::colorWithWhite(0.92f, 1));

    auto container = UIView::viewWithFrame(CGRectMake(10, 10, 80, 60));
    container->setBackgroundColor(UIColor::colorWithRed(0.16f, 0.32f, 0.55f, 1));
    container->layer()->setCornerRadius(12);
    container->layer()->setBorderWidth(2);
    container->layer()->setBorderColor(UIColor::orangeColor()->CGColor());
    container->setClipsToBounds(true);
    root->addSubview(container);
    auto child = UIView::viewWithFrame(CGRectMake(40, 30, 60, 50));  // spills out: clipped
    child->setBackgroundColor(UIColor::whiteColor());
    child->setAlpha(0.5f);
    container->addSubview(child);

    auto framed = UIImageView::imageViewWithImage(frameImage());
    framed->setFrame(CGRectMake(100, 10, 50, 60));
    root->addSubview(framed);

    auto label = UIView::viewWithFrame<UILabel>(CGRectMake(10, 80, 140, 30));
    label->setText("Tessel");
    label->setFont(UIFont::boldSystemFontOfSize(18));
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setTextColor(UIColor::colorWithRed(0.1f, 0.1f, 0.3f, 1));
    label->setShadowColor(UIColor::whiteColor());
    label->setShadowOffset(CGSizeMake(0, 1));
    label->setBackgroundColor(UIColor::colorWithWhite(0.8f, 1));
    root->addSubview(label);

    auto glowing = UIView::viewWithFrame(CGRectMake(110, 80, 36, 30));
    glowing->setBackgroundColor(UIColor::darkGrayColor());
    auto oval = UIBezierPath::bezierPathWithOvalInRect(CGRectMake(2, 2, 32, 26));
    glowing->layer()->addSublayer(
        QZDrawingUtils::innerGlowLayerForLayer(*glowing->layer(), *oval, UIColor::yellowColor(), 5));
    root->addSubview(glowing);
    return root;
}

TEST(QZViewTreeGolden, MatchesTheReviewedGoldenImage)
{
    PlatformSettings::setScreenScale(2);
    auto root = tree();
    auto image = UIViewSnapshot(*root);
    ASSERT_TRUE(image);
    ASSERT_EQ(CGImageGetWidth(image->CGImage()), 320u);
    QZ_EXPECT_GOLDEN(image->CGImage(), "view_tree");
}

}  // namespace
