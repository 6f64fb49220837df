#pragma once
// Reads the archive's current entry. readDataOfLength answers up to that many bytes, empty at
// the end; finishedReading closes the entry, where the zip core checks the whole entry's CRC.
// Both raise QZ_ZipException on an error of the zip core.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <memory>
#include <string>

class QZ_ZipReadStream : public NSObject {
public:
    using NSObject::NSObject;
    // `unzFile` is the zip core's handle with the entry open; `owner` keeps it alive.
    static std::shared_ptr<QZ_ZipReadStream> make(void* unzFile, std::string fileNameInZip,
                                                  std::shared_ptr<NSObject> owner);

    Value::Data readDataOfLength(std::size_t length);
    void finishedReading();

private:
    void* unzFile_ = nullptr;
    std::string fileNameInZip_;
    std::shared_ptr<NSObject> owner_;
};
