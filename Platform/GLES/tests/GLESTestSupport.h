#pragma once
// Test support for the GL stand-in: a context or a skip, work on a GL thread while the main
// thread pumps its queue, and pixels of presented images.

#include "CoreGraphics/CGImage.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Dispatch/DispatchThreadBoundQueue.h"
#include "GLES/EAGLContext.h"

#include <EGL/egl.h>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <memory>

namespace gles_test {

using RGBA = std::array<uint8_t, 4>;

// Runs the block on the queue's thread and pumps the main queue until it has ended.
inline bool runOn(const std::shared_ptr<DispatchThreadBoundQueue>& queue, dispatch_block_t block)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    queue->async([block = std::move(block), done] {
        block();
        done->store(true);
    });
    return DispatchRunLoop::runUntil([&] { return done->load(); }, 30);
}

inline RGBA pixelAt(const std::shared_ptr<CGImage>& image, size_t x, size_t y)
{
    const uint8_t* p = CGImageGetBytes(image.get()) + y * CGImageGetBytesPerRow(image.get()) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

// Rows [firstRow, endRow) of the image all of one colour.
inline ::testing::AssertionResult rowsAre(const std::shared_ptr<CGImage>& image, size_t firstRow, size_t endRow,
                                          RGBA colour)
{
    for (size_t y = firstRow; y < endRow; ++y)
        for (size_t x = 0; x < CGImageGetWidth(image.get()); ++x)
            if (pixelAt(image, x, y) != colour) {
                const RGBA p = pixelAt(image, x, y);
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << int(p[0]) << ","
                                                     << int(p[1]) << "," << int(p[2]) << "," << int(p[3]);
            }
    return ::testing::AssertionSuccess();
}

}  // namespace gles_test

// A fixture test starts with an ES 2 context, or skips (never passes) when EGL gives none.
class GLESTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        context_ = EAGLContext::make(kEAGLRenderingAPIOpenGLES2);
        if (!context_) GTEST_SKIP() << "no OpenGL ES 2 context: " << EAGLContext::creationFailureReason();
    }

    std::shared_ptr<EAGLContext> context_;
};
