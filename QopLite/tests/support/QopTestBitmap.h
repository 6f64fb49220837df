// QopTestBitmap.h: an owning bitmap for tests, and the small generated fixtures every QopLite
// test builds on (ramps, hue wheel, checkerboard, seeded noise, a photo-like field, real photos).
#pragma once

#include "QopLite/QopTypes.h"

#include <cstdint>
#include <string>

namespace qop_test {

// Owns a bitmap built with QopBitmapBuild; frees it on destruction. Copies are deep.
class TestBitmap {
public:
    TestBitmap() = default;
    TestBitmap(size_t width, size_t height); // zero pixels; throws if the build is refused
    TestBitmap(const TestBitmap &other);
    TestBitmap &operator=(const TestBitmap &other);
    TestBitmap(TestBitmap &&other) noexcept;
    TestBitmap &operator=(TestBitmap &&other) noexcept;
    ~TestBitmap();

    QopBitmap_t *get() { return &bitmap_; }
    const QopBitmap_t *get() const { return &bitmap_; }
    size_t width() const { return bitmap_.width; }
    size_t height() const { return bitmap_.height; }
    size_t pixelCount() const { return bitmap_.width * bitmap_.height; }
    QopColor_t &at(size_t x, size_t y) { return bitmap_.data[y * bitmap_.width + x]; }
    const QopColor_t &at(size_t x, size_t y) const { return bitmap_.data[y * bitmap_.width + x]; }
    QopColor_t *data() { return bitmap_.data; }
    const QopColor_t *data() const { return bitmap_.data; }

    void fill(QopColor_t color);
    bool operator==(const TestBitmap &other) const; // same size and bytes, alpha included

private:
    QopBitmap_t bitmap_{nullptr, 0, 0, nullptr};
};

// r rises with x, g with y, b falls with x; alpha 255.
TestBitmap makeRamp(size_t width, size_t height);
// Hue around the centre, saturation with the radius, full lightness range down the rows.
TestBitmap makeHueWheel(size_t width, size_t height);
// Cells of `cell` pixels alternating between two colours.
TestBitmap makeCheckerboard(size_t width, size_t height, size_t cell, QopColor_t a = {0, 0, 0, 255},
                            QopColor_t b = {255, 255, 255, 255});
// Every byte (alpha too, unless opaque) drawn from a seeded generator.
TestBitmap makeSeededNoise(size_t width, size_t height, uint32_t seed, bool opaque = false);
// Smooth colour gradients with a few hard edges and a little grain: photo-like statistics.
TestBitmap makePhotoLike(size_t width, size_t height, uint32_t seed = 7);

// Reads a PNG or JPEG into *out. False, with the path and the reason in *error, when it cannot.
bool readImageFile(const std::string &path, TestBitmap *out, std::string *error = nullptr);

// Directory of the cached photographs (TESSEL_PHOTO_DIR, else .cache/photos of the checkout).
std::string photoDirectory();
// Loads a cached photo ("astronaut.png", ...). Returns false when it is not there.
bool loadPhoto(const std::string &name, TestBitmap *out);

} // namespace qop_test

// In a test body: loads a photo or skips the test (never passes silently without it).
#define QOP_LOAD_PHOTO_OR_SKIP(name, bitmap)                                                        \
    do {                                                                                           \
        if (!::qop_test::loadPhoto((name), &(bitmap)))                                             \
            GTEST_SKIP() << "photo " << (name) << " not in " << ::qop_test::photoDirectory()       \
                         << " (run scripts/fetch-photos.sh)";                                      \
    } while (0)
