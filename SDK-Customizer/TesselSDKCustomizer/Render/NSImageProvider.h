#pragma once
// Where NSImage::imageNamed finds resource images (masks, the noise texture, drawn images). The
// process has one current provider, shared by every thread: normally the resource folder, and
// in tests a provider of their own. Providers are called from any thread.

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "Render/NSImage.h"

namespace customizer {

class NSImageProvider {
public:
    virtual ~NSImageProvider() = default;

    // The image of that file name ("button_core.png"), or null when there is none.
    virtual NSImagePtr imageNamed(const std::string& fileName) = 0;

    // Made on first use: the resource folder of NSResourceFolderImageProvider::defaultFolder().
    static std::shared_ptr<NSImageProvider> current();
    // Installs a provider and answers the one it replaces; null goes back to the resource folder.
    static std::shared_ptr<NSImageProvider> setCurrent(std::shared_ptr<NSImageProvider> provider);
};

// The PNG files of one folder, each read once and kept (the cache is locked: exports draw on a
// worker thread while previews draw on the main thread). A missing file gives null; a file that
// is not a readable PNG gives null and one log line; names holding a "/" are refused, so a name
// from a resource list cannot reach outside the folder.
class NSResourceFolderImageProvider : public NSImageProvider {
public:
    explicit NSResourceFolderImageProvider(std::string folder);

    // $TESSEL_CUSTOMIZER_RESOURCES when set, else "Resources" beside the running executable.
    static std::string defaultFolder();

    NSImagePtr imageNamed(const std::string& fileName) override;
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    std::mutex mutex_;
    std::map<std::string, NSImagePtr> cache_;  // guarded by mutex_; found images only
};

}  // namespace customizer
