// PNG through libpng's simplified API, JPEG through libjpeg; both land as non-premultiplied RGBA.
#include "QopImageIO.h"

#include "QopLite/QopAlloc.h"

#include <png.h>
#include <cstdio>
#include <cstring>
#include <csetjmp>
#include <jpeglib.h>
#include <memory>
#include <vector>

namespace qop_io {
namespace {

void setError(std::string *error, const std::string &message)
{
    if (error)
        *error = message;
}

struct FileCloser {
    void operator()(FILE *f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

bool readPNG(const std::string &path, QopBitmap_t *bitmap, std::string *error)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        setError(error, path + ": " + image.message);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    if (!QopBitmapBuild(bitmap, image.width, image.height)) {
        png_image_free(&image);
        setError(error, path + ": image too large");
        return false;
    }
    if (!png_image_finish_read(&image, nullptr, bitmap->data, 0, nullptr)) {
        setError(error, path + ": " + image.message);
        QopBitmapFree(bitmap);
        return false;
    }
    return true;
}

struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jpegErrorExit(j_common_ptr cinfo)
{
    auto *manager = reinterpret_cast<JpegErrorManager *>(cinfo->err);
    cinfo->err->format_message(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

bool readJPEG(const std::string &path, QopBitmap_t *bitmap, std::string *error)
{
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        setError(error, path + ": " + std::strerror(errno));
        return false;
    }
    jpeg_decompress_struct cinfo;
    JpegErrorManager manager;
    cinfo.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = jpegErrorExit;
    std::vector<uint8_t> row;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&cinfo);
        QopBitmapFree(bitmap);
        setError(error, path + ": " + manager.message);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file.get());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (!QopBitmapBuild(bitmap, cinfo.output_width, cinfo.output_height)) {
        jpeg_destroy_decompress(&cinfo);
        setError(error, path + ": image too large");
        return false;
    }
    row.resize(static_cast<size_t>(cinfo.output_width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        QopColor_t *out = bitmap->data + static_cast<size_t>(cinfo.output_scanline) * bitmap->width;
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (size_t x = 0; x < bitmap->width; ++x)
            out[x] = QopColor_t{row[3 * x], row[3 * x + 1], row[3 * x + 2], 255};
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

bool readImage(const std::string &path, QopBitmap_t *bitmap, std::string *error)
{
    bitmap->data = nullptr;
    bitmap->glData = nullptr;
    unsigned char magic[8] = {};
    {
        FilePtr file(std::fopen(path.c_str(), "rb"));
        if (!file) {
            setError(error, path + ": " + std::strerror(errno));
            return false;
        }
        if (std::fread(magic, 1, sizeof magic, file.get()) < 3) {
            setError(error, path + ": not an image");
            return false;
        }
    }
    if (png_sig_cmp(magic, 0, 8) == 0)
        return readPNG(path, bitmap, error);
    if (magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF)
        return readJPEG(path, bitmap, error);
    setError(error, path + ": neither PNG nor JPEG");
    return false;
}

bool writePNG(const std::string &path, const QopBitmap_t &bitmap, std::string *error)
{
    if (!bitmap.data) {
        setError(error, path + ": bitmap has no pixels");
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.width);
    image.height = static_cast<png_uint_32>(bitmap.height);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, bitmap.data, 0, nullptr)) {
        setError(error, path + ": " + image.message);
        return false;
    }
    return true;
}

} // namespace qop_io
