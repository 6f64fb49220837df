#include "UIImageCodecs.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace {

// Decoders give straight alpha; CGImage keeps premultiplied pixels.
void premultiply(std::vector<uint8_t>& rgba)
{
    for (size_t i = 0; i < rgba.size(); i += 4) {
        unsigned a = rgba[i + 3];
        if (a == 255) continue;
        for (int k = 0; k < 3; ++k) rgba[i + size_t(k)] = uint8_t((rgba[i + size_t(k)] * a + 127) / 255);
    }
}

CGImageRef decodePNG(const uint8_t* bytes, size_t length)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, length)) return nullptr;
    image.format = PNG_FORMAT_RGBA;
    if (image.width == 0 || image.height == 0 || image.width > 32767 || image.height > 32767) {
        png_image_free(&image);
        return nullptr;
    }
    std::vector<uint8_t> pixels(size_t(PNG_IMAGE_SIZE(image)));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    premultiply(pixels);
    return CGImageCreateWithRGBABytes(image.width, image.height, size_t(image.width) * 4, pixels.data());
}

struct JPEGError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JPEGError*>(info->err)->jump, 1);
}

void jpegQuiet(j_common_ptr) {}

// Kept free of C++ objects with destructors between setjmp and the longjmp that may return to it.
bool decodeJPEGInto(const uint8_t* bytes, size_t length, std::vector<uint8_t>& rgba, size_t& width, size_t& height)
{
    jpeg_decompress_struct info;
    JPEGError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFail;
    error.manager.output_message = jpegQuiet;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    if (info.output_width == 0 || info.output_height == 0 || info.output_width > 32767 || info.output_height > 32767) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    width = info.output_width;
    height = info.output_height;
    rgba.resize(width * height * 4);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &rgba[size_t(info.output_scanline) * width * 4];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

CGImageRef decodeJPEG(const uint8_t* bytes, size_t length)
{
    std::vector<uint8_t> rgba;
    size_t width = 0, height = 0;
    if (!decodeJPEGInto(bytes, length, rgba, width, height)) return nullptr;
    return CGImageCreateWithRGBABytes(width, height, width * 4, rgba.data());
}

}  // namespace

CGImageRef UIImageDecodeCGImage(const uint8_t* bytes, size_t length)
{
    if (!bytes || length < 8) return nullptr;
    static const uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::memcmp(bytes, pngSignature, 8) == 0) return decodePNG(bytes, length);
    if (bytes[0] == 0xFF && bytes[1] == 0xD8) return decodeJPEG(bytes, length);
    return nullptr;
}

std::optional<std::vector<uint8_t>> UIImageEncodePNG(CGImageRef cgImage)
{
    if (!cgImage) return std::nullopt;
    size_t w = CGImageGetWidth(cgImage), h = CGImageGetHeight(cgImage);
    std::vector<uint8_t> straight(CGImageGetBytes(cgImage), CGImageGetBytes(cgImage) + w * h * 4);
    for (size_t i = 0; i < straight.size(); i += 4) {
        unsigned a = straight[i + 3];
        if (a == 255) continue;
        for (int k = 0; k < 3; ++k)
            straight[i + size_t(k)] =
                a == 0 ? 0 : uint8_t(std::min(255u, (straight[i + size_t(k)] * 255u + a / 2) / a));
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, straight.data(), 0, nullptr)) return std::nullopt;
    std::vector<uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, straight.data(), 0, nullptr)) return std::nullopt;
    out.resize(size);
    return out;
}
