#include "QopTestBitmap.h"

#include "ImageIO/ImageIOCodec.h"
#include "QopLite/QopAlloc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace qop_test {

TestBitmap::TestBitmap(size_t width, size_t height)
{
    if (!QopBitmapBuild(&bitmap_, width, height) && width * height != 0)
        throw std::runtime_error("TestBitmap: QopBitmapBuild refused the size");
}

TestBitmap::TestBitmap(const TestBitmap &other) : TestBitmap(other.width(), other.height())
{
    if (other.data() && bitmap_.data)
        std::memcpy(bitmap_.data, other.data(), other.pixelCount() * sizeof(QopColor_t));
}

TestBitmap &TestBitmap::operator=(const TestBitmap &other)
{
    if (this != &other) {
        TestBitmap copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TestBitmap::TestBitmap(TestBitmap &&other) noexcept : bitmap_(other.bitmap_)
{
    other.bitmap_ = QopBitmap_t{nullptr, 0, 0, nullptr};
}

TestBitmap &TestBitmap::operator=(TestBitmap &&other) noexcept
{
    if (this != &other) {
        QopBitmapFree(&bitmap_);
        bitmap_ = other.bitmap_;
        other.bitmap_ = QopBitmap_t{nullptr, 0, 0, nullptr};
    }
    return *this;
}

TestBitmap::~TestBitmap() { QopBitmapFree(&bitmap_); }

void TestBitmap::fill(QopColor_t color) { std::fill(bitmap_.data, bitmap_.data + pixelCount(), color); }

bool TestBitmap::operator==(const TestBitmap &other) const
{
    return width() == other.width() && height() == other.height() &&
           (pixelCount() == 0 || std::memcmp(data(), other.data(), pixelCount() * sizeof(QopColor_t)) == 0);
}

namespace {

uint8_t toByte(double v) { return static_cast<uint8_t>(std::min(255.0, std::max(0.0, v) + 0.5)); }

// A tiny generator of our own, so fixtures do not depend on the library under test.
struct FixtureRandom {
    uint64_t state;
    explicit FixtureRandom(uint32_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state >> 16);
    }
    double unit() { return (next() & 0xFFFFFF) / double(0x1000000); }
};

} // namespace

TestBitmap makeRamp(size_t width, size_t height)
{
    TestBitmap b(width, height);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) {
            double fx = width > 1 ? double(x) / double(width - 1) : 0.0;
            double fy = height > 1 ? double(y) / double(height - 1) : 0.0;
            b.at(x, y) = QopColor_t{toByte(255 * fx), toByte(255 * fy), toByte(255 * (1 - fx)), 255};
        }
    return b;
}

TestBitmap makeHueWheel(size_t width, size_t height)
{
    TestBitmap b(width, height);
    const double cx = (width - 1) / 2.0, cy = (height - 1) / 2.0;
    const double maxR = std::max(1.0, std::hypot(cx, cy));
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) {
            double hue = (std::atan2(y - cy, x - cx) / (2 * M_PI) + 0.5) * 6.0;
            double sat = std::hypot(x - cx, y - cy) / maxR;
            double light = height > 1 ? 0.15 + 0.7 * double(y) / double(height - 1) : 0.5;
            double chroma = (1 - std::fabs(2 * light - 1)) * sat;
            double q = chroma * (1 - std::fabs(std::fmod(hue, 2.0) - 1));
            double rgb[3] = {0, 0, 0};
            int sector = std::min(5, static_cast<int>(hue));
            const int order[6][3] = {{0, 1, 2}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}, {1, 2, 0}, {0, 2, 1}};
            rgb[order[sector][0]] = chroma; // largest channel of the sector
            rgb[order[sector][1]] = q;
            double m = light - chroma / 2;
            b.at(x, y) = QopColor_t{toByte(255 * (rgb[0] + m)), toByte(255 * (rgb[1] + m)), toByte(255 * (rgb[2] + m)), 255};
        }
    return b;
}

TestBitmap makeCheckerboard(size_t width, size_t height, size_t cell, QopColor_t a, QopColor_t b)
{
    TestBitmap out(width, height);
    cell = std::max<size_t>(cell, 1);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x)
            out.at(x, y) = ((x / cell + y / cell) % 2 == 0) ? a : b;
    return out;
}

TestBitmap makeSeededNoise(size_t width, size_t height, uint32_t seed, bool opaque)
{
    TestBitmap out(width, height);
    FixtureRandom rng(seed);
    for (size_t i = 0; i < out.pixelCount(); ++i) {
        uint32_t v = rng.next();
        out.data()[i] = QopColor_t{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), opaque ? uint8_t(255) : uint8_t(v >> 24)};
    }
    return out;
}

TestBitmap makePhotoLike(size_t width, size_t height, uint32_t seed)
{
    TestBitmap out(width, height);
    FixtureRandom rng(seed);
    const double w = std::max<size_t>(width, 1), h = std::max<size_t>(height, 1);
    // A sky-like vertical gradient, a sunlit disc, a dark diagonal band with hard edges, grain.
    const double discX = (0.3 + 0.4 * rng.unit()) * w, discY = (0.2 + 0.3 * rng.unit()) * h;
    const double discR = 0.18 * std::min(w, h);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) {
            double fy = y / h, fx = x / w;
            double r = 60 + 120 * fy + 30 * std::sin(6.0 * fx);
            double g = 90 + 90 * fy + 25 * std::cos(4.0 * fx + 1.0);
            double bl = 200 - 110 * fy;
            if (std::hypot(x - discX, y - discY) < discR) {
                r = 245, g = 210, bl = 120;
            }
            double band = fx + fy;
            if (band > 1.1 && band < 1.35) {
                r *= 0.3, g *= 0.35, bl *= 0.4;
            }
            double grain = (rng.unit() - 0.5) * 6.0;
            out.at(x, y) = QopColor_t{toByte(r + grain), toByte(g + grain), toByte(bl + grain), 255};
        }
    return out;
}

std::string photoDirectory()
{
    if (const char *dir = std::getenv("TESSEL_PHOTO_DIR"); dir && *dir)
        return dir;
    return std::string(TESSEL_SOURCE_DIR) + "/.cache/photos";
}

bool readImageFile(const std::string &path, TestBitmap *out, std::string *error)
{
    TestBitmap image;
    auto allocate = [&image](size_t width, size_t height) -> void * {
        return QopBitmapBuild(image.get(), width, height) ? image.data() : nullptr;
    };
    if (!ImageIODecodeFile(path, allocate, error))
        return false;
    *out = std::move(image);
    return true;
}

bool loadPhoto(const std::string &name, TestBitmap *out) { return readImageFile(photoDirectory() + "/" + name, out); }

} // namespace qop_test
