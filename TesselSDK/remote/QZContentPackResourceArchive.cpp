#include "TesselSDK/remote/QZContentPackResourceArchive.h"

#include <algorithm>
#include <cmath>

#include "Foundation/NSError.h"
#include "Foundation/NSLog.h"
#include "Foundation/PlatformSettings.h"
#include "ImageIO/ImageIOCodec.h"
#include "TesselSDK/remote/QZFrameContentPackItem.h"
#include "TesselSDK/ZipStreams/QZ_ZipException.h"
#include "TesselSDK/ZipStreams/QZ_ZipFile.h"
#include "UIKit/UIImage.h"

namespace {

constexpr const char* kStatusFileName = "status.json";
constexpr std::size_t kReadBlockLength = 4096;

// "name@2x.png" for "name.png" at scale 2; the extension is what follows the last dot of the
// last component, as the platform's path functions take it.
std::string scaledVariant(const std::string& name, int scale)
{
    const std::string::size_type slash = name.rfind('/');
    const std::string::size_type dot = name.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    const std::string stem = hasExtension ? name.substr(0, dot) : name;
    const std::string extension = hasExtension ? name.substr(dot) : std::string();
    return stem + NSStringWithFormat("@%ix", scale) + extension;
}

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string lowercased(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The last component without its extension and without a trailing scale suffix ("@2x").
std::string imageStem(const std::string& name)
{
    const std::string::size_type slash = name.rfind('/');
    std::string stem = slash == std::string::npos ? name : name.substr(slash + 1);
    if (const std::string::size_type dot = stem.rfind('.'); dot != std::string::npos && dot > 0) stem.erase(dot);
    const std::string::size_type at = stem.rfind('@');
    if (at != std::string::npos && at + 2 < stem.size() && stem.back() == 'x') {
        bool digits = true;
        for (std::string::size_type i = at + 1; i + 1 < stem.size(); ++i) digits = digits && stem[i] >= '0' && stem[i] <= '9';
        if (digits) stem.erase(at);
    }
    return stem;
}

std::string describeLimits(const QZContentPackResourceArchive::ImageLimits& limits)
{
    return std::to_string(limits.maximumSide) + " pixels on its longer side and " +
           std::to_string(limits.maximumPixels) + " pixels in all";
}

enum class ImageDecoding { Decoded, Refused, PastTheTotal };

// Decodes the image within its limits and the pixel bytes left to the archive, adding what it
// decoded to `decoded`; the pixels are let go at once. *why says what was wrong.
ImageDecoding decodeWithinLimits(const Value::Data& bytes, const QZContentPackResourceArchive::ImageLimits& limits,
                                 std::uint64_t bytesLeft, std::uint64_t* decoded, std::string* why)
{
    std::vector<std::uint8_t> pixels;
    std::string refusal;
    std::string decoderError;
    ImageDecoding outcome = ImageDecoding::Refused;
    const bool ok = ImageIODecode(
        bytes.data(), bytes.size(),
        [&](std::size_t width, std::size_t height) -> void* {
            const std::uint64_t count = std::uint64_t(width) * height;
            const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
            if (std::max(width, height) > limits.maximumSide || count > limits.maximumPixels) {
                refusal = "it is " + size + ", more than " + describeLimits(limits);
                return nullptr;
            }
            if (count * 4 > bytesLeft) {
                refusal = "its " + size + " take the pack's images past the " +
                          std::to_string(QZContentPackResourceArchive::kMaximumDecodedImageLength) +
                          " decoded bytes allowed in all";
                outcome = ImageDecoding::PastTheTotal;
                return nullptr;
            }
            pixels.resize(count * 4);
            return pixels.data();
        },
        &decoderError);
    if (ok) {
        *decoded += pixels.size();
        return ImageDecoding::Decoded;
    }
    *why = !refusal.empty() ? refusal : "it is not a PNG or JPEG image that decodes whole (" + decoderError + ")";
    return outcome;
}

}  // namespace

QZContentPackResourceArchive::ImageLimits QZContentPackResourceArchive::imageLimitsForEntry(const std::string& name)
{
    const std::string stem = imageStem(name);
    if (endsWith(stem, "-large")) return {kMaximumStickerImageSide, kMaximumStickerImagePixels};
    for (std::size_t piece = 0; piece < kQZFramePieceCount; ++piece)
        if (endsWith(stem, QZFrameContentPackItem::suffixForPiece(static_cast<QZFramePiece>(piece))))
            return {kMaximumFramePieceSide, kMaximumFramePieceSide * kMaximumFramePieceSide};
    return {kMaximumImagePixels, kMaximumImagePixels};
}

bool QZContentPackResourceArchive::isImageEntry(const std::string& name)
{
    const std::string lower = lowercased(name);
    return endsWith(lower, ".png") || endsWith(lower, ".jpg") || endsWith(lower, ".jpeg");
}

std::shared_ptr<QZContentPackResourceArchive> QZContentPackResourceArchive::make(const std::string& path)
{
    return NSObject::create<QZContentPackResourceArchive>(&QZContentPackResourceArchive::initWithArchiveAtPath, path);
}

std::shared_ptr<QZ_ZipFile> QZContentPackResourceArchive::zipFile()
{
    if (!zipFile_) zipFile_ = QZ_ZipFile::zipFileWithFileName(path_, ZipFileModeUnzip);
    return zipFile_;
}

bool QZContentPackResourceArchive::readCurrentEntry(std::uint64_t maximumLength, Value::Data* bytes, const char* method,
                                                    std::uint64_t* read)
{
    std::shared_ptr<QZ_FileInZipInfo> info = zipFile_->getCurrentFileInZipInfo();
    // Judged before reading: the directory's size is all a caller may set aside.
    if (info->length() > maximumLength) {
        NSLog("%s %@", method,
              NSStringWithFormat("Entry %@ of %llu bytes is larger than the %llu bytes allowed", info->name(),
                                 static_cast<unsigned long long>(info->length()),
                                 static_cast<unsigned long long>(maximumLength)));
        return false;
    }
    std::shared_ptr<QZ_ZipReadStream> stream = zipFile_->readCurrentFileInZip();
    std::uint64_t total = 0;
    for (;;) {
        Value::Data block = stream->readDataOfLength(kReadBlockLength);
        if (block.empty()) break;
        total += block.size();
        if (total > maximumLength) {
            NSLog("%s %@", method, NSStringWithFormat("Entry %@ holds more than its stated size", info->name()));
            return false;
        }
        if (bytes) bytes->insert(bytes->end(), block.begin(), block.end());
    }
    // Where the zip core compares the entry's CRC.
    stream->finishedReading();
    if (read) *read += total;
    return true;
}

bool QZContentPackResourceArchive::statedSizesWithinLimit(const char* method)
{
    std::uint64_t stated = 0;
    for (bool more = zipFile()->goToFirstFileInZip(); more; more = zipFile_->goToNextFileInZip()) {
        stated += std::min<std::uint64_t>(zipFile_->getCurrentFileInZipInfo()->length(), kMaximumExpandedLength + 1);
        if (stated > kMaximumExpandedLength) {
            NSLog("%s %@", method,
                  NSStringWithFormat("The entries expand to more than the %llu bytes allowed in all",
                                     static_cast<unsigned long long>(kMaximumExpandedLength)));
            return false;
        }
    }
    return true;
}

std::optional<Value::Data> QZContentPackResourceArchive::readDataFromFilenameInZipFile(const std::string& name,
                                                                                       std::uint64_t maximumLength)
{
    static const char* method = "-[QZContentPackResourceArchive readDataFromFilenameInZipFile:]";
    try {
        if (!zipFile()->locateFileInZip(name)) return std::nullopt;
        Value::Data bytes;
        if (!readCurrentEntry(maximumLength, &bytes, method)) return std::nullopt;
        return bytes;
    } catch (const QZ_ZipException& exception) {
        // The bytes read before a read or CRC error are not the entry: nothing is answered.
        NSLog("%s %@", method, NSStringWithFormat("Zip exception encountered: %@", exception.reason()));
        return std::nullopt;
    }
}

Value QZContentPackResourceArchive::dataForResourceNamed(const std::string& name)
{
    std::optional<Value::Data> bytes = readDataFromFilenameInZipFile(name, kMaximumEntryLength);
    return bytes ? Value(std::move(*bytes)) : Value();
}

bool QZContentPackResourceArchive::statusIsOK()
{
    std::optional<Value::Data> bytes = readDataFromFilenameInZipFile(kStatusFileName, kMaximumStatusLength);
    if (!bytes) return false;
    std::shared_ptr<NSError> error;
    Value status =
        Value::fromJSON(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), &error);
    if (error) {
        NSLog("%s %@", "-[QZContentPackResourceArchive validate]",
              NSStringWithFormat("Status file deserialization failed: %@", error));
        return false;
    }
    const Value value = status["status"];
    const std::string* text = value.asString();
    return text && *text == "OK";
}

bool QZContentPackResourceArchive::validate(ImageCheck images, std::string* reason)
{
    static const char* method = "-[QZContentPackResourceArchive validate]";
    std::string ignored;
    std::string& why = reason ? *reason : ignored;
    why = "The archive is damaged, incomplete or too large.";
    if (!statusIsOK()) {
        why = "The archive's status.json does not say it is complete.";
        return false;
    }
    // A damaged image would otherwise be installed and fail later on a screen: every entry must
    // read to its end, within the limits, with a correct CRC. The directory's sizes are summed
    // first, so an archive too large in all is refused without expanding anything; the bytes
    // actually expanded are held to the same total, whatever the directory said.
    try {
        if (!statedSizesWithinLimit(method)) return false;
        std::uint64_t expanded = 0;
        for (bool more = zipFile()->goToFirstFileInZip(); more; more = zipFile_->goToNextFileInZip()) {
            const std::uint64_t left = kMaximumExpandedLength - expanded;
            if (!readCurrentEntry(std::min(kMaximumEntryLength, left), nullptr, method, &expanded)) return false;
        }
    } catch (const QZ_ZipException& exception) {
        NSLog("%s %@", method, NSStringWithFormat("Zip exception encountered: %@", exception.reason()));
        return false;
    }
    if (images != ImageCheck::None && !imagesDecodeWithinLimits(images, &why)) return false;
    return true;
}

bool QZContentPackResourceArchive::imagesDecodeWithinLimits(ImageCheck images, std::string* reason)
{
    static const char* method = "-[QZContentPackResourceArchive validate]";
    std::vector<std::string> names;
    try {
        for (bool more = zipFile()->goToFirstFileInZip(); more; more = zipFile_->goToNextFileInZip()) {
            const std::string name = zipFile_->getCurrentFileInZipInfo()->name();
            if (isImageEntry(name)) names.push_back(name);
        }
    } catch (const QZ_ZipException& exception) {
        NSLog("%s %@", method, NSStringWithFormat("Zip exception encountered: %@", exception.reason()));
        return false;
    }
    // One image's pixels at a time: the check itself stays within the total it enforces.
    std::uint64_t decoded = 0;
    for (const std::string& name : names) {
        std::string why = "it cannot be read";
        ImageDecoding outcome = ImageDecoding::Refused;
        if (std::optional<Value::Data> bytes = readDataFromFilenameInZipFile(name, kMaximumEntryLength))
            outcome = decodeWithinLimits(*bytes, imageLimitsForEntry(name), kMaximumDecodedImageLength - decoded,
                                         &decoded, &why);
        if (outcome == ImageDecoding::Decoded) continue;
        const std::string message = "The image " + name + " is refused: " + why + ".";
        NSLog("%s %@", method, message);
        // A thumbnail that fails costs its item only the thumbnail (imageNamed refuses it again);
        // the total bounds the thumbnails' memory all the same.
        if (images == ImageCheck::ThumbnailImages && outcome == ImageDecoding::Refused) continue;
        *reason = message;
        return false;
    }
    return true;
}

std::shared_ptr<UIImage> QZContentPackResourceArchive::imageNamed(const std::string& name)
{
    std::vector<std::string> candidates;
    const float screenScale = PlatformSettings::screenScale();
    const int scale = std::isfinite(screenScale) && screenScale < 64 ? static_cast<int>(screenScale) : 1;
    if (scale > 1) candidates.push_back(scaledVariant(name, scale));
    candidates.push_back(name);
    for (const std::string& candidate : candidates) {
        Value data = dataForResourceNamed(candidate);
        const Value::Data* bytes = data.asData();
        if (!bytes) continue;
        const ImageLimits limits = imageLimitsForEntry(candidate);
        std::shared_ptr<UIImage> image =
            UIImage::imageWithData(*bytes, 1, std::min(limits.maximumPixels, kMaximumImagePixels));
        if (image && std::max(image->size().width, image->size().height) > limits.maximumSide) {
            NSLog("%s %@", "-[QZContentPackResourceArchive imageNamed:]",
                  NSStringWithFormat("The image %@ is larger than %@", candidate, describeLimits(limits)));
            return nullptr;
        }
        return image;
    }
    return nullptr;
}
