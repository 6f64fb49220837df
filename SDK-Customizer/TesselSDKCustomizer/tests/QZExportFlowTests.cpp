// The export flow end to end without a display: the chooser and its validation, the exporting
// state, the real saver on its worker thread reporting through the main loop, and what the
// window says at the end. Also the open chooser's refusal of an invalid theme file.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "App/QZAppDelegate.h"
#include "support/QZAppFakes.h"
#include "support/QZThemeStoreFixture.h"

namespace fs = std::filesystem;

namespace customizer {
namespace {

using namespace customizer::testing;

class QZExportFlowTest : public QZThemeStoreTest {
protected:
    QZExportFlowTest()
        : resources_("TESSEL_CUSTOMIZER_RESOURCES", std::string(TESSEL_CUSTOMIZER_RESOURCES_DIR)),
          config_("XDG_CONFIG_HOME", home_ / "config"), manager_(start()),
          master_({view_, dialogs_, animator_, mainLoop_, defaults_, *manager_,
                   [this](size_t row) { return std::make_unique<QZCountingPanel>(*manager_, row, livePanels_); },
                   [this] { app_.exportBundle(); }}),
          app_(dialogs_, mainLoop_, defaults_, *manager_, QZDefaultExportRunner(TESSEL_CUSTOMIZER_RESOURCES_DIR))
    {
        app_.setMasterViewController(&master_);
        app_.setActionsEnabledHandler([this](bool enabled) { actionsEnabled_.push_back(enabled); });
        master_.loadView();
        fs::create_directories(project_ / "App.xcodeproj");
    }

    // Runs the main loop until the export has ended.
    void waitForExport()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (app_.isExporting() && std::chrono::steady_clock::now() < deadline) {
            if (mainLoop_.drain() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_FALSE(app_.isExporting());
    }

    QZScopedEnvironment resources_;
    QZScopedEnvironment config_;
    std::unique_ptr<QZCustomizationDataManager> manager_;
    QZRecordingMasterView view_;
    QZScriptedDialogs dialogs_;
    QZFakeClockAnimator animator_;
    QZQueuedMainLoop mainLoop_;
    QZUserDefaults defaults_;
    std::vector<QZCountingPanel*> livePanels_;
    QZMasterViewController master_;
    QZAppDelegate app_;
    std::vector<bool> actionsEnabled_;
    fs::path project_ = home_.path() / "Project";
};

TEST_F(QZExportFlowTest, CancellingTheChooserEnablesTheActionsAgain)
{
    dialogs_.chooserAnswers = {std::nullopt};
    master_.applyButtonPressed();
    ASSERT_EQ(dialogs_.choosers.size(), 1u);
    EXPECT_EQ(dialogs_.choosers[0].identifier, "exportPanelID");
    EXPECT_EQ(dialogs_.choosers[0].title, "Select the Xcode project file that uses the Tessel SDK.");
    EXPECT_EQ(dialogs_.choosers[0].prompt, "Select");
    EXPECT_FALSE(app_.isExporting());
    EXPECT_TRUE(app_.validateMenuItem());
    EXPECT_EQ(actionsEnabled_, (std::vector<bool>{false, true}));
    EXPECT_EQ(view_.exportViewsMade, 0);
}

TEST_F(QZExportFlowTest, ARefusedProjectWidensTheChooserAndTheBundleChosenExportsIntoItsParent)
{
    QZScopedEnvironment compressor("TESSEL_CUSTOMIZER_COMPRESSOR", std::string("/bin/true"));
    const fs::path bundle = project_ / "TesselSDK/Resources/Old/TesselSDKResources.bundle";
    fs::create_directories(bundle);
    fs::create_directories(project_ / "TesselSDK/Resources/Old/Deeper");
    fs::create_directories(project_ / "Elsewhere/TesselSDK/Resources");  // makes two: the project is refused
    dialogs_.chooserAnswers = {(project_ / "App.xcodeproj").string(), bundle.string()};

    master_.applyButtonPressed();
    ASSERT_EQ(dialogs_.choosers.size(), 2u);
    ASSERT_EQ(dialogs_.alerts.size(), 1u);
    EXPECT_NE(dialogs_.alerts[0].title.find("several"), std::string::npos);
    EXPECT_EQ(dialogs_.choosers[1].title, "Select an Xcode project or TesselSDKResources.bundle");
    EXPECT_EQ(dialogs_.choosers[1].allowedTypes, (std::vector<std::string>{"xcodeproj", "bundle"}));

    // While it runs: nothing else starts, the window is in its exporting state.
    EXPECT_TRUE(app_.isExporting());
    EXPECT_FALSE(app_.validateMenuItem());
    app_.exportBundle();
    app_.openConfiguration();
    EXPECT_EQ(dialogs_.choosers.size(), 2u);
    EXPECT_TRUE(view_.hidden.at("tableView"));
    EXPECT_FALSE(view_.enabled.at("resetButton"));

    waitForExport();
    EXPECT_EQ(dialogs_.alerts.size(), 1u);  // a clean export says nothing
    EXPECT_TRUE(fs::exists(project_ / "TesselSDK/Resources/Old/TesselSDKResources.bundle/Status.plist"));
    EXPECT_FALSE(fs::exists(project_ / "Elsewhere/TesselSDK/Resources/TesselSDKResources.bundle"));
    EXPECT_FALSE(view_.hidden.at("tableView"));
    EXPECT_TRUE(view_.enabled.at("resetButton"));
    EXPECT_EQ(actionsEnabled_.back(), true);

    ASSERT_TRUE(view_.lastExportView);
    const auto& saving = view_.lastExportView->texts["savingStatusLabel"];
    ASSERT_EQ(saving.size(), 27u);
    EXPECT_EQ(saving.front(), "1 / 26 Image Groups Saved");
    EXPECT_EQ(saving[25], "26 / 26 Image Groups Saved");
    EXPECT_EQ(saving.back(), "Saving Completed.");
    const auto& compressing = view_.lastExportView->texts["compressingStatusLabel"];
    ASSERT_GE(compressing.size(), 2u);
    EXPECT_EQ(compressing.front().substr(0, 4), "1 / ");
    EXPECT_NE(compressing.front().find(" Images Compressed"), std::string::npos);
    EXPECT_EQ(compressing.back(), "Compression Completed.");
    EXPECT_TRUE(view_.lastExportView->shown("compressingCompleteCheck"));
}

TEST_F(QZExportFlowTest, WithoutCompressionNoCompressingProgressAndAMissingCompressorIsTold)
{
    fs::create_directories(project_ / "TesselSDK/TesselPhotoEditor/Resources");
    const fs::path bundle = project_ / "TesselSDK/TesselPhotoEditor/Resources/TesselSDKResources.bundle";

    master_.compressPNGsValueChanged(false);
    dialogs_.chooserAnswers = {(project_ / "App.xcodeproj").string()};
    master_.applyButtonPressed();
    waitForExport();
    EXPECT_TRUE(dialogs_.alerts.empty());
    EXPECT_TRUE(fs::exists(bundle / "Status.plist"));
    EXPECT_EQ(view_.lastExportView->texts.count("compressingStatusLabel"), 0u);

    QZScopedEnvironment compressor("TESSEL_CUSTOMIZER_COMPRESSOR", (home_ / "no-such-compressor"));
    master_.compressPNGsValueChanged(true);
    dialogs_.chooserAnswers = {(project_ / "App.xcodeproj").string()};
    master_.applyButtonPressed();
    waitForExport();
    ASSERT_EQ(dialogs_.alerts.size(), 1u);
    EXPECT_EQ(dialogs_.alerts[0].title, kQZUncompressedTitle);
    EXPECT_FALSE(dialogs_.alerts[0].text.empty());
}

TEST_F(QZExportFlowTest, AFailedExportIsShownAndLeavesNothing)
{
    // The resource folder exists but the bundle's place is a file: the export cannot make it.
    fs::create_directories(project_ / "TesselSDK/Resources");
    writeFile(project_ / "TesselSDK/Resources/TesselSDKResources.bundle", "not a folder");
    dialogs_.chooserAnswers = {(project_ / "App.xcodeproj").string()};
    master_.applyButtonPressed();
    waitForExport();
    ASSERT_EQ(dialogs_.alerts.size(), 1u);
    EXPECT_EQ(dialogs_.alerts[0].title, kQZExportFailedTitle);
    EXPECT_EQ(readFile(project_ / "TesselSDK/Resources/TesselSDKResources.bundle"), "not a folder");
}

TEST_F(QZExportFlowTest, AnInvalidThemeFileIsRefusedAndTheChooserOpensAgain)
{
    writeFile(home_.path() / "broken.tslcst", "not a theme");
    const fs::path good = home_.path() / "good.tslcst";
    manager_->overallAppearance().setValueForKey(NSColor::colorWithCalibratedRed(0.2, 0.4, 0.6, 1), "textColor");
    manager_->save();
    dialogs_.chooserAnswers = {good.string()};
    app_.saveConfiguration();
    ASSERT_TRUE(fs::exists(good));
    EXPECT_EQ(dialogs_.choosers[0].title, "Save Customization Configuration");

    manager_->resetAllKeys();
    const int setupsBefore = static_cast<QZCountingPanel&>(*master_.currentViewController()).setups;
    dialogs_.chooserAnswers = {(home_.path() / "broken.tslcst").string(), good.string()};
    app_.openConfiguration();
    ASSERT_EQ(dialogs_.choosers.size(), 3u);
    EXPECT_EQ(dialogs_.choosers[1].identifier, "openPanelID");
    ASSERT_EQ(dialogs_.alerts.size(), 1u);
    EXPECT_EQ(dialogs_.alerts[0].title,
              "The customization file you are trying to load appears to be invalid. Please try a different one.");
    EXPECT_FALSE(manager_->overallAppearance() == defaults());
    EXPECT_EQ(static_cast<QZCountingPanel&>(*master_.currentViewController()).setups, setupsBefore + 1);
}

}  // namespace
}  // namespace customizer
