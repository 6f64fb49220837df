#include "Render/CGImage.h"

#include <cstdint>

namespace customizer {

CGImage::CGImage(Token, cairo_surface_t* surface) : surface_(surface) {}

CGImage::~CGImage() { cairo_surface_destroy(surface_); }

CGImageRef CGImage::imageWithSurface(cairo_surface_t* surface)
{
    if (!surface) return nullptr;
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    return std::make_shared<const CGImage>(Token{}, surface);
}

CGImageRef CGImage::imageWithContentsOfPNGFile(const std::string& path)
{
    cairo_surface_t* loaded = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(loaded) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(loaded);
        return nullptr;
    }
    // Masks are drawn as ARGB32 whatever the file held (grey, RGB without alpha), so every
    // surface in the customizer has one layout.
    if (cairo_image_surface_get_format(loaded) == CAIRO_FORMAT_ARGB32) return imageWithSurface(loaded);
    int w = cairo_image_surface_get_width(loaded), h = cairo_image_surface_get_height(loaded);
    cairo_surface_t* converted = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(converted);
    cairo_set_source_surface(cr, loaded, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(loaded);
    return imageWithSurface(converted);
}

int CGImage::width() const { return cairo_image_surface_get_width(surface_); }

int CGImage::height() const { return cairo_image_surface_get_height(surface_); }

CGColor CGImage::colorAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width() || y >= height()) return {0, 0, 0, 0};
    const unsigned char* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    uint32_t word = reinterpret_cast<const uint32_t*>(row)[x];
    CGFloat a = (word >> 24) / 255.0;
    if (a == 0) return {0, 0, 0, 0};
    auto channel = [&](int shift) { return std::min(1.0, ((word >> shift) & 255) / 255.0 / a); };
    return {channel(16), channel(8), channel(0), a};
}

bool CGImage::writePNG(const std::string& path, std::string* error) const
{
    cairo_status_t status = cairo_surface_write_to_png(surface_, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS && error) *error = cairo_status_to_string(status);
    return status == CAIRO_STATUS_SUCCESS;
}

}  // namespace customizer
