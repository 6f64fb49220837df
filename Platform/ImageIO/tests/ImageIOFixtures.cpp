#include "ImageIOFixtures.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace imageio_test {

namespace {

void put16(std::vector<std::uint8_t>& out, unsigned value, bool bigEndian)
{
    if (bigEndian) {
        out.push_back(std::uint8_t(value >> 8));
        out.push_back(std::uint8_t(value));
    } else {
        out.push_back(std::uint8_t(value));
        out.push_back(std::uint8_t(value >> 8));
    }
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value, bool bigEndian)
{
    put16(out, bigEndian ? value >> 16 : value & 0xFFFF, bigEndian);
    put16(out, bigEndian ? value & 0xFFFF : value >> 16, bigEndian);
}

void putBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    put32(out, value, true);
}

}  // namespace

std::vector<std::uint8_t> exifWithOrientation(int orientation, bool bigEndian)
{
    std::vector<std::uint8_t> tiff;
    tiff.push_back(bigEndian ? 'M' : 'I');
    tiff.push_back(bigEndian ? 'M' : 'I');
    put16(tiff, 42, bigEndian);
    put32(tiff, 8, bigEndian);  // IFD0 right after the header
    put16(tiff, 2, bigEndian);
    // ImageWidth, LONG, 1, 300.
    put16(tiff, 0x0100, bigEndian);
    put16(tiff, 4, bigEndian);
    put32(tiff, 1, bigEndian);
    put32(tiff, 300, bigEndian);
    // Orientation, SHORT, 1, the value in the field's first two bytes.
    put16(tiff, 0x0112, bigEndian);
    put16(tiff, 3, bigEndian);
    put32(tiff, 1, bigEndian);
    put16(tiff, unsigned(orientation), bigEndian);
    put16(tiff, 0, bigEndian);
    put32(tiff, 0, bigEndian);  // no next IFD
    return tiff;
}

std::vector<std::uint8_t> encodeJPEG(const std::vector<std::uint8_t>& samples, std::size_t width, std::size_t height,
                                     const JPEGOptions& options)
{
    const bool cmyk = options.colour == JPEGColour::CMYK || options.colour == JPEGColour::AdobeCMYK ||
                      options.colour == JPEGColour::YCCK;
    const int components = cmyk ? 4 : options.colour == JPEGColour::Grey ? 1 : 3;
    if (samples.size() != width * height * std::size_t(components)) throw std::invalid_argument("sample count");
    // Adobe's files hold 255 for no ink.
    std::vector<std::uint8_t> stored = samples;
    if (options.colour != JPEGColour::CMYK && cmyk)
        for (std::uint8_t& s : stored) s = std::uint8_t(255 - s);

    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &length);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = cmyk ? JCS_CMYK : components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    if (options.colour == JPEGColour::YCCK) jpeg_set_colorspace(&info, JCS_YCCK);
    // libjpeg marks every CMYK file as Adobe's; a plain one goes without the mark.
    if (options.colour == JPEGColour::CMYK) info.write_Adobe_marker = FALSE;
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.fullChroma)
        for (int c = 0; c < info.num_components; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
    if (options.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (!options.exif.empty()) {
        std::vector<std::uint8_t> app1 = {'E', 'x', 'i', 'f', 0, 0};
        app1.insert(app1.end(), options.exif.begin(), options.exif.end());
        jpeg_write_marker(&info, JPEG_APP0 + 1, app1.data(), unsigned(app1.size()));
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = &stored[info.next_scanline * width * std::size_t(components)];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> jpeg(buffer, buffer + length);
    std::free(buffer);
    return jpeg;
}

namespace {

void appendToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

}  // namespace

std::vector<std::uint8_t> encodePNG16(const std::vector<std::uint16_t>& samples, std::size_t width,
                                      std::size_t height, const PNG16Options& options)
{
    static const int kColourTypes[] = {0, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_RGB,
                                       PNG_COLOR_TYPE_RGB_ALPHA};
    const std::size_t channels = std::size_t(options.channels);
    if (channels < 1 || channels > 4 || samples.size() != width * height * channels)
        throw std::invalid_argument("sample count");
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not write the fixture");
    }
    png_set_write_fn(png, &out, appendToVector, noFlush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 16, kColourTypes[channels],
                 options.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (options.gamma > 0) png_set_gAMA(png, info, options.gamma);
    if (options.sRGB) png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    // PNG stores 16-bit samples big-endian.
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t s : samples) {
        bytes.push_back(std::uint8_t(s >> 8));
        bytes.push_back(std::uint8_t(s));
    }
    std::vector<png_bytep> rows(height);
    for (std::size_t y = 0; y < height; ++y) rows[y] = &bytes[y * width * channels * 2];
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<std::uint8_t> withChunkAfterHeader(const std::vector<std::uint8_t>& png, const std::string& type,
                                               const std::vector<std::uint8_t>& data, bool damageChecksum)
{
    // Signature (8) and IHDR (4 + 4 + 13 + 4).
    constexpr std::size_t kAfterHeader = 33;
    std::vector<std::uint8_t> chunk;
    putBigEndian32(chunk, std::uint32_t(data.size()));
    chunk.insert(chunk.end(), type.begin(), type.end());
    chunk.insert(chunk.end(), data.begin(), data.end());
    uLong crc = crc32(crc32(0L, Z_NULL, 0), chunk.data() + 4, uInt(chunk.size() - 4));
    if (damageChecksum) crc ^= 1;
    putBigEndian32(chunk, std::uint32_t(crc));
    std::vector<std::uint8_t> out = png;
    out.insert(out.begin() + kAfterHeader, chunk.begin(), chunk.end());
    return out;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

}  // namespace imageio_test
