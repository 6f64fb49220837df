#pragma once
// Small image files made in the test itself, of the kinds the codec's own writer never makes:
// JPEGs with an EXIF orientation or in CMYK, 16-bit PNGs, PNGs with extra chunks. Free of
// GoogleTest, so that the example programs' tests use them too.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace imageio_test {

// The TIFF structure of an EXIF block holding an Orientation tag of `orientation` (after an
// ImageWidth entry, so the tag is not the first), little-endian ("II") or big-endian ("MM").
std::vector<std::uint8_t> exifWithOrientation(int orientation, bool bigEndian);

enum class JPEGColour { RGB, Grey, CMYK, AdobeCMYK, YCCK };

struct JPEGOptions {
    // RGB: 3 samples a pixel; Grey: 1; the CMYK kinds: 4, amounts of ink (0: none), which an Adobe
    // file stores inverted.
    JPEGColour colour = JPEGColour::RGB;
    int quality = 95;
    // Every component at full resolution, so flat 8 x 8 blocks keep their colours exactly.
    bool fullChroma = true;
    bool progressive = false;
    // The payload of one APP1 segment after "Exif\0\0" (nothing written when empty).
    std::vector<std::uint8_t> exif;
};

std::vector<std::uint8_t> encodeJPEG(const std::vector<std::uint8_t>& samples, std::size_t width, std::size_t height,
                                     const JPEGOptions& options);

// 16-bit PNG of grey (1 sample a pixel), grey and alpha (2), RGB (3) or RGBA (4) samples.
struct PNG16Options {
    int channels = 1;
    bool interlaced = false;
    double gamma = 0;  // a gAMA chunk with this file gamma when positive
    bool sRGB = false;
};
std::vector<std::uint8_t> encodePNG16(const std::vector<std::uint16_t>& samples, std::size_t width,
                                      std::size_t height, const PNG16Options& options);

// The PNG with a chunk (its checksum right unless `damageChecksum`) inserted after IHDR.
std::vector<std::uint8_t> withChunkAfterHeader(const std::vector<std::uint8_t>& png, const std::string& type,
                                               const std::vector<std::uint8_t>& data, bool damageChecksum = false);

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace imageio_test
