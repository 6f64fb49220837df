#pragma once
// Test helpers: images made pixel by pixel, pixels read as viewed (row 0 at the top), colours
// compared within a tolerance, and a scope that installs an image provider.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "Render/NSImage.h"
#include "Render/NSImageProvider.h"

namespace customizer::testing {

constexpr double kTolerance = 2.0 / 255;

// An image of the size whose pixel (x, y from the top) is `color(x, y)`.
NSImagePtr makeImage(int width, int height, const std::function<CGColor(int x, int y)>& color);
// The colour at column x, row y from the top, not premultiplied; transparent outside.
CGColor pixelAt(const NSImagePtr& image, int x, int y);
// Every channel within the tolerance.
::testing::AssertionResult colorNear(const CGColor& actual, const CGColor& expected, double tolerance = kTolerance);
std::string describe(const CGColor& color);

constexpr CGColor kClear{0, 0, 0, 0};
constexpr CGColor kRed{1, 0, 0, 1};
constexpr CGColor kBlue{0, 0, 1, 1};
constexpr CGColor kGreen{0, 1, 0, 1};
constexpr CGColor kWhite{1, 1, 1, 1};
constexpr CGColor kBlack{0, 0, 0, 1};

// Installs the provider for its lifetime, then puts back the one it replaced.
class ScopedImageProvider {
public:
    explicit ScopedImageProvider(std::shared_ptr<NSImageProvider> provider)
        : previous_(NSImageProvider::setCurrent(std::move(provider)))
    {
    }
    ~ScopedImageProvider() { NSImageProvider::setCurrent(previous_); }
    ScopedImageProvider(const ScopedImageProvider&) = delete;
    ScopedImageProvider& operator=(const ScopedImageProvider&) = delete;

private:
    std::shared_ptr<NSImageProvider> previous_;
};

}  // namespace customizer::testing
