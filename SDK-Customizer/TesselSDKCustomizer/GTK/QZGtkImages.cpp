#include "GTK/QZGtkImages.h"

#include <cairo.h>
#include <gdk/gdk.h>

#include "Render/CGImage.h"

#include <gdkmm/pixbuf.h>

#include <algorithm>

namespace customizer {

Glib::RefPtr<Gdk::Texture> QZTextureFromImage(const NSImagePtr& image)
{
    if (!image || !image->isValid() || !image->CGImage()) return {};
    cairo_surface_t* surface = image->CGImage()->surface();
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    GBytes* bytes = g_bytes_new(cairo_image_surface_get_data(surface), gsize(stride) * gsize(height));
    GdkTexture* texture = gdk_memory_texture_new(width, height, GDK_MEMORY_B8G8R8A8_PREMULTIPLIED, bytes, stride);
    g_bytes_unref(bytes);
    return Glib::wrap(texture);
}

Glib::RefPtr<Gdk::Texture> QZTextureFromImageFittingSize(const NSImagePtr& image, int width, int height)
{
    if (!image || !image->isValid() || !image->CGImage()) return {};
    cairo_surface_t* source = image->CGImage()->surface();
    const int sourceWidth = cairo_image_surface_get_width(source);
    const int sourceHeight = cairo_image_surface_get_height(source);
    if ((sourceWidth == width && sourceHeight == height) || sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 ||
        height <= 0)
        return QZTextureFromImage(image);
    cairo_surface_t* fitted = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(fitted);
    const double scale = std::min(double(width) / sourceWidth, double(height) / sourceHeight);
    cairo_translate(cr, (width - sourceWidth * scale) / 2, (height - sourceHeight * scale) / 2);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(fitted);
    const int stride = cairo_image_surface_get_stride(fitted);
    GBytes* bytes = g_bytes_new(cairo_image_surface_get_data(fitted), gsize(stride) * gsize(height));
    cairo_surface_destroy(fitted);
    GdkTexture* texture = gdk_memory_texture_new(width, height, GDK_MEMORY_B8G8R8A8_PREMULTIPLIED, bytes, stride);
    g_bytes_unref(bytes);
    return Glib::wrap(texture);
}

Glib::RefPtr<Gdk::Texture> QZTextureFromFileStretched(const std::string& path, int width, int height)
{
    try {
        return Gdk::Texture::create_for_pixbuf(Gdk::Pixbuf::create_from_file(path, width, height, false));
    } catch (const Glib::Error&) {
        return {};
    }
}

Gdk::RGBA QZRGBAFromColor(const NSColorPtr& color)
{
    if (!color) return Gdk::RGBA(0, 0, 0, 0);
    return Gdk::RGBA(color->redComponent(), color->greenComponent(), color->blueComponent(), color->alphaComponent());
}

NSColorPtr QZColorFromRGBA(const Gdk::RGBA& rgba)
{
    return NSColor::colorWithCalibratedRed(rgba.get_red(), rgba.get_green(), rgba.get_blue(), rgba.get_alpha());
}

}  // namespace customizer
