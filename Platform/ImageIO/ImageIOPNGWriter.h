#pragma once
// The PNG writer behind ImageIOEncodePNG and ImageIOWritePNGFile. An image is cut into strips of
// rows of a fixed byte size; each strip is filtered (Sub on every row) and deflated at zlib level 1
// on its own, on the global queue's workers, ending on a sync flush so the strips join into one
// zlib stream whose checksum is combined from theirs. Measured on photographs, Sub at level 1 costs
// a third of zlib's default level with adaptive filters for files about 10 % larger, and strips of a
// megabyte lose nothing measurable to the dictionary they do not share.

#include "ImageIO/ImageIOCodec.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Bytes of the file, left uninitialised until written: a strip's room for its compressed rows.
struct ImageIOPNGPiece {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t length = 0;
    std::size_t capacity = 0;
};

// The PNG as pieces to be written one after another (the file is their concatenation): the
// signature and header, one IDAT chunk per strip, the end. A file is written without joining them.
// False with the reason on failure.
bool ImageIOEncodePNGPieces(const ImageIOPixels& pixels, std::vector<ImageIOPNGPiece>* pieces, std::string* error);
