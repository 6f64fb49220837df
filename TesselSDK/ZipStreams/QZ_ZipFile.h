#pragma once
// A zip archive opened for reading (ZipFileModeUnzip: the only mode built, as nothing writes
// archives). Opening a file that is missing, truncated or no zip raises QZ_ZipException, as do
// errors of the zip core while locating or opening entries.

#include "Foundation/NSObject.h"
#include "TesselSDK/ZipStreams/QZ_FileInZipInfo.h"
#include "TesselSDK/ZipStreams/QZ_ZipReadStream.h"

#include <memory>
#include <string>

enum class ZipFileMode { Unzip = 0, Create = 1, Append = 2 };
inline constexpr ZipFileMode ZipFileModeUnzip = ZipFileMode::Unzip;
inline constexpr ZipFileMode ZipFileModeCreate = ZipFileMode::Create;
inline constexpr ZipFileMode ZipFileModeAppend = ZipFileMode::Append;

class QZ_ZipFile : public NSObject {
public:
    using NSObject::NSObject;
    ~QZ_ZipFile() override;
    static std::shared_ptr<QZ_ZipFile> zipFileWithFileName(const std::string& fileName, ZipFileMode mode);

    // Makes the named entry current; NO when the archive has none.
    bool locateFileInZip(const std::string& fileNameInZip);
    // Walk the entries in the directory's order: each makes the next entry current, NO past the
    // last one (the first: NO for an archive without entries).
    bool goToFirstFileInZip();
    bool goToNextFileInZip();
    std::shared_ptr<QZ_FileInZipInfo> getCurrentFileInZipInfo();
    std::shared_ptr<QZ_ZipReadStream> readCurrentFileInZip();
    void close();

private:
    void initWithFileName(const std::string& fileName, ZipFileMode mode);

    std::string fileName_;
    void* unzFile_ = nullptr;
};
