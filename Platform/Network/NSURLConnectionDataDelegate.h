#pragma once
// What a connection tells its delegate, on the main thread, in order: one response, the body in
// chunks, then either the end of the load or the failure. Nothing follows a failure, the end or
// a cancel.

#include "Foundation/NSError.h"
#include "Network/NSURLResponse.h"

#include <cstdint>
#include <memory>
#include <vector>

class NSURLConnection;

class NSURLConnectionDataDelegate {
public:
    virtual ~NSURLConnectionDataDelegate() = default;
    virtual void connectionDidReceiveResponse(NSURLConnection& connection,
                                              const std::shared_ptr<NSURLResponse>& response) = 0;
    virtual void connectionDidReceiveData(NSURLConnection& connection, const std::vector<std::uint8_t>& data) = 0;
    virtual void connectionDidFinishLoading(NSURLConnection& connection) = 0;
    virtual void connectionDidFailWithError(NSURLConnection& connection, const std::shared_ptr<NSError>& error) = 0;
};
