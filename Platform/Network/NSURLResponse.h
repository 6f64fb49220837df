#pragma once
// What a load answered before its body: the final URL (after redirects) and the body's expected
// length, -1 when the server did not say.

#include "Foundation/NSObject.h"
#include "Network/NSURL.h"

#include <cstdint>
#include <memory>

inline constexpr std::int64_t NSURLResponseUnknownLength = -1;

class NSURLResponse : public NSObject {
public:
    using NSObject::NSObject;

    const std::shared_ptr<NSURL>& URL() const { return url_; }
    std::int64_t expectedContentLength() const { return expectedContentLength_; }

protected:
    std::shared_ptr<NSURL> url_;
    std::int64_t expectedContentLength_ = NSURLResponseUnknownLength;
};
