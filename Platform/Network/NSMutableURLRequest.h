#pragma once
// A request whose parts can be set. Setting a header field replaces an earlier one of the same
// name (any case) in place, so fields stay in the order first set.

#include "Network/NSURLRequest.h"

class NSMutableURLRequest : public NSURLRequest {
public:
    using NSURLRequest::NSURLRequest;
    static std::shared_ptr<NSMutableURLRequest> requestWithURL(std::shared_ptr<NSURL> url);
    static std::shared_ptr<NSMutableURLRequest>
    requestWithURL(std::shared_ptr<NSURL> url, NSURLRequestCachePolicy cachePolicy, double timeoutInterval);

    void setURL(std::shared_ptr<NSURL> url) { url_ = std::move(url); }
    void setHTTPMethod(std::string method) { method_ = std::move(method); }
    // An empty value removes the field.
    void setValueForHTTPHeaderField(const std::string& value, const std::string& name);
    void setHTTPBody(Value::Data body) { body_ = std::move(body); }
    void setCachePolicy(NSURLRequestCachePolicy policy) { cachePolicy_ = policy; }
    void setTimeoutInterval(double seconds)
    {
        timeoutInterval_ = seconds > 0 ? seconds : NSURLRequestDefaultTimeoutInterval;
    }
    void setTotalTimeoutInterval(double seconds)
    {
        totalTimeoutInterval_ = seconds > 0 ? seconds : NSURLRequestDefaultTotalTimeoutInterval;
    }
};
