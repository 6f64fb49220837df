#include "TesselSDK/remote/QZContentPackResourceArchive.h"

#include <algorithm>
#include <cmath>

#include "Foundation/NSError.h"
#include "Foundation/NSLog.h"
#include "Foundation/PlatformSettings.h"
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

}  // namespace

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

bool QZContentPackResourceArchive::validate()
{
    static const char* method = "-[QZContentPackResourceArchive validate]";
    if (!statusIsOK()) return false;
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
        if (const Value::Data* bytes = data.asData()) return UIImage::imageWithData(*bytes, 1, kMaximumImagePixels);
    }
    return nullptr;
}
