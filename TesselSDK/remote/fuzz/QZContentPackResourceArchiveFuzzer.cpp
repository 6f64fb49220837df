// Fuzz target for downloaded pack archives: any bytes are validated as an archive, then entries
// are read by name and as images at screen scale 2, as the providers read them. Whatever the bytes,
// an entry is answered whole or not at all, never past the entry limit, and an archive that
// validates serves its "status.json" saying OK.
#include "Foundation/NSLogCapture.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDK/remote/QZContentPackResourceArchive.h"
#include "UIKit/UIImage.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void readArchive(const std::string& path)
{
    auto archive = QZContentPackResourceArchive::make(path);
    const bool valid = archive->validate();
    for (const char* name : {"status.json", "a.png", "iap_preview.png", "recipe.json", "missing"}) {
        Value data = archive->dataForResourceNamed(name);
        if (const Value::Data* bytes = data.asData())
            if (bytes->size() > QZContentPackResourceArchive::kMaximumEntryLength) std::abort();
    }
    if (valid) {
        Value status = archive->dataForResourceNamed("status.json");
        const Value::Data* bytes = status.asData();
        if (!bytes) std::abort();
        Value parsed = Value::fromJSON(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
        if (parsed["status"].stringValue() != "OK") std::abort();
    }
    for (const char* name : {"a.png", "iap_preview.png"}) {
        auto image = archive->imageNamed(name);
        if (image && image->size().width * image->size().height >
                         static_cast<float>(QZContentPackResourceArchive::kMaximumImagePixels))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int fd = memfd_create("archive-fuzz", 0);
    static const bool scaled = (PlatformSettings::setScreenScale(2), true);
    (void)scaled;
    if (fd < 0) std::abort();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    NSLogCapture quiet;  // every refused entry is logged
    readArchive("/proc/self/fd/" + std::to_string(fd));
    return 0;
}
