#pragma once
// The one thing the codec reads from a photograph's EXIF block: its Orientation tag. Phones store
// a portrait photograph's pixels sideways and say so there.

#include "ImageIO/ImageIOCodec.h"

#include <cstddef>
#include <cstdint>

// Orientation of the TIFF structure an EXIF block holds (byte order mark, IFD0, its entries), in
// either byte order. Anything missing, cut short, out of bounds or out of range answers Up: a
// damaged tag never stops the picture from being read.
ImageIOOrientation ImageIOExifOrientation(const std::uint8_t* tiff, std::size_t length);
