#include "Export/QZImageSaver.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "Export/QZBundleFormat.h"
#include "Export/QZExportStaging.h"
#include "Export/QZImageGroups.h"
#include "Model/QZFileOperations.h"
#include "Render/NSLog.h"

namespace customizer {
namespace {

namespace fs = std::filesystem;

// The folders create_directories would make for `folder`, outermost first; empty when it exists.
std::vector<fs::path> missingFolders(const fs::path& folder)
{
    std::vector<fs::path> missing;
    std::error_code ignored;
    for (fs::path at = fs::absolute(folder, ignored); !at.empty() && !fs::exists(at, ignored); at = at.parent_path()) {
        missing.insert(missing.begin(), at);
        if (at == at.parent_path()) break;
    }
    return missing;
}

// Removes the folders an export made, innermost first, where they are still empty.
void removeMadeFolders(const std::vector<fs::path>& made)
{
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder) ::rmdir(folder->c_str());
}

// The regular files at the top level of the folder, sorted by name.
std::optional<std::vector<std::string>> filesIn(const std::string& folder, std::string* error)
{
    std::vector<std::string> names;
    std::error_code listed;
    for (fs::directory_iterator entry(folder, listed), end; !listed && entry != end; entry.increment(listed))
        if (entry->is_regular_file()) names.push_back(entry->path().filename().string());
    if (listed) {
        if (error) *error = folder + ": " + listed.message();
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The list as the platform describes an array of strings.
std::string describe(const std::vector<std::string>& names)
{
    std::string text = "(";
    for (size_t i = 0; i < names.size(); ++i) text += std::string(i ? "," : "") + "\n    \"" + names[i] + "\"";
    return text + "\n)";
}

// Everything written so far on its way to the disk, before the bundle points at it.
void syncFileSystemOf(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::syncfs(fd);
    ::close(fd);
}

}  // namespace

QZImageSaver::QZImageSaver(OverallAppearance theme, QZExportLists lists)
    : theme_(std::move(theme)), lists_(std::move(lists))
{
}

void QZImageSaver::reportSave()
{
    ++imageGroupsSaved_;
    if (delegate_) delegate_->imageSaverFinishedSavingImageGroup(*this, imageGroupsSaved_, totalImageGroupsToSave_);
}

void QZImageSaver::reportFinishedSaving()
{
    if (delegate_) delegate_->imageSaverFinishedSavingAllImages(*this);
}

void QZImageSaver::reportCrush()
{
    ++imagesCrushed_;
    if (delegate_) delegate_->imageSaverFinishedCrushingImage(*this, imagesCrushed_, totalImagesToCrush_);
}

void QZImageSaver::reportFinishedCrushing()
{
    if (delegate_) delegate_->imageSaverFinishedCrushingAllImages(*this);
}

bool QZImageSaver::writeGroups(const std::string& iconsFolder, const std::string& imagesFolder, std::string* error)
{
    QZExportContext context{theme_, lists_.iconNames, lists_.colorNames};
    bool first = true;
    for (const QZImageGroup& group : QZImageGroups()) {
        if (!group.write(context, first ? iconsFolder : imagesFolder, error)) return false;
        first = false;
        reportSave();
    }
    return true;
}

bool QZImageSaver::saveExportFile(const std::string& bundleFolder, const std::string& status, std::string* error)
{
    return QZWriteFileAtomically((fs::path(bundleFolder) / kQZStatusFileName).string(), QZStatusPropertyList(status),
                                 error);
}

bool QZImageSaver::saveColorsPlist(const std::string& bundleFolder, std::string* error)
{
    return QZWriteFileAtomically((fs::path(bundleFolder) / kQZColorsFileName).string(), QZColorsPropertyList(theme_),
                                 error);
}

bool QZImageSaver::moveIntoBundle(const std::string& from, const std::string& bundleFolder, std::string* error)
{
    std::optional<std::vector<std::string>> names = filesIn(from, error);
    if (!names) return false;
    for (const std::string& name : *names)
        if (!QZRenameFile((fs::path(from) / name).string(), (fs::path(bundleFolder) / name).string(), error))
            return false;
    return true;
}

std::optional<std::string> QZImageSaver::crushPngs(const std::string& folder)
{
    imagesCrushed_ = 0;
    totalImagesToCrush_ = 0;
    std::string error;
    std::optional<std::vector<std::string>> files = filesIn(folder, &error);
    if (!files) return "The images stay uncompressed: " + error;
    std::vector<std::string> pngs;
    for (const std::string& name : *files)
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) pngs.push_back(name);
    NSLog("%s", describe(pngs).c_str());
    totalImagesToCrush_ = int64_t(pngs.size());
    for (const std::string& name : pngs) {
        if (std::optional<std::string> failure = compressor_.compress((fs::path(folder) / name).string())) {
            std::string notice =
                "The images stay uncompressed: " + compressor_.program() + " failed on " + name + ": " + *failure;
            NSLog("%s", notice.c_str());
            return notice;
        }
        reportCrush();
    }
    return std::nullopt;
}

QZExportResult QZImageSaver::saveImages(const std::string& exportFolder, bool crush)
{
    imageGroupsSaved_ = 0;
    imagesCrushed_ = 0;
    totalImagesToCrush_ = 0;
    totalImageGroupsToSave_ = kQZImageGroupCount;
    QZExportResult result;
    std::string error;
    auto fail = [&](const std::string& why) {
        NSLog("The export failed: %s", why.c_str());
        result.error = why;
        return result;
    };

    // The bundle is written where it stands, never through a link to some other folder.
    const std::string bundle = (fs::path(exportFolder) / kQZBundleFolderName).string();
    auto bundleIsLink = [&] {
        std::error_code ignored;
        return fs::is_symlink(fs::symlink_status(bundle, ignored));
    };
    const std::string linkRefusal =
        bundle + " is a symbolic link; the bundle folder is never written through a link (remove the link, or export "
                 "into the folder it points to)";
    if (bundleIsLink()) return fail(linkRefusal);

    std::vector<fs::path> made = missingFolders(exportFolder);
    std::error_code folderError;
    fs::create_directories(exportFolder, folderError);
    if (folderError) {
        removeMadeFolders(made);
        return fail(exportFolder + ": " + folderError.message());
    }
    std::unique_ptr<QZExportStaging> staging = QZExportStaging::make(exportFolder, &error);
    bool written = staging && writeGroups(staging->iconsFolder(), staging->imagesFolder(), &error);
    if (!written) {
        staging.reset();
        removeMadeFolders(made);
        return fail(error);
    }
    reportFinishedSaving();

    std::string status = UncompressedStatus;
    if (crush) {
        std::optional<std::string> notice = crushPngs(staging->imagesFolder());
        reportFinishedCrushing();
        if (notice)
            result.compressionNotice = *notice;
        else
            status = CompletedStatus;
    }

    // Into the bundle: from here on a failure leaves "Unfinished" behind.
    syncFileSystemOf(staging->root());
    fs::create_directory(bundle, folderError);
    if (!folderError && bundleIsLink()) {
        staging.reset();
        removeMadeFolders(made);
        return fail(linkRefusal);
    }
    if (folderError) {
        staging.reset();
        removeMadeFolders(made);
        return fail(bundle + ": " + folderError.message());
    }
    if (!saveExportFile(bundle, BeganStatus, &error) || !moveIntoBundle(staging->iconsFolder(), bundle, &error) ||
        !moveIntoBundle(staging->imagesFolder(), bundle, &error) || !saveColorsPlist(bundle, &error) ||
        !saveExportFile(bundle, status, &error))
        return fail(error);
    QZSyncFolder(bundle, nullptr);
    result.status = status;
    return result;
}

}  // namespace customizer
