// The editor's bar as drawn, against reviewed golden images: the themed background with a
// Cancel and a Done button, and the gradient drawn when there is no background image.
// Regenerate after an intended change with TESSEL_UPDATE_GOLDEN=1 and look at the new images.

#include "QZShellTestSupport.h"
#include "TesselSDK/shell/QZNavigationBar.h"
#include "TesselSDK/shell/QZNavigationItem.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/testing/UIGoldenImage.h"

namespace {

class QZNavigationBarGoldenTest : public QZShellTest {
protected:
    void SetUp() override
    {
        QZShellTest::SetUp();
        PlatformSettings::setScreenScale(2);
    }

    void expectGolden(UIView& view, const char* name)
    {
        auto image = UIViewSnapshot(view);
        ASSERT_TRUE(image);
        UIGoldenOutcome outcome = UICompareWithGolden(image->CGImage(), std::string(TESSEL_SHELL_GOLDEN_DIR "/") + name,
                                                      ::testing::TempDir());
        if (outcome.updated) GTEST_SKIP() << outcome.message;
        EXPECT_TRUE(outcome.matches) << outcome.message;
    }
};

TEST_F(QZNavigationBarGoldenTest, ThemedBackgroundWithCancelAndDone)
{
    auto bar = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 0, 320, 44));
    bar->setBackgroundImage(QZSDKResources::imageNamed("navBar.png"));
    ASSERT_TRUE(bar->backgroundImage());
    auto item = UINavigationItem::make<QZNavigationItem>();
    item->setTitle("Crop");
    item->setLeftBarButtonItem(UIBarButtonItem::makeWithCustomView(
        QZNavigationItemButton::buttonWithTitle("Cancel", QZNavigationItemButtonStyleCancel)));
    item->setRightBarButtonItem(UIBarButtonItem::makeWithCustomView(
        QZNavigationItemButton::buttonWithTitle("Done", QZNavigationItemButtonStyleApply)));
    bar->pushNavigationItem(item, false);
    expectGolden(*bar, "navigation_bar.png");
}

TEST_F(QZNavigationBarGoldenTest, GradientWithoutABackgroundImage)
{
    // Over a dark backdrop: the gradient is a translucent gloss.
    auto backdrop = UIView::viewWithFrame(CGRectMake(0, 0, 320, 44));
    backdrop->setBackgroundColor(UIColor::colorWithRed(0.12f, 0.2f, 0.32f, 1));
    auto bar = UIView::viewWithFrame<QZNavigationBar>(backdrop->bounds());
    backdrop->addSubview(bar);
    EXPECT_FALSE(bar->gradientLayer()->superlayer());
    EXPECT_EQ(bar->gradientLayer()->locations(), (std::vector<CGFloat>{0, 0.5f, 0.5f, 1.0f}));
    expectGolden(*backdrop, "navigation_bar_gradient.png");
}

}  // namespace
