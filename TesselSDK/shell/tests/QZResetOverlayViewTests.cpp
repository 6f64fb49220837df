// The reset callout: its size and button places per position, the button index its delegate
// hears on a tap, and the bubbles as drawn against a reviewed golden image (regenerate with
// TESSEL_UPDATE_GOLDEN=1 and look at it).
#include "QZShellTestSupport.h"

#include "TesselSDK/shell/QZResetOverlayView.h"
#include "UIKit/testing/UIGoldenImage.h"

#include <vector>

namespace {

struct RecordingOverlayDelegate : QZResetOverlayViewDelegate {
    std::vector<NSInteger> pressed;
    void resetOverlayPressedButtonAtIndex(QZResetOverlayView*, NSInteger index) override { pressed.push_back(index); }
};

using QZResetOverlayViewTest = QZShellTest;

std::string describe(CGRect r)
{
    return std::to_string(r.origin.x) + "," + std::to_string(r.origin.y) + " " + std::to_string(r.size.width) + "x" +
           std::to_string(r.size.height);
}

TEST_F(QZResetOverlayViewTest, OneButtonSizesAndPlacesPerPosition)
{
    struct Case {
        NSInteger position;
        CGFloat extraWidth, extraHeight, buttonX;
    };
    const Case cases[] = {{QZResetOverlayViewPositionDown, 30, 40, 15},
                          {QZResetOverlayViewPositionLeft, 32, 40, 12},
                          {QZResetOverlayViewPositionRight, 32, 40, 20},
                          {7, 0, 0, 0}};
    for (const auto& c : cases) {
        auto overlay = QZResetOverlayView::overlayViewWithTitle("Restore Original", {});
        EXPECT_FALSE(overlay->button2());
        CGSize button = overlay->button()->bounds().size;
        ASSERT_GT(button.width, 56);
        overlay->layoutForPosition(QZResetOverlayViewPosition(c.position));
        CGRect b = overlay->bounds();
        if (c.extraHeight == 0) {
            EXPECT_TRUE(CGRectEqualToRect(b, CGRectZero)) << "an unknown position: " << describe(b);
            continue;
        }
        EXPECT_EQ(b.size.width, button.width + c.extraWidth) << c.position;
        EXPECT_EQ(b.size.height, button.height + c.extraHeight) << c.position;
        EXPECT_TRUE(
            CGRectEqualToRect(overlay->button()->frame(), CGRectMake(c.buttonX, 20, button.width, button.height)))
            << c.position << ": " << describe(overlay->button()->frame());
        EXPECT_EQ(overlay->button()->superview(), overlay) << "above the bubble";
        EXPECT_EQ(overlay->subviews().back(), overlay->button());
    }
}

TEST_F(QZResetOverlayViewTest, TwoButtonsSitSideBySideInAContainerUnderTheArrow)
{
    auto overlay = QZResetOverlayView::overlayViewWithFirstButtonTitle("Retake Photo", "Restore Original", {});
    ASSERT_TRUE(overlay->button2());
    CGSize first = overlay->button()->bounds().size, second = overlay->button2()->bounds().size;
    EXPECT_EQ(overlay->button()->tag(), kQZResetButtonOneIndex);
    EXPECT_EQ(overlay->button2()->tag(), kQZResetButtonTwoIndex);
    EXPECT_EQ(overlay->twoButtonsViewBounds().size.width, first.width + 5 + second.width);

    overlay->layoutForPosition(QZResetOverlayViewPositionUpTwoButtons);
    CGRect b = overlay->bounds();
    EXPECT_EQ(b.size.width, first.width + 5 + second.width + 32);
    EXPECT_EQ(b.size.height, first.height + 40);
    auto container = overlay->button()->superview();
    ASSERT_TRUE(container);
    EXPECT_EQ(overlay->button2()->superview(), container);
    EXPECT_EQ(overlay->subviews().back(), container) << "added last";
    EXPECT_TRUE(CGRectEqualToRect(container->frame(), CGRectMake(15, 20, first.width + 5 + second.width, first.height)))
        << describe(container->frame());
    EXPECT_EQ(overlay->button()->frame().origin.x, 0);
    EXPECT_EQ(overlay->button2()->frame().origin.x, first.width + 5);
    CGRect secondInOverlay = overlay->button2()->convertRectToView(overlay->button2()->bounds(), overlay.get());
    EXPECT_EQ(b.size.width - CGRectGetMaxX(secondInOverlay), 17);
}

TEST_F(QZResetOverlayViewTest, ATapTellsTheDelegateTheButtonsIndex)
{
    auto delegate = std::make_shared<RecordingOverlayDelegate>();
    auto overlay = QZResetOverlayView::overlayViewWithFirstButtonTitle("Retake Photo", "Restore Original", delegate);
    overlay->layoutForPosition(QZResetOverlayViewPositionUpTwoButtons);
    overlay->setCenter(CGPointMake(overlay->bounds().size.width / 2, overlay->bounds().size.height / 2 + 40));
    window_->addSubview(overlay);

    ASSERT_TRUE(driver_.tapViewWithLabel("Restore Original"));
    ASSERT_TRUE(driver_.tapViewWithLabel("Retake Photo"));
    EXPECT_EQ(delegate->pressed, (std::vector<NSInteger>{1, 0}));

    // A delegate that does not answer the call, or none at all: nothing happens.
    auto silent = std::make_shared<QZResetOverlayViewDelegate>();
    overlay->setDelegate(silent);
    ASSERT_TRUE(driver_.tapViewWithLabel("Restore Original"));
    overlay->setDelegate({});
    ASSERT_TRUE(driver_.tapViewWithLabel("Restore Original"));
    EXPECT_EQ(delegate->pressed.size(), 2u);
}

TEST_F(QZResetOverlayViewTest, BubblesAsDrawn)
{
    PlatformSettings::setScreenScale(2);
    auto backdrop = UIView::viewWithFrame(CGRectMake(0, 0, 300, 250));
    backdrop->setBackgroundColor(UIColor::colorWithRed(0.55f, 0.6f, 0.65f, 1));
    auto place = [&](const std::shared_ptr<QZResetOverlayView>& overlay, QZResetOverlayViewPosition position,
                     CGPoint origin) {
        overlay->layoutForPosition(position);
        overlay->setFrame(CGRectMake(origin.x, origin.y, overlay->bounds().size.width, overlay->bounds().size.height));
        backdrop->addSubview(overlay);
    };
    place(QZResetOverlayView::overlayViewWithFirstButtonTitle("Retake Photo", "Restore Original", {}),
          QZResetOverlayViewPositionUpTwoButtons, CGPointMake(5, 5));
    place(QZResetOverlayView::overlayViewWithTitle("Restore Original", {}), QZResetOverlayViewPositionDown,
          CGPointMake(5, 90));
    place(QZResetOverlayView::overlayViewWithTitle("Reset", {}), QZResetOverlayViewPositionLeft, CGPointMake(5, 170));
    place(QZResetOverlayView::overlayViewWithTitle("Reset", {}), QZResetOverlayViewPositionRight,
          CGPointMake(150, 170));
    auto image = UIViewSnapshot(*backdrop);
    ASSERT_TRUE(image);
    UIGoldenOutcome outcome =
        UICompareWithGolden(image->CGImage(), TESSEL_SHELL_GOLDEN_DIR "/reset_overlay.png", ::testing::TempDir());
    if (outcome.updated) GTEST_SKIP() << outcome.message;
    EXPECT_TRUE(outcome.matches) << outcome.message;
}

}  // namespace
