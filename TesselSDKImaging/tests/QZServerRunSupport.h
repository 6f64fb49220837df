#pragma once
// Test support for running processors as an image server does: a CPU server drawn from a test
// bitmap and read back from its buffer, a GPU server over a GL instance, and a gate that holds a
// server's queue so that several processors (and a cancel) are queued before any of them runs.

#include "TesselSDKImaging/QZBitmapImageServer.h"

#include "CoreGraphics/CGImage.h"
#include "Dispatch/DispatchRunLoop.h"
#include "QopTestBitmap.h"

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>

namespace qz_test {

constexpr double kServerTimeout = 60;

// Pumps the main queue until a block queued on the server now has run, so everything before it.
inline bool waitForServer(const std::shared_ptr<QZBitmapImageServer>& server)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    server->runBlock([done] { done->store(true); });
    return DispatchRunLoop::runUntil([&] { return done->load(); }, kServerTimeout);
}

// A CPU server holding the bitmap, drawn into its buffer.
inline std::shared_ptr<QZBitmapImageServer> makeDrawnCpuServer(const qop_test::TestBitmap& bitmap)
{
    CGImageRef image = CGImageCreateWithRGBABytes(bitmap.width(), bitmap.height(), bitmap.width() * 4,
                                                  reinterpret_cast<const std::uint8_t*>(bitmap.data()));
    std::shared_ptr<QZBitmapImageServer> server = QZBitmapImageServer::make(image, 1, UIImageOrientationUp);
    CGImageRelease(image);
    if (server) server->drawImage();
    return server;
}

// The CPU server's buffer once everything queued so far has run; empty when it did not come.
inline qop_test::TestBitmap readCpuServer(const std::shared_ptr<QZBitmapImageServer>& server)
{
    qop_test::TestBitmap result;
    std::atomic<bool> done{false};
    server->getProcessedImageSizeAndData([&](CGSize size, std::uint8_t* bytes) {
        qop_test::TestBitmap copy(std::size_t(size.width), std::size_t(size.height));
        if (bytes) std::memcpy(copy.data(), bytes, copy.pixelCount() * 4);
        result = std::move(copy);
        done = true;
    });
    DispatchRunLoop::runUntil([&] { return done.load(); }, kServerTimeout);
    return result;
}

// Holds a server's queue from the moment it is queued until it is opened (or destroyed).
class QueueGate {
public:
    explicit QueueGate(const std::shared_ptr<QZBitmapImageServer>& server)
    {
        server->runBlock([state = state_] {
            std::unique_lock lock(state->mutex);
            state->changed.wait(lock, [&] { return state->open; });
        });
    }
    ~QueueGate() { open(); }
    void open()
    {
        std::lock_guard lock(state_->mutex);
        state_->open = true;
        state_->changed.notify_all();
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        bool open = false;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace qz_test
