#include "UIKit/UIView.h"
#include "UIKit/testing/UITestDriver.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(UIViewAnimationTest, ModelChangesAtOncePresentationOnTheCurveCompletionAfterTheDuration)
{
    UITestDriver driver;
    auto view = UIView::viewWithFrame(CGRectMake(0, 0, 10, 10));
    view->setAlpha(0);
    std::optional<bool> finished;
    UIView::animateWithDuration(
        1, 0, UIViewAnimationOptionCurveLinear, [&] { view->setAlpha(1); }, [&](bool f) { finished = f; });
    EXPECT_EQ(view->alpha(), 1);
    EXPECT_EQ(view->layer()->presentationLayer()->opacity(), 0);
    driver.advance(0.5);
    EXPECT_NEAR(view->layer()->presentationLayer()->opacity(), 0.5, 1e-3);
    driver.advance(0.49);
    EXPECT_FALSE(finished);
    driver.advance(0.02);
    ASSERT_TRUE(finished);
    EXPECT_TRUE(*finished);
}

TEST(UIViewAnimationTest, SupersededAnimationsFinishNOAndEmptyBlocksCompleteNextTurn)
{
    UITestDriver driver;
    auto view = UIView::viewWithFrame(CGRectMake(0, 0, 10, 10));
    std::optional<bool> first, second, plain, empty, zero;
    UIView::animateWithDuration(
        1, [&] { view->setCenter(CGPointMake(100, 0)); }, [&](bool f) { first = f; });
    driver.advance(0.1);
    UIView::animateWithDuration(
        1, [&] { view->setCenter(CGPointMake(0, 100)); }, [&](bool f) { second = f; });
    driver.turn();
    EXPECT_EQ(first, false);
    // A plain set of the key ends the running animation too.
    UIView::animateWithDuration(
        1, [&] { view->setAlpha(0.5f); }, [&](bool f) { plain = f; });
    view->setAlpha(1);
    EXPECT_FALSE(plain);  // never inside the call
    driver.turn();
    EXPECT_EQ(plain, false);

    UIView::animateWithDuration(
        1, [] {}, [&](bool f) { empty = f; });
    UIView::animateWithDuration(
        0, [&] { view->setAlpha(0.2f); }, [&](bool f) { zero = f; });
    EXPECT_FALSE(empty);
    EXPECT_FALSE(zero);
    EXPECT_EQ(view->layer()->presentationLayer()->opacity(), 0.2f);
    driver.turn();
    EXPECT_EQ(empty, true);
    EXPECT_EQ(zero, true);
    driver.advance(1.1);
    EXPECT_EQ(second, true);
}

}  // namespace
