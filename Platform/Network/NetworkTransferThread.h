#pragma once
// Private to URL loading: the one network thread. It runs every transfer over one libcurl multi
// handle and reports to each transfer's sink, on the network thread, in order: the final response
// (once; redirects are followed inside), its body in chunks, then the end (an error, or null on
// success). A sink answering false stops its transfer with the sink's refusal error.
//
// Rules of every transfer: http and https only, at the start and on each redirect; at most 10
// redirects; certificates verified; no proxy from the environment; the request's timeout,
// multiplied by PlatformSettings::networkTimeoutScale, limits idle time (connecting, or no byte
// moving for that long), and its total timeout, scaled alike, the whole transfer. Either ends it
// with NSURLErrorTimedOut.
//
// After fork() the child starts a fresh thread on first use.

#include "Foundation/NSError.h"
#include "Foundation/Value.h"
#include "Network/NSHTTPURLResponse.h"
#include "Network/NSURLRequest.h"

#include <cstdint>
#include <memory>

class NetworkTransferSink {
public:
    virtual ~NetworkTransferSink() = default;
    virtual bool receiveResponse(const std::shared_ptr<NSHTTPURLResponse>& response) = 0;
    virtual bool receiveData(const std::uint8_t* bytes, std::size_t length) = 0;
    virtual void finish(const std::shared_ptr<NSError>& error) = 0;
    // The error a transfer ends with when this sink answered false.
    virtual std::shared_ptr<NSError> refusal(const std::string& failingURL) = 0;
};

class NetworkTransferThread {
public:
    static NetworkTransferThread& shared();

    // Starts a transfer; answers its number for cancel.
    std::uint64_t start(const std::shared_ptr<NSURLRequest>& request, std::shared_ptr<NetworkTransferSink> sink);
    // Ends a transfer without a further call to its sink (one already made may still be running).
    void cancel(std::uint64_t transfer);

    class Impl;

private:
    explicit NetworkTransferThread(Impl* impl) : impl_(impl) {}
    Impl* impl_;
};
