// The page control and the paging view, driven through touches.

#include "Foundation/NSLogCapture.h"
#include "TesselSDKFoundation/QZPagingView.h"
#include "TesselSDKFoundation/tests/QZWidgetTestSupport.h"

namespace {

TEST(QZPageControlTest, DotsAreCentredAndFollowTheCounts)
{
    auto control = UIView::viewWithFrame<QZPageControl>(CGRectMake(0, 0, 200, 37));
    std::vector<std::string> heard;
    control->addObserverForKey("currentPage",
                               [&](const std::string&, bool prior) { heard.push_back(prior ? "will" : "did"); });
    control->setNumberOfPages(5);
    control->layoutIfNeeded();
    ASSERT_EQ(control->dotImageViews().size(), 5u);
    const CGFloat xs[] = {52.5f, 73.5f, 94.5f, 115.5f, 136.5f};
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(RectNear(control->dotImageViews()[i]->frame(), CGRectMake(xs[i], 13, 12, 12)));
        EXPECT_EQ(control->dotImageViews()[i]->image(),
                  i == 0 ? control->activePageImage() : control->defaultPageImage());
    }
    control->setCurrentPage(3);
    EXPECT_EQ(control->dotImageViews()[3]->image(), control->activePageImage());
    EXPECT_EQ(control->dotImageViews()[0]->image(), control->defaultPageImage());
    EXPECT_EQ(heard, (std::vector<std::string>{"will", "did"}));

    // Past the last page: nothing stored, announced or redrawn.
    heard.clear();
    control->setCurrentPage(5);
    control->setCurrentPage(4294967295u);
    EXPECT_EQ(control->currentPage(), 3u);
    EXPECT_TRUE(heard.empty());

    // Fewer pages drop the last dots; the stored page's dot is gone, and a later page change
    // does not reach for it.
    control->setCurrentPage(4);
    auto kept = control->dotImageViews()[0];
    control->setNumberOfPages(3);
    EXPECT_EQ(control->dotImageViews().size(), 3u);
    EXPECT_EQ(control->subviews().size(), 3u);
    EXPECT_EQ(control->dotImageViews()[0], kept);
    control->setCurrentPage(1);
    EXPECT_EQ(control->dotImageViews()[1]->image(), control->activePageImage());
    control->setNumberOfPages(5);
    EXPECT_TRUE(CGRectEqualToRect(control->dotImageViews()[4]->frame(), CGRectZero));

    // One page is not laid out unless asked for.
    auto single = UIView::viewWithFrame<QZPageControl>(CGRectMake(0, 0, 200, 37));
    single->setNumberOfPages(1);
    single->layoutIfNeeded();
    EXPECT_TRUE(CGRectEqualToRect(single->dotImageViews()[0]->frame(), CGRectZero));
    single->setShowsSinglePage(true);
    single->setNeedsLayout();
    single->layoutIfNeeded();
    EXPECT_TRUE(RectNear(single->dotImageViews()[0]->frame(), CGRectMake(94.5f, 13, 12, 12)));
}

// Items as cells showing their index.
class Items : public QZPagingViewDelegate {
public:
    NSInteger count = 8;
    std::vector<NSInteger> configured;
    NSInteger numberOfItemsInPagingView(QZPagingView*) override { return count; }
    std::shared_ptr<UITableViewCell> pagingViewCreateCellWithIdentifier(QZPagingView*, const std::string& id) override
    {
        auto cell = UITableViewCell::cellWithStyle<QZHorizontalTableViewCell>(UITableViewCellStyleDefault, id);
        cell->setBackgroundColor(UIColor::colorWithRed(0.2f, 0.4f, 0.7f, 1));
        cell->textLabel()->setTextAlignment(NSTextAlignmentCenter);
        return cell;
    }
    void pagingViewConfigureCellForIndex(QZPagingView*, UITableViewCell* cell, NSInteger index) override
    {
        configured.push_back(index);
        cell->setTag(index);
        cell->textLabel()->setText(std::to_string(index));
    }
};

class QZPagingViewTest : public QZWidgetTest {
protected:
    void SetUp() override
    {
        QZWidgetTest::SetUp();
        paging = UIView::viewWithFrame<QZPagingView>(CGRectMake(0, 100, 320, 80));
        paging->setMaximumItemsPerPage(4);
        paging->setDelegate(items);
        dots = UIView::viewWithFrame<QZPageControl>(CGRectMake(60, 190, 200, 37));
        paging->setPageControl(dots);
        show(dots);
        show(paging);
    }
    std::shared_ptr<NSIndexPath> row(NSInteger r) const { return NSIndexPath::indexPathForRowInSection(r, 0); }
    CGFloat rowWidth(NSInteger r) const { return *paging->tableViewHeightForRowAtIndexPath(nullptr, row(r)); }
    // The window rectangle of the cell showing item `index`, or a null rect.
    CGRect itemOnScreen(NSInteger index) const
    {
        for (const auto& cell : paging->horizontalTableView()->visibleCells())
            if (cell->reuseIdentifier() == kQZPagingViewContentCellIdentifier &&
                paging->itemIndexForCell(cell.get()) == index)
                return cell->convertRectToView(cell->bounds(), nullptr);
        return CGRectNull;
    }
    void swipeLeft()
    {
        driver->drag({CGPointMake(280, 140), CGPointMake(180, 140)}, 0.1);
        auto table = paging->horizontalTableView();
        driver->runUntil([&] { return !table->isDecelerating(); }, 10);
    }

    std::shared_ptr<Items> items = std::make_shared<Items>();
    std::shared_ptr<QZPagingView> paging;
    std::shared_ptr<QZPageControl> dots;
};

TEST_F(QZPagingViewTest, FullPagesHoldWholeCellsBetweenBookends)
{
    EXPECT_EQ(paging->numberOfItemsPerPage(), 4);
    EXPECT_EQ(paging->numberOfPages(), 2);
    EXPECT_EQ(paging->numberOfColumns(), 12);
    EXPECT_EQ(paging->extraColumnWidth(), 16);
    EXPECT_EQ(dots->numberOfPages(), 2u);
    for (NSInteger r = 0; r < 12; ++r) {
        SCOPED_TRACE(r);
        bool bookend = r == 0 || r == 5 || r == 6 || r == 11;
        EXPECT_EQ(paging->isIndexPathBookend(row(r)), bookend);
        EXPECT_EQ(rowWidth(r), bookend ? 16 : 72);
    }
    EXPECT_EQ(paging->itemIndexForIndexPath(row(7)), 4);
    EXPECT_TRUE(RectNear(itemOnScreen(0), CGRectMake(16, 100, 72, 80)));
    EXPECT_TRUE(RectNear(itemOnScreen(3), CGRectMake(232, 100, 72, 80)));

    NSLogCapture log;
    EXPECT_EQ(paging->itemIndexForIndexPath(row(5)), 4);  // the formula's value, logged
    EXPECT_TRUE(log.contains("-[QZPagingView itemIndexForIndexPath:] Index path is a bookend: "));
}

TEST_F(QZPagingViewTest, ASwipePagesAndThePageControlFollows)
{
    EXPECT_EQ(paging->currentPage(), 0);
    swipeLeft();
    EXPECT_EQ(paging->currentPage(), 1);
    EXPECT_EQ(dots->currentPage(), 1u);
    EXPECT_TRUE(RectNear(itemOnScreen(4), CGRectMake(16, 100, 72, 80)));
    expectGolden(*paging, "QZPagingView_full");
}

TEST_F(QZPagingViewTest, APartialLastPageIsCentredBetweenItsOwnBookends)
{
    items->count = 9;
    paging->setNeedsLayout();
    paging->layoutIfNeeded();
    driver->turn();
    EXPECT_EQ(paging->numberOfPages(), 3);
    EXPECT_EQ(paging->numberOfColumns(), 15);
    EXPECT_TRUE(paging->isIndexPathBookend(row(12)));
    EXPECT_TRUE(paging->isIndexPathBookend(row(14)));
    EXPECT_FALSE(paging->isIndexPathBookend(row(13)));
    EXPECT_EQ(rowWidth(12), 124);
    EXPECT_EQ(rowWidth(14), 124);
    EXPECT_EQ(paging->itemIndexForIndexPath(row(13)), 8);
    swipeLeft();
    swipeLeft();
    EXPECT_EQ(paging->currentPage(), 2);
    EXPECT_EQ(dots->currentPage(), 2u);
    EXPECT_TRUE(RectNear(itemOnScreen(8), CGRectMake(124, 100, 72, 80)));
    expectGolden(*paging, "QZPagingView_partial");
    EXPECT_NE(std::find(items->configured.begin(), items->configured.end(), 8), items->configured.end());
}

TEST_F(QZPagingViewTest, NoWholeCellGivesNoPages)
{
    for (CGFloat width : {50.f, 0.f}) {
        SCOPED_TRACE(width);
        paging->setFrame(CGRectMake(0, 100, width, 80));
        paging->layoutIfNeeded();
        driver->turn();
        EXPECT_EQ(paging->numberOfItemsPerPage(), 0);
        EXPECT_EQ(paging->numberOfPages(), 0);
        EXPECT_EQ(paging->numberOfColumns(), 0);
        EXPECT_EQ(dots->numberOfPages(), 0u);
    }
    paging->setFrame(CGRectMake(0, 100, 320, 80));
    paging->setCellWidth(0);  // a zero cell width fits no whole cell either
    paging->layoutIfNeeded();
    EXPECT_EQ(paging->numberOfPages(), 0);
}

TEST_F(QZPagingViewTest, ThePageControlLooksAsReviewed)
{
    dots->setNumberOfPages(5);
    dots->setCurrentPage(2);
    dots->setBackgroundColor(UIColor::darkGrayColor());  // white dots show on it
    dots->layoutIfNeeded();
    expectGolden(*dots, "QZPageControl");
}

}  // namespace
