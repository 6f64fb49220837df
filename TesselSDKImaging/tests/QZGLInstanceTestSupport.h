#pragma once
// Test support for the GL instance's suites: the quadrant image (no flip or turn maps it onto
// itself), images as bitmaps, and the instance's operations run to their end while the main thread
// pumps.

#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDKImaging/QZBitmap.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"
#include "QopTestBitmap.h"

#include "UIKit/UIImage.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace qz_test {

// Opaque; the quadrants split at width / 2 and height / 2, each of its own colour from `palette`.
inline qop_test::TestBitmap makeQuadrants(std::size_t width, std::size_t height, int palette = 0)
{
    static const QopColor_t colours[2][4] = {
        {{230, 20, 30, 255}, {20, 200, 40, 255}, {30, 40, 220, 255}, {240, 220, 20, 255}},
        {{250, 250, 250, 255}, {10, 10, 10, 255}, {200, 100, 0, 255}, {0, 160, 200, 255}},
    };
    qop_test::TestBitmap bitmap(width, height);
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x)
            bitmap.at(x, y) = colours[palette][(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
    return bitmap;
}

inline const std::uint8_t* bytesOf(const qop_test::TestBitmap& bitmap)
{
    return reinterpret_cast<const std::uint8_t*>(bitmap.data());
}

// The image's pixels, first row first; an empty bitmap for nil.
inline qop_test::TestBitmap bitmapOf(const std::shared_ptr<UIImage>& image)
{
    if (!image || !image->CGImage()) return {};
    CGImageRef cg = image->CGImage();
    qop_test::TestBitmap bitmap(CGImageGetWidth(cg), CGImageGetHeight(cg));
    for (std::size_t y = 0; y < bitmap.height(); ++y)
        std::memcpy(&bitmap.at(0, y), CGImageGetBytes(cg) + y * CGImageGetBytesPerRow(cg), bitmap.width() * 4);
    return bitmap;
}

// Runs the block on the instance's sub-queue (its state in the record) and pumps until it has run.
inline bool runOnInstance(const std::shared_ptr<QZOpenGLInstance>& instance, dispatch_block_t block)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    instance->enqueueBlockOnGLThread([block = std::move(block), done] {
        block();
        done->store(true);
    });
    return DispatchRunLoop::runUntil([&] { return done->load(); }, kTimeout);
}

// Loads the bitmap as the instance's image (processing objects made at once) and waits for it.
inline bool loadImage(const std::shared_ptr<QZOpenGLInstance>& instance, const qop_test::TestBitmap& bitmap)
{
    bool loaded = false;
    instance->setInputImageData(bytesOf(bitmap), CGSizeMake(CGFloat(bitmap.width()), CGFloat(bitmap.height())), true,
                                [&] { loaded = true; });
    return DispatchRunLoop::runUntil([&] { return loaded; }, kTimeout);
}

// Whatever the completion received (nil included); nullopt when it did not come in time.
inline std::optional<std::shared_ptr<UIImage>> readBack(const std::shared_ptr<QZOpenGLInstance>& instance,
                                                        bool lastRender)
{
    std::optional<std::shared_ptr<UIImage>> result;
    auto completion = [&](std::shared_ptr<UIImage> image) { result = std::move(image); };
    if (lastRender)
        instance->getOutputImageFromLastRender(completion);
    else
        instance->getOutputImage(completion);
    DispatchRunLoop::runUntil([&] { return result.has_value(); }, kTimeout);
    return result;
}

// Runs a plain operation that takes a completion and pumps until the completion has run.
template <class Operation>
bool runToCompletion(Operation operation)
{
    bool done = false;
    operation([&] { done = true; });
    return DispatchRunLoop::runUntil([&] { return done; }, kTimeout);
}

}  // namespace qz_test

// Processor blocks run on a full-size (OverwriteOriginal) instance holding the input, as a GPU
// server runs them, and the result read back.
class GLBlocksTest : public GLManagerTest {
protected:
    std::shared_ptr<QZOpenGLInstance> load(const qop_test::TestBitmap& input)
    {
        auto instance = QZOpenGLInstance::make(CGSizeMake(CGFloat(input.width()), CGFloat(input.height())),
                                               QopGLRenderingModeOverwriteOriginal, QZQueueTypeHires);
        EXPECT_TRUE(instance);
        if (instance) {
            EXPECT_TRUE(qz_test::loadImage(instance, input));
        }
        return instance;
    }
    // Runs a block kept by the caller on the instance's image.
    void run(const std::shared_ptr<QZOpenGLInstance>& instance, const QZQopBitmapBlock& block)
    {
        ASSERT_TRUE(block);
        ASSERT_TRUE(qz_test::runOnInstance(instance, [&] {
            const std::atomic<bool> stop{false};
            const CGSize size = instance->currentImageSize();
            QopBitmap_t bitmap{nullptr, std::size_t(size.width), std::size_t(size.height), instance->glData()};
            block(&bitmap, &stop);
        }));
    }
    qop_test::TestBitmap output(const std::shared_ptr<QZOpenGLInstance>& instance)
    {
        return qz_test::bitmapOf(qz_test::readBack(instance, false).value_or(nullptr));
    }
    qop_test::TestBitmap runBlocks(const std::vector<QZQopBitmapBlock>& blocks, const qop_test::TestBitmap& input)
    {
        auto instance = load(input);
        if (!instance) return {};
        for (const QZQopBitmapBlock& block : blocks) run(instance, block);
        return output(instance);
    }
};
