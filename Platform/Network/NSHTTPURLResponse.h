#pragma once
// The response of an HTTP load: status code and header fields. Field names are read without
// regard to case; a field sent twice reads as its values joined by ", ".

#include "Foundation/Value.h"
#include "Network/NSURLResponse.h"

#include <string>
#include <utility>
#include <vector>

class NSHTTPURLResponse : public NSURLResponse {
public:
    using HeaderFields = std::vector<std::pair<std::string, std::string>>;

    using NSURLResponse::NSURLResponse;
    static std::shared_ptr<NSHTTPURLResponse> make(std::shared_ptr<NSURL> url, int statusCode, HeaderFields headers,
                                                   std::int64_t expectedContentLength);

    int statusCode() const { return statusCode_; }
    // A dictionary of field name (as the server spelled it first) to value.
    Value allHeaderFields() const;
    // Empty when absent.
    std::string valueForHTTPHeaderField(const std::string& name) const;

private:
    void initWithURL(std::shared_ptr<NSURL> url, int statusCode, HeaderFields headers, std::int64_t length);

    int statusCode_ = 0;
    HeaderFields headers_;
};
