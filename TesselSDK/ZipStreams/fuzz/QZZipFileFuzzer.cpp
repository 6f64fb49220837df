// Fuzz target for zip archives: any bytes are opened as an archive (through a memory file) and the
// entries of the seed archives are located, described and read to the end. Damage must raise
// QZ_ZipException; any other exception, or a read out of bounds, is a fault.
#include "TesselSDK/ZipStreams/QZ_ZipException.h"
#include "TesselSDK/ZipStreams/QZ_ZipFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void readEntries(const std::string &path)
{
    auto zip = QZ_ZipFile::zipFileWithFileName(path, ZipFileModeUnzip);
    for (const char *name : {"status.json", "items/big.txt", "empty", "huge.bin", "Info.plist", "manifest.json"}) {
        try {
            if (!zip->locateFileInZip(name))
                continue;
            (void)zip->getCurrentFileInZipInfo();
            auto stream = zip->readCurrentFileInZip();
            std::size_t total = 0;
            for (auto chunk = stream->readDataOfLength(4096); !chunk.empty(); chunk = stream->readDataOfLength(4096))
                if ((total += chunk.size()) > (64u << 20))
                    break; // a bomb: enough has been inflated to show the reads hold
            stream->finishedReading();
        } catch (const QZ_ZipException &) {
        }
    }
    zip->close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const int fd = memfd_create("zip-fuzz", 0);
    if (fd < 0)
        std::abort();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    try {
        readEntries("/proc/self/fd/" + std::to_string(fd));
    } catch (const QZ_ZipException &) {
    }
    return 0;
}
