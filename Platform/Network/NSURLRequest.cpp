#include "Network/NSURLRequest.h"

#include "Network/NSHTTPHeaderName.h"

std::shared_ptr<NSURLRequest> NSURLRequest::requestWithURL(std::shared_ptr<NSURL> url)
{
    return requestWithURL(std::move(url), NSURLRequestUseProtocolCachePolicy, NSURLRequestDefaultTimeoutInterval);
}

std::shared_ptr<NSURLRequest> NSURLRequest::requestWithURL(std::shared_ptr<NSURL> url,
                                                           NSURLRequestCachePolicy cachePolicy, double timeoutInterval)
{
    return NSObject::create<NSURLRequest>(&NSURLRequest::initWithURL, std::move(url), cachePolicy, timeoutInterval);
}

bool NSURLRequest::initWithURL(std::shared_ptr<NSURL> url, NSURLRequestCachePolicy cachePolicy, double timeoutInterval)
{
    url_ = std::move(url);
    cachePolicy_ = cachePolicy;
    timeoutInterval_ = timeoutInterval > 0 ? timeoutInterval : NSURLRequestDefaultTimeoutInterval;
    return true;
}

std::string NSURLRequest::valueForHTTPHeaderField(const std::string& name) const
{
    for (const auto& [field, value] : headers_)
        if (NSHTTPHeaderNamesEqual(field, name)) return value;
    return {};
}
