#include "TesselSDK/ZipStreams/QZ_ZipFile.h"

#include "Foundation/NSString.h"
#include "TesselSDK/ZipStreams/QZ_ZipException.h"

#include <unzip.h>

#include <ctime>

std::shared_ptr<QZ_ZipFile> QZ_ZipFile::zipFileWithFileName(const std::string& fileName, ZipFileMode mode)
{
    return NSObject::create<QZ_ZipFile>(&QZ_ZipFile::initWithFileName, fileName, mode);
}

void QZ_ZipFile::initWithFileName(const std::string& fileName, ZipFileMode mode)
{
    fileName_ = fileName;
    if (mode != ZipFileModeUnzip)
        throw QZ_ZipException(UNZ_PARAMERROR, NSStringWithFormat("Can't open '%@' for writing", fileName));
    unzFile_ = unzOpen64(fileName.c_str());
    if (!unzFile_) throw QZ_ZipException(UNZ_BADZIPFILE, NSStringWithFormat("Can't open '%@'", fileName));
}

QZ_ZipFile::~QZ_ZipFile()
{
    close();
}

void QZ_ZipFile::close()
{
    if (unzFile_) unzClose(unzFile_);
    unzFile_ = nullptr;
}

bool QZ_ZipFile::locateFileInZip(const std::string& fileNameInZip)
{
    if (!unzFile_) throw QZ_ZipException(UNZ_PARAMERROR, NSStringWithFormat("'%@' is closed", fileName_));
    int result = unzLocateFile(unzFile_, fileNameInZip.c_str(), 1);
    if (result == UNZ_END_OF_LIST_OF_FILE) return false;
    if (result != UNZ_OK)
        throw QZ_ZipException(result, NSStringWithFormat("Error in going to '%@' in the zipfile", fileNameInZip));
    return true;
}

bool QZ_ZipFile::goToFirstFileInZip()
{
    if (!unzFile_) throw QZ_ZipException(UNZ_PARAMERROR, NSStringWithFormat("'%@' is closed", fileName_));
    int result = unzGoToFirstFile(unzFile_);
    if (result == UNZ_END_OF_LIST_OF_FILE) return false;
    if (result != UNZ_OK)
        throw QZ_ZipException(result, NSStringWithFormat("Error in going to first file in zip in '%@'", fileName_));
    return true;
}

bool QZ_ZipFile::goToNextFileInZip()
{
    if (!unzFile_) throw QZ_ZipException(UNZ_PARAMERROR, NSStringWithFormat("'%@' is closed", fileName_));
    int result = unzGoToNextFile(unzFile_);
    if (result == UNZ_END_OF_LIST_OF_FILE) return false;
    if (result != UNZ_OK)
        throw QZ_ZipException(result, NSStringWithFormat("Error in going to next file in zip in '%@'", fileName_));
    return true;
}

std::shared_ptr<QZ_FileInZipInfo> QZ_ZipFile::getCurrentFileInZipInfo()
{
    if (!unzFile_) throw QZ_ZipException(UNZ_PARAMERROR, NSStringWithFormat("'%@' is closed", fileName_));
    char name[1024] = {};
    unz_file_info64 info{};
    int result = unzGetCurrentFileInfo64(unzFile_, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0);
    if (result != UNZ_OK)
        throw QZ_ZipException(result, NSStringWithFormat("Error in getting the current file info in '%@'", fileName_));
    ZipCompressionLevel level = ZipCompressionLevelNone;
    if (info.compression_method != 0) {
        switch ((info.flag & 0x6) / 2) {
        case 0: level = ZipCompressionLevelDefault; break;
        case 1: level = ZipCompressionLevelBest; break;
        default: level = ZipCompressionLevelFastest; break;
        }
    }
    std::tm when{};
    when.tm_year = static_cast<int>(info.tmu_date.tm_year) - 1900;
    when.tm_mon = static_cast<int>(info.tmu_date.tm_mon);
    when.tm_mday = static_cast<int>(info.tmu_date.tm_mday);
    when.tm_hour = static_cast<int>(info.tmu_date.tm_hour);
    when.tm_min = static_cast<int>(info.tmu_date.tm_min);
    when.tm_sec = static_cast<int>(info.tmu_date.tm_sec);
    when.tm_isdst = -1;
    std::time_t seconds = std::mktime(&when);
    return QZ_FileInZipInfo::make(name, info.uncompressed_size, level, (info.flag & 1) != 0, info.compressed_size,
                                  Value::Date{seconds == -1 ? 0.0 : static_cast<double>(seconds)},
                                  static_cast<std::uint32_t>(info.crc));
}

std::shared_ptr<QZ_ZipReadStream> QZ_ZipFile::readCurrentFileInZip()
{
    auto info = getCurrentFileInZipInfo();
    int result = unzOpenCurrentFile(unzFile_);
    if (result != UNZ_OK)
        throw QZ_ZipException(result, NSStringWithFormat("Error in opening '%@' in the zipfile", info->name()));
    return QZ_ZipReadStream::make(unzFile_, info->name(), self());
}
