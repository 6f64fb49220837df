#include "Network/NSHTTPURLResponse.h"

#include "Network/NSHTTPHeaderName.h"

std::shared_ptr<NSHTTPURLResponse> NSHTTPURLResponse::make(std::shared_ptr<NSURL> url, int statusCode,
                                                           HeaderFields headers, std::int64_t expectedContentLength)
{
    return NSObject::create<NSHTTPURLResponse>(&NSHTTPURLResponse::initWithURL, std::move(url), statusCode,
                                               std::move(headers), expectedContentLength);
}

void NSHTTPURLResponse::initWithURL(std::shared_ptr<NSURL> url, int statusCode, HeaderFields headers,
                                    std::int64_t length)
{
    url_ = std::move(url);
    statusCode_ = statusCode;
    headers_ = std::move(headers);
    expectedContentLength_ = length < 0 ? NSURLResponseUnknownLength : length;
}

std::string NSHTTPURLResponse::valueForHTTPHeaderField(const std::string& name) const
{
    std::string joined;
    bool found = false;
    for (const auto& [field, value] : headers_) {
        if (!NSHTTPHeaderNamesEqual(field, name)) continue;
        if (found) joined += ", ";
        joined += value;
        found = true;
    }
    return joined;
}

Value NSHTTPURLResponse::allHeaderFields() const
{
    Value fields = Value::dictionary();
    for (const auto& [field, value] : headers_) {
        bool seen = false;
        for (const auto& key : fields.allKeys())
            if (NSHTTPHeaderNamesEqual(key, field)) seen = true;
        if (!seen) fields.setObject(valueForHTTPHeaderField(field), field);
    }
    return fields;
}
