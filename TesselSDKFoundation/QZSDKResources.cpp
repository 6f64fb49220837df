#include "TesselSDKFoundation/QZSDKResources.h"

#include <filesystem>

#include "Foundation/NSBundle.h"
#include "Foundation/NSCache.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "UIKit/UIGeometry.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageResourceFile.h"

namespace {

struct Resources {
    std::shared_ptr<NSBundle> bundle;
    std::shared_ptr<NSCache> imageCache;
    Value resources;
};

Resources& shared()
{
    static Resources resources;
    return resources;
}

}  // namespace

std::shared_ptr<NSBundle> QZSDKResources::resourceBundle()
{
    Resources& r = shared();
    if (!r.bundle)
        if (std::optional<std::string> path = NSBundle::mainBundle()->pathForResource("TesselSDKResources", "bundle"))
            r.bundle = NSBundle::bundleWithPath(*path);
    return r.bundle;
}

std::shared_ptr<NSCache> QZSDKResources::imageCache()
{
    Resources& r = shared();
    if (!r.imageCache) {
        r.imageCache = NSCache::make();
        r.imageCache->setName(kQZImageCacheName);
    }
    return r.imageCache;
}

Value QZSDKResources::resources()
{
    Resources& r = shared();
    if (r.resources.isNil())
        if (std::shared_ptr<NSBundle> bundle = resourceBundle())
            if (std::optional<std::string> path = bundle->pathForResource("TesselSDKPlugins", "plist"))
                r.resources = Value::fromPropertyListFile(*path);
    return r.resources;
}

Value QZSDKResources::plugins() { return resources()["plugins"]; }

Value QZSDKResources::packs() { return resources()["packs"]; }

Value& QZSDKResources::replacementImageDictionary()
{
    static Value replacements = Value::dictionary();
    return replacements;
}

void QZSDKResources::registerReplacementForImageNamed(const std::string& imageName, const std::string& customizerKey)
{
    replacementImageDictionary().setObject(customizerKey, imageName);
}

std::shared_ptr<UIImage> QZSDKResources::imageNamed(const std::string& fileName)
{
    Value customizerKey = replacementImageDictionary()[fileName];
    if (customizerKey.isString()) {
        Value replacement = QZPhotoEditorCustomization::optionValueForKey(customizerKey.stringValue());
        // Callers draw what they get: only an image may stand in for the bundle's image. No value
        // at all is the usual case of a replacement the host did not set, and is not logged.
        if (std::shared_ptr<UIImage> image = replacement.object<UIImage>()) return image;
        if (!replacement.isNil())
            NSLog("%s %@", "+[QZSDKResources imageNamed:]",
                  NSStringWithFormat("Replacement for image %@ under %@ is not an image; using the bundle image",
                                     fileName, customizerKey));
    }
    return imageNamed(fileName, std::string());
}

std::shared_ptr<UIImage> QZSDKResources::stretchableImageNamed(const std::string& fileName, UIEdgeInsets caps)
{
    std::shared_ptr<UIImage> image = imageNamed(fileName);
    return image ? image->resizableImageWithCapInsets(caps) : nullptr;
}

std::shared_ptr<UIImage> QZSDKResources::imageNamed(const std::string& fileName, const std::string& directory)
{
    std::shared_ptr<NSBundle> bundle = resourceBundle();
    if (!bundle) return nullptr;
    std::optional<std::string> path = bundle->pathForResource(fileName, "", directory);
    return path ? cachedImageAtPath(*path, directory) : nullptr;
}

std::shared_ptr<UIImage> QZSDKResources::cachedImageAtPath(const std::string& path, const std::string& directory)
{
    std::string key = std::filesystem::path(path).filename().string();
    if (!directory.empty()) key = (std::filesystem::path(directory) / key).string();
    if (std::shared_ptr<UIImage> cached = cachedImageForKey(key)) return cached;
    std::shared_ptr<UIImage> image = UIImageWithContentsOfResourceFile(path);
    if (image) cacheImage(image, key);
    return image;
}

void QZSDKResources::cacheImage(const std::shared_ptr<UIImage>& image, const std::string& key)
{
    imageCache()->setObject(Value(image), key);
}

std::shared_ptr<UIImage> QZSDKResources::cachedImageForKey(const std::string& key)
{
    return imageCache()->objectForKey(key).object<UIImage>();
}

std::shared_ptr<UIImage> QZSDKResources::cachedImageForKey(const std::string& name, CGSize size,
                                                           const std::function<void()>& drawBlock)
{
    std::string key = NSStringWithFormat("drawCache-%@-%@", name, NSStringFromCGSize(size));
    if (std::shared_ptr<UIImage> cached = cachedImageForKey(key)) return cached;
    CGContextRef outer = UIGraphicsGetCurrentContext();
    UIGraphicsBeginImageContextWithOptions(size, false, 0);
    // An empty size makes no context: taking the image and ending the context would then take
    // and pop the caller's own image context, and the block would draw into it.
    if (UIGraphicsGetCurrentContext() == outer) return nullptr;
    if (drawBlock) drawBlock();
    std::shared_ptr<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    if (image) cacheImage(image, key);
    return image;
}

void QZSDKResources::unloadResources()
{
    Resources& r = shared();
    r.bundle.reset();
    r.imageCache.reset();
    r.resources = Value();
}
