#pragma once
// A request to load a URL: method, header fields in the order they were set, body, cache policy
// and two time limits. There is no URL cache, so every policy loads from the network; the policy is
// kept for callers that set it. The timeout is an idle limit (see NSURLConnection), 60 s by
// default; the total timeout bounds the whole load, redirects included, 300 s by default, so a
// server trickling bytes cannot hold a load for ever.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"
#include "Network/NSURL.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

enum class NSURLRequestCachePolicy {
    UseProtocolCachePolicy = 0,
    ReloadIgnoringLocalCacheData = 1,
    ReturnCacheDataElseLoad = 2,
    ReturnCacheDataDontLoad = 3,
};
inline constexpr NSURLRequestCachePolicy NSURLRequestUseProtocolCachePolicy =
    NSURLRequestCachePolicy::UseProtocolCachePolicy;
inline constexpr NSURLRequestCachePolicy NSURLRequestReloadIgnoringLocalCacheData =
    NSURLRequestCachePolicy::ReloadIgnoringLocalCacheData;

inline constexpr double NSURLRequestDefaultTimeoutInterval = 60;
inline constexpr double NSURLRequestDefaultTotalTimeoutInterval = 300;

class NSURLRequest : public NSObject {
public:
    using HeaderFields = std::vector<std::pair<std::string, std::string>>;

    using NSObject::NSObject;
    static std::shared_ptr<NSURLRequest> requestWithURL(std::shared_ptr<NSURL> url);
    static std::shared_ptr<NSURLRequest> requestWithURL(std::shared_ptr<NSURL> url, NSURLRequestCachePolicy cachePolicy,
                                                        double timeoutInterval);

    const std::shared_ptr<NSURL>& URL() const { return url_; }
    const std::string& HTTPMethod() const { return method_; }
    const HeaderFields& allHTTPHeaderFields() const { return headers_; }
    // The value of a header field, its name read without regard to case; empty when absent.
    std::string valueForHTTPHeaderField(const std::string& name) const;
    const Value::Data& HTTPBody() const { return body_; }
    NSURLRequestCachePolicy cachePolicy() const { return cachePolicy_; }
    double timeoutInterval() const { return timeoutInterval_; }
    double totalTimeoutInterval() const { return totalTimeoutInterval_; }

    bool initWithURL(std::shared_ptr<NSURL> url, NSURLRequestCachePolicy cachePolicy, double timeoutInterval);

protected:
    std::shared_ptr<NSURL> url_;
    std::string method_ = "GET";
    HeaderFields headers_;
    Value::Data body_;
    NSURLRequestCachePolicy cachePolicy_ = NSURLRequestUseProtocolCachePolicy;
    double timeoutInterval_ = NSURLRequestDefaultTimeoutInterval;
    double totalTimeoutInterval_ = NSURLRequestDefaultTotalTimeoutInterval;
};
