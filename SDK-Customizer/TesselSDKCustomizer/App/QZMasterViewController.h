#pragma once
// The main window's presenter: the list of six sections and the panel of the selected one, the
// Apply, Reset and "Compress PNGs" controls, and the exporting state in which a progress view
// replaces the list and the panels. Main thread only.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "App/QZAnimator.h"
#include "App/QZCustomizationParentViewController.h"
#include "App/QZDialogs.h"
#include "App/QZExportViewController.h"
#include "App/QZMainLoop.h"
#include "App/QZMasterView.h"
#include "App/QZUserDefaults.h"

namespace customizer {

struct QZConfigSection {
    const char* name;
    const char* vc;  // the panel's class
};

inline constexpr std::array<QZConfigSection, 6> kQZConfigSections{{
    {"Overall", "QZOverallConfigurationViewController"},
    {"Bars", "QZBarCustomizationViewController"},
    {"Bar Buttons", "QZBarButtonsCustomizationViewController"},
    {"Icons", "QZIconCustomizationViewController"},
    {"Text", "QZTextCustomizationViewController"},
    {"Handles", "QZHandleCustomizationViewController"},
}};

inline constexpr double kQZFadeOutSeconds = 0.1;
inline constexpr double kQZFadeInSeconds = 0.4;
inline constexpr double kQZSectionRowHeight = 44.0;

inline constexpr const char* kQZResetTitle = "Are You Sure?";
inline constexpr const char* kQZResetText = "This will reset absolutely everything in the current configuration.";
inline constexpr const char* kQZCompressHelpTitle = "Compress PNGS";
inline constexpr const char* kQZCompressHelpText =
    "Compressing PNGs is required for production integrations of the Tessel SDK. It both improves performance "
    "and reduces bundle size. However, since it is a time consuming process, you may want to skip that step to "
    "get a quick preview of your customization options within the SDK. If you choose to do this, the SDK will "
    "remind you that you are using uncompressed PNGs so that you don't forget to re-run the Apply to Xcode "
    "Project function with the \"Compress PNGs\" box checked before release.";

class QZMasterViewController {
public:
    // Makes the panel of a section row; its view is made with it.
    using PanelFactory = std::function<std::unique_ptr<QZCustomizationParentViewController>(size_t row)>;

    struct Collaborators {
        QZMasterView& view;
        QZDialogs& dialogs;
        QZAnimator& animator;
        QZMainLoop& mainLoop;
        QZUserDefaults& defaults;
        QZCustomizationDataManager& dataManager;
        PanelFactory makePanel;
        std::function<void()> exportBundle;  // the application's export action
    };

    explicit QZMasterViewController(Collaborators collaborators);

    // Shows section 0 with its row drawn selected, and sets the checkbox from the defaults.
    void loadView();
    void loadViewControllerAtIndex(size_t row);

    static size_t numberOfRows() { return kQZConfigSections.size(); }
    // The list's selection changed; nullopt for an empty selection, which keeps the panel on show
    // and selects its row again.
    void tableViewSelectionDidChange(std::optional<size_t> selectedRow);

    void applyButtonPressed();
    void resetButtonPressed();
    void compressedHelpButtonPressed();
    void compressPNGsValueChanged(bool checked);

    // Entering makes the progress presenter (the saver's delegate); leaving discards it.
    void setExporting(bool exporting);
    QZExportViewController* currentExportViewController() { return currentExportViewController_.get(); }

    QZCustomizationParentViewController* currentViewController() { return currentViewController_.get(); }
    size_t selectedRow() const { return selectedRow_; }

private:
    Collaborators c_;
    std::unique_ptr<QZCustomizationParentViewController> currentViewController_;
    std::unique_ptr<QZExportViewController> currentExportViewController_;
    size_t selectedRow_ = 0;
    bool cellSelected_ = false;
};

}  // namespace customizer
