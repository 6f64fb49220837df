// Toolbars: items left to right at their own widths, flexible spaces sharing the rest; a system
// Done item and titled items send their action, and not while disabled.
#include "UIKit/UIToolbar.h"
#include "UIKit/UIButton.h"
#include "UIKit/testing/UITestDriver.h"
#include "UITouchTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Presses {
    std::vector<UIBarButtonItem*> senders;
    void done(UIBarButtonItem* item) { senders.push_back(item); }
};

TEST(UIToolbarTest, FlexibleSpacesShareTheWidthLeftOver)
{
    auto fixed = [](CGFloat width) {
        return UIBarButtonItem::makeWithCustomView(UIView::viewWithFrame(CGRectMake(0, 0, width, 20)));
    };
    auto flexible = [] { return UIBarButtonItem::makeWithBarButtonSystemItem(UIBarButtonSystemItemFlexibleSpace); };
    auto bar = UIView::viewWithFrame<UIToolbar>(CGRectMake(0, 0, 320, 44));
    auto a = fixed(50), b = fixed(60), c = fixed(40);
    bar->setItems({a, flexible(), b, flexible(), c});
    bar->layoutIfNeeded();
    // 320 - 2 x 6 margins - 150 of items - 2 x 8 between them = 142, shared by two spaces.
    EXPECT_EQ(a->itemView()->frame().origin.x, 6);
    EXPECT_EQ(b->itemView()->frame().origin.x, 6 + 50 + 8 + 71);
    EXPECT_EQ(CGRectGetMaxX(c->itemView()->frame()), 314);
    EXPECT_EQ(a->itemView()->frame().origin.y, 12) << "centred in the bar's height";

    bar->setItems({flexible(), a});
    bar->layoutIfNeeded();
    EXPECT_EQ(CGRectGetMaxX(a->itemView()->frame()), 314);
    EXPECT_EQ(b->itemView()->superview(), nullptr) << "items no longer shown leave the bar";
}

TEST(UIToolbarTest, DoneSendsItsActionWithTheItemWhileEnabled)
{
    UITestDriver driver;
    auto window = keyWindow();
    auto presses = std::make_shared<Presses>();
    auto done = UIBarButtonItem::makeWithBarButtonSystemItem(UIBarButtonSystemItemDone, presses, &Presses::done);
    ASSERT_TRUE(done->systemItem());
    EXPECT_FALSE(done->isFlexibleSpace());
    auto bar = UIView::viewWithFrame<UIToolbar>(CGRectMake(0, 100, 320, 44));
    bar->setBarStyle(UIBarStyleBlackTranslucent);
    EXPECT_TRUE(bar->isTranslucent());
    bar->setItems({UIBarButtonItem::makeWithBarButtonSystemItem(UIBarButtonSystemItemFlexibleSpace), done});
    window->addSubview(bar);

    ASSERT_TRUE(driver.tapViewWithLabel("Done"));
    EXPECT_EQ(presses->senders, std::vector<UIBarButtonItem*>{done.get()});
    done->setEnabled(false);
    driver.tap(*done->itemView());
    EXPECT_EQ(presses->senders.size(), 1u);
}

// "Prev" and "Next" as a keyboard bar shows them: found and tapped by their titles, each sending
// its own action with itself; a disabled one shows dimmed and takes no tap.
TEST(UIToolbarTest, TitledItemsAreTappedByTitleWhileEnabled)
{
    UITestDriver driver;
    auto window = keyWindow();
    auto prevPresses = std::make_shared<Presses>(), nextPresses = std::make_shared<Presses>();
    auto prev = UIBarButtonItem::makeWithTitle("Prev", UIBarButtonItemStyleBordered, prevPresses, &Presses::done);
    auto next = UIBarButtonItem::makeWithTitle("Next", UIBarButtonItemStylePlain, nextPresses, &Presses::done);
    EXPECT_EQ(prev->title(), "Prev");
    EXPECT_EQ(prev->style(), UIBarButtonItemStyleBordered);
    EXPECT_FALSE(prev->systemItem());
    EXPECT_FALSE(prev->isFlexibleSpace());
    auto bar = UIView::viewWithFrame<UIToolbar>(CGRectMake(0, 100, 320, 44));
    bar->setItems({prev, next, UIBarButtonItem::makeWithBarButtonSystemItem(UIBarButtonSystemItemFlexibleSpace)});
    window->addSubview(bar);
    bar->layoutIfNeeded();
    auto prevButton = std::dynamic_pointer_cast<UIButton>(prev->itemView());
    ASSERT_NE(prevButton, nullptr);
    EXPECT_EQ(prevButton->currentTitle(), "Prev");
    EXPECT_GT(prevButton->frame().size.width, 24) << "as wide as its title and some";
    EXPECT_EQ(prevButton->layer()->borderWidth(), 1) << "bordered";
    EXPECT_EQ(next->itemView()->layer()->borderWidth(), 0) << "plain";
    EXPECT_GT(next->itemView()->frame().origin.x, CGRectGetMaxX(prevButton->frame()));

    ASSERT_TRUE(driver.tapViewWithLabel("Next"));
    ASSERT_TRUE(driver.tapViewWithLabel("Prev"));
    EXPECT_EQ(prevPresses->senders, std::vector<UIBarButtonItem*>{prev.get()});
    EXPECT_EQ(nextPresses->senders, std::vector<UIBarButtonItem*>{next.get()});

    prev->setEnabled(false);
    EXPECT_FALSE(prevButton->isEnabled());
    EXPECT_NE(prevButton->currentTitleColor(), prevButton->titleColorForState(UIControlStateNormal)) << "dimmed";
    driver.tap(*prevButton);
    EXPECT_EQ(prevPresses->senders.size(), 1u);
    prev->setEnabled(true);
    driver.tap(*prevButton);
    EXPECT_EQ(prevPresses->senders.size(), 2u);
}

}  // namespace
