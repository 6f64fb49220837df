#include "Model/QZCustomizationDataManager.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>

#include "Model/QZCustomizationConstants.h"
#include "Model/QZFileOperations.h"
#include "Model/QZThemeDatabase.h"
#include "Render/NSLog.h"

namespace customizer {
namespace {

namespace fs = std::filesystem;

std::mutex& hooksMutex()
{
    static std::mutex m;
    return m;
}
QZCustomizationDataManager::TerminationHandler& terminationHandler()  // guarded by hooksMutex()
{
    static QZCustomizationDataManager::TerminationHandler handler;
    return handler;
}
QZCustomizationDataManager::FaultInjector& faultInjector()  // guarded by hooksMutex()
{
    static QZCustomizationDataManager::FaultInjector injector;
    return injector;
}

void endApplication(const std::string& reason)
{
    QZCustomizationDataManager::TerminationHandler handler;
    {
        std::lock_guard lock(hooksMutex());
        handler = terminationHandler();
    }
    if (handler) {
        handler(reason);
        return;
    }
    NSLog("%s", reason.c_str());
    std::exit(1);
}

bool injectedFault(std::string_view step)
{
    QZCustomizationDataManager::FaultInjector injector;
    {
        std::lock_guard lock(hooksMutex());
        injector = faultInjector();
    }
    return injector && injector(step);
}

// $XDG_DATA_HOME, or ~/.local/share; relative values are ignored, as the XDG rules ask.
std::string dataHome()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user && user->pw_dir ? user->pw_dir : "/";
    }
    return (fs::path(home) / ".local" / "share").string();
}

std::string timestamp()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

std::string absolute(const std::string& path)
{
    std::error_code ignored;
    fs::path made = fs::absolute(path, ignored);
    return made.empty() ? path : made.string();
}

void removeQuietly(const std::string& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

}  // namespace

QZCustomizationDataManager::QZCustomizationDataManager(std::string resourcesFolder)
    : resourcesFolder_(std::move(resourcesFolder)), folder_((fs::path(dataHome()) / kQZThemeStoreFolderName).string()),
      storePath_((fs::path(folder_) / kQZThemeStoreFileName).string())
{
}

QZCustomizationDataManager::~QZCustomizationDataManager() = default;

QZCustomizationDataManager& QZCustomizationDataManager::sharedManager()
{
    static QZCustomizationDataManager manager;
    return manager;
}

QZCustomizationDataManager::TerminationHandler
QZCustomizationDataManager::setTerminationHandler(TerminationHandler handler)
{
    std::lock_guard lock(hooksMutex());
    return std::exchange(terminationHandler(), std::move(handler));
}

void QZCustomizationDataManager::setFaultInjectorForTesting(FaultInjector injector)
{
    std::lock_guard lock(hooksMutex());
    faultInjector() = std::move(injector);
}

const std::string& QZCustomizationDataManager::tesselApplicationSupportURL()
{
    if (!folderMade_) {
        std::error_code error;
        fs::create_directories(folder_, error);
        if (error) {
            endApplication("Error creating application support directory: " + folder_ + ": " + error.message());
            return folder_;
        }
        folderMade_ = true;
    }
    return folder_;
}

std::optional<QZCustomizationDefaults> QZCustomizationDataManager::readDefaults() const
{
    std::string error;
    std::optional<QZCustomizationDefaults> defaults = QZCustomizationDefaults::readFromFile(
        QZApplicationResourcePath(resourcesFolder_, kQZCustomizationDefaultsFileName), &error);
    if (!defaults) NSLog("The theme's defaults cannot be read: %s", error.c_str());
    return defaults;
}

bool QZCustomizationDataManager::openExistingStore(std::string* error)
{
    std::unique_ptr<QZSQLiteDatabase> database =
        QZSQLiteDatabase::open(storePath_, QZSQLiteDatabase::Mode::ReadWrite, error);
    if (!database) return false;
    if (std::optional<std::string> refusal = QZCheckThemeDatabase(*database)) {
        *error = *refusal;
        return false;
    }
    if (!database->execute("PRAGMA journal_mode = DELETE", error)) return false;
    std::optional<OverallAppearance> record = QZReadThemeRecord(*database, error);
    if (!record) return false;
    record_ = *record;
    saved_ = *record;
    database_ = std::move(database);
    return true;
}

bool QZCustomizationDataManager::createStoreFromDefaults(std::string* error)
{
    std::optional<std::string> partial = QZMakeUniqueFile(folder_, std::string(kQZThemeStoreFileName) + ".new-", error);
    if (!partial) return false;
    bool made = [&] {
        std::unique_ptr<QZSQLiteDatabase> database =
            QZSQLiteDatabase::open(*partial, QZSQLiteDatabase::Mode::Create, error);
        if (!database || !QZCreateThemeSchema(*database, error)) return false;
        std::optional<QZCustomizationDefaults> defaults = readDefaults();
        OverallAppearance initial = defaults ? defaults->appearance() : OverallAppearance();
        return QZWriteThemeChanges(*database, OverallAppearance(), initial, error);
    }();
    if (!made || !QZSyncFile(*partial, error) || !QZRenameFile(*partial, storePath_, error)) {
        removeQuietly(*partial);
        return false;
    }
    return QZSyncFolder(folder_, error);
}

bool QZCustomizationDataManager::moveUnreadableStoreAside(const std::string& why)
{
    std::string aside = storePath_ + ".unreadable-" + timestamp();
    std::error_code ignored;
    for (int n = 2; fs::exists(aside, ignored); ++n)
        aside = storePath_ + ".unreadable-" + timestamp() + "-" + std::to_string(n);
    std::string error;
    if (!QZRenameFile(storePath_, aside, &error)) {
        NSLog("The theme store cannot be moved aside: %s", error.c_str());
        return false;
    }
    // A journal left beside it belongs to it, not to the store made next.
    if (fs::exists(storePath_ + "-journal", ignored))
        QZRenameFile(storePath_ + "-journal", aside + "-journal", nullptr);
    NSLog(
        "The theme store %s could not be opened (%s); it was moved to %s and the theme starts again from the defaults",
        storePath_.c_str(), why.c_str(), aside.c_str());
    return true;
}

bool QZCustomizationDataManager::openStore()
{
    if (database_) return true;
    tesselApplicationSupportURL();
    if (!folderMade_) return false;
    std::string error;
    std::error_code ignored;
    if (fs::exists(storePath_, ignored)) {
        if (openExistingStore(&error)) return true;
        if (!moveUnreadableStoreAside(error)) {
            endApplication("Unresolved Core Data Error: " + error + ", " + storePath_);
            return false;
        }
    }
    if (createStoreFromDefaults(&error) && openExistingStore(&error)) return true;
    endApplication("Unresolved Core Data Error: " + error + ", " + storePath_);
    return false;
}

OverallAppearance& QZCustomizationDataManager::overallAppearance()
{
    openStore();
    return record_;
}

void QZCustomizationDataManager::configureAndSaveAppearanceWithDefaults(OverallAppearance& record)
{
    std::optional<QZCustomizationDefaults> defaults = readDefaults();
    record = defaults ? defaults->appearance() : OverallAppearance();
    save();
}

void QZCustomizationDataManager::resetAllKeys()
{
    configureAndSaveAppearanceWithDefaults(overallAppearance());
}

void QZCustomizationDataManager::resetKeys(const std::vector<std::string>& keys)
{
    OverallAppearance& record = overallAppearance();
    std::optional<QZCustomizationDefaults> defaults = readDefaults();
    for (const std::string& key : keys) {
        std::optional<QZAttribute> attribute = QZAttributeNamed(key);
        if (!attribute) {
            NSLog("resetKeys: \"%s\" is no attribute of the theme", key.c_str());
            continue;
        }
        record.setValue(*attribute, defaults ? defaults->defaultFor(*attribute) : QZAttributeValue());
    }
    save();
}

void QZCustomizationDataManager::save()
{
    if (!openStore()) return;
    std::string error;
    if (QZWriteThemeChanges(*database_, saved_, record_, &error)) {
        saved_ = record_;
        return;
    }
    endApplication("The theme could not be saved: " + error);
}

void QZCustomizationDataManager::resetOverallAppearance()
{
    if (!openStore()) return;
    std::string error;
    std::optional<OverallAppearance> record = QZReadThemeRecord(*database_, &error);
    if (!record) {
        endApplication("Unresolved Core Data Error: " + error + ", " + storePath_);
        return;
    }
    record_ = *record;
    saved_ = *record;
}

std::optional<QZCustomizationError> QZCustomizationDataManager::saveDatabaseFileToPath(const std::string& path)
{
    if (!openStore()) return QZCustomizationError{kQZAlertFileNotSaved, storePath_ + ": the theme store is not open"};
    if (!(record_ == saved_)) save();
    std::string folder = QZParentFolder(absolute(path));
    std::string error;
    std::optional<std::string> partial = QZMakeUniqueFile(folder, QZHiddenPrefixFor(path), &error);
    if (!partial) return QZCustomizationError{kQZAlertFileNotSaved, error};
    bool copied = [&] {
        QZSQLiteStatement vacuum = database_->prepare("VACUUM INTO ?1", &error);
        if (!vacuum) return false;
        if (vacuum.bindText(1, *partial) != SQLITE_OK || vacuum.step() != SQLITE_DONE) {
            error = database_->lastError() + " (copying into " + *partial + ")";
            return false;
        }
        return QZSyncFile(*partial, &error) && QZRenameFile(*partial, path, &error);
    }();
    if (!copied) {
        removeQuietly(*partial);
        return QZCustomizationError{kQZAlertFileNotSaved, error};
    }
    QZSyncFolder(folder, nullptr);
    return std::nullopt;
}

bool QZCustomizationDataManager::validateDatabaseFileAtPath(const std::string& path, std::string* error) const
{
    return QZValidateThemeFile(path, error);
}

std::optional<QZCustomizationError> QZCustomizationDataManager::loadDatabaseFileFromPath(const std::string& path)
{
    std::string error;
    if (!validateDatabaseFileAtPath(path, &error)) return QZCustomizationError{kQZAlertFileRefused, error};
    if (!openStore()) return QZCustomizationError{kQZAlertFileNotLoaded, storePath_ + ": the theme store is not open"};

    // The chosen file is copied beside the store and checked again there: what gets installed is
    // the copy, whatever happens to the original meanwhile.
    std::optional<std::string> copy =
        QZMakeUniqueFile(folder_, std::string(kQZThemeStoreFileName) + ".incoming-", &error);
    if (!copy) return QZCustomizationError{kQZAlertFileNotInstalled, error};
    if (injectedFault("copy chosen file") || !QZCopyFileContents(path, *copy, &error)) {
        removeQuietly(*copy);
        if (error.empty()) error = *copy + ": the chosen file could not be copied";
        NSLog("%s", error.c_str());
        return QZCustomizationError{kQZAlertFileNotInstalled, error};
    }
    if (!QZValidateThemeFile(*copy, &error)) {
        removeQuietly(*copy);
        return QZCustomizationError{kQZAlertFileRefused, error};
    }
    std::optional<std::string> aside =
        QZMakeUniqueFile(folder_, std::string(kQZThemeStoreFileName) + ".previous-", &error);
    if (!aside) {
        removeQuietly(*copy);
        return QZCustomizationError{kQZAlertFileNotInstalled, error};
    }

    database_.reset();
    auto putBack = [&](const std::string& why) {
        std::string restoreError;
        if (!QZRenameFile(*aside, storePath_, &restoreError)) {
            endApplication("Unresolved Core Data Error: " + restoreError + ", the previous theme is in " + *aside);
            return QZCustomizationError{kQZAlertFileNotLoaded, why};
        }
        removeQuietly(*copy);
        if (!openExistingStore(&restoreError))
            endApplication("Unresolved Core Data Error: " + restoreError + ", " + storePath_);
        NSLog("%s", why.c_str());
        return QZCustomizationError{kQZAlertFileNotLoaded, why};
    };
    if (injectedFault("move store aside") || !QZRenameFile(storePath_, *aside, &error)) {
        removeQuietly(*copy);
        removeQuietly(*aside);
        std::string reopenError;
        if (!openExistingStore(&reopenError))
            endApplication("Unresolved Core Data Error: " + reopenError + ", " + storePath_);
        NSLog("%s", error.c_str());
        return QZCustomizationError{kQZAlertFileNotLoaded,
                                    error.empty() ? "the store could not be moved aside" : error};
    }
    if (injectedFault("move copy in") || !QZRenameFile(*copy, storePath_, &error))
        return putBack(error.empty() ? "the chosen file could not be moved in" : error);
    if (injectedFault("open new store") || !openExistingStore(&error)) {
        database_.reset();
        return putBack(error.empty() ? "the chosen file could not be opened as the store" : error);
    }
    QZSyncFolder(folder_, nullptr);
    removeQuietly(*aside);
    CUSTOMIZATION_CONFIGURATION_CHANGED.emit();
    return std::nullopt;
}

}  // namespace customizer
