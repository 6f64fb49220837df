// Every image the widgets name is in the built bundle, at both screen scales.

#include "TesselSDKFoundation/tests/QZWidgetTestSupport.h"
#include "UIKit/UIImage.h"

namespace {

TEST(QZWidgetImagesTest, EveryNamedImageLoadsAtScaleOneAndTwo)
{
    const char* const names[] = {
        "feedback",
        "feedback-active",
        "feedBackDivider",
        "sliderCenter",
        "sliderStretchableImage",
        "sliderLeftCap",
        "sliderRightCap",
        "sliderLeftCore",
        "sliderLeftCore-active",
        "sliderRightCore",
        "sliderRightCore-active",
        "sliderKnob",
        "leftSegmentedButton",
        "leftSegmentedButton-active",
        "centerSegmentedButton",
        "centerSegmentedButton-active",
        "rightSegmentedButton",
        "rightSegmentedButton-active",
        "singleSegmentedButton",
        "singleSegmentedButton-active",
        "conveyorBackground",
        "conveyorBackground-adjacent",
        "conveyorBackground-active",
        "conveyorBackgroundHalf",
        "conveyorBackgroundHalf-adjacent",
        "conveyorBackgroundHalf-active",
        "singleConveyorCenterOverlay",
        "splitConveyorCenterOverlay",
        "singleConveyorStretchableOverlay",
        "splitConveyorStretchableOverlay",
        "pagination",
        "pagination_active",
        "smallKnob",
        "resizeKnob",
    };
    PlatformSettings::setMainBundlePath(std::filesystem::path(TESSEL_SDK_RESOURCES_BUNDLE_DIR).parent_path().string());
    for (float scale : {1.f, 2.f}) {
        PlatformSettings::setScreenScale(scale);
        QZSDKResources::unloadResources();
        for (const char* name : names) {
            SCOPED_TRACE(std::string(name) + " at scale " + std::to_string(scale));
            auto image = QZSDKResources::imageNamed(std::string(name) + ".png");
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->scale(), scale);
            EXPECT_GT(image->size().width, 0);
        }
    }
    // What the frames and cap insets need.
    PlatformSettings::setScreenScale(2);
    QZSDKResources::unloadResources();
    struct Least {
        const char* name;
        CGFloat width, height;
    };
    const Least sizes[] = {
        {"sliderLeftCore", 47, 56},      {"sliderRightCore-active", 47, 56},
        {"sliderLeftCap", 10, 56},       {"sliderCenter", 30, 56},
        {"conveyorBackground", 15, 54},  {"conveyorBackgroundHalf-active", 15, 27},
        {"leftSegmentedButton", 45, 44}, {"singleSegmentedButton-active", 45, 44},
        {"pagination", 12, 12},
    };
    for (const Least& least : sizes) {
        SCOPED_TRACE(least.name);
        CGSize size = QZSDKResources::imageNamed(std::string(least.name) + ".png")->size();
        EXPECT_GE(size.width, least.width);
        EXPECT_GE(size.height, least.height);
    }
    EXPECT_LE(QZSDKResources::imageNamed("sliderKnob.png")->size().width, 36);
    QZSDKResources::unloadResources();
    PlatformSettings::reset();
}

}  // namespace
