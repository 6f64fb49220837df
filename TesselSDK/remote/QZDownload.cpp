#include "TesselSDK/remote/QZDownload.h"

#include "Foundation/NSUUID.h"

std::shared_ptr<QZDownload> QZDownload::make(std::shared_ptr<NSURLRequest> request, const std::string& destinationPath)
{
    return NSObject::create<QZDownload>(&QZDownload::initWithRequest, std::move(request), destinationPath);
}

void QZDownload::initWithRequest(std::shared_ptr<NSURLRequest> request, const std::string& destinationPath)
{
    request_ = std::move(request);
    destinationPath_ = destinationPath;
    uniqueIdentifier_ = NSUUID::UUID()->UUIDString();
}
