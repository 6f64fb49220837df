#pragma once
// The owner of the one theme record and of the theme store that keeps it:
// $XDG_DATA_HOME/TesselSDKCustomizer/TesselSDKCustomization.sqlite (~/.local/share when the
// variable is unset or not an absolute path), worked out each time a manager is made. The store
// opens on first use: a missing store is made from the defaults, one that cannot be read is
// renamed aside (never deleted) and the theme starts again from the defaults. Panels change the
// record in memory and call save, which writes the changed rows in one transaction.
//
// Theme files are complete copies of the store. Saving one replaces the destination only with a
// complete copy; opening one never loses the current theme (the store is swapped, and put back
// on any failure). Failures a person can act on come back as a QZCustomizationError carrying the
// alert's text; failures of the store itself end the application through the termination
// handler. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Model/OverallAppearance.h"
#include "Model/QZApplicationResources.h"
#include "Model/QZCustomizationDefaults.h"

namespace customizer {

class QZSQLiteDatabase;

inline constexpr const char* kQZThemeStoreFolderName = "TesselSDKCustomizer";
inline constexpr const char* kQZThemeStoreFileName = "TesselSDKCustomization.sqlite";

// The alert texts of theme files.
inline constexpr const char* kQZAlertFileRefused = "There was a problem with the customization file. Please try again.";
inline constexpr const char* kQZAlertFileNotLoaded =
    "The customization configuration file could not be loaded. Please try again.";
inline constexpr const char* kQZAlertFileNotInstalled =
    "Could not install the customization options in the Application support directory. Permissions issue?";
inline constexpr const char* kQZAlertFileNotSaved = "The customization file could not be saved.";

struct QZCustomizationError {
    std::string message;  // the alert's text
    std::string reason;   // what failed, with the path
};

class QZCustomizationDataManager {
public:
    // `resourcesFolder` holds "CustomizationDefaults.plist".
    explicit QZCustomizationDataManager(std::string resourcesFolder = QZApplicationResourcesFolder());
    ~QZCustomizationDataManager();
    QZCustomizationDataManager(const QZCustomizationDataManager&) = delete;
    QZCustomizationDataManager& operator=(const QZCustomizationDataManager&) = delete;

    // Made on first call, from the environment of that moment.
    static QZCustomizationDataManager& sharedManager();

    // The live record; it stays the same object for the manager's life (opening a file replaces
    // its contents).
    OverallAppearance& overallAppearance();
    // Each listed attribute to its default (unset without one), then save.
    void resetKeys(const std::vector<std::string>& keys);
    void resetAllKeys();
    // Every attribute of the record from the defaults, then save.
    void configureAndSaveAppearanceWithDefaults(OverallAppearance& record);
    // Writes what changed since the last save; a failure ends the application.
    void save();
    // Reads the record back from the store, dropping unsaved changes.
    void resetOverallAppearance();

    std::optional<QZCustomizationError> saveDatabaseFileToPath(const std::string& path);
    bool validateDatabaseFileAtPath(const std::string& path, std::string* error) const;
    // On success the record holds the file's theme and CUSTOMIZATION_CONFIGURATION_CHANGED is
    // emitted; on failure nothing changed.
    std::optional<QZCustomizationError> loadDatabaseFileFromPath(const std::string& path);

    const std::string& persistentStoreURL() const { return storePath_; }
    // The store's folder, made (with the folders above it) when missing; a failure ends the
    // application.
    const std::string& tesselApplicationSupportURL();

    // Ends the application with the reason (already logged by nobody). The default logs it and
    // exits with status 1; tests install one that throws. Answers the handler it replaces.
    using TerminationHandler = std::function<void(const std::string& reason)>;
    static TerminationHandler setTerminationHandler(TerminationHandler handler);
    // For tests: answering true makes that step of opening a file fail ("copy chosen file",
    // "move store aside", "move copy in", "open new store"). Null removes it.
    using FaultInjector = std::function<bool(std::string_view step)>;
    static void setFaultInjectorForTesting(FaultInjector injector);

private:
    bool openStore();
    bool openExistingStore(std::string* error);
    bool createStoreFromDefaults(std::string* error);
    bool moveUnreadableStoreAside(const std::string& why);
    std::optional<QZCustomizationDefaults> readDefaults() const;

    std::string resourcesFolder_;
    std::string folder_;
    std::string storePath_;
    bool folderMade_ = false;
    std::unique_ptr<QZSQLiteDatabase> database_;
    OverallAppearance record_;  // what the panels edit
    OverallAppearance saved_;   // what the store holds
};

}  // namespace customizer
