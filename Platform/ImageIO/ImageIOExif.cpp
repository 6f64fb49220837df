#include "ImageIO/ImageIOExif.h"

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
constexpr std::size_t kEntryBytes = 12;

struct TIFFReader {
    const std::uint8_t* bytes;
    std::size_t length;
    bool bigEndian;

    std::uint16_t u16(std::size_t at) const
    {
        return bigEndian ? std::uint16_t(bytes[at] << 8 | bytes[at + 1]) : std::uint16_t(bytes[at + 1] << 8 | bytes[at]);
    }
    std::uint32_t u32(std::size_t at) const
    {
        return bigEndian ? std::uint32_t(u16(at)) << 16 | u16(at + 2) : std::uint32_t(u16(at + 2)) << 16 | u16(at);
    }
};

}  // namespace

ImageIOOrientation ImageIOExifOrientation(const std::uint8_t* tiff, std::size_t length)
{
    if (!tiff || length < 8) return ImageIOOrientation::Up;
    TIFFReader reader{tiff, length, false};
    if (tiff[0] == 'M' && tiff[1] == 'M')
        reader.bigEndian = true;
    else if (tiff[0] != 'I' || tiff[1] != 'I')
        return ImageIOOrientation::Up;
    if (reader.u16(2) != 42) return ImageIOOrientation::Up;
    const std::size_t directory = reader.u32(4);
    if (directory > length - 2) return ImageIOOrientation::Up;
    const std::size_t entries = reader.u16(directory);
    // A directory that claims more entries than the block holds is damaged: none of it is trusted.
    if (entries > (length - directory - 2) / kEntryBytes) return ImageIOOrientation::Up;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + i * kEntryBytes;
        if (reader.u16(entry) != kOrientationTag) continue;
        if (reader.u16(entry + 2) != kShortType || reader.u32(entry + 4) < 1) return ImageIOOrientation::Up;
        // A single SHORT sits in the first two bytes of the value field.
        const std::uint16_t value = reader.u16(entry + 8);
        if (value < 1 || value > 8) return ImageIOOrientation::Up;
        return static_cast<ImageIOOrientation>(value);
    }
    return ImageIOOrientation::Up;
}
