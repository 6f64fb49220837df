#pragma once
// The application's presenter: the menu actions (save and open a theme file, export), the
// choosers and their validation, and the export on one worker thread while the window shows its
// progress. The export chooser, and the export after it, disable the open, save and export
// actions until the export ends or the chooser is cancelled. Main thread only, but for the
// worker, whose reports reach the main thread through the main loop.

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "App/QZDialogs.h"
#include "App/QZMainLoop.h"
#include "App/QZMasterViewController.h"
#include "App/QZResourceFolderSearch.h"
#include "App/QZUserDefaults.h"
#include "Export/QZImageSaver.h"
#include "Model/QZCustomizationDataManager.h"

namespace customizer {

inline constexpr const char* kQZExportPanelID = "exportPanelID";
inline constexpr const char* kQZOpenPanelID = "openPanelID";
inline constexpr const char* kQZExportChooserTitle = "Select the Xcode project file that uses the Tessel SDK.";
inline constexpr const char* kQZWidenedExportChooserTitle = "Select an Xcode project or TesselSDKResources.bundle";
inline constexpr const char* kQZSaveFailedText = "The customization configuration file could not be saved. Please try again.";
inline constexpr const char* kQZUncompressedTitle = "The images of the bundle are not compressed.";
inline constexpr const char* kQZExportFailedTitle = "The bundle could not be exported; it was left as it was.";

class QZAppDelegate {
public:
    // Runs one export on the worker thread: the theme copied on the main thread, the saver
    // reporting to the delegate. The default makes a QZImageSaver over the resource lists.
    using ExportRunner = std::function<QZExportResult(const OverallAppearance& theme, QZImageSaverDelegate& delegate,
                                                       const std::string& exportFolder, bool crush)>;

    QZAppDelegate(QZDialogs& dialogs, QZMainLoop& mainLoop, QZUserDefaults& defaults,
                  QZCustomizationDataManager& dataManager, ExportRunner runExport);
    ~QZAppDelegate();  // joins a running export

    void setMasterViewController(QZMasterViewController* master) { masterViewController_ = master; }
    // Told whenever the open, save and export actions become enabled or disabled.
    void setActionsEnabledHandler(std::function<void(bool)> handler) { actionsEnabledChanged_ = std::move(handler); }

    void saveConfiguration();
    void openConfiguration();
    void exportBundle();

    bool isExporting() const { return isExporting_; }
    bool validateMenuItem() const { return !isExporting_; }
    // The chooser's acceptance of a chosen item, told apart by the chooser's identifier; a refusal
    // fills the error (codes 1, 2 or 3).
    bool panelValidateURL(const std::string& identifier, const std::string& path, QZCustomizerError* error) const;

    // Ends a worker still running (the GTK layer calls this when the main loop quits).
    void joinExport();

private:
    void setIsExporting(bool exporting);
    void runExportChooser(bool widened);
    void runOpenChooser();
    void startExport(const std::string& exportFolder);
    void finishExport(const QZExportResult& result);

    QZDialogs& dialogs_;
    QZMainLoop& mainLoop_;
    QZUserDefaults& defaults_;
    QZCustomizationDataManager& dataManager_;
    ExportRunner runExport_;
    QZMasterViewController* masterViewController_ = nullptr;
    std::function<void(bool)> actionsEnabledChanged_;
    bool isExporting_ = false;
    std::thread worker_;
};

// The default runner: a QZImageSaver over the lists of the resource folder.
QZAppDelegate::ExportRunner QZDefaultExportRunner(std::string resourcesFolder);

}  // namespace customizer
