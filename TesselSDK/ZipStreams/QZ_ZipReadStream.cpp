#include "TesselSDK/ZipStreams/QZ_ZipReadStream.h"

#include "Foundation/NSString.h"
#include "TesselSDK/ZipStreams/QZ_ZipException.h"

#include <unzip.h>

#include <climits>

std::shared_ptr<QZ_ZipReadStream> QZ_ZipReadStream::make(void* unzFile, std::string fileNameInZip,
                                                         std::shared_ptr<NSObject> owner)
{
    return NSObject::create<QZ_ZipReadStream>([&](QZ_ZipReadStream& s) {
        s.unzFile_ = unzFile;
        s.fileNameInZip_ = std::move(fileNameInZip);
        s.owner_ = std::move(owner);
    });
}

Value::Data QZ_ZipReadStream::readDataOfLength(std::size_t length)
{
    Value::Data buffer(std::min<std::size_t>(length, INT_MAX));
    int read = unzReadCurrentFile(unzFile_, buffer.data(), static_cast<unsigned>(buffer.size()));
    if (read < 0)
        throw QZ_ZipException(read, NSStringWithFormat("Error in reading '%@' in the zipfile", fileNameInZip_));
    buffer.resize(static_cast<std::size_t>(read));
    return buffer;
}

void QZ_ZipReadStream::finishedReading()
{
    int result = unzCloseCurrentFile(unzFile_);
    if (result != UNZ_OK)
        throw QZ_ZipException(result, NSStringWithFormat("Error in closing '%@' in the zipfile", fileNameInZip_));
}
