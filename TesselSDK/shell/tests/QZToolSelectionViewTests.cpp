// The home screen's tool strip driven by taps: its sections, what it asks its delegate and tells
// it, the cell layout, the badges on the virtual clock, and the strip as drawn against a reviewed
// golden image (regenerate with TESSEL_UPDATE_GOLDEN=1 and look at it).
#include "QZShellTestSupport.h"

#include "TesselSDKFoundation/QZFeedbackCell.h"
#include "TesselSDK/shell/QZToolSelectionView.h"
#include "TesselSDK/shell/QZToolSelectionViewCell.h"
#include "UIKit/testing/UIGoldenImage.h"

#include <set>
#include <string>
#include <vector>

namespace {

struct RecordingStripDelegate : QZToolSelectionViewDelegate {
    std::vector<std::string> keys;
    std::set<std::string> badged;  // by title
    std::vector<std::string> badgeQuestions;
    std::vector<std::pair<NSInteger, bool>> selections;
    int feedbackSelections = 0;

    NSInteger numberOfToolsInSelectionView(QZToolSelectionView*) override { return NSInteger(keys.size()); }
    std::string selectionViewTitleForToolAtIndex(QZToolSelectionView*, NSInteger index) override
    {
        std::string title = keys[size_t(index)];
        title[0] = char(std::toupper(title[0]));
        return title;
    }
    std::shared_ptr<UIImage> selectionViewImageForToolAtIndex(QZToolSelectionView*, NSInteger index) override
    {
        return QZSDKResources::imageNamed("tool-" + keys[size_t(index)] + ".png");
    }
    std::shared_ptr<UIImage> selectionViewHighlightedImageForToolAtIndex(QZToolSelectionView*, NSInteger index) override
    {
        return QZSDKResources::imageNamed("tool-" + keys[size_t(index)] + "-active.png");
    }
    bool selectionViewRequiresBadgeForTool(QZToolSelectionView*, const std::string& title) override
    {
        badgeQuestions.push_back(title);
        return badged.count(title) > 0;
    }
    void selectionViewDidSelectToolAtIndexWithBadge(QZToolSelectionView*, NSInteger index, bool badge) override
    {
        selections.emplace_back(index, badge);
    }
    void selectionViewDidSelectFeedback(QZToolSelectionView*) override { ++feedbackSelections; }
};

class QZToolSelectionViewTest : public QZShellTest {
protected:
    // A strip as the home screen's layouts make it: 113 points high, the table 70 of them.
    void makeStrip(std::vector<std::string> keys, bool feedback)
    {
        delegate_->keys = std::move(keys);
        strip_ = UIView::viewWithFrame<QZToolSelectionView>(CGRectMake(0, 300, 320, 113));
        strip_->setShouldShowFeedback(feedback);
        strip_->setDelegate(delegate_);
        window_->addSubview(strip_);
        strip_->reloadDataAnimated(false);
        driver_.turn();
    }

    std::shared_ptr<UITableViewCell> cellAt(NSInteger row, NSInteger section = 0) const
    {
        return strip_->horizontalTableView()->cellForRowAtIndexPath(
            NSIndexPath::indexPathForRowInSection(row, section));
    }
    std::shared_ptr<QZToolSelectionViewCell> toolCell(NSInteger row) const
    {
        return std::dynamic_pointer_cast<QZToolSelectionViewCell>(cellAt(row));
    }

    std::shared_ptr<RecordingStripDelegate> delegate_ = std::make_shared<RecordingStripDelegate>();
    std::shared_ptr<QZToolSelectionView> strip_;
};

TEST_F(QZToolSelectionViewTest, TheFeedbackCellFollowsTheToolsOnlyWhenShown)
{
    struct Case {
        std::vector<std::string> keys;
        bool feedback;
        NSInteger sections;
    };
    const Case cases[] = {{{"crop", "text", "meme"}, false, 1}, {{"crop", "text", "meme"}, true, 2}, {{}, true, 2}};
    for (const auto& c : cases) {
        if (strip_) strip_->removeFromSuperview();
        makeStrip(c.keys, c.feedback);
        auto table = strip_->horizontalTableView()->tableView();
        ASSERT_EQ(table->numberOfSections(), c.sections);
        EXPECT_EQ(table->numberOfRowsInSection(0), NSInteger(c.keys.size()));
        if (!c.feedback) continue;
        EXPECT_EQ(table->numberOfRowsInSection(1), 1);
        auto feedback = std::dynamic_pointer_cast<QZFeedbackCell>(cellAt(0, 1));
        ASSERT_TRUE(feedback) << c.keys.size() << " tools";
        // After 74 points a tool, 120 points wide.
        CGRect onScreen = feedback->convertRectToView(feedback->bounds(), nullptr);
        EXPECT_EQ(onScreen.origin.x, 74 * CGFloat(c.keys.size()));
        EXPECT_EQ(onScreen.size.width, 120);
        EXPECT_TRUE(UITestDriver::visibleViewWithLabel("Feedback"));
    }
}

TEST_F(QZToolSelectionViewTest, TapsReportTheToolIndexWithItsBadgeAndTheFeedbackCell)
{
    delegate_->badged = {"Text"};
    makeStrip({"crop", "orientation", "text", "meme"}, true);
    EXPECT_EQ(delegate_->badgeQuestions, (std::vector<std::string>{"Crop", "Orientation", "Text", "Meme"}))
        << "asked with the titles";

    ASSERT_TRUE(driver_.tapViewWithLabel("Text"));
    ASSERT_TRUE(driver_.tapViewWithLabel("Crop"));
    EXPECT_EQ(delegate_->selections, (std::vector<std::pair<NSInteger, bool>>{{2, true}, {0, false}}));
    EXPECT_FALSE(strip_->horizontalTableView()->indexPathForSelectedRow()) << "deselected after the tap";
    EXPECT_EQ(delegate_->feedbackSelections, 0);

    EXPECT_FALSE(driver_.tapViewWithLabel("Feedback")) << "still off screen";
    driver_.drag({CGPointMake(300, 335), CGPointMake(100, 335)}, 0.3);
    driver_.advance(2);
    ASSERT_TRUE(driver_.tapViewWithLabel("Feedback"));
    EXPECT_EQ(delegate_->feedbackSelections, 1);
    EXPECT_EQ(delegate_->selections.size(), 2u);

    // The badge state of the moment, not the one the cell was made with.
    toolCell(2)->setShouldDisplayBadge(false);
    ASSERT_TRUE(driver_.tapViewWithLabel("Text"));
    EXPECT_EQ(delegate_->selections.back(), (std::pair<NSInteger, bool>{2, false}));
}

TEST_F(QZToolSelectionViewTest, ACellLaysOutIconLabelAndBadgeInItsBounds)
{
    delegate_->badged = {"Crop"};
    makeStrip({"crop"}, false);
    auto cell = toolCell(0);
    ASSERT_TRUE(cell);
    cell->layoutIfNeeded();
    auto expectRect = [](CGRect actual, CGRect expected, const char* what) {
        EXPECT_TRUE(CGRectEqualToRect(actual, expected)) << what << ": " << actual.origin.x << "," << actual.origin.y
                                                         << " " << actual.size.width << "x" << actual.size.height;
    };
    expectRect(cell->bounds(), CGRectMake(0, 0, 74, 70), "bounds");
    expectRect(cell->iconView()->frame(), CGRectMake(5, 9, 64, 36.5f), "icon");
    expectRect(cell->imageView()->frame(), CGRectMake(5, 9, 64, 36.5f), "image view");
    expectRect(cell->label()->frame(), CGRectMake(0, 46.5f, 74, 15.5f), "label");
    auto badge = cell->badgeView();
    ASSERT_TRUE(badge);
    CGSize ribbon = QZSDKResources::imageNamed("Ribbon.png")->size();
    EXPECT_TRUE(CGSizeEqualToSize(badge->bounds().size, ribbon)) << "its natural size";
    EXPECT_TRUE(CGPointEqualToPoint(badge->center(), CGPointMake(74 - (ribbon.width / 2 + 12), 4 + 7)));
    EXPECT_EQ(cell->label()->text(), "Crop");
    EXPECT_TRUE(cell->iconView()->image());
    EXPECT_TRUE(cell->iconView()->highlightedImage());
}

TEST_F(QZToolSelectionViewTest, BadgesFadeInOnlyOnAnAnimatedReloadAndStayOffWhenTurnedOff)
{
    delegate_->badged = {"Crop", "Text"};
    makeStrip({"crop", "text", "meme", "frames", "focus", "draw"}, false);
    auto opacity = [](const std::shared_ptr<QZToolSelectionViewCell>& cell) {
        return cell->badgeView() ? cell->badgeView()->layer()->presentationLayer()->opacity() : 0.0f;
    };
    auto crop = toolCell(0);
    EXPECT_EQ(opacity(crop), 1) << "a plain reload shows the badge at once";
    EXPECT_FALSE(toolCell(2)->badgeView()) << "made on first need";

    // Only Crop keeps its badge. Reused cells that showed one keep the view, transparent, and
    // an animated reload fades in Crop's alone.
    delegate_->badged = {"Crop"};
    strip_->reloadDataAnimated(true);
    EXPECT_FALSE(strip_->shouldAnimateBadge());
    std::shared_ptr<UIImageView> keptOff;
    for (NSInteger row = 0; row < 4; ++row) {
        auto cell = toolCell(row);
        ASSERT_TRUE(cell);
        if (row == 0) {
            EXPECT_LT(opacity(cell), 0.5f) << "fading in";
        } else if (cell->badgeView()) {
            keptOff = cell->badgeView();
            EXPECT_EQ(keptOff->alpha(), 0) << cell->label()->text();
        }
    }
    ASSERT_TRUE(keptOff) << "the reload reused a cell that had shown a badge";
    driver_.advance(0.25);
    for (NSInteger row = 0; row < 4; ++row)
        EXPECT_EQ(opacity(toolCell(row)), row == 0 ? 1 : 0) << toolCell(row)->label()->text();

    // Turned on again: the same view comes back.
    auto cell = std::dynamic_pointer_cast<QZToolSelectionViewCell>(keptOff->superview()->superview());
    ASSERT_TRUE(cell);
    cell->setShouldDisplayBadge(true);
    EXPECT_EQ(cell->badgeView(), keptOff);
    EXPECT_EQ(keptOff->alpha(), 1);

    // A cell scrolled into view after an animated reload shows its badge without fading it in.
    delegate_->keys.insert(delegate_->keys.end(), {"meme", "text", "crop", "splash", "whiten"});
    delegate_->badged = {"Whiten"};
    strip_->reloadDataAnimated(true);
    EXPECT_FALSE(toolCell(10)) << "off screen";
    driver_.drag({CGPointMake(300, 335), CGPointMake(20, 335)}, 0.3);
    driver_.drag({CGPointMake(300, 335), CGPointMake(20, 335)}, 0.3);
    driver_.advance(2);
    auto whiten = toolCell(10);
    ASSERT_TRUE(whiten);
    EXPECT_EQ(whiten->label()->text(), "Whiten");
    EXPECT_EQ(opacity(whiten), 1);
    EXPECT_TRUE(whiten->badgeView()->layer()->animationKeys().empty());
}

TEST_F(QZToolSelectionViewTest, StripAsDrawn)
{
    PlatformSettings::setScreenScale(2);
    delegate_->badged = {"Enhance"};
    makeStrip({"enhance", "effects", "crop"}, true);
    // A pressed cell shows its icon's pressed look.
    toolCell(2)->setHighlighted(true);
    driver_.turn();
    auto image = UIViewSnapshot(*strip_);
    ASSERT_TRUE(image);
    UIGoldenOutcome outcome =
        UICompareWithGolden(image->CGImage(), TESSEL_SHELL_GOLDEN_DIR "/tool_strip.png", ::testing::TempDir());
    if (outcome.updated) GTEST_SKIP() << outcome.message;
    EXPECT_TRUE(outcome.matches) << outcome.message;
}

}  // namespace
