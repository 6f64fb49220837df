#pragma once
// Test support for the image servers: small generated images, the buffer read back through the
// server's own queue, waits that pump the main queue, a gate that holds a server's queue, and the
// picture an orientation shows as a plain index function.

#include "TesselSDKImaging/QZBitmapImageServer.h"

#include "Dispatch/DispatchRunLoop.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <vector>

// For EXPECT_EQ on sizes and rectangles.
inline bool operator==(const CGSize& a, const CGSize& b) { return a.width == b.width && a.height == b.height; }
inline bool operator==(const CGRect& a, const CGRect& b) { return a.origin.x == b.origin.x && a.origin.y == b.origin.y && a.size == b.size; }
inline std::ostream& operator<<(std::ostream& out, const CGSize& s) { return out << s.width << " x " << s.height; }
inline std::ostream& operator<<(std::ostream& out, const CGRect& r) { return out << "(" << r.origin.x << ", " << r.origin.y << ", " << r.size << ")"; }

namespace qz_test {

constexpr double kServerTimeout = 60;

// An opaque image whose pixels come from the function of (x, y).
struct Pixels {
    std::size_t width = 0;
    std::size_t height = 0;
    std::vector<std::array<std::uint8_t, 4>> rgba;  // row-major

    std::array<std::uint8_t, 4>& at(std::size_t x, std::size_t y) { return rgba[y * width + x]; }
    const std::array<std::uint8_t, 4>& at(std::size_t x, std::size_t y) const { return rgba[y * width + x]; }
    bool operator==(const Pixels&) const = default;
};

inline Pixels makePixels(std::size_t width, std::size_t height,
                         const std::function<std::array<std::uint8_t, 4>(std::size_t x, std::size_t y)>& colour)
{
    Pixels pixels{width, height, std::vector<std::array<std::uint8_t, 4>>(width * height)};
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x) pixels.at(x, y) = colour(x, y);
    return pixels;
}

// Owned by the caller.
inline CGImageRef createImage(const Pixels& pixels)
{
    return CGImageCreateWithRGBABytes(pixels.width, pixels.height, pixels.width * 4,
                                      reinterpret_cast<const std::uint8_t*>(pixels.rgba.data()));
}

inline Pixels pixelsFromBytes(CGSize size, const std::uint8_t* bytes)
{
    Pixels pixels{std::size_t(size.width), std::size_t(size.height), {}};
    pixels.rgba.resize(pixels.width * pixels.height);
    if (bytes && !pixels.rgba.empty()) std::memcpy(pixels.rgba.data(), bytes, pixels.rgba.size() * 4);
    return pixels;
}

// Pumps the main queue until `done` holds; false on time-out.
inline bool pumpUntil(const std::function<bool()>& done)
{
    return DispatchRunLoop::runUntil(done, kServerTimeout);
}

// Waits until everything queued on the server so far has run.
inline bool drainServer(const std::shared_ptr<QZBitmapImageServer>& server)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    server->runBlock([done] { done->store(true); });
    return pumpUntil([&] { return done->load(); });
}

// The buffer as the server's queue sees it now (the context's size and bytes).
inline Pixels readBack(const std::shared_ptr<QZBitmapImageServer>& server)
{
    auto result = std::make_shared<Pixels>();
    auto done = std::make_shared<std::atomic<bool>>(false);
    server->getProcessedImageSizeAndData([result, done](CGSize size, std::uint8_t* bytes) {
        *result = pixelsFromBytes(size, bytes);
        done->store(true);
    });
    EXPECT_TRUE(pumpUntil([&] { return done->load(); })) << "the server's queue did not finish";
    return *result;
}

// Holds a queue: a block that waits until open() (or the gate's end).
class Gate {
public:
    ~Gate() { open(); }
    dispatch_block_t block()
    {
        return [state = state_] {
            state->entered.store(true);
            std::unique_lock lock(state->mutex);
            state->condition.wait(lock, [&] { return state->isOpen; });
        };
    }
    bool waitUntilEntered() { return pumpUntil([&] { return state_->entered.load(); }); }
    void open()
    {
        std::lock_guard lock(state_->mutex);
        state_->isOpen = true;
        state_->condition.notify_all();
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable condition;
        bool isOpen = false;
        std::atomic<bool> entered{false};
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

// The picture a stored image shows with the orientation (UIKit's meaning), as an index function.
inline Pixels oriented(const Pixels& stored, UIImageOrientation orientation)
{
    const std::size_t w = stored.width, h = stored.height;
    const bool turned = QZImageOrientationIsTurned(orientation);
    return makePixels(turned ? h : w, turned ? w : h, [&](std::size_t x, std::size_t y) {
        switch (orientation) {
        case UIImageOrientationDown: return stored.at(w - 1 - x, h - 1 - y);
        case UIImageOrientationLeft: return stored.at(w - 1 - y, x);
        case UIImageOrientationRight: return stored.at(y, h - 1 - x);
        case UIImageOrientationUpMirrored: return stored.at(w - 1 - x, y);
        case UIImageOrientationDownMirrored: return stored.at(x, h - 1 - y);
        case UIImageOrientationLeftMirrored: return stored.at(y, x);
        case UIImageOrientationRightMirrored: return stored.at(w - 1 - y, h - 1 - x);
        default: return stored.at(x, y);
        }
    });
}

// Supplies the blocks asked for, each counting its runs.
class BlockChoiceProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<BlockChoiceProcessor> make(bool qop, bool cg)
    {
        return NSObject::create<BlockChoiceProcessor>([&](BlockChoiceProcessor& p) {
            p.init();
            p.qop_ = qop;
            p.cg_ = cg;
        });
    }
    QZBitmapBlock bitmapBlock() const override
    {
        if (!cg_) return nullptr;
        return [runs = cgRuns](CGContextRef, const std::atomic<bool>*) { ++*runs; };
    }
    QZQopBitmapBlock qopBitmapBlock() const override
    {
        if (!qop_) return nullptr;
        return [runs = qopRuns, onGPU = qopRanOnGPU](QopBitmap_t* bitmap, const std::atomic<bool>*) {
            onGPU->store(bitmap->glData != nullptr && bitmap->data == nullptr);
            ++*runs;
        };
    }
    const std::shared_ptr<std::atomic<int>> qopRuns = std::make_shared<std::atomic<int>>(0);
    const std::shared_ptr<std::atomic<int>> cgRuns = std::make_shared<std::atomic<int>>(0);
    // Whether the QopLite block's bitmap was the GPU record's (no pixels).
    const std::shared_ptr<std::atomic<bool>> qopRanOnGPU = std::make_shared<std::atomic<bool>>(false);

private:
    bool qop_ = false;
    bool cg_ = false;
};

// Six distinct opaque colours on 3 x 2: no turn or mirror maps it onto itself.
inline Pixels sixColours()
{
    static const std::array<std::uint8_t, 4> colours[6] = {{230, 20, 30, 255},  {20, 200, 40, 255},
                                                           {30, 40, 220, 255},  {240, 220, 20, 255},
                                                           {250, 250, 250, 255}, {10, 10, 10, 255}};
    return makePixels(3, 2, [](std::size_t x, std::size_t y) { return colours[y * 3 + x]; });
}

constexpr UIImageOrientation kAllOrientations[] = {
    UIImageOrientationUp,         UIImageOrientationDown,         UIImageOrientationLeft,
    UIImageOrientationRight,      UIImageOrientationUpMirrored,   UIImageOrientationDownMirrored,
    UIImageOrientationLeftMirrored, UIImageOrientationRightMirrored};

// The four ways a server draws its input with an orientation; each leaves the oriented picture.
struct OrientedDraw {
    const char* name;
    std::function<void(QZBitmapImageServer& server, UIImageOrientation orientation)> draw;
};

inline std::vector<OrientedDraw> orientedDraws()
{
    return {
        {"drawImageWithOrientation", [](QZBitmapImageServer& s, UIImageOrientation o) { s.drawImageWithOrientation(o); }},
        {"drawTransformedImageWithOrientation",
         [](QZBitmapImageServer& s, UIImageOrientation o) { s.drawTransformedImageWithOrientation(o); }},
        {"drawStraightenedwithRotation 0 scale 1",
         [](QZBitmapImageServer& s, UIImageOrientation o) { s.drawStraightenedwithRotation(0, 1, o); }},
        {"configure, cropImageToRect (0, 0, 1, 1)",
         [](QZBitmapImageServer& s, UIImageOrientation o) {
             s.configureForOrientation(o);
             s.cropImageToRect(CGRectMake(0, 0, 1, 1));
         }},
    };
}

}  // namespace qz_test
