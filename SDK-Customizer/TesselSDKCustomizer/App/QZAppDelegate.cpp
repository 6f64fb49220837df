#include "App/QZAppDelegate.h"

#include <filesystem>
#include <iostream>

namespace customizer {

QZAppDelegate::QZAppDelegate(QZDialogs& dialogs, QZMainLoop& mainLoop, QZUserDefaults& defaults,
                             QZCustomizationDataManager& dataManager, ExportRunner runExport)
    : dialogs_(dialogs), mainLoop_(mainLoop), defaults_(defaults), dataManager_(dataManager), runExport_(std::move(runExport))
{
}

QZAppDelegate::~QZAppDelegate() { joinExport(); }

void QZAppDelegate::joinExport()
{
    if (worker_.joinable()) worker_.join();
}

void QZAppDelegate::setIsExporting(bool exporting)
{
    isExporting_ = exporting;
    if (actionsEnabledChanged_) actionsEnabledChanged_(!exporting);
}

void QZAppDelegate::saveConfiguration()
{
    if (isExporting_) return;
    QZDialogs::Chooser chooser;
    chooser.title = "Save Customization Configuration";
    chooser.prompt = "Save";
    chooser.allowedTypes = {"tslcst"};
    chooser.saves = true;
    dialogs_.runChooser(chooser, [this](std::optional<std::string> path) {
        if (!path) return;
        if (std::filesystem::path(*path).extension() != ".tslcst") *path += ".tslcst";
        if (const auto error = dataManager_.saveDatabaseFileToPath(*path)) dialogs_.showAlert(kQZSaveFailedText, error->reason);
    });
}

void QZAppDelegate::openConfiguration()
{
    if (isExporting_) return;
    runOpenChooser();
}

void QZAppDelegate::runOpenChooser()
{
    QZDialogs::Chooser chooser;
    chooser.identifier = kQZOpenPanelID;
    chooser.title = "Open Customization Configuration";
    chooser.prompt = "Open";
    chooser.allowedTypes = {"tslcst"};
    dialogs_.runChooser(chooser, [this](std::optional<std::string> path) {
        if (!path) return;
        QZCustomizerError refusal;
        if (!panelValidateURL(kQZOpenPanelID, *path, &refusal)) {
            // A GTK chooser cannot stay open on a refused choice: tell why, then ask again.
            dialogs_.showAlert(refusal.description, "");
            runOpenChooser();
            return;
        }
        if (const auto error = dataManager_.loadDatabaseFileFromPath(*path)) dialogs_.showAlert(error->message, "");
    });
}

bool QZAppDelegate::panelValidateURL(const std::string& identifier, const std::string& path, QZCustomizerError* error) const
{
    if (identifier == kQZExportPanelID) return isAcceptableExportChoice(path, error);
    if (identifier == kQZOpenPanelID) {
        std::string why;
        if (dataManager_.validateDatabaseFileAtPath(path, &why)) return true;
        if (error) *error = QZCustomizerError{kQZCustomizerErrorDomain, QZInvalidCustomizationFile, kQZInvalidCustomizationFileText};
        return false;
    }
    return true;
}

void QZAppDelegate::exportBundle()
{
    if (isExporting_) return;
    setIsExporting(true);
    runExportChooser(false);
}

void QZAppDelegate::runExportChooser(bool widened)
{
    QZDialogs::Chooser chooser;
    chooser.identifier = kQZExportPanelID;
    chooser.title = widened ? kQZWidenedExportChooserTitle : kQZExportChooserTitle;
    chooser.prompt = "Select";
    chooser.allowedTypes = widened ? std::vector<std::string>{"xcodeproj", "bundle"} : std::vector<std::string>{"xcodeproj"};
    chooser.selectsFolders = true;
    dialogs_.runChooser(chooser, [this](std::optional<std::string> path) {
        if (!path) {
            setIsExporting(false);
            return;
        }
        QZCustomizerError refusal;
        if (!panelValidateURL(kQZExportPanelID, *path, &refusal)) {
            dialogs_.showAlert(refusal.description, "");
            runExportChooser(true);
            return;
        }
        const std::optional<std::string> folder = exportFolderForChosenItem(*path);
        if (!folder) {  // the tree changed since it was validated
            dialogs_.showAlert(kQZExportFailedTitle, *path);
            setIsExporting(false);
            return;
        }
        std::cerr << "Full Export path: " << *folder << '\n';
        startExport(*folder);
    });
}

void QZAppDelegate::startExport(const std::string& exportFolder)
{
    joinExport();
    if (masterViewController_) masterViewController_->setExporting(true);
    QZImageSaverDelegate* delegate = masterViewController_ ? masterViewController_->currentExportViewController() : nullptr;
    static QZImageSaverDelegate silent;
    QZImageSaverDelegate& reports = delegate ? *delegate : silent;
    const bool crush = !defaults_.boolForKey(COMPRESS_PNGS_DISABLED_KEY);
    OverallAppearance theme = dataManager_.overallAppearance();
    worker_ = std::thread([this, theme = std::move(theme), &reports, exportFolder, crush] {
        QZExportResult result = runExport_(theme, reports, exportFolder, crush);
        mainLoop_.post([this, result = std::move(result)] { finishExport(result); });
    });
}

void QZAppDelegate::finishExport(const QZExportResult& result)
{
    joinExport();
    if (masterViewController_) masterViewController_->setExporting(false);
    setIsExporting(false);
    if (!result.succeeded())
        dialogs_.showAlert(kQZExportFailedTitle, result.error);
    else if (!result.compressionNotice.empty())
        dialogs_.showAlert(kQZUncompressedTitle, result.compressionNotice);
}

QZAppDelegate::ExportRunner QZDefaultExportRunner(std::string resourcesFolder)
{
    return [resourcesFolder = std::move(resourcesFolder)](const OverallAppearance& theme, QZImageSaverDelegate& delegate,
                                                          const std::string& exportFolder, bool crush) {
        std::string why;
        std::optional<QZExportLists> lists = QZExportLists::read(resourcesFolder, &why);
        if (!lists) return QZExportResult{"", why, ""};
        QZImageSaver saver(theme, std::move(*lists));
        saver.setDelegate(&delegate);
        return saver.saveImages(exportFolder, crush);
    };
}

}  // namespace customizer
