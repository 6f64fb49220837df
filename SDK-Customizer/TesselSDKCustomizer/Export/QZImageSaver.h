#pragma once
// One export of the theme into "<export folder>/TesselSDKResources.bundle": the 26 image groups,
// "Colors.plist" and "Status.plist", optionally every image of groups 2 to 26 compressed. The
// saver holds a copy of the theme taken when it was made, so an export on a worker thread never
// reads the live record. saveImages runs on the calling thread and reports to the delegate there.
//
// Everything is written into a private staging folder inside the export folder first; only when
// every file is written (and compressed) is the bundle touched: "Status.plist" set to
// "Unfinished", each file renamed into place (replacing its namesake, other files kept),
// "Colors.plist", then the final status. A failure before that leaves the export folder as it
// was; a failure while moving files in leaves "Unfinished". A compressor that fails leaves the
// status "Uncompressed" with a notice; the export itself succeeds.

#include <cstdint>
#include <optional>
#include <string>

#include "Export/QZExportLists.h"
#include "Export/QZPNGCompressor.h"
#include "Model/OverallAppearance.h"

namespace customizer {

class QZImageSaver;

// Progress of an export, in this order: one report per image group (1 to 26 of 26), finished
// saving, then with compression one report per compressed image and finished compressing.
class QZImageSaverDelegate {
public:
    virtual ~QZImageSaverDelegate() = default;
    virtual void imageSaverFinishedSavingImageGroup(QZImageSaver&, int64_t /*saved*/, int64_t /*total*/) {}
    virtual void imageSaverFinishedSavingAllImages(QZImageSaver&) {}
    virtual void imageSaverFinishedCrushingImage(QZImageSaver&, int64_t /*crushed*/, int64_t /*total*/) {}
    virtual void imageSaverFinishedCrushingAllImages(QZImageSaver&) {}
};

struct QZExportResult {
    std::string status;             // the bundle's final status; empty when the export failed
    std::string error;              // why it failed, naming the file
    std::string compressionNotice;  // why the images stay uncompressed though compression was asked
    bool succeeded() const { return error.empty(); }
};

class QZImageSaver {
public:
    QZImageSaver(OverallAppearance theme, QZExportLists lists);

    void setDelegate(QZImageSaverDelegate* delegate) { delegate_ = delegate; }  // not owned
    void setCompressor(QZPNGCompressor compressor) { compressor_ = std::move(compressor); }

    QZExportResult saveImages(const std::string& exportFolder, bool crush);
    // Compresses the PNG files at the top level of the folder, one after the other, stopping at
    // the first failure. Nullopt when all were compressed, else the notice.
    std::optional<std::string> crushPngs(const std::string& folder);

    int64_t imageGroupsSaved() const { return imageGroupsSaved_; }
    int64_t totalImageGroupsToSave() const { return totalImageGroupsToSave_; }
    int64_t imagesCrushed() const { return imagesCrushed_; }
    int64_t totalImagesToCrush() const { return totalImagesToCrush_; }

    void reportSave();
    void reportFinishedSaving();
    void reportCrush();
    void reportFinishedCrushing();

private:
    bool writeGroups(const std::string& iconsFolder, const std::string& imagesFolder, std::string* error);
    bool saveExportFile(const std::string& bundleFolder, const std::string& status, std::string* error);
    bool saveColorsPlist(const std::string& bundleFolder, std::string* error);
    bool moveIntoBundle(const std::string& from, const std::string& bundleFolder, std::string* error);

    OverallAppearance theme_;
    QZExportLists lists_;
    QZImageSaverDelegate* delegate_ = nullptr;
    QZPNGCompressor compressor_ = QZPNGCompressor::fromEnvironment();
    int64_t imageGroupsSaved_ = 0;
    int64_t totalImageGroupsToSave_ = 0;
    int64_t imagesCrushed_ = 0;
    int64_t totalImagesToCrush_ = 0;
};

}  // namespace customizer
