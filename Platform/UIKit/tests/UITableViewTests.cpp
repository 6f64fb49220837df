#include "Foundation/NSException.h"
#include "UIKit/UITableView.h"
#include "UIKit/testing/UITestDriver.h"
#include "UITouchTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// Counts the cells alive.
struct CountedCell : UITableViewCell {
    using UITableViewCell::UITableViewCell;
    static inline int alive = 0;
    int reuses = 0;
    void didConstruct() override
    {
        UITableViewCell::didConstruct();
        ++alive;
    }
    ~CountedCell() override { --alive; }
    void prepareForReuse() override
    {
        UITableViewCell::prepareForReuse();
        ++reuses;
    }
};

struct Rows : UITableViewDataSource, UITableViewDelegate {
    std::vector<NSInteger> counts{1000};
    std::optional<CGFloat> height;
    CGFloat headerHeight = 0;
    int made = 0;
    std::vector<std::string> heard;

    std::optional<NSInteger> numberOfSectionsInTableView(UITableView*) override { return NSInteger(counts.size()); }
    NSInteger tableViewNumberOfRowsInSection(UITableView*, NSInteger section) override
    {
        return counts[size_t(section)];
    }
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(UITableView* table,
                                                                    const std::shared_ptr<NSIndexPath>& path) override
    {
        auto cell = table->dequeueReusableCellWithIdentifier("row");
        if (!cell) {
            ++made;
            cell = UITableViewCell::cellWithStyle<CountedCell>(UITableViewCellStyleDefault, "row");
        }
        cell->textLabel()->setText(NSStringWithFormat("%d.%d", path->section(), path->row()));
        return cell;
    }
    std::optional<CGFloat> tableViewHeightForRowAtIndexPath(UITableView*, const std::shared_ptr<NSIndexPath>&) override
    {
        return height;
    }
    std::optional<CGFloat> tableViewHeightForHeaderInSection(UITableView*, NSInteger) override { return headerHeight; }
    std::shared_ptr<UIView> tableViewViewForHeaderInSection(UITableView*, NSInteger) override
    {
        return UIView::viewWithFrame();
    }
    void tableViewDidSelectRowAtIndexPath(UITableView*, const std::shared_ptr<NSIndexPath>& path) override
    {
        heard.push_back(NSStringWithFormat("select %d", path->row()));
    }
    void tableViewDidDeselectRowAtIndexPath(UITableView*, const std::shared_ptr<NSIndexPath>& path) override
    {
        heard.push_back(NSStringWithFormat("deselect %d", path->row()));
    }
};

struct TableTest : ::testing::Test {
    UITestDriver driver;
    std::shared_ptr<UIWindow> window = keyWindow();
    std::shared_ptr<UITableView> table = UIView::viewWithFrame<UITableView>(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<Rows> rows = std::make_shared<Rows>();
    TableTest()
    {
        window->addSubview(table);
        table->setDataSource(rows);
        table->setDelegate(rows);
        driver.turn();
    }
    bool settle()
    {
        return driver.runUntil([&] { return !table->isDecelerating(); }, 20);
    }
    // The visible cells are exactly the rows the bounds cross, each where its row is.
    void expectVisibleRowsMatchTheBounds()
    {
        CGRect b = table->bounds();
        auto paths = table->indexPathsForVisibleRows();
        ASSERT_FALSE(paths.empty());
        for (const auto& path : paths) {
            CGRect r = table->rectForRowAtIndexPath(path);
            EXPECT_TRUE(CGRectIntersectsRect(r, b)) << path->row();
            EXPECT_TRUE(CGRectEqualToRect(table->cellForRowAtIndexPath(path)->frame(), r));
        }
        NSInteger first = paths.front()->row(), last = paths.back()->row();
        EXPECT_EQ(NSInteger(paths.size()), last - first + 1);
        EXPECT_LE(table->rectForRowAtIndexPath(paths.front()).origin.y, CGRectGetMinY(b));
        EXPECT_GE(CGRectGetMaxY(table->rectForRowAtIndexPath(paths.back())), std::min(CGRectGetMaxY(b), 44000.f));
    }
};

TEST_F(TableTest, AThousandRowsScrolledEndToEndKeepOnlyTheVisibleCellsAlive)
{
    EXPECT_EQ(table->contentSize().height, 44000);
    size_t mostVisible = 0;
    auto watch = [&] {
        mostVisible = std::max(mostVisible, table->visibleCells().size());
        EXPECT_LE(CountedCell::alive, int(mostVisible) + 1);
        return !table->isDecelerating();
    };
    CGPoint top = CGPointMake(160, 460), bottom = CGPointMake(160, 20);
    for (int flick = 0; flick < 40 && table->contentOffset().y < 44000 - 480; ++flick) {
        driver.drag({top, bottom}, 0.1);
        ASSERT_TRUE(driver.runUntil(watch, 20));
        expectVisibleRowsMatchTheBounds();
    }
    EXPECT_EQ(table->contentOffset().y, 44000 - 480);
    EXPECT_EQ(table->indexPathsForVisibleRows().back()->row(), 999);
    for (int flick = 0; flick < 40 && table->contentOffset().y > 0; ++flick) {
        driver.drag({bottom, top}, 0.1);
        ASSERT_TRUE(driver.runUntil(watch, 20));
    }
    EXPECT_EQ(table->contentOffset().y, 0);
    EXPECT_LE(mostVisible, 12u);  // 480 points of 44-point rows
    EXPECT_LE(rows->made, int(mostVisible) + 1) << "no cell is made while the pool holds one";
    EXPECT_EQ(CountedCell::alive, rows->made);
    auto first = std::dynamic_pointer_cast<CountedCell>(
        table->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(0, 0)));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->textLabel()->text(), "0.0");
    EXPECT_GT(first->reuses, 0);
    EXPECT_FALSE(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(500, 0)));
}

TEST_F(TableTest, RowsUnderAPointInARotatedStripWithNegativeInsets)
{
    // A sideways strip: rows of 54 run left to right; the header and footer of 1,080 points and
    // insets of -947 let the first and last rows reach the strip's centre.
    auto strip = UIView::viewWithFrame(CGRectMake(0, 200, 320, 54));
    window->addSubview(strip);
    table->removeFromSuperview();
    table->setTransform(CGAffineTransformMakeRotation(float(-std::numbers::pi / 2)));
    table->setFrame(strip->bounds());
    strip->addSubview(table);
    rows->counts = {20};
    rows->height = 54;
    table->setTableHeaderView(UIView::viewWithFrame(CGRectMake(0, 0, 54, 1080)));
    table->setTableFooterView(UIView::viewWithFrame(CGRectMake(0, 0, 54, 1080)));
    table->setContentInset(UIEdgeInsetsMake(-947, 0, -947, 0));
    table->reloadData();
    table->setContentOffset(CGPointMake(0, 947));
    driver.turn();
    EXPECT_NEAR(table->bounds().size.width, 54, 1e-4);
    EXPECT_NEAR(table->bounds().size.height, 320, 1e-4);

    CGPoint centre = CGPointMake(160, 27);
    auto rowAtCentre = [&] { return table->indexPathForRowAtPoint(table->convertPointFromView(centre, strip.get())); };
    for (int step = 0; step < 6; ++step) {
        SCOPED_TRACE(step);
        auto path = rowAtCentre();
        ASSERT_TRUE(path);
        NSInteger expected = NSInteger(std::floor((table->contentOffset().y + 160 - 1080) / 54));
        EXPECT_EQ(path->row(), expected);
        auto cell = table->cellForRowAtIndexPath(path);
        ASSERT_TRUE(cell);
        EXPECT_TRUE(CGRectContainsPoint(cell->bounds(), cell->convertPointFromView(centre, strip.get())));
        // A finger moving left along the strip scrolls the rows on.
        CGPoint start = UITestDriver::windowPoint(*strip, CGPointMake(250, 27));
        driver.drag({start, CGPointMake(start.x - 100, start.y)}, 0.5, 0.2);
        settle();
    }
    for (int flick = 0; flick < 5; ++flick) {
        driver.drag({{300, 227}, {100, 227}}, 0.1);
        settle();
    }
    EXPECT_EQ(table->contentOffset().y, 2160 + 54 * 20 - 947 - 320) << "the far end";
    EXPECT_EQ(rowAtCentre()->row(), 19);
}

TEST_F(TableTest, ATapSelectsOnceAndHighlightsTheCellFirst)
{
    rows->counts = {5};
    table->reloadData();
    driver.turn();
    auto path1 = NSIndexPath::indexPathForRowInSection(1, 0), path3 = NSIndexPath::indexPathForRowInSection(3, 0);
    auto cell = table->cellForRowAtIndexPath(path1);
    auto selected = UIView::viewWithFrame();
    cell->setSelectedBackgroundView(selected);

    driver.touchDown(0, {160, 66});
    driver.advance(0.1);
    EXPECT_FALSE(cell->isHighlighted()) << "the content delay";
    driver.advance(0.06);
    EXPECT_TRUE(cell->isHighlighted());
    EXPECT_TRUE(cell->textLabel()->isHighlighted());
    EXPECT_TRUE(cell->imageView()->isHighlighted());
    EXPECT_FALSE(selected->isHidden());
    driver.touchUp(0, {160, 66});
    EXPECT_FALSE(cell->isHighlighted());
    EXPECT_TRUE(cell->isSelected());
    EXPECT_TRUE(cell->textLabel()->isHighlighted()) << "a selected cell shows its highlight";
    EXPECT_EQ(rows->heard, (std::vector<std::string>{"select 1"}));
    EXPECT_TRUE(table->indexPathForSelectedRow()->isEqual(*path1));

    driver.tap(CGPointMake(160, 154));
    EXPECT_EQ(rows->heard, (std::vector<std::string>{"select 1", "deselect 1", "select 3"}));
    EXPECT_FALSE(cell->isSelected());
    EXPECT_FALSE(cell->textLabel()->isHighlighted());
    EXPECT_TRUE(selected->isHidden());

    // A drag selects nothing; programmatic selection tells nobody.
    rows->heard.clear();
    driver.drag({{160, 100}, {160, 300}}, 0.2);
    settle();
    table->selectRowAtIndexPath(path1, false, UITableViewScrollPositionNone);
    EXPECT_TRUE(rows->heard.empty());
    EXPECT_TRUE(cell->isSelected());
    EXPECT_FALSE(table->cellForRowAtIndexPath(path3)->isSelected());

    table->cellForRowAtIndexPath(path3)->setSelectionStyle(UITableViewCellSelectionStyleNone);
    // What the cell's owner lit stays lit through the selection, and what it did not stays dark.
    table->cellForRowAtIndexPath(path3)->imageView()->setHighlighted(true);
    driver.tap(CGPointMake(160, 154));
    EXPECT_TRUE(table->cellForRowAtIndexPath(path3)->isSelected());
    EXPECT_FALSE(table->cellForRowAtIndexPath(path3)->textLabel()->isHighlighted()) << "selection style none";
    // Nor does it take away a highlight the cell shows for a state of its own.
    table->cellForRowAtIndexPath(path3)->textLabel()->setHighlighted(true);
    driver.tap(CGPointMake(160, 66));
    EXPECT_FALSE(table->cellForRowAtIndexPath(path3)->isSelected());
    EXPECT_TRUE(table->cellForRowAtIndexPath(path3)->textLabel()->isHighlighted()) << "selection style none";
    EXPECT_TRUE(table->cellForRowAtIndexPath(path3)->imageView()->isHighlighted()) << "selection style none";
}

TEST_F(TableTest, UpdatesMoveCellsAndSelectionAndCountsMustAddUp)
{
    rows->counts = {10, 10};
    rows->headerHeight = 20;
    table->reloadData();
    driver.turn();
    table->selectRowAtIndexPath(NSIndexPath::indexPathForRowInSection(4, 0), false, UITableViewScrollPositionNone);
    auto fourth = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(4, 0));

    rows->counts = {11, 10};
    EXPECT_NO_THROW(
        table->insertRowsAtIndexPaths({NSIndexPath::indexPathForRowInSection(0, 0)}, UITableViewRowAnimationAutomatic));
    driver.turn();
    EXPECT_EQ(table->indexPathForSelectedRow()->row(), 5);
    EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(5, 0)), fourth);
    EXPECT_EQ(table->contentSize().height, 20 + 11 * 44 + 20 + 10 * 44);

    rows->counts = {10, 10};
    table->beginUpdates();
    table->deleteRowsAtIndexPaths({NSIndexPath::indexPathForRowInSection(5, 0)}, UITableViewRowAnimationFade);
    table->insertRowsAtIndexPaths({NSIndexPath::indexPathForRowInSection(9, 0)}, UITableViewRowAnimationFade);
    table->deleteRowsAtIndexPaths({NSIndexPath::indexPathForRowInSection(0, 0)}, UITableViewRowAnimationFade);
    table->endUpdates();
    EXPECT_FALSE(table->indexPathForSelectedRow()) << "the selected row was deleted";

    struct Bad {
        const char* name;
        std::vector<NSInteger> counts;
        std::function<void()> update;
    };
    const Bad bad[] = {
        {"a row more than inserted",
         {12, 10},
         [&] {
             table->insertRowsAtIndexPaths({NSIndexPath::indexPathForRowInSection(0, 0)}, UITableViewRowAnimationNone);
         }},
        {"a deletion the count does not show",
         {10, 10},
         [&] {
             table->deleteRowsAtIndexPaths({NSIndexPath::indexPathForRowInSection(0, 1)}, UITableViewRowAnimationNone);
         }},
        {"a section deleted but still counted",
         {10, 10},
         [&] { table->deleteSections({1}, UITableViewRowAnimationNone); }},
        {"a row that never was",
         {9, 10},
         [&] {
             table->deleteRowsAtIndexPaths({NSIndexPath::indexPathForRowInSection(10, 0)}, UITableViewRowAnimationNone);
         }},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.name);
        rows->counts = b.counts;
        try {
            b.update();
            ADD_FAILURE() << "no exception";
        } catch (const NSException& e) {
            EXPECT_EQ(e.name(), NSInternalInconsistencyException);
            EXPECT_NE(e.reason().find("Invalid update"), std::string::npos);
        }
        EXPECT_EQ(table->numberOfRowsInSection(0), 10) << "a refused update changes nothing";
    }

    rows->counts = {10, 3, 10};
    table->insertSections({1}, UITableViewRowAnimationNone);
    EXPECT_EQ(table->numberOfSections(), 3);
    EXPECT_EQ(table->numberOfRowsInSection(1), 3);
}

TEST_F(TableTest, ScrollingToARowKeepsToTheContentRange)
{
    auto path = NSIndexPath::indexPathForRowInSection(100, 0);
    table->scrollToRowAtIndexPath(path, UITableViewScrollPositionTop, false);
    EXPECT_EQ(table->contentOffset().y, 4400);
    table->scrollToRowAtIndexPath(path, UITableViewScrollPositionMiddle, false);
    EXPECT_EQ(table->contentOffset().y, 4400 + 22 - 240);
    table->scrollToRowAtIndexPath(NSIndexPath::indexPathForRowInSection(999, 0), UITableViewScrollPositionTop, true);
    driver.advance(0.5);
    EXPECT_EQ(table->contentOffset().y, 44000 - 480);
    driver.turn();
    EXPECT_TRUE(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(999, 0)));
}

}  // namespace
