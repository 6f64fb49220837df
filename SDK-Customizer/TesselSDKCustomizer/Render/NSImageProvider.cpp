#include "Render/NSImageProvider.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "Render/NSLog.h"

namespace customizer {
namespace {

std::mutex& providerMutex()
{
    static std::mutex m;
    return m;
}
std::shared_ptr<NSImageProvider>& installedProvider()  // guarded by providerMutex()
{
    static std::shared_ptr<NSImageProvider> provider;
    return provider;
}

}  // namespace

std::shared_ptr<NSImageProvider> NSImageProvider::current()
{
    std::lock_guard lock(providerMutex());
    auto& provider = installedProvider();
    if (!provider) provider = std::make_shared<NSResourceFolderImageProvider>(NSResourceFolderImageProvider::defaultFolder());
    return provider;
}

std::shared_ptr<NSImageProvider> NSImageProvider::setCurrent(std::shared_ptr<NSImageProvider> provider)
{
    std::lock_guard lock(providerMutex());
    auto previous = std::move(installedProvider());
    installedProvider() = std::move(provider);
    return previous;
}

NSResourceFolderImageProvider::NSResourceFolderImageProvider(std::string folder) : folder_(std::move(folder)) {}

std::string NSResourceFolderImageProvider::defaultFolder()
{
    if (const char* fromEnvironment = std::getenv("TESSEL_CUSTOMIZER_RESOURCES"); fromEnvironment && *fromEnvironment)
        return fromEnvironment;
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "Resources";
    return (executable.parent_path() / "Resources").string();
}

NSImagePtr NSResourceFolderImageProvider::imageNamed(const std::string& fileName)
{
    if (fileName.empty() || fileName.find('/') != std::string::npos) {
        NSLog("imageNamed: refused the resource name \"%s\"", fileName.c_str());
        return nullptr;
    }
    std::lock_guard lock(mutex_);
    if (auto found = cache_.find(fileName); found != cache_.end()) return found->second;
    std::filesystem::path path = std::filesystem::path(folder_) / fileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return nullptr;
    NSImagePtr image = NSImage::imageWithCGImage(CGImage::imageWithContentsOfPNGFile(path.string()));
    if (!image) {
        NSLog("imageNamed: %s is not a readable PNG image", path.c_str());
        return nullptr;
    }
    cache_.emplace(fileName, image);
    return image;
}

}  // namespace customizer
