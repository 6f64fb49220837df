// The turned table, its cells and the feedback cell, driven through touches.

#include "TesselSDKFoundation/QZFeedbackCell.h"
#include "TesselSDKFoundation/QZHorizontalTableView.h"
#include "TesselSDKFoundation/QZHorizontalTableViewCell.h"
#include "TesselSDKFoundation/tests/QZWidgetTestSupport.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/tests/UITouchTestSupport.h"

#include <functional>

namespace {

// Rows of plain turned cells, or of whatever `make` builds; remembers the selection.
class Rows : public UITableViewDataSource, public UITableViewDelegate {
public:
    NSInteger count = 30;
    std::function<std::shared_ptr<UITableViewCell>(UITableView*, NSInteger)> make;
    std::vector<NSInteger> selected;

    NSInteger tableViewNumberOfRowsInSection(UITableView*, NSInteger) override { return count; }
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(UITableView* table,
                                                                    const std::shared_ptr<NSIndexPath>& path) override
    {
        if (make) return make(table, path->row());
        auto cell = table->dequeueReusableCellWithIdentifier("cell");
        if (!cell)
            cell = UITableViewCell::cellWithStyle<QZHorizontalTableViewCell>(UITableViewCellStyleDefault, "cell");
        cell->setTag(path->row());
        return cell;
    }
    void tableViewDidSelectRowAtIndexPath(UITableView*, const std::shared_ptr<NSIndexPath>& path) override
    {
        selected.push_back(path->row());
    }
};

class QZHorizontalTableViewTest : public QZWidgetTest {
protected:
    std::shared_ptr<QZHorizontalTableView> strip(CGRect frame, CGFloat rowHeight)
    {
        auto view = UIView::viewWithFrame<QZHorizontalTableView>(frame);
        view->setDataSource(rows);
        view->setDelegate(rows);
        view->setRowHeight(rowHeight);
        return show(view);
    }
    // Where row `row`'s cell is, in window coordinates (null rect when it has no cell).
    CGRect onScreen(QZHorizontalTableView& view, NSInteger row)
    {
        auto cell = view.cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(row, 0));
        if (!cell) return CGRectNull;
        return cell->convertRectToView(cell->bounds(), nullptr);
    }

    std::shared_ptr<Rows> rows = std::make_shared<Rows>();
};

TEST_F(QZHorizontalTableViewTest, TheTurnedTableCoversTheViewWithRowsRunningLeftToRight)
{
    auto view = strip(CGRectMake(0, 100, 320, 80), 54);
    const auto& table = view->tableView();
    EXPECT_TRUE(RectNear(table->frame(), CGRectMake(0, 0, 320, 80)));
    EXPECT_TRUE(RectNear(table->bounds(), CGRectMake(0, 0, 80, 320)));
    EXPECT_FALSE(table->clipsToBounds());
    EXPECT_TRUE(view->isExclusiveTouch());
    for (NSInteger row : {0, 1, 5}) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(RectNear(onScreen(*view, row), CGRectMake(54.0f * row, 100, 54, 80)));
        // The cell reads upright: its bounds are the on-screen width and height.
        auto cell = view->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(row, 0));
        EXPECT_TRUE(RectNear(cell->bounds(), CGRectMake(0, 0, 54, 80)));
    }
    // A new size lays the table out again; an odd height keeps the centre on whole points.
    view->setFrame(CGRectMake(0, 100, 300, 55));
    view->layoutIfNeeded();
    EXPECT_TRUE(RectNear(table->bounds(), CGRectMake(0, 0, 55, 300)));
    EXPECT_EQ(table->center().x, 150);
    EXPECT_EQ(table->center().y, 28);  // 27.5 rounds away from zero
}

TEST_F(QZHorizontalTableViewTest, BouncingIsOffOnlyBelowSystemVersionFive)
{
    struct Row {
        const char* version;
        bool bounces;
    };
    for (Row row : {Row{"4.3", false}, Row{"5.0", true}, Row{"10.0", true}, Row{"6.1", true}}) {
        SCOPED_TRACE(row.version);
        PlatformSettings::setSystemVersion(row.version);
        auto view = UIView::viewWithFrame<QZHorizontalTableView>(CGRectMake(0, 0, 320, 80));
        EXPECT_EQ(view->tableView()->bounces(), row.bounces);
    }
}

TEST_F(QZHorizontalTableViewTest, ADragAcrossMovesTheRowsLeftAndATapSelectsARow)
{
    auto view = strip(CGRectMake(0, 100, 320, 80), 54);
    CGRect before = onScreen(*view, 3);
    driver->drag({CGPointMake(300, 140), CGPointMake(100, 140)}, 0.5, 0.2);
    driver->advance(1);
    CGRect after = onScreen(*view, 3);
    ASSERT_FALSE(CGRectIsNull(after));
    EXPECT_LT(after.origin.x, before.origin.x - 150);
    EXPECT_NEAR(after.origin.y, 100, 0.01);
    EXPECT_TRUE(rows->selected.empty());

    // A tap on the cell now under x 160 selects its row.
    auto path = view->indexPathForRowAtPoint(view->tableView()->convertPointFromView(CGPointMake(160, 140), nullptr));
    ASSERT_NE(path, nullptr);
    driver->tap(CGPointMake(160, 140));
    driver->advance(0.5);
    EXPECT_EQ(rows->selected, std::vector<NSInteger>{path->row()});
}

// A touch delegate that answers for the table, leaving `response` as set.
class TouchDelegate : public QZTableViewDelegate {
public:
    bool answers = false;
    bool response = true;
    int asked = 0;
    bool tableViewTouchesShouldCancelInContentViewResponse(QZTableView*, UIView*, bool* out) override
    {
        ++asked;
        EXPECT_TRUE(*out);  // starts YES
        if (answers) *out = response;
        return answers;
    }
};

TEST_F(QZHorizontalTableViewTest, TheTouchDelegateDecidesWhetherADragTakesTheContentsTouch)
{
    struct Row {
        const char* name;
        bool hasDelegate, answers, response;
        bool cancelled;  // the content lost its touch and the table scrolled
    };
    const Row rows_[] = {
        {"no touch delegate: the plain table's answer", false, false, false, true},
        {"a delegate that does not answer", true, false, false, true},
        {"a delegate that keeps the touch in the content", true, true, false, false},
        {"a delegate that lets the table take it", true, true, true, true},
    };
    for (const Row& row : rows_) {
        SCOPED_TRACE(row.name);
        auto content = std::shared_ptr<RecordingView>();
        rows->make = [&](UITableView*, NSInteger) {
            auto cell = UITableViewCell::cellWithStyle<QZHorizontalTableViewCell>(UITableViewCellStyleDefault, "c");
            auto recorder = UIView::viewWithFrame<RecordingView>(CGRectMake(0, 0, 54, 80));
            cell->contentView()->addSubview(recorder);
            if (!content) content = recorder;
            return cell;
        };
        auto view = strip(CGRectMake(0, 100, 320, 80), 54);
        auto delegate = std::make_shared<TouchDelegate>();
        delegate->answers = row.answers;
        delegate->response = row.response;
        if (row.hasDelegate) view->tableView()->setTouchDelegate(delegate);
        ASSERT_NE(content, nullptr);

        driver->touchDown(1, CGPointMake(20, 140));
        driver->advance(0.3);  // past the content delay: the content has the touch
        for (CGFloat x = 24; x <= 60; x += 4) driver->touchMove(1, CGPointMake(x, 140));
        driver->touchUp(1, CGPointMake(60, 140));
        driver->advance(1);
        auto heard = content->folded();
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.front(), "began");
        EXPECT_EQ(heard.back(), row.cancelled ? "cancelled" : "ended");
        EXPECT_EQ(delegate->asked > 0, row.hasDelegate);
        view->removeFromSuperview();
    }
}

TEST_F(QZHorizontalTableViewTest, TheDrawBlockRunsAfterTheTableDraws)
{
    auto table = UIView::viewWithFrame<QZTableView>(CGRectMake(0, 0, 40, 40));
    int runs = 0;
    table->setDrawRectBlock([&] {
        ++runs;
        CGContextRef context = UIGraphicsGetCurrentContext();
        CGContextSetRGBFillColor(context, 1, 0, 0, 1);
        CGContextFillRect(context, CGRectMake(0, 0, 10, 10));
    });
    auto image = UIViewSnapshot(*table);
    EXPECT_EQ(runs, 1);
    CGImageRef cg = image->CGImage();
    ASSERT_NE(cg, nullptr);
    const uint8_t* data = CGImageGetBytes(cg);
    EXPECT_EQ(data[0], 255);  // top left: red
    EXPECT_EQ(data[3], 255);
}

class QZFeedbackCellTest : public QZHorizontalTableViewTest {};

TEST_F(QZFeedbackCellTest, LaysOutInAStripCellAndShowsTheSelection)
{
    std::shared_ptr<QZFeedbackCell> feedback;
    rows->count = 3;
    rows->make = [&](UITableView* table, NSInteger row) -> std::shared_ptr<UITableViewCell> {
        if (row == 2) return feedback = QZFeedbackCell::cellWithReuseIdentifier("feedback");
        auto cell = table->dequeueReusableCellWithIdentifier("cell");
        return cell ? cell
                    : UITableViewCell::cellWithStyle<QZHorizontalTableViewCell>(UITableViewCellStyleDefault, "cell");
    };
    auto view = strip(CGRectMake(0, 0, 210, 54), 70);
    ASSERT_NE(feedback, nullptr);
    feedback->layoutIfNeeded();
    EXPECT_TRUE(RectNear(feedback->bounds(), CGRectMake(0, 0, 70, 54)));
    EXPECT_EQ(feedback->label()->text(), "Feedback");
    EXPECT_TRUE(RectNear(feedback->dividerView()->frame(), CGRectMake(0, 0, 2, 52)));

    CGRect icon = feedback->iconView()->frame();
    CGRect label = feedback->label()->frame();
    // The label's width before it was made integral.
    CGFloat iw = icon.size.width, lw = feedback->label()->sizeThatFits(CGSizeZero).width;
    EXPECT_FLOAT_EQ(CGRectGetMidX(icon), iw * 0.5f + (70 - (iw + lw + 2) - 2) * 0.5f);
    EXPECT_FLOAT_EQ(CGRectGetMidY(icon), 27);
    EXPECT_TRUE(CGRectEqualToRect(label, CGRectIntegral(label)));
    EXPECT_NEAR(label.origin.x, CGRectGetMaxX(icon) + 4, 1);
    EXPECT_NEAR(CGRectGetMidY(label), 27, 1);
    expectGolden(*view, "QZFeedbackCell_normal");

    driver->tap(CGPointMake(175, 27));
    driver->advance(0.5);
    EXPECT_EQ(rows->selected, std::vector<NSInteger>{2});
    EXPECT_TRUE(feedback->iconView()->isHighlighted());
    EXPECT_TRUE(feedback->label()->isHighlighted());
    expectGolden(*view, "QZFeedbackCell_selected");
}

}  // namespace
