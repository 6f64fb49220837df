#pragma once
// The resource bundle "TesselSDKResources.bundle" (carried in the host's main bundle) and its
// image cache. Everything the editor loads at run time comes from this bundle: the tool table,
// the option key tree, images, string tables, colours and the export status. A missing bundle
// makes every lookup give nil. Class methods only; main thread only.

#include <functional>
#include <memory>
#include <string>

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/Value.h"
#include "UIKit/UIGeometry.h"

class NSBundle;
class NSCache;
class UIImage;

// The name under which the image cache runs.
inline constexpr const char* kQZImageCacheName = "TesselSDKImageCache";

class QZSDKResources {
public:
    // Loaded on first use and kept until unloadResources.
    static std::shared_ptr<NSBundle> resourceBundle();
    static std::shared_ptr<NSCache> imageCache();
    // "TesselSDKPlugins.plist": {"plugins": tool table, "packs": ...}.
    static Value resources();
    // Tool key -> {"class", "settings", "key", "title", "icon"}.
    static Value plugins();
    static Value packs();
    // Image file name -> the option key whose image replaces it. Lives for the process.
    static Value& replacementImageDictionary();
    static void registerReplacementForImageNamed(const std::string& imageName, const std::string& customizerKey);

    // The replacing option's image when the name has a replacement whose value is an image,
    // else the bundle image of that name.
    static std::shared_ptr<UIImage> imageNamed(const std::string& fileName);
    // `imageNamed:inDirectory:`: the bundle image in the subdirectory ("" for none), cached.
    static std::shared_ptr<UIImage> imageNamed(const std::string& fileName, const std::string& directory);
    // imageNamed (replacements included) made resizable with those caps; null when there is none.
    static std::shared_ptr<UIImage> stretchableImageNamed(const std::string& fileName, UIEdgeInsets caps);
    // Cached under the path's last component (prefixed by the directory name when given); on a miss
    // the file is loaded (screen-scale variants included) and cached only when it loads.
    static std::shared_ptr<UIImage> cachedImageAtPath(const std::string& path, const std::string& directory);
    static void cacheImage(const std::shared_ptr<UIImage>& image, const std::string& key);
    static std::shared_ptr<UIImage> cachedImageForKey(const std::string& key);
    // `cachedImageForKey:size:drawBlock:`: the image the block draws into a fresh, transparent
    // context of the size at screen scale, cached under "drawCache-<name>-<size>".
    static std::shared_ptr<UIImage> cachedImageForKey(const std::string& name, CGSize size,
                                                      const std::function<void()>& drawBlock);
    // Releases the bundle, the image cache and the tool table; each is made again on next use.
    static void unloadResources();
};
