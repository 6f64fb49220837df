// The progress bar: the fill follows the progress, clamped, easing when animated.

#include "Foundation/PlatformSettings.h"
#include "UIKit/UIProgressView.h"
#include "UIKit/UIWindow.h"
#include "UIKit/testing/UITestDriver.h"

#include <gtest/gtest.h>

namespace {

// The fill's shown width: the track's only subview.
CGFloat fillWidth(UIProgressView& bar)
{
    const auto& fill = bar.subviews().at(0)->subviews().at(0);
    return fill->layer()->presentationLayer()->bounds().size.width;
}

TEST(UIProgressViewTest, TheFillFollowsTheProgressAndEasesWhenAnimated)
{
    UITestDriver driver;
    auto window = UIWindow::window();
    window->makeKeyAndVisible();
    auto bar = UIProgressView::progressViewWithStyle(UIProgressViewStyleDefault);
    bar->setFrame(CGRectMake(10, 10, 100, 5));
    window->addSubview(bar);
    window->layoutIfNeeded();
    EXPECT_FLOAT_EQ(bar->sizeThatFits(CGSizeMake(100, 0)).height, 9);

    const struct {
        float given, stored;
    } rows[] = {{0.4f, 0.4f}, {-1, 0}, {1.5f, 1}, {0.25f, 0.25f}};
    for (const auto& row : rows) {
        bar->setProgress(row.given);
        EXPECT_FLOAT_EQ(bar->progress(), row.stored);
        EXPECT_FLOAT_EQ(fillWidth(*bar), 100 * row.stored);
    }
    bar->setProgress(0.75f, true);
    driver.advance(0.1);
    EXPECT_GT(fillWidth(*bar), 25);
    EXPECT_LT(fillWidth(*bar), 75);
    driver.advance(0.2);
    EXPECT_FLOAT_EQ(fillWidth(*bar), 75);
    // A new size keeps the fraction.
    bar->setFrame(CGRectMake(10, 10, 200, 5));
    window->layoutIfNeeded();
    EXPECT_FLOAT_EQ(fillWidth(*bar), 150);
    PlatformSettings::reset();
}

}  // namespace
