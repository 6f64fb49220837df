#include "TesselSDK/remote/QZContentPackResourceProvider.h"

#include <fstream>
#include <iterator>

#include "Foundation/NSBundle.h"
#include "Foundation/NSFileManager.h"
#include "TesselSDK/foundation/QZFileSystemUtils.h"
#include "TesselSDK/foundation/QZSDKResources.h"
#include "TesselSDK/remote/QZAssetManager.h"
#include "UIKit/UIImage.h"

namespace {

constexpr const char* kArchiveExtension = "zip";
constexpr const char* kPackPreviewImageName = "iap_preview.png";

std::optional<Value::Data> readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return Value::Data(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

std::shared_ptr<QZContentPackResourceProvider>
QZContentPackResourceProvider::make(QZContentPackResourceProviderType type, const std::string& contentPackIdentifier,
                                    const std::string& remoteURL, const std::shared_ptr<QZAssetManager>& contentManager)
{
    return NSObject::create<QZContentPackResourceProvider>(&QZContentPackResourceProvider::initWithType, type,
                                                           contentPackIdentifier, remoteURL, contentManager);
}

bool QZContentPackResourceProvider::initWithType(QZContentPackResourceProviderType type, const std::string& identifier,
                                                 const std::string& remoteURL,
                                                 const std::shared_ptr<QZAssetManager>& contentManager)
{
    type_ = type;
    identifier_ = identifier;
    remoteURL_ = remoteURL;
    contentManager_ = contentManager;
    resourceCache_ = NSCache::make();
    return true;
}

QZContentPackResourceProvider::~QZContentPackResourceProvider()
{
    if (auto manager = contentManager_.lock()) manager->uncacheResourceProvider(*this);
}

std::string QZContentPackResourceProvider::archiveName() const
{
    return identifier_ + (type_ == QZContentPackResourceProviderTypeThumbnail ? "_thumbnail" : "") + "." +
           kArchiveExtension;
}

std::optional<std::string> QZContentPackResourceProvider::archivePath() const
{
    if (!QZIsSafeResourceIdentifier(identifier_)) return std::nullopt;
    std::optional<std::string> directory = QZFileSystemUtils::resourcesDirectoryURL();
    if (!directory) return std::nullopt;
    return *directory + "/" + archiveName();
}

QZContentPackResourceProviderState QZContentPackResourceProvider::state()
{
    if (state_ != QZContentPackResourceProviderStateUnknown) return state_;
    std::optional<std::string> archive = archivePath();
    bool present = archive && NSFileManager::defaultManager()->fileExistsAtPath(*archive);
    // A high-resolution set counts only its downloaded archive, even beside a bundle folder.
    if (!present && type_ == QZContentPackResourceProviderTypeThumbnail)
        present = bundlePathForResource(kPackPreviewImageName).has_value();
    if (present)
        state_ = QZContentPackResourceProviderStateDownloaded;
    else if (downloading_)
        state_ = QZContentPackResourceProviderStateDownloading;
    else
        state_ = QZContentPackResourceProviderStateNotDownloaded;
    return state_;
}

const std::set<std::string>& QZContentPackResourceProvider::bundleResourceFilenames()
{
    if (!bundleResourceFilenames_) {
        bundleResourceFilenames_.emplace();
        std::shared_ptr<NSBundle> bundle = QZSDKResources::resourceBundle();
        if (bundle && QZIsSafeResourceIdentifier(identifier_))
            for (const std::string& name :
                 NSFileManager::defaultManager()->contentsOfDirectoryAtPath(bundle->bundlePath() + "/" + identifier_))
                bundleResourceFilenames_->insert(name);
    }
    return *bundleResourceFilenames_;
}

std::optional<std::string> QZContentPackResourceProvider::bundlePathForResource(const std::string& name)
{
    // Only names listed in the folder: a name holding a path never matches an entry.
    if (!bundleResourceFilenames().count(name)) return std::nullopt;
    return QZSDKResources::resourceBundle()->bundlePath() + "/" + identifier_ + "/" + name;
}

std::shared_ptr<UIImage> QZContentPackResourceProvider::imageNamed(const std::string& name)
{
    if (!bundlePathForResource(name)) return nullptr;
    return QZSDKResources::imageNamed(name, identifier_);
}

Value QZContentPackResourceProvider::dataForResourceNamed(const std::string& name)
{
    Value cached = resourceCache_->objectForKey(name);
    if (!cached.isNil()) return cached;
    std::optional<std::string> path = bundlePathForResource(name);
    if (!path) return Value();
    std::optional<Value::Data> bytes = readFile(*path);
    if (!bytes) return Value();
    Value data(std::move(*bytes));
    resourceCache_->setObject(data, name);
    return data;
}

void QZContentPackResourceProvider::clearResourceCache()
{
    resourceCache_->removeAllObjects();
}
