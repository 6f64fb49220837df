// The segmented bar, driven through touches.

#include "Foundation/NSLogCapture.h"
#include "TesselSDKFoundation/QZSegmentedControl.h"
#include "TesselSDKFoundation/tests/QZWidgetTestSupport.h"

namespace {

class Recorder : public QZSegmentedControlDelegate {
public:
    std::vector<std::string> heard;
    void segmentedControlDidSelectItemAtIndex(QZSegmentedControl*, NSInteger i) override
    {
        heard.push_back("select " + std::to_string(i));
    }
    void segmentedControlDidDeselectItemAtIndex(QZSegmentedControl*, NSInteger i) override
    {
        heard.push_back("deselect " + std::to_string(i));
    }
};

class QZSegmentedControlTest : public QZWidgetTest {
protected:
    void SetUp() override
    {
        QZWidgetTest::SetUp();
        recorder = std::make_shared<Recorder>();
        control = QZSegmentedControl::make(CGRectMake(10, 100, 300, 44),
                                           {"smallKnob.png", "resizeKnob.png", "pagination.png"},
                                           {"resizeKnob.png", "smallKnob.png", "pagination_active.png"});
        control->setDelegate(recorder);
        show(control);
    }
    CGPoint centreOf(size_t i) const { return UITestDriver::windowPoint(*control->buttons()[i]); }
    std::vector<bool> selection() const
    {
        std::vector<bool> out;
        for (const auto& b : control->buttons()) out.push_back(b->isSelected());
        return out;
    }

    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    std::shared_ptr<QZSegmentedControl> control;
};

TEST_F(QZSegmentedControlTest, ThreeButtonsShareThreeHundredPointsWithWiderEnds)
{
    const auto& b = control->buttons();
    ASSERT_EQ(b.size(), 3u);
    EXPECT_TRUE(RectNear(b[0]->frame(), CGRectMake(0, 0, 102.6667f, 44)));
    EXPECT_TRUE(RectNear(b[1]->frame(), CGRectMake(102.6667f, 0, 94.6667f, 44)));
    EXPECT_TRUE(RectNear(b[2]->frame(), CGRectMake(197.3333f, 0, 102.6667f, 44)));
    EXPECT_EQ(b[0]->style(), QZSegmentedButtonStyleLeftCap);
    EXPECT_EQ(b[1]->style(), QZSegmentedButtonStyleCenter);
    EXPECT_EQ(b[2]->style(), QZSegmentedButtonStyleRightCap);
    // Icons sit 1 point above the centre, the end ones 4 points towards the middle.
    EXPECT_NEAR(b[0]->iconImageView()->center().x, 51.3333f + 4, 0.01);
    EXPECT_NEAR(b[2]->iconImageView()->center().x, 51.3333f - 4, 0.01);
    EXPECT_FLOAT_EQ(b[1]->iconImageView()->center().y, 21);

    auto single = QZSegmentedControl::make(CGRectMake(0, 0, 120, 40), {"smallKnob.png"}, {"resizeKnob.png"});
    single->layoutIfNeeded();
    EXPECT_EQ(single->buttons()[0]->style(), QZSegmentedButtonStyleSingle);
    EXPECT_TRUE(RectNear(single->buttons()[0]->frame(), CGRectMake(0, 0, 120, 40)));
}

TEST_F(QZSegmentedControlTest, TouchSequencesGiveTheSelectionAndMessages)
{
    enum Step { Tap0, Tap1, Tap2, Out0 };  // Out0: down on button 0, lifted far outside it
    struct Row {
        const char* name;
        bool momentary, allowsDeselection;
        std::vector<Step> steps;
        std::vector<std::string> heard;
        NSInteger selectedIndex;
        std::vector<bool> selection;
    };
    const Row rows[] = {
        {"select, then another", false, true, {Tap1, Tap2}, {"select 1", "select 2"}, 2, {false, false, true}},
        {"reselect deselects",
         false,
         true,
         {Tap1, Tap1},
         {"select 1", "deselect 1"},
         NSNotFound,
         {false, false, false}},
        {"reselect without deselection", false, false, {Tap1, Tap1}, {"select 1"}, 1, {false, true, false}},
        {"momentary, released inside", true, true, {Tap0}, {"select 0"}, NSNotFound, {false, false, false}},
        {"momentary, released outside", true, true, {Out0}, {"select 0"}, NSNotFound, {false, false, false}},
        {"released outside, not momentary", false, true, {Out0}, {"select 0"}, NSNotFound, {true, false, false}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (&row != rows) TearDown(), SetUp();  // a fresh control per row
        control->setMomentary(row.momentary);
        control->setAllowsDeselection(row.allowsDeselection);
        for (Step step : row.steps) {
            if (step == Out0) {
                driver->touchDown(1, centreOf(0));
                EXPECT_EQ(selection()[0], true);  // shown on touch-down
                driver->touchMove(1, CGPointMake(160, 400));
                driver->touchUp(1, CGPointMake(160, 400));
            } else {
                driver->tap(centreOf(size_t(step)));
            }
            driver->advance(0.3);
        }
        EXPECT_EQ(recorder->heard, row.heard);
        EXPECT_EQ(control->selectedIndex(), row.selectedIndex);
        EXPECT_EQ(selection(), row.selection);
    }
}

TEST_F(QZSegmentedControlTest, SelectionShowsOnTouchDownAndCommitsOnRelease)
{
    driver->tap(centreOf(0));
    driver->touchDown(1, centreOf(1));
    EXPECT_EQ(selection(), (std::vector<bool>{false, true, false}));  // button 0 let go on this touch-down
    EXPECT_EQ(control->selectedIndex(), 0);
    driver->touchUp(1, centreOf(1));
    EXPECT_EQ(control->selectedIndex(), 1);

    // Momentary: a second finger's button does not unselect the first one's.
    control->setMomentary(true);
    control->deselectAll();
    control->setSelectedIndex(NSNotFound);
    driver->touchDown(1, centreOf(0));
    driver->touchDown(2, centreOf(2));
    EXPECT_EQ(selection(), (std::vector<bool>{true, false, true}));
    driver->touchUp(1, centreOf(0));
    driver->touchUp(2, centreOf(2));
    EXPECT_EQ(selection(), (std::vector<bool>{false, false, false}));
}

TEST_F(QZSegmentedControlTest, PressingByIndexIsTheTouchDownOnlyAndDeselectAllTellsNobody)
{
    control->pressButtonAtIndex(1);
    EXPECT_EQ(recorder->heard, std::vector<std::string>{"select 1"});
    EXPECT_EQ(control->selectedIndex(), NSNotFound);
    control->pressButtonAtIndex(3);   // out of range
    control->pressButtonAtIndex(-1);  // out of range
    EXPECT_EQ(recorder->heard.size(), 1u);
    control->deselectAll();
    EXPECT_EQ(selection(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(recorder->heard.size(), 1u);
}

TEST_F(QZSegmentedControlTest, FewerHighlightedNamesAreLoggedAndLeaveThoseButtonsWithoutOne)
{
    NSLogCapture log;
    auto uneven = QZSegmentedControl::make(CGRectMake(0, 0, 300, 44),
                                           {"smallKnob.png", "resizeKnob.png", "pagination.png"}, {"resizeKnob.png"});
    EXPECT_TRUE(log.contains("-[QZSegmentedControl initWithFrame:defaultIconNames:highlightedIconNames:] "
                             "uneven number of highlighted vs non highlighed icons"));
    ASSERT_EQ(uneven->buttons().size(), 3u);
    EXPECT_NE(uneven->buttons()[0]->iconImageView()->highlightedImage(), nullptr);
    EXPECT_EQ(uneven->buttons()[1]->iconImageView()->highlightedImage(), nullptr);
    EXPECT_EQ(uneven->buttons()[2]->iconImageView()->highlightedImage(), nullptr);
    EXPECT_NE(uneven->buttons()[2]->iconImageView()->image(), nullptr);
    window->addSubview(uneven);
    uneven->layoutIfNeeded();
    driver->tap(UITestDriver::windowPoint(*uneven->buttons()[2]));
    EXPECT_TRUE(uneven->buttons()[2]->isSelected());
}

TEST_F(QZSegmentedControlTest, LooksAsReviewed)
{
    expectGolden(*control, "QZSegmentedControl_none");
    driver->tap(centreOf(1));
    driver->advance(0.3);
    expectGolden(*control, "QZSegmentedControl_selected");
}

}  // namespace
