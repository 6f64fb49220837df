#pragma once
// A downloaded pack or message archive, read-only: entries by name, images at the screen's scale,
// and whether the archive is complete ("status.json" holds {"status": "OK"}). The zip file is
// opened on first use and kept. Archives come from the network, so every read is bounded: an
// entry is read into memory only when its directory size is at most kMaximumEntryLength
// ("status.json": kMaximumStatusLength), an image has at most kMaximumImagePixels, and a valid
// archive expands to at most kMaximumExpandedLength in all. A damaged entry (read or CRC error)
// yields nil, never its bytes so far. One thread at a time.
//
// A pack's images (entries named ".png", ".jpg" or ".jpeg") are PNG or JPEG that decode whole,
// within the limits imageLimitsForEntry gives by name: a sticker's large image ("-large") at most
// kMaximumStickerImageSide on its longer side and kMaximumStickerImagePixels in all, a frame piece
// ("_t", "_tr", ... "_tl", each optionally "-editing") at most kMaximumFramePieceSide, any other
// at most kMaximumImagePixels; all of an archive's images decode to at most
// kMaximumDecodedImageLength bytes together. imageNamed answers nil past its entry's limits too.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

class QZ_ZipFile;
class UIImage;

class QZContentPackResourceArchive : public NSObject {
public:
    static constexpr std::uint64_t kMaximumEntryLength = 64ull << 20;
    // Four entries of the largest size: a pack's images are far below it, a zip bomb of many
    // entries each within the entry limit is not.
    static constexpr std::uint64_t kMaximumExpandedLength = 256ull << 20;
    static constexpr std::uint64_t kMaximumStatusLength = 64ull << 10;
    static constexpr std::size_t kMaximumImagePixels = 64u << 20;
    static constexpr std::size_t kMaximumStickerImageSide = 2048;
    static constexpr std::size_t kMaximumStickerImagePixels = 4u << 20;
    static constexpr std::size_t kMaximumFramePieceSide = 4096;
    // Four bytes a pixel, summed over the archive's images.
    static constexpr std::uint64_t kMaximumDecodedImageLength = 256ull << 20;

    struct ImageLimits {
        std::size_t maximumSide;
        std::size_t maximumPixels;
    };
    // By the entry's name, a scale suffix ("@2x") ignored.
    static ImageLimits imageLimitsForEntry(const std::string& name);
    static bool isImageEntry(const std::string& name);

    // How validate treats the archive's images: not at all (message archives), every one must
    // pass (a pack's full-size set), or one that fails is only logged (thumbnails: that item
    // loses its thumbnail, nothing more). The decoded total holds in both checked cases.
    enum class ImageCheck { None, EveryImage, ThumbnailImages };

    using NSObject::NSObject;
    // Opens nothing yet; never fails.
    static std::shared_ptr<QZContentPackResourceArchive> make(const std::string& path);
    static std::string archivePathExtension() { return "zip"; }

    const std::string& path() const { return path_; }

    // Complete: "status.json" is a JSON object whose "status" is the string "OK", and every entry
    // reads to its end with a correct CRC within the limits, the total among them; then the
    // images as `images` says. *reason, when given, says why it answered false (naming the entry).
    bool validate(ImageCheck images = ImageCheck::None, std::string* reason = nullptr);
    // The entry's bytes; nil when it is absent, too large or damaged.
    Value dataForResourceNamed(const std::string& name);
    // "name@Nx.ext" first when the screen's scale truncates to N > 1, then the name; the image is
    // made at scale 1.
    std::shared_ptr<UIImage> imageNamed(const std::string& name);

private:
    void initWithArchiveAtPath(const std::string& path) { path_ = path; }
    std::shared_ptr<QZ_ZipFile> zipFile();
    std::optional<Value::Data> readDataFromFilenameInZipFile(const std::string& name, std::uint64_t maximumLength);
    // Reads the current entry to its end, keeping its bytes only when asked; `read` (when given)
    // gains the number of bytes it expanded to.
    bool readCurrentEntry(std::uint64_t maximumLength, Value::Data* bytes, const char* method,
                          std::uint64_t* read = nullptr);
    // The entries' sizes as the directory states them, summed; false past the expanded limit.
    bool statedSizesWithinLimit(const char* method);
    bool statusIsOK();
    // Decodes every image entry within its limits and the archive's decoded total.
    bool imagesDecodeWithinLimits(ImageCheck images, std::string* reason);

    std::string path_;
    std::shared_ptr<QZ_ZipFile> zipFile_;
};
