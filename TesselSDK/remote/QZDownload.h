#pragma once
// One download handed to QZDownloadManager: what to load, where to put it, and a fresh UUID by
// which it is found while it runs.

#include <memory>
#include <string>

#include "Foundation/NSObject.h"
#include "Network/NSURLRequest.h"

class QZDownload : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<QZDownload> make(std::shared_ptr<NSURLRequest> request, const std::string& destinationPath);

    const std::shared_ptr<NSURLRequest>& request() const { return request_; }
    const std::string& destinationPath() const { return destinationPath_; }
    const std::string& uniqueIdentifier() const { return uniqueIdentifier_; }

private:
    void initWithRequest(std::shared_ptr<NSURLRequest> request, const std::string& destinationPath);

    std::shared_ptr<NSURLRequest> request_;
    std::string destinationPath_;
    std::string uniqueIdentifier_;
};
