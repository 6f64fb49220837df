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
    // The decoded pixels become the image's own: a full-size copy saved.
    return CGImageCreateWithRGBAVector(width, height, std::move(rgba));
}

namespace {

// The image's own rows, premultiplied: the writer makes them straight a row at a time.
ImageIOPixels pixelsOf(CGImageRef cgImage)
{
    return ImageIOPixels{CGImageGetBytes(cgImage), CGImageGetWidth(cgImage), CGImageGetHeight(cgImage),
                         CGImageGetBytesPerRow(cgImage), ImageIOAlpha::Premultiplied};
}

}  // namespace

std::optional<std::vector<uint8_t>> UIImageEncodePNG(CGImageRef cgImage)
{
    if (!cgImage) return std::nullopt;
    std::vector<uint8_t> png;
    if (!ImageIOEncodePNG(pixelsOf(cgImage), &png)) return std::nullopt;
    return png;
}

bool UIImageWritePNGFile(CGImageRef cgImage, const std::string& path, std::string* error)
{
    if (!cgImage) {
        if (error) *error = "no image";
        return false;
    }
    return ImageIOWritePNGFile(path, pixelsOf(cgImage), error);
}
