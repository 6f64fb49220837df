#pragma once
// The private folder an export writes into before anything reaches the bundle: made with
// mkdtemp inside the export folder (one file system, so moving files into the bundle is a
// rename), with "icons" (never compressed) and "images" (what the compressor works on) in it.
// Removed, with whatever is left in it, when the object goes.

#include <memory>
#include <string>

namespace customizer {

class QZExportStaging {
public:
    // Null (with the reason in `error`) when the folder cannot be made.
    static std::unique_ptr<QZExportStaging> make(const std::string& exportFolder, std::string* error);
    ~QZExportStaging();
    QZExportStaging(const QZExportStaging&) = delete;
    QZExportStaging& operator=(const QZExportStaging&) = delete;

    const std::string& root() const { return root_; }
    std::string iconsFolder() const { return root_ + "/icons"; }
    std::string imagesFolder() const { return root_ + "/images"; }

private:
    explicit QZExportStaging(std::string root) : root_(std::move(root)) {}
    std::string root_;
};

}  // namespace customizer
