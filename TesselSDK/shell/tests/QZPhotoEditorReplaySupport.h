#pragma once
// Test support for the editing session's replays: generated photos, a recorder of render results,
// and the pixels of a delivered image.

#include "TesselSDKImaging/tests/QZImageServerTestSupport.h"

#include "TesselSDK/shell/QZPhotoEditorContext.h"
#include "TesselSDK/shell/QZPhotoEditorSession.h"

#include "Dispatch/DispatchMainQueue.h"

#include <cstdlib>

namespace qz_test {

inline Pixels gradient(std::size_t width, std::size_t height)
{
    return makePixels(width, height, [&](std::size_t x, std::size_t y) {
        return std::array<std::uint8_t, 4>{std::uint8_t(x * 255 / width), std::uint8_t(y * 255 / height),
                                           std::uint8_t((x + y) % 256), 255};
    });
}

inline std::shared_ptr<UIImage> imageOf(const Pixels& pixels)
{
    CGImageRef cgImage = createImage(pixels);
    std::shared_ptr<UIImage> image = UIImage::imageWithCGImage(cgImage);
    CGImageRelease(cgImage);
    return image;
}

inline Pixels pixelsOf(const std::shared_ptr<UIImage>& image)
{
    CGImageRef cgImage = image->CGImage();
    Pixels pixels{CGImageGetWidth(cgImage), CGImageGetHeight(cgImage), {}};
    pixels.rgba.resize(pixels.width * pixels.height);
    for (std::size_t y = 0; y < pixels.height; ++y)
        std::memcpy(&pixels.at(0, y), CGImageGetBytes(cgImage) + y * CGImageGetBytesPerRow(cgImage), pixels.width * 4);
    return pixels;
}

// The largest channel difference; -1 when the sizes differ.
inline int maxDifference(const Pixels& a, const Pixels& b)
{
    if (a.width != b.width || a.height != b.height) return -1;
    int most = 0;
    for (std::size_t i = 0; i < a.rgba.size(); ++i)
        for (int c = 0; c < 4; ++c) most = std::max(most, std::abs(int(a.rgba[i][c]) - int(b.rgba[i][c])));
    return most;
}

// Every delivery of one render, and whether each came on the main thread.
struct Deliveries {
    std::vector<std::shared_ptr<UIImage>> images;
    bool allOnMain = true;

    QZPhotoEditorContext::RenderCompletion completion()
    {
        return [this](std::shared_ptr<UIImage> image) {
            allOnMain = allOnMain && DispatchMainQueue::isMainThread();
            images.push_back(std::move(image));
        };
    }
    bool waitForOne()
    {
        return pumpUntil([&] { return !images.empty(); });
    }
    // Runs the main queue a while so that a delivery that should not come has its chance.
    static void settle()
    {
        DispatchRunLoop::runUntil([] { return false; }, 0.3);
    }
};

}  // namespace qz_test
