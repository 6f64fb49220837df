// The conveyor strip, driven through touches on the virtual clock.

#include "TesselSDKFoundation/QZConveyorController.h"
#include "TesselSDKFoundation/QZConveyorOverlayView.h"
#include "TesselSDKFoundation/QZConveyorView.h"
#include "TesselSDKFoundation/tests/QZWidgetTestSupport.h"
#include "UIKit/UIScrollView.h"

#include <cmath>

namespace {

// A strip of `count` plain cells that records what it is told.
class Strip : public QZConveyorViewDelegate {
public:
    NSInteger count = 30;
    std::vector<std::string> heard;

    NSInteger numberOfItemsInConveyorView(QZConveyorView*) override { return count; }
    std::shared_ptr<QZConveyorViewCell> conveyorViewCellForIndex(QZConveyorView* view, NSInteger index) override
    {
        auto cell = view->dequeueReusableCellWithIdentifier("cell");
        if (!cell) cell = QZConveyorViewCell::cellWithReuseIdentifier("cell");
        cell->setTag(index);
        return cell;
    }
    void conveyorViewDidSelectItemAtIndex(QZConveyorView*, NSInteger index) override
    {
        heard.push_back("select " + std::to_string(index));
    }
    void conveyorViewDidScrollToIndex(QZConveyorView*, NSInteger index) override
    {
        heard.push_back("scroll " + std::to_string(index));
    }
    void conveyorViewDidStopScrolling(QZConveyorView*) override { heard.push_back("stop"); }

    // What was heard, without the scroll messages.
    std::vector<std::string> choices() const
    {
        std::vector<std::string> out;
        for (const auto& h : heard)
            if (h.rfind("scroll", 0) != 0) out.push_back(h);
        return out;
    }
};

class QZConveyorViewTest : public QZWidgetTest {
protected:
    void SetUp() override
    {
        QZWidgetTest::SetUp();
        conveyor = QZConveyorView::make(CGRectMake(0, 300, 320, 54), 54);
        conveyor->setDelegate(strip);
        show(conveyor);
        // As owners do: a first selection brings the strip into its range.
        conveyor->selectItemAtIndex(2, false);
        driver->turn();
        strip->heard.clear();
    }
    const std::shared_ptr<QZTableView>& table() const { return conveyor->horizontalTableView()->tableView(); }
    std::shared_ptr<QZConveyorViewCell> cell(NSInteger row) const
    {
        return std::dynamic_pointer_cast<QZConveyorViewCell>(
            table()->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(row, 0)));
    }
    // The row's cell centre on screen (NaN without a cell).
    CGFloat screenMidX(NSInteger row) const
    {
        auto c = cell(row);
        return c ? CGRectGetMidX(c->convertRectToView(c->bounds(), nullptr)) : NAN;
    }
    std::shared_ptr<QZConveyorSideView> header() const
    {
        return std::dynamic_pointer_cast<QZConveyorSideView>(table()->tableHeaderView());
    }
    std::shared_ptr<QZConveyorSideView> footer() const
    {
        return std::dynamic_pointer_cast<QZConveyorSideView>(table()->tableFooterView());
    }
    // The rows whose cells are depressed, and those marked adjacent.
    std::vector<NSInteger> marked(bool adjacent) const
    {
        std::vector<NSInteger> rows;
        for (const auto& c : conveyor->visibleCells())
            if (adjacent ? c->isAdjacent() : c->isDepressed()) rows.push_back(c->tag());
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    std::shared_ptr<Strip> strip = std::make_shared<Strip>();
    std::shared_ptr<QZConveyorView> conveyor;
};

TEST_F(QZConveyorViewTest, SideViewsAndInsetsLetTheFirstAndLastCellsReachTheCentre)
{
    ASSERT_NE(header(), nullptr);
    ASSERT_NE(footer(), nullptr);
    EXPECT_TRUE(RectNear(header()->bounds(), CGRectMake(0, 0, 54, 1080)));
    EXPECT_EQ(header()->imageViews().size(), 20u);
    EXPECT_EQ(footer()->imageViews().size(), 20u);
    // The tiles fill outward from the cells: the header's first tile touches row 0.
    conveyor->selectItemAtIndex(0, false);
    driver->turn();
    CGRect nearest = header()->imageViews()[0]->convertRectToView(header()->imageViews()[0]->bounds(), nullptr);
    EXPECT_TRUE(RectNear(nearest, CGRectMake(160 - 27 - 54, 300, 54, 54)));
    UIEdgeInsets inset = table()->contentInset();
    EXPECT_EQ(inset.top, -947);
    EXPECT_EQ(inset.bottom, -947);
    EXPECT_EQ(table()->rowHeight(), 54);
    EXPECT_EQ(table()->decelerationRate(), UIScrollViewDecelerationRateFast);

    // Dragging hard to either end rests with the end cell centred.
    for (auto [from, to, row] : {std::tuple{20.f, 320.f, 0}, std::tuple{300.f, 0.f, 29}}) {
        SCOPED_TRACE(row);
        for (int i = 0; i < 8; ++i) driver->drag({CGPointMake(from, 327), CGPointMake(to, 327)}, 0.1);
        ASSERT_TRUE(driver->runUntil([&] { return !strip->heard.empty() && strip->heard.back() == "stop"; }, 10));
        driver->advance(0.5);
        EXPECT_EQ(conveyor->selectedIndex(), row);
        EXPECT_NEAR(screenMidX(row), 160, 0.01);
        strip->heard.clear();
    }
}

TEST_F(QZConveyorViewTest, AFlickComesToRestOnTheRowUnderTheCentre)
{
    driver->drag({CGPointMake(280, 327), CGPointMake(120, 327)}, 0.12);
    ASSERT_TRUE(driver->runUntil([&] { return !strip->heard.empty() && strip->heard.back() == "stop"; }, 10));
    auto choices = strip->choices();
    ASSERT_EQ(choices.size(), 2u);
    NSInteger row = conveyor->selectedIndex();
    EXPECT_GT(row, 3);
    EXPECT_EQ(choices[0], "select " + std::to_string(row));
    EXPECT_EQ(choices[1], "stop");
    // Scrolling told each new row under the centre once, in order, ending on the resting one.
    EXPECT_EQ(strip->heard[strip->heard.size() - 3], "scroll " + std::to_string(row));

    driver->advance(0.1);
    EXPECT_NEAR(screenMidX(row), 160, 0.01);
    EXPECT_EQ(marked(false), std::vector<NSInteger>{row});
    EXPECT_EQ(marked(true), std::vector<NSInteger>{row - 1});
}

TEST_F(QZConveyorViewTest, ATapSlidesTheCellToTheCentreOverPointFourSeconds)
{
    // Row 4 is two cells right of the centre.
    ASSERT_NEAR(screenMidX(4), 268, 0.01);
    driver->tap(CGPointMake(268, 327));
    EXPECT_EQ(strip->choices(), std::vector<std::string>{"select 4"});
    EXPECT_EQ(conveyor->selectedIndex(), 4);
    EXPECT_EQ(marked(false), std::vector<NSInteger>{4});
    EXPECT_EQ(marked(true), std::vector<NSInteger>{3});

    // What is shown moves over 0.4 s.
    auto shownOffset = [&] { return table()->layer()->presentationLayer()->bounds().origin.y; };
    CGFloat start = 947 + 2 * 54, end = 947 + 4 * 54;
    driver->advance(0.2);
    EXPECT_GT(shownOffset(), start + 1);
    EXPECT_LT(shownOffset(), end - 1);
    driver->advance(0.25);
    EXPECT_NEAR(shownOffset(), end, 0.01);
    EXPECT_NEAR(screenMidX(4), 160, 0.01);
}

TEST_F(QZConveyorViewTest, MarksFollowTheSelection)
{
    struct Step {
        NSInteger index;
        std::vector<NSInteger> depressed, adjacent;
        bool headerAdjacent;
    };
    const Step steps[] = {
        {0, {0}, {}, true},    // index 0 marks the header's nearest tile
        {3, {3}, {2}, false},  // moving on restores it
        {3, {3}, {2}, false},  // reselecting changes no marks
        {1, {1}, {0}, false},
    };
    auto adjacentImage = QZConveyorBackgroundImage(QZConveyorViewTypeSingle, "-adjacent");
    for (const Step& step : steps) {
        SCOPED_TRACE(step.index);
        strip->heard.clear();
        conveyor->selectItemAtIndex(step.index, true);
        driver->advance(0.5);
        EXPECT_EQ(strip->choices(), std::vector<std::string>{"select " + std::to_string(step.index)});
        EXPECT_NEAR(screenMidX(step.index), 160, 0.01);
        EXPECT_EQ(marked(false), step.depressed);
        EXPECT_EQ(marked(true), step.adjacent);
        EXPECT_EQ(header()->isAdjacentCellSelected(), step.headerAdjacent);
        EXPECT_EQ(header()->imageViews()[0]->image()->CGImage() == adjacentImage->CGImage(), step.headerAdjacent);
        EXPECT_NE(header()->imageViews()[1]->image()->CGImage(), adjacentImage->CGImage());
    }
    // Out of range: nothing happens and nobody is told.
    strip->heard.clear();
    conveyor->selectItemAtIndex(30, true);
    conveyor->selectItemAtIndex(-1, true);
    EXPECT_TRUE(strip->heard.empty());
    EXPECT_EQ(conveyor->selectedIndex(), 1);
}

TEST_F(QZConveyorViewTest, AnEmptyStripStillSaysItStopped)
{
    strip->count = 0;
    table()->reloadData();
    driver->turn();
    driver->drag({CGPointMake(200, 327), CGPointMake(150, 327)}, 0.5, 0.3);
    driver->advance(1);
    EXPECT_EQ(strip->heard, std::vector<std::string>{"stop"});
    EXPECT_EQ(conveyor->selectedIndex(), 2);  // nothing sets it back
}

TEST_F(QZConveyorViewTest, RotationRecentresOnTheSelectedRowAtOnce)
{
    // A reload clears the table's selection: nothing to recentre on.
    table()->reloadData();
    driver->turn();
    CGPoint before = table()->contentOffset();
    conveyor->willAnimateRotationToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
    EXPECT_TRUE(CGPointEqualToPoint(table()->contentOffset(), before));
    conveyor->selectItemAtIndex(5, false);
    conveyor->setFrame(CGRectMake(0, 300, 480, 54));
    conveyor->layoutIfNeeded();
    conveyor->willAnimateRotationToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.3);
    driver->turn();
    EXPECT_NEAR(screenMidX(5), 240, 0.01);
}

TEST_F(QZConveyorViewTest, TheControllerServesAnEmptyStripAndAnnouncesANewView)
{
    auto first = QZConveyorView::make(CGRectMake(0, 0, 320, 54));
    auto controller = QZConveyorController::make(first);
    EXPECT_EQ(first->delegate().lock(), controller);
    std::vector<std::string> heard;
    controller->addObserverForKey("conveyorView",
                                  [&](const std::string&, bool prior) { heard.push_back(prior ? "will" : "did"); });
    controller->setConveyorView(first);  // the same view: no announcement
    auto second = QZConveyorView::make(CGRectMake(0, 0, 320, 54));
    controller->setConveyorView(second);
    EXPECT_EQ(heard, (std::vector<std::string>{"will", "did"}));
    EXPECT_EQ(second->delegate().lock(), controller);
    EXPECT_EQ(first->delegate().lock(), controller);  // the old view keeps its delegate
    window->addSubview(second);
    second->layoutIfNeeded();
    EXPECT_EQ(second->horizontalTableView()->numberOfRowsInSection(0), 0);
}

TEST_F(QZConveyorViewTest, LooksAsReviewed)
{
    auto overlay = QZConveyorOverlayView::make(CGRectMake(0, 0, 320, 54), QZConveyorOverlayTypeSingle);
    overlay->layoutIfNeeded();
    EXPECT_TRUE(RectNear(overlay->centerView()->frame(), CGRectMake(135, 0, 50, 54)));
    EXPECT_TRUE(RectNear(overlay->leftView()->frame(), CGRectMake(0, 0, 135, 54)));
    EXPECT_TRUE(RectNear(overlay->rightView()->frame(), CGRectMake(185, 0, 135, 54)));
    EXPECT_FALSE(overlay->isUserInteractionEnabled());

    conveyor->selectItemAtIndex(4, false);
    driver->advance(0.2);
    expectGolden(*conveyor, "QZConveyorView_single");
    conveyor->setType(QZConveyorViewTypeDouble);
    table()->reloadData();
    driver->turn();  // only cells on screen are marked
    conveyor->selectItemAtIndex(5, false);
    driver->advance(0.2);
    expectGolden(*conveyor, "QZConveyorView_double");
    conveyor->setType(QZConveyorViewTypeSingle);
    table()->reloadData();
    conveyor->selectItemAtIndex(2, false);
    driver->turn();  // only cells on screen are marked
    conveyor->selectItemAtIndex(0, false);
    driver->advance(0.2);
    expectGolden(*conveyor, "QZConveyorView_first");
    conveyor->addSubview(overlay);
    driver->advance(0.1);
    expectGolden(*conveyor, "QZConveyorView_overlay");
}

}  // namespace
