#include "Network/NSMutableURLRequest.h"

#include "Network/NSHTTPHeaderName.h"

#include <algorithm>

std::shared_ptr<NSMutableURLRequest> NSMutableURLRequest::requestWithURL(std::shared_ptr<NSURL> url)
{
    return requestWithURL(std::move(url), NSURLRequestUseProtocolCachePolicy, NSURLRequestDefaultTimeoutInterval);
}

std::shared_ptr<NSMutableURLRequest> NSMutableURLRequest::requestWithURL(std::shared_ptr<NSURL> url,
                                                                         NSURLRequestCachePolicy cachePolicy,
                                                                         double timeoutInterval)
{
    return NSObject::create<NSMutableURLRequest>(&NSMutableURLRequest::initWithURL, std::move(url), cachePolicy,
                                                 timeoutInterval);
}

void NSMutableURLRequest::setValueForHTTPHeaderField(const std::string& value, const std::string& name)
{
    auto same = [&](const auto& field) { return NSHTTPHeaderNamesEqual(field.first, name); };
    auto it = std::find_if(headers_.begin(), headers_.end(), same);
    if (value.empty()) {
        if (it != headers_.end()) headers_.erase(it);
    } else if (it != headers_.end()) {
        it->second = value;
    } else {
        headers_.emplace_back(name, value);
    }
}
