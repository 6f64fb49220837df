#pragma once
// The codec's two readers, behind ImageIODecode. Each decodes the stored pixels and finds the
// picture's orientation before it asks for room, so that a caller who wants the picture upright
// is asked for the upright size.

#include "ImageIO/ImageIOCodec.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Asked once the stored size and the orientation are known; null refuses.
using ImageIOStoredAllocator =
    std::function<void*(std::size_t width, std::size_t height, ImageIOOrientation orientation)>;

inline constexpr char kImageIOTooLarge[] = "the image is too large";

// An allocator that throws is a refusal: nothing may unwind through the decoders.
void* ImageIOAskForPixels(const ImageIOStoredAllocator& allocate, std::size_t width, std::size_t height,
                          ImageIOOrientation orientation) noexcept;

bool ImageIOReadPNG(const std::uint8_t* bytes, std::size_t length, const ImageIOStoredAllocator& allocate,
                    std::string* error);
bool ImageIOReadJPEG(const std::uint8_t* bytes, std::size_t length, const ImageIOStoredAllocator& allocate,
                     std::string* error);
