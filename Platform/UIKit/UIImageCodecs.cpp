#include "UIImageCodecs.h"

#include "ImageIO/ImageIOCodec.h"

#include <algorithm>

namespace {

// The codec speaks straight alpha; CGImage keeps premultiplied pixels.
void premultiply(std::vector<uint8_t>& rgba)
{
    for (size_t i = 0; i < rgba.size(); i += 4) {
        unsigned a = rgba[i + 3];
        if (a == 255) continue;
        for (int k = 0; k < 3; ++k) rgba[i + size_t(k)] = uint8_t((rgba[i + size_t(k)] * a + 127) / 255);
    }
}

void unpremultiply(std::vector<uint8_t>& rgba)
{
    for (size_t i = 0; i < rgba.size(); i += 4) {
        unsigned a = rgba[i + 3];
        if (a == 255) continue;
        for (int k = 0; k < 3; ++k)
            rgba[i + size_t(k)] = a == 0 ? 0 : uint8_t(std::min(255u, (rgba[i + size_t(k)] * 255u + a / 2) / a));
    }
}

}  // namespace

CGImageRef UIImageDecodeCGImage(const uint8_t* bytes, size_t length, size_t maximumPixels, std::string* reason)
{
    maximumPixels = std::min(maximumPixels, kUIImageMaximumDecodedPixels);
    std::vector<uint8_t> rgba;
    size_t width = 0, height = 0;
    std::string refusal, decodeError;
    // Sizes a CGImage cannot hold are refused before any pixel is decoded.
    const bool decoded = ImageIODecode(
        bytes, length,
        [&](size_t w, size_t h) -> void* {
            const std::string size = std::to_string(w) + " x " + std::to_string(h) + " pixels";
            if (w == 0 || h == 0)
                refusal = "an image of " + size + " has no pixels";
            else if (w > 32767 || h > 32767)
                refusal = "an image of " + size + " is wider or taller than 32767 pixels";
            else if (w * h > maximumPixels)
                refusal = "an image of " + size + " is more than the " + std::to_string(maximumPixels) +
                          " pixels an image may have";
            if (!refusal.empty()) return nullptr;
            width = w;
            height = h;
            rgba.resize(w * h * 4);
            return rgba.data();
        },
        &decodeError);
    if (!decoded) {
        // The size's own reason beats the codec's general one.
        if (reason) *reason = refusal.empty() ? decodeError : refusal;
        return nullptr;
    }
    premultiply(rgba);
    return CGImageCreateWithRGBABytes(width, height, width * 4, rgba.data());
}

namespace {

// The image's rows, packed, in straight alpha.
std::vector<uint8_t> straightRows(CGImageRef cgImage)
{
    const size_t w = CGImageGetWidth(cgImage), h = CGImageGetHeight(cgImage), stride = CGImageGetBytesPerRow(cgImage);
    std::vector<uint8_t> straight(w * h * 4);
    for (size_t y = 0; y < h; ++y)
        std::copy_n(CGImageGetBytes(cgImage) + y * stride, w * 4, straight.begin() + std::ptrdiff_t(y * w * 4));
    unpremultiply(straight);
    return straight;
}

}  // namespace

std::optional<std::vector<uint8_t>> UIImageEncodePNG(CGImageRef cgImage)
{
    if (!cgImage) return std::nullopt;
    std::vector<uint8_t> png;
    if (!ImageIOEncodePNG(straightRows(cgImage).data(), CGImageGetWidth(cgImage), CGImageGetHeight(cgImage), &png))
        return std::nullopt;
    return png;
}

bool UIImageWritePNGFile(CGImageRef cgImage, const std::string& path, std::string* error)
{
    if (!cgImage) {
        if (error) *error = "no image";
        return false;
    }
    return ImageIOWritePNGFile(path, straightRows(cgImage).data(), CGImageGetWidth(cgImage), CGImageGetHeight(cgImage),
                               error);
}
