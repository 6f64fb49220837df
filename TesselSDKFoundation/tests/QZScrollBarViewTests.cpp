// The paged scroll bar, driven through touches.

#include "TesselSDKFoundation/QZScrollBarScrollView.h"
#include "TesselSDKFoundation/QZScrollBarView.h"
#include "TesselSDKFoundation/tests/QZWidgetTestSupport.h"
#include "UIKit/UILabel.h"
#include "UIKit/UISlider.h"

namespace {

// Item views showing their column; every column asked for must exist.
class Columns : public QZScrollBarViewDelegate {
public:
    NSUInteger count = 10;
    std::vector<NSUInteger> asked;
    std::vector<std::string> pages;  // will/did messages
    std::vector<std::shared_ptr<QZScrollBarPageItemView>> made;
    std::shared_ptr<UIView> extra;

    NSUInteger numberOfItemsInScrollBar(QZScrollBarView*) override { return count; }
    std::shared_ptr<QZScrollBarPageItemView> scrollBarItemViewForColumnAtIndex(QZScrollBarView* bar,
                                                                               NSUInteger column) override
    {
        EXPECT_LT(column, count) << "a column past the items was asked for";
        asked.push_back(column);
        auto item = bar->dequeueReusableItemWithIdentifier("item");
        if (!item) {
            item = QZScrollBarPageItemView::itemWithReuseIdentifier("item");
            auto label = UIView::viewWithFrame<UILabel>(CGRectMake(4, 4, 72, 92));
            label->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
            label->setTextAlignment(NSTextAlignmentCenter);
            label->setTextColor(UIColor::whiteColor());
            label->setBackgroundColor(UIColor::colorWithRed(0.2f, 0.4f, 0.7f, 1));
            item->addSubview(label);
            made.push_back(item);
        }
        std::static_pointer_cast<UILabel>(item->subviews()[0])->setText(std::to_string(column));
        return item;
    }
    std::shared_ptr<UIView> viewForExtraPageInScrollBar(QZScrollBarView*) override { return extra; }
    void scrollBarWillScrollToPage(QZScrollBarView*, NSInteger page) override
    {
        pages.push_back("will " + std::to_string(page));
    }
    void scrollBarDidScrollToPage(QZScrollBarView*, NSInteger page) override
    {
        pages.push_back("did " + std::to_string(page));
    }
};

class QZScrollBarViewTest : public QZWidgetTest {
protected:
    void SetUp() override
    {
        QZWidgetTest::SetUp();
        bar = UIView::viewWithFrame<QZScrollBarView>(CGRectMake(0, 100, 320, 100));
        bar->setDelegate(columns);
        dots = UIView::viewWithFrame<QZPageControl>(CGRectMake(60, 210, 200, 37));
        bar->setPageControl(dots);
        show(dots);
        show(bar);
        bar->setNeedsReload();
        bar->layoutIfNeeded();
        driver->turn();
    }
    std::vector<NSUInteger> visibleIndexes() const
    {
        std::vector<NSUInteger> out;
        for (const auto& page : bar->visiblePages()) out.push_back(page->index());
        std::sort(out.begin(), out.end());
        return out;
    }
    void swipe(CGFloat from, CGFloat to)
    {
        driver->drag({CGPointMake(from, 150), CGPointMake(to, 150)}, 0.1);
        auto scroll = bar->scrollView();
        driver->runUntil([&] { return !scroll->isDecelerating(); }, 10);
    }

    std::shared_ptr<Columns> columns = std::make_shared<Columns>();
    std::shared_ptr<QZScrollBarView> bar;
    std::shared_ptr<QZPageControl> dots;
};

TEST_F(QZScrollBarViewTest, TenColumnsInThreeHundredTwentyPoints)
{
    EXPECT_TRUE(RectNear(bar->scrollView()->frame(), CGRectMake(-10, 0, 340, 100)));
    EXPECT_EQ(bar->numberOfColumnsPerPage(), 3u);
    EXPECT_EQ(bar->numberOfPages(), 4u);
    EXPECT_EQ(dots->numberOfPages(), 4u);
    EXPECT_EQ(bar->scrollView()->contentSize().width, 4 * 340);
    for (NSUInteger i : {0u, 1u, 3u})
        EXPECT_TRUE(RectNear(bar->frameForPageAtIndex(i), CGRectMake(i * 340.f - 5, 0, 350, 100)));
    ASSERT_EQ(visibleIndexes(), std::vector<NSUInteger>{0});
    const auto& page = bar->visiblePages()[0];
    ASSERT_EQ(page->items().size(), 3u);
    // One block of 240 points centred in the 350-point page.
    EXPECT_TRUE(RectNear(page->items()[0]->frame(), CGRectMake(55, 0, 80, 100)));
    EXPECT_TRUE(RectNear(page->items()[2]->frame(), CGRectMake(215, 0, 80, 100)));

    struct Row {
        const char* name;
        NSUInteger max;
        bool extra;
        NSUInteger perPage, pages;
    };
    const Row rows[] = {
        {"a cap below what fits", 2, false, 2, 5},
        {"no cap", 0, false, 3, 4},
        {"an extra page", 0, true, 3, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bar->setMaxNumberOfColumnsPerPage(row.max);
        bar->setExtraPage(row.extra);
        bar->setNeedsReload();
        EXPECT_EQ(bar->numberOfColumnsPerPage(), row.perPage);
        EXPECT_EQ(bar->numberOfPages(), row.pages);
    }
    // Too narrow for a column: none per page.
    bar->setFrame(CGRectMake(0, 100, 15, 100));
    bar->setNeedsReload();
    EXPECT_EQ(bar->numberOfColumnsPerPage(), 0u);
}

TEST_F(QZScrollBarViewTest, ASwipePagesAndThePageControlFollows)
{
    swipe(250, 150);
    EXPECT_EQ(bar->scrollView()->contentOffset().x, 340);
    EXPECT_EQ(bar->currentPage(), 1u);
    EXPECT_EQ(dots->currentPage(), 1u);
    ASSERT_FALSE(columns->pages.empty());
    EXPECT_EQ(columns->pages.back(), "did 1");
    EXPECT_EQ(columns->pages[columns->pages.size() - 2], "will 1");
}

TEST_F(QZScrollBarViewTest, PagesOutOfViewAreRecycledAndTheirItemsReused)
{
    size_t madeOnFirstPage = columns->made.size();
    EXPECT_EQ(madeOnFirstPage, 3u);
    swipe(250, 150);
    swipe(250, 150);
    EXPECT_EQ(bar->currentPage(), 2u);
    EXPECT_EQ(visibleIndexes(), std::vector<NSUInteger>{2});
    // Page 2 shows columns 6, 7, 8; items came back from the pool instead of being made anew.
    const auto& page = bar->visiblePages()[0];
    ASSERT_EQ(page->items().size(), 3u);
    EXPECT_EQ(std::static_pointer_cast<QZScrollBarPageItemView>(page->items()[0])->index(), 6u);
    EXPECT_LT(columns->made.size(), 3 * madeOnFirstPage);
    // The pool answers by identifier only.
    auto spare = QZScrollBarPageItemView::itemWithReuseIdentifier("spare");
    bar->enqueueReusableItem(spare);
    EXPECT_EQ(bar->dequeueReusableItemWithIdentifier("other"), nullptr);
    EXPECT_EQ(bar->dequeueReusableItemWithIdentifier("spare"), spare);
    EXPECT_EQ(bar->dequeueReusableItemWithIdentifier("spare"), nullptr);
}

TEST_F(QZScrollBarViewTest, GoingToAPagePastTheEndShowsAndMarksTheLastOne)
{
    struct Row {
        NSUInteger count;
        NSUInteger page;
        CGFloat offset;
        NSUInteger dot;
    };
    const Row rows[] = {
        {10, 2, 680, 2},
        {10, 4, 1020, 3},  // the page count: the last page, which the control can mark
        {0, 0, 0, 0},      // no pages: page 0, not a wrapped index
        {0, 3, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.count) + " items, page " + std::to_string(row.page));
        columns->count = row.count;
        bar->setNeedsReload();
        bar->goToPage(row.page);
        EXPECT_EQ(bar->scrollView()->contentOffset().x, row.offset);
        if (row.count > 0)
            EXPECT_EQ(dots->currentPage(), row.dot);
        else
            EXPECT_EQ(dots->numberOfPages(), 0u);  // no dot to mark
    }
    // Rotating an empty bar lands on page 0.
    bar->willRotateToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
    bar->willAnimateRotationToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
    EXPECT_EQ(bar->scrollView()->contentOffset().x, 0);
}

TEST_F(QZScrollBarViewTest, AWiderBarNeverAsksForColumnsPastTheItems)
{
    bar->goToPage(3);
    driver->turn();
    EXPECT_EQ(visibleIndexes(), std::vector<NSUInteger>{3});
    columns->asked.clear();
    // Wider: 5 per page, 2 pages; page 3 is still in view while the pages refill.
    bar->setFrame(CGRectMake(0, 100, 480, 100));
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->numberOfColumnsPerPage(), 5u);
    EXPECT_EQ(bar->numberOfPages(), 2u);
    for (NSUInteger column : columns->asked) EXPECT_LT(column, 10u);
}

TEST_F(QZScrollBarViewTest, SlidersInItemsKeepTheirDrags)
{
    auto scroll = std::dynamic_pointer_cast<QZScrollBarScrollView>(bar->scrollView());
    ASSERT_NE(scroll, nullptr);
    auto slider = UIView::viewWithFrame<UISlider>(CGRectMake(0, 0, 80, 20));
    auto plain = UIView::viewWithFrame(CGRectMake(0, 0, 80, 20));
    EXPECT_FALSE(scroll->touchesShouldCancelInContentView(slider.get()));
    EXPECT_TRUE(scroll->touchesShouldCancelInContentView(plain.get()));
}

TEST_F(QZScrollBarViewTest, TheExtraPageLooksAsReviewed)
{
    columns->extra = UIView::viewWithFrame<UILabel>(CGRectZero);
    auto label = std::static_pointer_cast<UILabel>(columns->extra);
    label->setText("More");
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setBackgroundColor(UIColor::orangeColor());
    bar->setExtraPage(true);
    bar->setNeedsReload();
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->numberOfPages(), 5u);
    for (int i = 0; i < 4; ++i) swipe(250, 150);
    EXPECT_EQ(bar->currentPage(), 4u);
    EXPECT_EQ(dots->currentPage(), 4u);
    EXPECT_TRUE(RectNear(label->frame(), CGRectMake(55, 0, 240, 100)));
    expectGolden(*bar, "QZScrollBarView_extraPage");
}

}  // namespace
