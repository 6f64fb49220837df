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

// EXIF numbers the eight orientations in another order.
UIImageOrientation orientationFromFile(ImageIOOrientation orientation)
{
    switch (orientation) {
    case ImageIOOrientation::Up: return UIImageOrientationUp;
    case ImageIOOrientation::UpMirrored: return UIImageOrientationUpMirrored;
    case ImageIOOrientation::Down: return UIImageOrientationDown;
    case ImageIOOrientation::DownMirrored: return UIImageOrientationDownMirrored;
    case ImageIOOrientation::LeftMirrored: return UIImageOrientationLeftMirrored;
    case ImageIOOrientation::Right: return UIImageOrientationRight;
    case ImageIOOrientation::RightMirrored: return UIImageOrientationRightMirrored;
    case ImageIOOrientation::Left: return UIImageOrientationLeft;
    }
    return UIImageOrientationUp;
}

}  // namespace

CGImageRef UIImageDecodeCGImage(const uint8_t* bytes, size_t length, size_t maximumPixels, std::string* reason,
                                UIImageOrientation* orientation)
{
    maximumPixels = std::min(maximumPixels, kUIImageMaximumDecodedPixels);
    std::vector<uint8_t> rgba;
    size_t width = 0, height = 0;
    std::string refusal, decodeError;
    // Sizes a CGImage cannot hold are refused before any pixel is decoded.
    const ImageIOPixelAllocator allocate = [&](size_t w, size_t h) -> void* {
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
    };
    ImageIOOrientation stored = ImageIOOrientation::Up;
    const bool decoded = orientation ? ImageIODecodeStored(bytes, length, allocate, &stored, &decodeError)
                                     : ImageIODecode(bytes, length, allocate, &decodeError);
    if (orientation) *orientation = orientationFromFile(stored);
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

ImageIOOrientation orientationForFile(UIImageOrientation orientation)
{
    switch (orientation) {
    case UIImageOrientationUp: return ImageIOOrientation::Up;
    case UIImageOrientationDown: return ImageIOOrientation::Down;
    case UIImageOrientationLeft: return ImageIOOrientation::Left;
    case UIImageOrientationRight: return ImageIOOrientation::Right;
    case UIImageOrientationUpMirrored: return ImageIOOrientation::UpMirrored;
    case UIImageOrientationDownMirrored: return ImageIOOrientation::DownMirrored;
    case UIImageOrientationLeftMirrored: return ImageIOOrientation::LeftMirrored;
    case UIImageOrientationRightMirrored: return ImageIOOrientation::RightMirrored;
    }
    return ImageIOOrientation::Up;
}

// The image's pixels, premultiplied (the writer makes them straight a row at a time): its own
// rows when it is upright, else turned into `turned`.
ImageIOPixels pixelsOf(CGImageRef cgImage, UIImageOrientation orientation, std::vector<uint8_t>* turned)
{
    const std::size_t width = CGImageGetWidth(cgImage), height = CGImageGetHeight(cgImage);
    const ImageIOOrientation turn = orientationForFile(orientation);
    if (turn == ImageIOOrientation::Up)
        return ImageIOPixels{CGImageGetBytes(cgImage), width, height, CGImageGetBytesPerRow(cgImage),
                             ImageIOAlpha::Premultiplied};
    turned->resize(width * height * 4);
    ImageIOTurnPixels(CGImageGetBytes(cgImage), width, height, CGImageGetBytesPerRow(cgImage), turn, turned->data());
    const bool swaps = ImageIOOrientationSwapsSides(turn);
    return ImageIOPixels{turned->data(), swaps ? height : width, swaps ? width : height, 0,
                         ImageIOAlpha::Premultiplied};
}

}  // namespace

std::optional<std::vector<uint8_t>> UIImageEncodePNG(CGImageRef cgImage, UIImageOrientation orientation)
{
    if (!cgImage) return std::nullopt;
    std::vector<uint8_t> png, turned;
    if (!ImageIOEncodePNG(pixelsOf(cgImage, orientation, &turned), &png)) return std::nullopt;
    return png;
}

bool UIImageWritePNGFile(CGImageRef cgImage, const std::string& path, std::string* error,
                         UIImageOrientation orientation)
{
    if (!cgImage) {
        if (error) *error = "no image";
        return false;
    }
    std::vector<uint8_t> turned;
    return ImageIOWritePNGFile(path, pixelsOf(cgImage, orientation, &turned), error);
}
