// The main window's presenter: the section list and the panel switch with its fades, the Reset
// sheet, the compression checkbox and its help, and the exporting state.

#include <gtest/gtest.h>

#include "App/QZMasterViewController.h"
#include "Model/QZCustomizationConstants.h"
#include "support/QZAppFakes.h"
#include "support/QZThemeStoreFixture.h"

namespace customizer {
namespace {

using namespace customizer::testing;

class QZMasterViewControllerTest : public QZThemeStoreTest {
protected:
    QZMasterViewControllerTest()
        : config_("XDG_CONFIG_HOME", home_ / "config"), manager_(start()),
          master_({view_, dialogs_, animator_, mainLoop_, defaults_, *manager_,
                   [this](size_t row) { return std::make_unique<QZCountingPanel>(*manager_, row, livePanels_); },
                   [this] { ++exportsAsked_; }})
    {
    }

    QZCountingPanel& current() { return static_cast<QZCountingPanel&>(*master_.currentViewController()); }

    QZScopedEnvironment config_;
    std::unique_ptr<QZCustomizationDataManager> manager_;
    QZRecordingMasterView view_;
    QZScriptedDialogs dialogs_;
    QZFakeClockAnimator animator_;
    QZQueuedMainLoop mainLoop_;
    QZUserDefaults defaults_;
    std::vector<QZCountingPanel*> livePanels_;
    int exportsAsked_ = 0;
    QZMasterViewController master_;
};

TEST_F(QZMasterViewControllerTest, StartsOnOverallWithItsRowSelectedAndTheBoxFromTheDefaults)
{
    EXPECT_EQ(QZMasterViewController::numberOfRows(), 6u);
    EXPECT_STREQ(kQZConfigSections[3].name, "Icons");
    master_.loadView();
    EXPECT_EQ(current().row, 0u);
    EXPECT_EQ(current().setups, 1);
    EXPECT_EQ(view_.panelViews.size(), 1u);
    EXPECT_EQ(view_.selectedCells, std::set<size_t>{0});
    EXPECT_TRUE(view_.checked.at("compressPNGsButton"));
    EXPECT_TRUE(animator_.durationsStarted.empty());

    master_.compressPNGsValueChanged(false);
    EXPECT_TRUE(QZUserDefaults().boolForKey(COMPRESS_PNGS_DISABLED_KEY));
    QZMasterViewController again({view_, dialogs_, animator_, mainLoop_, defaults_, *manager_,
                                  [this](size_t row) { return std::make_unique<QZCountingPanel>(*manager_, row, livePanels_); }, {}});
    again.loadView();
    EXPECT_FALSE(view_.checked.at("compressPNGsButton"));
    master_.compressPNGsValueChanged(true);
    EXPECT_FALSE(QZUserDefaults().boolForKey(COMPRESS_PNGS_DISABLED_KEY));

    master_.compressedHelpButtonPressed();
    ASSERT_EQ(dialogs_.alerts.size(), 1u);
    EXPECT_EQ(dialogs_.alerts[0].title, "Compress PNGS");
    EXPECT_NE(dialogs_.alerts[0].text.find("with the \"Compress PNGs\" box checked before release."), std::string::npos);
}

TEST_F(QZMasterViewControllerTest, ASwitchFadesTheOldPanelOutThenTheNewOneIn)
{
    master_.loadView();
    const std::shared_ptr<QZPanelView> overall = current().view();
    master_.tableViewSelectionDidChange(3);
    EXPECT_EQ(current().row, 3u);
    EXPECT_EQ(livePanels_.size(), 1u);  // the Overall panel went at once
    EXPECT_EQ(view_.selectedCells, std::set<size_t>{3});
    auto& icons = static_cast<QZRecordingPanelView&>(*current().view());
    EXPECT_EQ(icons.alpha, 0);
    EXPECT_EQ(view_.panelViews.size(), 2u);

    animator_.advance(0.05);
    EXPECT_DOUBLE_EQ(static_cast<QZRecordingPanelView&>(*overall).alpha, 0.5);
    animator_.advance(0.05);
    EXPECT_EQ(view_.panelViews, std::vector<std::shared_ptr<QZPanelView>>{current().view()});
    EXPECT_EQ(animator_.durationsStarted, (std::vector<double>{0.1, 0.4}));
    animator_.advance(0.2);
    EXPECT_DOUBLE_EQ(icons.alpha, 0.5);
    animator_.advance(0.2);
    EXPECT_DOUBLE_EQ(icons.alpha, 1.0);
    EXPECT_TRUE(animator_.running.empty());
}

TEST_F(QZMasterViewControllerTest, AnEmptySelectionKeepsThePanelAndSelectsItsRowAgain)
{
    master_.loadView();
    master_.tableViewSelectionDidChange(2);
    QZCustomizationParentViewController* bars = master_.currentViewController();
    master_.tableViewSelectionDidChange(std::nullopt);
    EXPECT_EQ(master_.currentViewController(), bars);
    EXPECT_EQ(view_.rowsSelected, std::vector<size_t>{2});
    EXPECT_EQ(view_.selectedCells, std::set<size_t>{2});
}

TEST_F(QZMasterViewControllerTest, AReplacedThemeRefreshesOnlyTheLivePanel)
{
    master_.loadView();
    for (size_t i = 1; i <= 10; ++i) master_.tableViewSelectionDidChange(i % 6);
    animator_.advance(1);
    ASSERT_EQ(livePanels_.size(), 1u);
    const int before = current().setups;
    CUSTOMIZATION_CONFIGURATION_CHANGED.emit();
    EXPECT_EQ(current().setups, before + 1);
}

TEST_F(QZMasterViewControllerTest, ResetAsksFirstAndOnlyOKRestoresTheDefaults)
{
    master_.loadView();
    OverallAppearance& record = manager_->overallAppearance();
    record.setValueForKey(NSColor::colorWithCalibratedRed(0.9, 0.1, 0.1, 1), "textColor");
    manager_->save();
    const OverallAppearance changed = record;

    dialogs_.confirmationAnswers = {false, true};
    master_.resetButtonPressed();
    EXPECT_TRUE(record == changed);
    EXPECT_TRUE(start()->overallAppearance() == changed);
    EXPECT_EQ(current().setups, 1);

    master_.resetButtonPressed();
    EXPECT_EQ(dialogs_.confirmations[1].title, "Are You Sure?");
    EXPECT_EQ(dialogs_.confirmations[1].text, "This will reset absolutely everything in the current configuration.");
    EXPECT_TRUE(record == defaults());
    EXPECT_TRUE(start()->overallAppearance() == defaults());
    EXPECT_EQ(current().setups, 2);
}

TEST_F(QZMasterViewControllerTest, ExportingHidesTheListAndPanelsAndDisablesTheControlsUntilItEnds)
{
    master_.loadView();
    master_.applyButtonPressed();
    EXPECT_EQ(exportsAsked_, 1);

    master_.setExporting(true);
    for (const char* outlet : {"configurationContainerView", "tableView"}) EXPECT_TRUE(view_.hidden.at(outlet)) << outlet;
    for (const char* outlet : {"applyButton", "resetButton", "compressPNGsButton", "compressHelpButton"})
        EXPECT_FALSE(view_.enabled.at(outlet)) << outlet;
    ASSERT_NE(master_.currentExportViewController(), nullptr);
    ASSERT_TRUE(view_.exportView);
    EXPECT_TRUE(view_.exportView->shown("savingImagesLabel"));

    master_.setExporting(false);
    for (const char* outlet : {"configurationContainerView", "tableView"}) EXPECT_FALSE(view_.hidden.at(outlet)) << outlet;
    for (const char* outlet : {"applyButton", "resetButton", "compressPNGsButton", "compressHelpButton"})
        EXPECT_TRUE(view_.enabled.at(outlet)) << outlet;
    EXPECT_EQ(master_.currentExportViewController(), nullptr);
    EXPECT_FALSE(view_.exportView);
}

}  // namespace
}  // namespace customizer
